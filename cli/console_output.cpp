// Writing zolvane-cli's text to its standard handles without a code page: a console gets UTF-16 through
// WriteConsoleW, anything else the UTF-8 bytes as they are, with no byte-order mark.
#include "cli/console_output.h"

#include <windows.h>

#include "platform/win32/wide_text.h"

namespace {

void WriteToConsole(HANDLE console, const std::string& text) {
  platform::WideText wide = platform::Widen(text);
  const wchar_t* next = wide.data();
  DWORD left = static_cast<DWORD>(wide.size() - 1);
  while (left > 0) {
    DWORD written = 0;
    if (!WriteConsoleW(console, next, left, &written, nullptr) || written == 0) return;
    next += written;
    left -= written;
  }
}

void WriteToFile(HANDLE file, const std::string& text) {
  const char* next = text.data();
  DWORD left = static_cast<DWORD>(text.size());
  while (left > 0) {
    DWORD written = 0;
    if (!WriteFile(file, next, left, &written, nullptr) || written == 0) return;
    next += written;
    left -= written;
  }
}

void WriteToStandardHandle(DWORD which, const std::string& text) {
  HANDLE handle = GetStdHandle(which);
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE || text.empty()) return;
  DWORD mode = 0;
  if (GetConsoleMode(handle, &mode)) {
    WriteToConsole(handle, text);
  } else {
    WriteToFile(handle, text);
  }
}

}  // namespace

void ConsoleOutput::Out(const std::string& text) {
  WriteToStandardHandle(STD_OUTPUT_HANDLE, text);
}

void ConsoleOutput::Err(const std::string& text) {
  WriteToStandardHandle(STD_ERROR_HANDLE, text);
}
