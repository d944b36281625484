// UTF-8 to UTF-16 and back at the Win32 boundary: the one place a text changes encoding on its way to or from
// a wide (W) function, by the codec of text/, never through a code page, so a path is kept exactly.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace platform {

// UTF-16 with its terminating zero, ready for a W function. A vector, not a std::wstring, which would link a
// whole second string class into the program.
using WideText = std::vector<wchar_t>;

WideText Widen(const std::string& utf8);
std::string Narrow(const wchar_t* text, std::size_t length);
// Up to the terminating zero.
std::string Narrow(const wchar_t* zeroTerminated);

}  // namespace platform
