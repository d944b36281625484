// UTF-8 to and from UTF-16, for the test programs that talk to Win32's wide functions directly.
#pragma once

#include <windows.h>

#include <string>

#include "text/utf16.h"

// By the program's own codec, so that a test reads a text exactly as Zolvane wrote it.
inline std::string Utf8(const std::wstring& wide) {
  static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wide characters are UTF-16 code units");
  return Utf16ToUtf8(reinterpret_cast<const char16_t*>(wide.data()), wide.size());
}

// Bytes taken as UTF-16LE code units; an odd last byte is left out.
inline std::wstring Utf16LeUnits(const std::string& bytes) {
  std::wstring units(bytes.size() / 2, L'\0');
  for (std::size_t i = 0; i < units.size(); ++i) {
    units[i] = static_cast<wchar_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                    (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
  }
  return units;
}

inline std::wstring Wide(const std::string& utf8) {
  return Utf16LeUnits(Utf8ToUtf16Le(utf8));
}

// A text as Windows expands it (ExpandEnvironmentStringsW) in this program's environment, which the programs it
// starts inherit.
inline std::wstring Expanded(const std::wstring& text) {
  std::wstring expanded(ExpandEnvironmentStringsW(text.c_str(), nullptr, 0), L'\0');
  DWORD length = ExpandEnvironmentStringsW(text.c_str(), &expanded[0], static_cast<DWORD>(expanded.size()));
  expanded.resize(length > 0 ? length - 1 : 0);
  return expanded;
}

inline std::string Expanded(const std::string& text) {
  return Utf8(Expanded(Wide(text)));
}

// A path no ANSI code page holds: Cyrillic, Greek and CJK, "D:\<Documents in Russian> <alpha beta> <Japan>".
constexpr const wchar_t* kCyrillicGreekCjkPath =
    L"D:\\\u0414\u043E\u043A\u0443\u043C\u0435\u043D\u0442\u044B \u03B1\u03B2 \u65E5\u672C";
// U+1F3B5, outside the Basic Multilingual Plane: two UTF-16 units, as a keyboard delivers it in two WM_CHARs.
constexpr const wchar_t* kBeyondBmpCharacter = L"\xD83C\xDFB5";

// Raw bytes taken as UTF-16LE, shown as UTF-8 with each zero unit as "\0" and the byte count, so that a check
// of exact bytes says what differed.
inline std::string ShowUtf16Le(const std::string& bytes) {
  std::wstring units = Utf16LeUnits(bytes);
  std::string shown;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= units.size(); ++i) {
    if (i < units.size() && units[i] != L'\0') continue;
    shown += Utf8(units.substr(start, i - start));
    if (i < units.size()) shown += "\\0";
    start = i + 1;
  }
  return shown + " (" + std::to_string(bytes.size()) + " bytes)";
}
