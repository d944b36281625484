// Reading and writing the line-based text files of the backup: registry-editor exports in, the backup out.
#pragma once

#include <string>
#include <vector>

enum class TextEncoding { kUtf8, kUtf16Le };

// A text file as lines of UTF-8, without their line ends, and the encoding it is stored in.
struct TextFile {
  TextEncoding encoding = TextEncoding::kUtf8;
  std::vector<std::string> lines;
};

// CR or CR LF ends a line; a lone LF belongs to its line; a last line without an end is still a line.
std::vector<std::string> SplitLines(const std::string& text);

// Bytes as stored: UTF-16LE when they begin with the byte-order mark FF FE, otherwise UTF-8 (of which ASCII is
// a part). No code page is ever guessed.
TextFile DecodeTextFile(const std::string& bytes);

// Every line followed by CR LF; UTF-16LE behind one byte-order mark, or UTF-8.
std::string EncodeTextFile(const TextFile& file);
