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
    decoded.byteOrderMark = true;
    decoded.valid = IsValidUtf16Le(units);
    if (decoded.valid) decoded.text = Utf16LeToUtf8(units);
    return decoded;
  }
  decoded.byteOrderMark = bytes.compare(0, 3, kUtf8ByteOrderMark) == 0;
  std::size_t start = decoded.byteOrderMark ? 3 : 0;
  decoded.text = bytes.substr(start);
  decoded.valid = IsValidUtf8(decoded.text);
  if (!decoded.valid) decoded.text.clear();
  return decoded;
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  LineCursor cursor(text);
  for (std::string line; cursor.Next(&line);) lines.push_back(std::move(line));
  return lines;
}

bool LineCursor::Next(std::string* line) {
  if (start_ >= text_.size()) return false;
  std::size_t end = start_;
  while (end < text_.size() && text_[end] != '\r' && text_[end] != '\n') ++end;
  if (end == text_.size()) {
    line->assign(text_, start_, std::string::npos);
    start_ = text_.size();
    return true;
  }
  line->assign(text_, start_, end - start_);
  start_ = end + 1;
  if (text_[end] == '\r' && start_ < text_.size() && text_[start_] == '\n') ++start_;
  return true;
}

std::size_t LineCursor::MostLines() const {
  std::size_t ends = 0;
  for (char c : text_) ends += c == '\n' || c == '\r';
  return ends + 1;
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
