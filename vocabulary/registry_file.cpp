// Reading a registry file: its encoding, its lines one by one, and the values it sets in the four keys.
#include "vocabulary/registry_file.h"

#include <algorithm>
#include <utility>

#include "text/ascii_case.h"
#include "text/text_file.h"
#include "text/trimmed.h"
#include "vocabulary/failure.h"
#include "vocabulary/reg_value.h"
#include "vocabulary/vocabulary_texts.h"

const char* const kRegistryFileHeader = "Windows Registry Editor Version 5.00";

namespace {

const char* const kHeaderVersion4 = "REGEDIT4";

bool IsAscii(const std::string& text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// A tab is the only control character a line may hold: a NUL, a lone CR or anything else below a space would be
// read differently by different editors.
bool HoldsControlCharacter(const std::string& line) {
  return std::any_of(line.begin(), line.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x20 && c != '\t'; });
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Whole text of 1..maxDigits hex digits into *number.
bool ParseHexNumber(const std::string& text, std::size_t maxDigits, std::uint32_t* number) {
  if (text.empty() || text.size() > maxDigits) return false;
  *number = 0;
  for (char c : text) {
    if (HexDigit(c) < 0) return false;
    *number = *number * 16 + static_cast<std::uint32_t>(HexDigit(c));
  }
  return true;
}

// A quoted text from text[*pos] (the opening quote) with its escapes undone: \\ and \" as every registry editor
// writes them, \n and \r as Wine's writes a line break; *pos ends past the closing quote.
bool ParseQuoted(const std::string& text, std::size_t* pos, std::string* unquoted) {
  unquoted->clear();
  for (std::size_t i = *pos + 1; i < text.size(); ++i) {
    char c = text[i];
    if (c == '"') {
      *pos = i + 1;
      return true;
    }
    if (c == '\\') {
      if (++i == text.size()) return false;
      switch (text[i]) {
        case '\\':
        case '"':
          c = text[i];
          break;
        case 'n':
          c = '\n';
          break;
        case 'r':
          c = '\r';
          break;
        default:
          return false;
      }
    }
    *unquoted += c;
  }
  return false;
}

// Comma-separated bytes of two hex digits, as "hex:" writes them; a final backslash says the list goes on in
// the next line.
bool ParseHexBytes(const std::string& text, std::string* bytes, bool* continues) {
  *continues = false;
  std::size_t pos = 0;
  while (pos < text.size()) {
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
    if (pos == text.size()) break;
    if (pos + 1 == text.size() && text[pos] == '\\') {
      *continues = true;
      return true;
    }
    if (pos + 2 > text.size() || HexDigit(text[pos]) < 0 || HexDigit(text[pos + 1]) < 0) return false;
    *bytes += static_cast<char>(HexDigit(text[pos]) * 16 + HexDigit(text[pos + 1]));
    pos += 2;
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
    if (pos < text.size() && text[pos++] != ',') return false;
  }
  return true;
}

bool IsStringType(std::uint32_t type) {
  return type == platform::kRegSz || type == platform::kRegExpandSz || type == platform::kRegMultiSz;
}

// Single-byte text, as REGEDIT4 stores hex(1), hex(2) and hex(7): each ASCII byte is one UTF-16 code unit.
std::string WidenedAscii(const std::string& bytes) {
  std::string units;
  for (char c : bytes) {
    units += c;
    units += '\0';
  }
  return units;
}

// The lines after the header, one at a time: each is taken, or gives the reason it may not stay.
class LineReader {
 public:
  // codePageReason: why a name or a text other than ASCII is refused, for a file whose text the registry editor
  // reads in a code page; null for one it reads as Unicode. A REGEDIT4 file stores its texts' bytes in one too.
  // lineCount: how many lines the file has, which bounds how many values it can set.
  LineReader(bool version4, const char* codePageReason, std::size_t lineCount);

  std::string Take(const std::string& line);
  // Empty text when the file may end here.
  std::string Finish();

  RegistryFile file;

 private:
  std::string TakeSection(const std::string& line);
  std::string TakeAssignment(const std::string& line);
  std::string TakeData(const std::string& name, const std::string& data);
  std::string TakeHex(const std::string& name, const std::string& data);
  std::string TakeContinuation(const std::string& line);
  void Record(RegistryFileValue value);

  bool version4_;
  const char* codePageReason_;
  bool inSection_ = false;
  const ShellFolderKey* key_ = nullptr;  // null in a section that is passed over
  // A hex value whose list of bytes goes on in the next line.
  bool continued_ = false;
  RegistryFileValue pending_;
  // Where each value recorded so far stands in file.values, found by its key and its name without regard to case
  // in a table of open addresses (its place plus one; 0 is free), sized for every line of the file so that it
  // never fills. Each slot keeps its name's hash too, so that a probe reads a value only when the hashes match.
  // A value given again leaves its earlier place empty (its key null); the empty places go once the file is read.
  struct Slot {
    std::uint32_t place = 0;
    std::uint32_t hash = 0;
  };
  std::vector<Slot> places_;
};

LineReader::LineReader(bool version4, const char* codePageReason, std::size_t lineCount)
    : version4_(version4), codePageReason_(codePageReason) {
  std::size_t size = 16;
  while (size < lineCount + lineCount / 2) size *= 2;
  places_.assign(size, Slot());
  file.values.reserve(lineCount);
}

// FNV-1a over the key's place and the name's letters in lower case.
std::uint64_t NameHash(const ShellFolderKey* key, const std::string& name) {
  std::uint64_t hash = 1469598103934665603ull ^ static_cast<std::uint64_t>(key - kShellFolderKeys.data());
  for (char c : name) {
    hash ^= static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    hash *= 1099511628211ull;
  }
  return hash;
}

std::string LineReader::Take(const std::string& rawLine) {
  if (HoldsControlCharacter(rawLine)) return kRegistryLineControlCharacter;
  std::string line = WithoutOuterBlanks(rawLine);
  if (continued_) return line.empty() || line[0] == ';' ? kByteListBroken : TakeContinuation(line);
  if (line.empty() || line[0] == ';') return std::string();
  if (line[0] == '[') return TakeSection(line);
  if (line[0] == '"' || line[0] == '@') return inSection_ ? TakeAssignment(line) : kValueBeforeAnyKey;
  return kNotARegistryLine;
}

// One of the four keys, a key below one of them, or a refusal.
std::string LineReader::TakeSection(const std::string& line) {
  if (line.back() != ']') return kNotARegistryLine;
  if (line.compare(0, 2, "[-") == 0) return kDeletesAWholeKey;
  std::string name = line.substr(1, line.size() - 2);
  for (std::size_t i = 0; i < kShellFolderKeys.size(); ++i) {
    std::string keyName = kShellFolderKeys[i].FullName();
    if (SameIgnoringAsciiCase(name, keyName)) {
      inSection_ = true;
      key_ = &kShellFolderKeys[i];
      file.sections[i] = true;
      return std::string();
    }
    bool below = name.size() > keyName.size() + 1 && name[keyName.size()] == '\\' &&
                 SameIgnoringAsciiCase(name.substr(0, keyName.size()), keyName);
    if (below) {
      inSection_ = true;
      key_ = nullptr;
      file.passedOverKeys.push_back(name);
      return std::string();
    }
  }
  return kNotOneOfTheFourKeys;
}

std::string LineReader::TakeAssignment(const std::string& line) {
  std::string name;
  std::size_t pos = 1;  // past the "@" of the default value
  if (line[0] == '"') {
    pos = 0;
    if (!ParseQuoted(line, &pos, &name)) return kNotARegistryLine;
    if (codePageReason_ != nullptr && !IsAscii(name)) return codePageReason_;
  }
  while (pos < line.size() && IsBlank(line[pos])) ++pos;
  if (pos == line.size() || line[pos] != '=') return kNotARegistryLine;
  return TakeData(name, WithoutOuterBlanks(line.substr(pos + 1)));
}

// A value's data after its "=": a deletion, a text, a dword or a list of hex bytes.
std::string LineReader::TakeData(const std::string& name, const std::string& data) {
  RegistryFileValue value{key_, name, false, 0, std::string()};
  if (data == "-") {
    value.deleted = true;
    Record(std::move(value));
    return std::string();
  }
  if (!data.empty() && data[0] == '"') {
    std::string text;
    std::size_t pos = 0;
    if (!ParseQuoted(data, &pos, &text) || pos != data.size()) return kNotARegistryLine;
    if (codePageReason_ != nullptr && !IsAscii(text)) return codePageReason_;
    value.type = platform::kRegSz;
    value.bytes = StringValueBytes(text);
    Record(std::move(value));
    return std::string();
  }
  std::uint32_t number = 0;
  if (data.compare(0, 6, "dword:") == 0) {
    if (!ParseHexNumber(data.substr(6), 8, &number)) return kNotARegistryLine;
    value.type = platform::kRegDword;
    for (int shift = 0; shift < 32; shift += 8) value.bytes += static_cast<char>((number >> shift) & 0xFF);
    Record(std::move(value));
    return std::string();
  }
  return TakeHex(name, data);
}

// "hex:" is REG_BINARY; "hex(N):" is type N in hex digits.
std::string LineReader::TakeHex(const std::string& name, const std::string& data) {
  std::size_t colon = data.find(':');
  if (colon == std::string::npos) return kNotARegistryLine;
  std::string prefix = data.substr(0, colon);
  std::uint32_t type = platform::kRegBinary;
  if (prefix != "hex") {
    if (prefix.compare(0, 4, "hex(") != 0 || prefix.back() != ')') return kNotARegistryLine;
    if (!ParseHexNumber(prefix.substr(4, prefix.size() - 5), 8, &type)) return kNotARegistryLine;
  }
  pending_ = RegistryFileValue{key_, name, false, type, std::string()};
  continued_ = true;
  return TakeContinuation(data.substr(colon + 1));
}

std::string LineReader::TakeContinuation(const std::string& line) {
  bool continues = false;
  if (!ParseHexBytes(line, &pending_.bytes, &continues)) return kNotARegistryLine;
  continued_ = continues;
  if (continues) return std::string();
  if (version4_ && IsStringType(pending_.type)) {
    if (!IsAscii(pending_.bytes)) return codePageReason_;
    pending_.bytes = WidenedAscii(pending_.bytes);
  }
  Record(std::move(pending_));
  return std::string();
}

// A later line for the same name replaces the value, at the later line's place. Values of a section that is
// passed over are read, so that a line no editor could read is still refused, but kept nowhere. Each value is
// found again by its name at once, so that reading takes time in step with the file's length.
void LineReader::Record(RegistryFileValue value) {
  if (value.key == nullptr) return;
  std::size_t mask = places_.size() - 1;
  std::uint64_t hash = NameHash(value.key, value.name);
  // The slot comes from the low bits and the kept hash from the high ones: the two tell names apart separately.
  auto shortHash = static_cast<std::uint32_t>(hash >> 32);
  std::size_t slot = static_cast<std::size_t>(hash) & mask;
  for (; places_[slot].place != 0; slot = (slot + 1) & mask) {
    if (places_[slot].hash != shortHash) continue;
    RegistryFileValue& earlier = file.values[places_[slot].place - 1];
    if (earlier.key == value.key && SameIgnoringAsciiCase(earlier.name, value.name)) {
      earlier.key = nullptr;
      break;
    }
  }
  places_[slot] = Slot{static_cast<std::uint32_t>(file.values.size() + 1), shortHash};
  file.values.push_back(std::move(value));
}

std::string LineReader::Finish() {
  if (continued_) return kEndsInsideByteList;
  std::vector<RegistryFileValue>& values = file.values;
  values.erase(
      std::remove_if(values.begin(), values.end(), [](const RegistryFileValue& value) { return value.key == nullptr; }),
      values.end());
  return std::string();
}

RegistryFile Refused(int lineNumber, const std::string& line, const char* reason) {
  RegistryFile file;
  file.offendingLineNumber = lineNumber;
  file.offendingLine = Shortened(line);
  file.reason = reason;
  return file;
}

}  // namespace

std::string RegistryFileQuoted(const std::string& text) {
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '\\' || c == '"') quoted += '\\';
    if (c == '\n') {
      quoted += "\\n";
    } else if (c == '\r') {
      quoted += "\\r";
    } else {
      quoted += c;
    }
  }
  return quoted + "\"";
}

