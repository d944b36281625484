// The line that shows a move's progress on a console: written over itself at most four times a second, the file
// being carried cut to the console's width; nothing at all when standard output goes to a file or a pipe.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "cli/cli_output.h"
#include "features/folder_mover.h"
#include "platform/platform.h"

class ProgressLine {
 public:
  ProgressLine(platform::System& system, CliOutput& output);
  // The move of the folder called name, as far as it has come.
  void Show(const std::string& name, const MoveProgress& progress);
  // Blanks the line, so that what is written next starts on a clean one.
  void Clear();

 private:
  void Write(const std::string& text, std::size_t characters);

  platform::System& system_;
  CliOutput& output_;
  int columns_;
  bool shown_ = false;
  std::uint32_t shownAt_ = 0;
  std::size_t shownCharacters_ = 0;
};
