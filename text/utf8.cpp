// UTF-8, one code point at a time.
#include "text/utf8.h"

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

char32_t NextCodePoint(const std::string& s, std::size_t& pos) {
  unsigned char lead = static_cast<unsigned char>(s[pos++]);
  if (lead < 0x80) return lead;
  int extra = lead >= 0xF8 ? -1 : lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
  if (extra < 0) return kReplacementCharacter;
  char32_t c = lead & (0x3F >> extra);
  std::size_t next = pos;
  for (int i = 0; i < extra; ++i, ++next) {
    if (next >= s.size() || (static_cast<unsigned char>(s[next]) & 0xC0) != 0x80) return kReplacementCharacter;
    c = (c << 6) | (static_cast<unsigned char>(s[next]) & 0x3F);
  }
  pos = next;
  bool surrogate = c >= 0xD800 && c <= 0xDFFF;
  return (surrogate || c > 0x10FFFF) ? kReplacementCharacter : c;
}

bool IsValidUtf8(const std::string& s) {
  std::size_t pos = 0;
  while (pos < s.size()) {
    std::size_t start = pos;
    char32_t c = NextCodePoint(s, pos);
    std::size_t length = pos - start;
    // The shortest form only: a sequence longer than its code point needs is malformed.
    std::size_t shortest = c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
    bool replacement = c == kReplacementCharacter && s.compare(start, 3, "\xEF\xBF\xBD") != 0;
    if (replacement || length != shortest) return false;
  }
  return true;
}
