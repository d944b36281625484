// UTF-8, one code point at a time: the program's own text encoding, for the codecs that cross to others.
#pragma once

#include <cstddef>
#include <string>

constexpr char32_t kReplacementCharacter = 0xFFFD;

void AppendUtf8(std::string& out, char32_t c);

// Decodes the UTF-8 sequence at pos and moves pos past it; a malformed sequence yields U+FFFD and
// consumes one byte.
char32_t NextCodePoint(const std::string& s, std::size_t& pos);

// Every byte belongs to a well-formed sequence of a code point outside the surrogates.
bool IsValidUtf8(const std::string& s);