std::string RegistryFileBytes(const std::vector<std::string>& lines) {
  std::vector<std::string> file = {kRegistryFileHeader};
  file.insert(file.end(), lines.begin(), lines.end());
  return EncodeUtf16LeLines(file);
}

RegistryFile ParseRegistryFile(const std::string& bytes, std::size_t maxBytes) {
  if (bytes.size() > maxBytes) {
    return Refused(
        0, std::string(),
        (maxBytes == kMaxRegistryFileBytes ? RegistryFileTooLarge() : FileLargerThan(maxBytes) + ".").c_str());
  }
  DecodedText decoded = DecodeTextFile(bytes);
  if (!decoded.valid) return Refused(0, std::string(), kRegistryFileNotText);
  // The lines are read one at a time: a file at the limit has a million of them.
  LineCursor cursor(decoded.text);
  std::string header;
  cursor.Next(&header);
  bool version4 = header == kHeaderVersion4;
  if (!version4 && header != kRegistryFileHeader) {
    bool blank = WithoutOuterBlanks(header).empty();
    for (std::string line; blank && cursor.Next(&line);) blank = WithoutOuterBlanks(line).empty();
    if (blank) return Refused(0, std::string(), kRegistryFileEmpty);
    return Refused(1, header, HoldsControlCharacter(header) ? kRegistryLineControlCharacter : kNoRegistryFileHeader);
  }

  const char* codePageReason = version4                ? kRegedit4CodePage
                               : decoded.byteOrderMark ? nullptr
                                                       : kNoByteOrderMarkCodePage;
  LineReader reader(version4, codePageReason, cursor.MostLines());
  int lineNumber = 1;
  std::string line = header;
  for (std::string next; cursor.Next(&next);) {
    line.swap(next);
    ++lineNumber;
    std::string reason = reader.Take(line);
    if (!reason.empty()) return Refused(lineNumber, line, reason.c_str());
  }
  std::string reason = reader.Finish();
  if (!reason.empty()) return Refused(lineNumber, line, reason.c_str());
  if (reader.file.values.empty()) return Refused(0, std::string(), kSetsNoFolderValue);
  reader.file.readable = true;
  return std::move(reader.file);
}
