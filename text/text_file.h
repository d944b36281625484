// Text files as stored and as lines: UTF-16LE behind its byte-order mark, or UTF-8 (of which ASCII is a part).
// Portable: no windows.h. No code page is ever guessed.
#pragma once

#include <string>
#include <vector>

enum class TextEncoding { kUtf8, kUtf16Le };

// A file's text in UTF-8 and the encoding it was stored in; not valid when its bytes are not well-formed text of
// that encoding.
struct DecodedText {
  bool valid = false;
  TextEncoding encoding = TextEncoding::kUtf8;
  // Whether the bytes began with a byte-order mark; without one, a program that knows no UTF-8 reads the text
  // in a code page.
  bool byteOrderMark = false;
  std::string text;
};

// UTF-16LE when the bytes begin with the byte-order mark FF FE, else UTF-8, with or without its mark EF BB BF.
DecodedText DecodeTextFile(const std::string& bytes);

// CR, LF and CR LF each end a line, as the registry editor reads them; a last line without an end is still a line.
std::vector<std::string> SplitLines(const std::string& text);

// The same lines one at a time, for a text too long to hold as lines all at once.
class LineCursor {
 public:
  explicit LineCursor(const std::string& text) : text_(text) {}
  // The next line into *line; false at the end of the text.
  bool Next(std::string* line);
  // How many lines the text has at the most: one more than its line ends.
  std::size_t MostLines() const;

 private:
  const std::string& text_;
  std::size_t start_ = 0;
};

// The byte-order mark, then every line followed by CR LF, in UTF-16LE: the registry editor's own format.
std::string EncodeUtf16LeLines(const std::vector<std::string>& lines);

// A text of several lines as one, each line end a space: for a message on a line of a listing.
std::string OnOneLine(std::string text);
