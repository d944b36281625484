// Writing zolvane-cli's text to its standard handles without a code page: a console gets UTF-16 through
// WriteConsoleW, anything else the UTF-8 bytes as they are, with no byte-order mark.
#include "cli/console_output.h"

#include <windows.h>

#include "platform/win32/wide_text.h"

namespace {

// Hands count units to write, which may take fewer than it is given, until all are written or it fails.
template <typename Unit, typename Write>
void WriteAll(const Unit* next, DWORD count, Write write) {
  while (count > 0) {
    DWORD written = 0;
    if (!write(next, count, &written) || written == 0) return;
    next += written;
    count -= written;
  }
}

void WriteToConsole(HANDLE console, const std::string& text) {
  platform::WideText wide = platform::Widen(text);
  WriteAll(wide.data(), static_cast<DWORD>(wide.size() - 1),
           [console](const wchar_t* units, DWORD count, DWORD* written) {
             return WriteConsoleW(console, units, count, written, nullptr);
           });
}

void WriteToFile(HANDLE file, const std::string& text) {
  WriteAll(text.data(), static_cast<DWORD>(text.size()), [file](const char* bytes, DWORD count, DWORD* written) {
    return WriteFile(file, bytes, count, written, nullptr);
  });
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
