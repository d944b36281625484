// The command line's output in memory: what it wrote to standard output and to standard error.
#pragma once

#include <string>

#include "cli/cli_output.h"

class FakeOutput : public CliOutput {
 public:
  void Out(const std::string& text) override { out += text; }
  void Err(const std::string& text) override { err += text; }
  std::string out;
  std::string err;
};
