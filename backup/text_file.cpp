// Line splitting and the two encodings an export can come in: UTF-16LE with a byte-order mark, or UTF-8.
#include "backup/text_file.h"

#include "text/utf16.h"

namespace {

const char kByteOrderMark[] = "\xFF\xFE";

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

TextFile DecodeTextFile(const std::string& bytes) {
  TextFile file;
  if (bytes.compare(0, 2, kByteOrderMark) == 0) {
    file.encoding = TextEncoding::kUtf16Le;
    file.lines = SplitLines(Utf16LeToUtf8(bytes.substr(2)));
  } else {
    file.lines = SplitLines(bytes);
  }
  return file;
}

std::string EncodeTextFile(const TextFile& file) {
  std::string text;
  for (const std::string& line : file.lines) text += line + "\r\n";
  if (file.encoding == TextEncoding::kUtf16Le) return kByteOrderMark + Utf8ToUtf16Le(text);
  return text;
}
