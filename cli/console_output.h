// zolvane-cli's output on Windows: UTF-16 to a console, UTF-8 bytes to a file or a pipe.
#pragma once

#include "cli/cli_output.h"

class ConsoleOutput : public CliOutput {
 public:
  void Out(const std::string& text) override;
  void Err(const std::string& text) override;
};
