// UTF-8 to UTF-16 and back with CP_UTF8, for every wide call of the program.
#include "platform/win32/wide_text.h"

#include <cwchar>

namespace platform {

WideText Widen(const std::string& utf8) {
  WideText wide;
  if (!utf8.empty()) {
    int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    wide.resize(static_cast<std::size_t>(length));
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), length);
  }
  wide.push_back(L'\0');
  return wide;
}

std::string Narrow(const wchar_t* text, std::size_t length) {
  if (length == 0) return std::string();
  int size = WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), &utf8[0], size, nullptr, nullptr);
  return utf8;
}

std::string Narrow(const wchar_t* zeroTerminated) {
  return Narrow(zeroTerminated, std::wcslen(zeroTerminated));
}

}  // namespace platform
