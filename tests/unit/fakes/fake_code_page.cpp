#include "fakes/fake_code_page.h"

#include <cstdint>

#include "core/utf8.h"

namespace {

// Windows-1252 bytes 0x80..0x9F; 0 where the code page has no character.
const char32_t kHighControls[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char ToCp1252(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
  for (int i = 0; i < 32; ++i) {
    if (kHighControls[i] == c && c != 0) return static_cast<char>(0x80 + i);
  }
  return '?';
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
