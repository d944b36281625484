// Checks for the programs that run under Wine: each failure names the caller's file and line, and the
// program ends with "N passed, N failed" and a non-zero exit code when anything failed.
#pragma once

#include <cstdio>
#include <string>

namespace wine_check {

struct Tally {
  int passed = 0;
  int failed = 0;
};

inline Tally& Counts() {
  static Tally tally;
  return tally;
}

inline bool Report(bool ok, const char* file, int line, const std::string& what) {
  if (ok) {
    ++Counts().passed;
  } else {
    ++Counts().failed;
    std::printf("%s:%d: FAILED: %s\n", file, line, what.c_str());
    std::fflush(stdout);
  }
  return ok;
}

inline std::string Quote(const std::string& text) {
  return "\"" + text + "\"";
}
inline std::string Quote(long long value) {
  return std::to_string(value);
}

// Prints the summary line; the program's exit code, which is a failure too for a program that checked nothing.
inline int Summary() {
  std::printf("%d passed, %d failed\n", Counts().passed, Counts().failed);
  if (Counts().passed + Counts().failed == 0) std::printf("FAILED: no check was made\n");
  std::fflush(stdout);
  return Counts().failed == 0 && Counts().passed > 0 ? 0 : 1;
}

// Each argument is evaluated once: it may be a click or a read with effects.
template <typename Actual, typename Expected>
inline bool CheckEqual(const Actual& actual, const Expected& expected, const char* file, int line, const char* text) {
  return Report(actual == expected, file, line,
                std::string(text) + ": got " + Quote(actual) + ", expected " + Quote(expected));
}

}  // namespace wine_check

#define CHECK(cond) ::wine_check::Report(static_cast<bool>(cond), __FILE__, __LINE__, #cond)
#define CHECK_EQ(actual, expected) \
  ::wine_check::CheckEqual((actual), (expected), __FILE__, __LINE__, #actual " == " #expected)
