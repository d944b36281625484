#include "fakes/fake_code_page.h"

#include <cstdint>

namespace {

// Windows-1252 bytes 0x80..0x9F; 0 where the code page has no character.
const char32_t kHighControls[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

char ToCp1252(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
  for (int i = 0; i < 32; ++i) {
    if (kHighControls[i] == c && c != 0) return static_cast<char>(0x80 + i);
  }
  return '?';
}

// Decodes one UTF-8 sequence at pos; a malformed byte stands for itself as U+FFFD.
char32_t NextCodePoint(const std::string& s, std::size_t& pos) {
  unsigned char lead = static_cast<unsigned char>(s[pos++]);
  if (lead < 0x80) return lead;
  int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
  if (extra < 0) return 0xFFFD;
  char32_t c = lead & (0x3F >> extra);
  for (int i = 0; i < extra; ++i) {
    if (pos >= s.size() || (static_cast<unsigned char>(s[pos]) & 0xC0) != 0x80) return 0xFFFD;
    c = (c << 6) | (static_cast<unsigned char>(s[pos++]) & 0x3F);
  }
  return c;
}

}  // namespace

std::string FakeCodePage::ToAnsi(const std::string& utf8) {
  std::string out;
  std::size_t pos = 0;
  while (pos < utf8.size()) out += ToCp1252(NextCodePoint(utf8, pos));
  return out;
}

std::string FakeCodePage::FromAnsi(const std::string& ansiBytes) {
  std::string out;
  for (unsigned char byte : ansiBytes) {
    char32_t c = byte;
    if (byte >= 0x80 && byte < 0xA0) c = kHighControls[byte - 0x80] ? kHighControls[byte - 0x80] : byte;
    AppendUtf8(out, c);
  }
  return out;
}
