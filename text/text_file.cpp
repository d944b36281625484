// Text files: the two encodings a file can come in, its lines, and the UTF-16LE file the backup writes.
#include "text/text_file.h"

#include "text/utf16.h"
#include "text/utf8.h"

namespace {

const char kUtf16ByteOrderMark[] = "\xFF\xFE";
const char kUtf8ByteOrderMark[] = "\xEF\xBB\xBF";

}  // namespace

DecodedText DecodeTextFile(const std::string& bytes) {
  DecodedText decoded;
  if (bytes.compare(0, 2, kUtf16ByteOrderMark) == 0) {
    std::string units = bytes.substr(2);
    decoded.encoding = TextEncoding::kUtf16Le;
    decoded.valid = IsValidUtf16Le(units);
    if (decoded.valid) decoded.text = Utf16LeToUtf8(units);
    return decoded;
  }
  std::size_t start = bytes.compare(0, 3, kUtf8ByteOrderMark) == 0 ? 3 : 0;
  decoded.text = bytes.substr(start);
  decoded.valid = IsValidUtf8(decoded.text);
  if (!decoded.valid) decoded.text.clear();
  return decoded;
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
    if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
  }
  return lines;
}

std::string EncodeUtf16LeLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return kUtf16ByteOrderMark + Utf8ToUtf16Le(text);
}

std::string OnOneLine(std::string text) {
  for (char& c : text) {
    if (c == '\n') c = ' ';
  }
  return text;
}
