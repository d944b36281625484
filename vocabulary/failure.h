// A step that failed, with the system's code, and the one line that tells the user what failed and why.
#pragma once

#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"
#include "vocabulary/vocabulary_texts.h"

// Ends the backup or the restore that throws it, never the program. refused: the file the user picked is no
// backup, and nothing was done. It keeps its text in a plain string: std::runtime_error would link a second
// string implementation.
class Failure : public std::exception {
 public:
  Failure(std::int32_t code, std::string text, bool refused = false)
      : code_(code), text_(std::move(text)), refused_(refused) {}
  const char* what() const noexcept override { return text_.c_str(); }
  std::int32_t code() const { return code_; }
  bool refused() const { return refused_; }

 private:
  std::int32_t code_;
  std::string text_;
  bool refused_;
};

// The system's words for the code when it has some, then the code: "Access is denied. (error 5)".
std::string SystemReason(platform::System& system, std::int32_t code);
// What failed, then the system's words when it has some, and the code: `... : Access is denied. (error 5)`.
std::string WithSystemReason(platform::System& system, const std::string& what, std::int32_t code);

// What could not be done, to what, and why: `Cannot read "C:\x": Access is denied. (error 5)`.
std::string DescribeFailure(platform::System& system, const char* action, const std::string& target, std::int32_t code);

// A path or a name as a message shows it: whole up to a readable length, else its beginning and its end with
// "..." between them; and in double quotes.
std::string Shortened(const std::string& text);
std::string Quoted(const std::string& text);

// Names as a message lists them: each once, in the order first given, each Shortened, with separator between
// them; at most ten, then "and N more".
std::string NamedOnce(const std::vector<std::string>& names, const std::string& separator);
