// UTF-16 to UTF-8 and back, by code units, surrogate pairs included.
#include "text/utf16.h"

#include "text/utf8.h"

namespace {

bool IsHighSurrogate(char16_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(char16_t unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}

void AppendCodeUnit(std::string& out, char16_t unit) {
  out += static_cast<char>(unit & 0xFF);
  out += static_cast<char>(unit >> 8);
}

// Decodes the code units unitAt(0) .. unitAt(count - 1).
template <typename UnitAt>
std::string DecodeUnits(std::size_t count, UnitAt unitAt) {
  std::string out;
  std::size_t i = 0;
  while (i < count) {
    char16_t unit = unitAt(i++);
    if (IsHighSurrogate(unit) && i < count && IsLowSurrogate(unitAt(i))) {
      char16_t low = unitAt(i++);
      AppendUtf8(out, 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (low - 0xDC00));
    } else {
      AppendUtf8(out, (IsHighSurrogate(unit) || IsLowSurrogate(unit)) ? kReplacementCharacter : unit);
    }
  }
  return out;
}

}  // namespace

std::string Utf16LeToUtf8(const std::string& bytes) {
  std::string out = DecodeUnits(bytes.size() / 2, [&bytes](std::size_t i) {
    return static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                 (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
  });
  // Bytes cut off inside a code unit.
  if (bytes.size() % 2 != 0) AppendUtf8(out, kReplacementCharacter);
  return out;
}

bool IsValidUtf16Le(const std::string& bytes) {
  if (bytes.size() % 2 != 0) return false;
  auto unitAt = [&bytes](std::size_t i) {
    return static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                 (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
  };
  std::size_t count = bytes.size() / 2;
  for (std::size_t i = 0; i < count; ++i) {
    char16_t unit = unitAt(i);
    if (IsLowSurrogate(unit)) return false;
    if (!IsHighSurrogate(unit)) continue;
    if (++i == count || !IsLowSurrogate(unitAt(i))) return false;
  }
  return true;
}

std::string Utf16ToUtf8(const char16_t* units, std::size_t count) {
  return DecodeUnits(count, [units](std::size_t i) { return units[i]; });
}

std::string Utf8ToUtf16Le(const std::string& utf8) {
  std::string out;
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    char32_t c = NextCodePoint(utf8, pos);
    if (c < 0x10000) {
      AppendCodeUnit(out, static_cast<char16_t>(c));
    } else {
      c -= 0x10000;
      AppendCodeUnit(out, static_cast<char16_t>(0xD800 + (c >> 10)));
      AppendCodeUnit(out, static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    }
  }
  return out;
}
