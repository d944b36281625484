// Reading and writing the line-based text files of the backup: registry-editor exports in, the backup out.
#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"

enum class TextEncoding { kAnsi, kUtf16Le };

// A text file as lines of UTF-8, without their line ends, and the encoding it is stored in.
struct TextFile {
  TextEncoding encoding = TextEncoding::kAnsi;
  std::vector<std::string> lines;
};

// CR or CR LF ends a line; a lone LF belongs to its line; a last line without an end is still a line.
std::vector<std::string> SplitLines(const std::string& text);

// Bytes as stored: UTF-16LE when they begin with the byte-order mark FF FE, otherwise the ANSI code page.
TextFile DecodeTextFile(const std::string& bytes, platform::CodePage& codePage);

// Every line followed by CR LF; UTF-16LE behind one byte-order mark, or the ANSI code page.
std::string EncodeTextFile(const TextFile& file, platform::CodePage& codePage);

// UTF-16LE code units (no byte-order mark) and UTF-8; what cannot be decoded becomes U+FFFD.
std::string Utf16LeToUtf8(const std::string& bytes);
std::string Utf8ToUtf16Le(const std::string& utf8);
