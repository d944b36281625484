// UTF-8 to UTF-16 and back for every wide call of the program, by the portable codec of text/: one set of rules
// for malformed text everywhere (a malformed sequence or an unpaired surrogate becomes U+FFFD).
#include "platform/win32/wide_text.h"

#include <cwchar>

#include "text/utf16.h"

namespace platform {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wide characters are UTF-16 code units");

WideText Widen(const std::string& utf8) {
  std::string bytes = Utf8ToUtf16Le(utf8);
  WideText wide(bytes.size() / 2 + 1, L'\0');
  for (std::size_t i = 0; i < bytes.size() / 2; ++i) {
    wide[i] = static_cast<wchar_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                   (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
  }
  return wide;
}

std::string Narrow(const wchar_t* text, std::size_t length) {
  return Utf16ToUtf8(reinterpret_cast<const char16_t*>(text), length);
}

std::string Narrow(const wchar_t* zeroTerminated) {
  return Narrow(zeroTerminated, std::wcslen(zeroTerminated));
}

}  // namespace platform
