// Where zolvane-cli's words go: its standard output and its standard error, as UTF-8 text.
#pragma once

#include <string>

class CliOutput {
 public:
  virtual ~CliOutput() = default;
  virtual void Out(const std::string& text) = 0;
  virtual void Err(const std::string& text) = 0;
};
