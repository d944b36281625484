// How a relocation, a restore, a backup or a restore from backup ended: one shape, told by the window in a
// message box and by the command line on its output, each in its own way.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Outcome {
  // kRefused: the file the user picked is no backup, and nothing was done.
  enum class Result { kDone, kRefused, kFailed };
  Result result = Result::kFailed;
  // 0 when done; otherwise the system's error code of the step that failed (kRefused: 13).
  std::int32_t code = 0;
  // What the user is told, in the window's words.
  std::string message;
  // What the user should hear first, before the message (the desktop folder not found, ...).
  std::vector<std::string> notices;
  // The backup's file: where it went, or was to go.
  std::string file;

  bool done() const { return result == Result::kDone; }
};
