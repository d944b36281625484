// UTF-16, the system's own text encoding, to and from the program's UTF-8: for the buffers that hold text as
// the system stores it (registry data, a path buffer, an export file). Portable: no windows.h.
#pragma once

#include <cstddef>
#include <string>

// UTF-16LE bytes (no byte-order mark) to UTF-8; an unpaired surrogate and a trailing odd byte become U+FFFD.
std::string Utf16LeToUtf8(const std::string& bytes);
// Whole code units, and every surrogate in a pair.
bool IsValidUtf16Le(const std::string& bytes);
// UTF-8 to UTF-16LE bytes, a character outside the Basic Multilingual Plane as its surrogate pair.
std::string Utf8ToUtf16Le(const std::string& utf8);
// count UTF-16 code units to UTF-8, by the same rules.
std::string Utf16ToUtf8(const char16_t* units, std::size_t count);
