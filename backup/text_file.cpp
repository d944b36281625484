// Line splitting and the two encodings an export can come in: UTF-16LE with a byte-order mark, or ANSI.
#include "backup/text_file.h"

#include "core/utf8.h"

namespace {

constexpr char32_t kReplacement = kReplacementCharacter;
const char kByteOrderMark[] = "\xFF\xFE";

char16_t CodeUnitAt(const std::string& bytes, std::size_t pos) {
  return static_cast<char16_t>(static_cast<unsigned char>(bytes[pos]) |
                               (static_cast<unsigned char>(bytes[pos + 1]) << 8));
}

void AppendCodeUnit(std::string& out, char16_t unit) {
  out += static_cast<char>(unit & 0xFF);
  out += static_cast<char>(unit >> 8);
}

bool IsHighSurrogate(char16_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(char16_t unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}

}  // namespace

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\r', start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
    if (start < text.size() && text[start] == '\n') ++start;
  }
  return lines;
}

std::string Utf16LeToUtf8(const std::string& bytes) {
  std::string out;
  std::size_t pos = 0;
  while (pos + 1 < bytes.size()) {
    char16_t unit = CodeUnitAt(bytes, pos);
    pos += 2;
    if (IsHighSurrogate(unit) && pos + 1 < bytes.size() && IsLowSurrogate(CodeUnitAt(bytes, pos))) {
      char16_t low = CodeUnitAt(bytes, pos);
      pos += 2;
      AppendUtf8(out, 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (low - 0xDC00));
    } else {
      AppendUtf8(out, (IsHighSurrogate(unit) || IsLowSurrogate(unit)) ? kReplacement : unit);
    }
  }
  // A file cut off inside a code unit.
  if (pos < bytes.size()) AppendUtf8(out, kReplacement);
  return out;
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

TextFile DecodeTextFile(const std::string& bytes, platform::CodePage& codePage) {
  TextFile file;
  if (bytes.compare(0, 2, kByteOrderMark) == 0) {
    file.encoding = TextEncoding::kUtf16Le;
    file.lines = SplitLines(Utf16LeToUtf8(bytes.substr(2)));
  } else {
    file.lines = SplitLines(codePage.FromAnsi(bytes));
  }
  return file;
}

std::string EncodeTextFile(const TextFile& file, platform::CodePage& codePage) {
  std::string text;
  for (const std::string& line : file.lines) text += line + "\r\n";
  if (file.encoding == TextEncoding::kUtf16Le) return kByteOrderMark + Utf8ToUtf16Le(text);
  return codePage.ToAnsi(text);
}
