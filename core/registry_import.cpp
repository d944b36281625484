// Restoring a backup: the check of a registry file line by line, its import by regedit /s, and the read-back.
#include "core/registry_import.h"

#include <algorithm>
#include <cctype>
#include <exception>
#include <new>
#include <utility>

#include "backup/registry_editor.h"
#include "backup/system_error.h"
#include "backup/text_file.h"
#include "core/catalogue.h"
#include "core/shell_folder_registry.h"
#include "text/ascii_case.h"
#include "text/utf16.h"

namespace {

// A backup of four keys is a few kilobytes; anything near this size is something else.
constexpr std::size_t kMaxFileBytes = 16u * 1024 * 1024;
const char* const kHeaderVersion5 = "Windows Registry Editor Version 5.00";
const char* const kHeaderVersion4 = "REGEDIT4";

const char* const kTooLarge = "The file is larger than 16 MB, far too large to be a backup.";
const char* const kEmpty = "The file is empty.";
const char* const kNoHeader = "The file does not begin with the header of a registry file.";
const char* const kSetsNothing = "The file sets no special folder value.";
const char* const kNotRegistryLine = "This is not a value, a key or a comment of a registry file.";
const char* const kOtherKey = "This key is not one of the four keys that hold the special folder paths.";
const char* const kDeletesKey = "This would delete a whole key.";
const char* const kOutsideKey = "This value comes before any key is named.";

// A failed step of the import: it ends the import, never the program, with the system's code.
class ImportFailure : public std::exception {
 public:
  ImportFailure(std::int32_t code, std::string text) : code_(code), text_(std::move(text)) {}
  const char* what() const noexcept override { return text_.c_str(); }
  std::int32_t code() const { return code_; }

 private:
  std::int32_t code_;
  std::string text_;
};

const char* HiveName(platform::HKey hive) {
  return hive == platform::kHkeyCurrentUser ? "HKEY_CURRENT_USER" : "HKEY_LOCAL_MACHINE";
}

struct ShellKey {
  platform::HKey hive;
  const char* keyPath;
};

std::string KeyName(const ShellKey& key) {
  return std::string(HiveName(key.hive)) + "\\" + key.keyPath;
}

// One of the four keys by its full name in a file, or none.
bool FindShellKey(const std::string& name, ShellKey* found) {
  for (platform::HKey hive : {platform::kHkeyCurrentUser, platform::kHkeyLocalMachine}) {
    for (const char* keyPath : {kUserShellFoldersKey, kShellFoldersKey}) {
      ShellKey key{hive, keyPath};
      if (!SameIgnoringAsciiCase(name, KeyName(key))) continue;
      *found = key;
      return true;
    }
  }
  return false;
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

// regedit skips the blanks that begin a line and those that end a value.
std::string WithoutOuterBlanks(const std::string& line) {
  std::size_t begin = 0;
  std::size_t end = line.size();
  while (begin < end && IsBlank(line[begin])) ++begin;
  while (end > begin && IsBlank(line[end - 1])) --end;
  return line.substr(begin, end - begin);
}

bool IsAscii(const std::string& text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
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

// A quoted text from text[*pos] (the opening quote) with its \\ and \" escapes undone; *pos ends past the
// closing quote. Other escapes are not in what regedit writes, and editors differ over them.
bool ParseQuoted(const std::string& text, std::size_t* pos, std::string* unquoted) {
  unquoted->clear();
  for (std::size_t i = *pos + 1; i < text.size(); ++i) {
    if (text[i] == '"') {
      *pos = i + 1;
      return true;
    }
    if (text[i] == '\\') {
      if (i + 1 == text.size() || (text[i + 1] != '\\' && text[i + 1] != '"')) return false;
      ++i;
    }
    *unquoted += text[i];
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

std::string Utf16String(const std::string& utf8) {
  return Utf8ToUtf16Le(utf8) + std::string(2, '\0');
}

// The lines that follow the header: each one is let through or gives the reason it may not stay.
class LineCheck {
 public:
  LineCheck(bool utf16, bool version4) : utf16_(utf16), version4_(version4) {}

  // Empty text when the line may stay, otherwise why it may not.
  std::string Take(const std::string& line);
  // The end of the file also ends a hex value that was still going on.
  void Finish();

  std::vector<ImportedValue> values;
  int assignments = 0;

 private:
  std::string TakeSection(const std::string& line);
  std::string TakeAssignment(const std::string& line);
  bool TakeData(const std::string& name, const std::string& data);
  bool TakeHex(const std::string& name, const std::string& data);
  std::string TakeContinuation(const std::string& line);
  void Record(const std::string& name, std::uint32_t type, const std::string& bytes, bool comparable);
  void Forget(const std::string& name);
  bool ComparableHex(std::uint32_t type, const std::string& bytes) const;

  bool utf16_;
  bool version4_;
  bool inKey_ = false;
  ShellKey key_{};
  // A hex value whose list of bytes goes on in the next line.
  bool continued_ = false;
  ImportedValue pending_;
};

std::string LineCheck::Take(const std::string& rawLine) {
  std::string line = WithoutOuterBlanks(rawLine);
  if (continued_) {
    if (!line.empty() && line[0] != ';') return TakeContinuation(line);
    // A blank line or a comment ends the value; a list of bytes after it stands on its own and is refused.
    Finish();
  }
  if (line.empty() || line[0] == ';') return std::string();
  if (line[0] == '[') return TakeSection(line);
  if (line[0] == '"' || line[0] == '@') return inKey_ ? TakeAssignment(line) : kOutsideKey;
  return kNotRegistryLine;
}

void LineCheck::Finish() {
  if (!continued_) return;
  continued_ = false;
  Record(pending_.valueName, pending_.type, pending_.bytes, ComparableHex(pending_.type, pending_.bytes));
}

std::string LineCheck::TakeSection(const std::string& line) {
  if (line.back() != ']') return kNotRegistryLine;
  if (line.compare(0, 2, "[-") == 0) return kDeletesKey;
  inKey_ = FindShellKey(line.substr(1, line.size() - 2), &key_);
  return inKey_ ? std::string() : kOtherKey;
}

std::string LineCheck::TakeAssignment(const std::string& line) {
  std::string name;
  std::size_t pos = 1;  // past the "@" of the default value
  if (line[0] == '"') {
    pos = 0;
    if (!ParseQuoted(line, &pos, &name)) return kNotRegistryLine;
  }
  while (pos < line.size() && IsBlank(line[pos])) ++pos;
  if (pos == line.size() || line[pos] != '=') return kNotRegistryLine;
  std::string data = WithoutOuterBlanks(line.substr(pos + 1));
  return TakeData(name, data) ? std::string() : kNotRegistryLine;
}

// A value's data after its "=": a deletion, a text, a dword or a list of hex bytes.
bool LineCheck::TakeData(const std::string& name, const std::string& data) {
  if (data == "-") {
    Forget(name);
    return true;
  }
  if (!data.empty() && data[0] == '"') {
    std::string text;
    std::size_t pos = 0;
    if (!ParseQuoted(data, &pos, &text) || pos != data.size()) return false;
    // Without a byte-order mark, regedit reads other characters in the code page of the machine.
    Record(name, platform::kRegSz, Utf16String(text), utf16_ || IsAscii(text));
    return true;
  }
  std::uint32_t number = 0;
  if (data.compare(0, 6, "dword:") == 0) {
    if (!ParseHexNumber(data.substr(6), 8, &number)) return false;
    std::string bytes;
    for (int shift = 0; shift < 32; shift += 8) bytes += static_cast<char>((number >> shift) & 0xFF);
    Record(name, platform::kRegDword, bytes, true);
    return true;
  }
  return TakeHex(name, data);
}

// "hex:" is REG_BINARY; "hex(N):" is type N in hex digits.
bool LineCheck::TakeHex(const std::string& name, const std::string& data) {
  std::size_t colon = data.find(':');
  if (colon == std::string::npos) return false;
  std::string prefix = data.substr(0, colon);
  std::uint32_t type = platform::kRegBinary;
  if (prefix != "hex") {
    if (prefix.compare(0, 4, "hex(") != 0 || prefix.back() != ')') return false;
    if (!ParseHexNumber(prefix.substr(4, prefix.size() - 5), 8, &type)) return false;
  }
  pending_ = ImportedValue{key_.hive, key_.keyPath, name, type, std::string()};
  continued_ = true;
  return TakeContinuation(data.substr(colon + 1)).empty();
}

std::string LineCheck::TakeContinuation(const std::string& line) {
  bool continues = false;
  if (!ParseHexBytes(line, &pending_.bytes, &continues)) {
    continued_ = false;
    return kNotRegistryLine;
  }
  if (!continues) Finish();
  return std::string();
}

// A later line for the same name replaces the value, so only the last one is read back.
void LineCheck::Record(const std::string& name, std::uint32_t type, const std::string& bytes, bool comparable) {
  ++assignments;
  Forget(name);
  // A name outside ASCII in a file without a byte-order mark is read in the machine's code page too.
  if (comparable && (utf16_ || IsAscii(name)))
    values.push_back(ImportedValue{key_.hive, key_.keyPath, name, type, bytes});
}

void LineCheck::Forget(const std::string& name) {
  values.erase(std::remove_if(values.begin(), values.end(),
                              [&](const ImportedValue& value) {
                                return value.hive == key_.hive && value.keyPath == key_.keyPath &&
                                       SameIgnoringAsciiCase(value.valueName, name);
                              }),
               values.end());
}

// The bytes of hex(1), hex(2) and hex(7) are text, and editors store them differently: without a byte-order
// mark Wine's regedit reads them as text of the code page whatever the header says (measured), and in a
// REGEDIT4 file they are single-byte text by definition; Wine also adds a terminator where the data lacks one,
// which Windows' regedit does not. Only UTF-16 text with its terminator in a version 5 file is stored as given.
bool LineCheck::ComparableHex(std::uint32_t type, const std::string& bytes) const {
  if (type != platform::kRegSz && type != platform::kRegExpandSz && type != platform::kRegMultiSz) return true;
  return utf16_ && !version4_ && bytes.size() % 2 == 0 && bytes.size() >= 2 &&
         bytes.compare(bytes.size() - 2, 2, std::string(2, '\0')) == 0;
}

RegistryFileCheck Refused(int lineNumber, const std::string& line, const char* reason) {
  RegistryFileCheck check;
  check.offendingLineNumber = lineNumber;
  check.offendingLine = line;
  check.reason = reason;
  return check;
}

std::size_t FirstNonBlankLine(const std::vector<std::string>& lines) {
  std::size_t index = 0;
  while (index < lines.size() && WithoutOuterBlanks(lines[index]).empty()) ++index;
  return index;
}

std::string ImportedMessage(const std::string& file) {
  return "Restored the special folder paths from \"" + file + "\".";
}

std::string RefusedMessage(const std::string& file, const RegistryFileCheck& check) {
  std::string text = "\"" + file + "\" is not a backup of the special folder paths, so nothing was imported.\n";
  if (check.offendingLineNumber > 0) {
    text += "Line " + std::to_string(check.offendingLineNumber) + ": " + check.offendingLine + "\n";
  }
  return text + check.reason;
}

ImportOutcome Failed(const std::string& file, std::int32_t code, const std::string& reason) {
  return ImportOutcome{ImportOutcome::Result::kFailed, code,
                       "Could not restore the special folder paths from \"" + file + "\".\n" + reason};
}

// Whatever way the wait ends, the handle is closed.
class ProcessCloser {
 public:
  ProcessCloser(platform::Processes& processes, platform::ProcessHandle process)
      : processes_(processes), process_(process) {}
  ProcessCloser(const ProcessCloser&) = delete;
  ProcessCloser& operator=(const ProcessCloser&) = delete;
  ~ProcessCloser() { processes_.CloseHandle(process_); }

 private:
  platform::Processes& processes_;
  platform::ProcessHandle process_;
};

}  // namespace

RegistryFileCheck CheckRegistryFile(const std::string& bytes) {
  if (bytes.size() > kMaxFileBytes) return Refused(0, std::string(), kTooLarge);
  TextFile file = DecodeTextFile(bytes);
  std::size_t header = FirstNonBlankLine(file.lines);
  if (header == file.lines.size()) return Refused(0, std::string(), kEmpty);
  bool version4 = file.lines[header] == kHeaderVersion4;
  if (!version4 && file.lines[header] != kHeaderVersion5) return Refused(0, std::string(), kNoHeader);

  LineCheck lines(file.encoding == TextEncoding::kUtf16Le, version4);
  for (std::size_t i = header + 1; i < file.lines.size(); ++i) {
    std::string reason = lines.Take(file.lines[i]);
    if (!reason.empty()) return Refused(static_cast<int>(i + 1), file.lines[i], reason.c_str());
  }
  lines.Finish();
  if (lines.assignments <= 0) return Refused(0, std::string(), kSetsNothing);
  RegistryFileCheck check;
  check.importable = true;
  check.values = std::move(lines.values);
  return check;
}

ImportOutcome RegistryImport::Run(const std::string& file) {
  try {
    RegistryFileCheck check = CheckRegistryFile(ReadFile(file));
    if (!check.importable) {
      return ImportOutcome{ImportOutcome::Result::kInvalidFile, platform::kErrorInvalidData,
                           RefusedMessage(file, check)};
    }
    RunRegistryEditor(file);
    CheckValuesStored(check.values);
    return ImportOutcome{ImportOutcome::Result::kImported, 0, ImportedMessage(file)};
  } catch (const ImportFailure& failure) {
    return Failed(file, failure.code(), failure.what());
  } catch (const std::bad_alloc&) {
    return Failed(file, platform::kErrorNotEnoughMemory,
                  WithSystemReason("Cannot hold the file", platform::kErrorNotEnoughMemory));
  } catch (...) {
    return Failed(file, platform::kErrorFunctionFailed,
                  WithSystemReason("The import broke off", platform::kErrorFunctionFailed));
  }
}

std::string RegistryImport::ReadFile(const std::string& file) {
  std::string bytes;
  std::int32_t code = platform_.files.ReadWholeFile(file, &bytes);
  if (code != 0) throw ImportFailure(code, DescribeFailure("Cannot read", file, code));
  return bytes;
}

// The editor's full path; without a Windows folder there is none to run, and that ends the run.
std::string RegistryImport::FindRegistryEditor() {
  std::string path = RegistryEditorPath(platform_.system);
  if (path.empty()) {
    throw ImportFailure(platform::kErrorFileNotFound,
                        WithSystemReason("Cannot find the Windows folder", platform::kErrorFileNotFound));
  }
  return path;
}

void RegistryImport::RunRegistryEditor(const std::string& file) {
  std::string regedit = FindRegistryEditor();
  platform::ProcessHandle process = platform::ProcessHandle::kNone;
  std::int32_t code = StartRegistryEditor(platform_.processes, regedit, "regedit /s \"" + file + "\"", &process);
  if (code != 0) throw ImportFailure(code, DescribeFailure("Cannot start", regedit, code));
  ProcessCloser closer(platform_.processes, process);
  std::uint32_t exitCode = WaitForEditor(process, regedit);
  code = static_cast<std::int32_t>(exitCode);
  if (code != 0) throw ImportFailure(code, DescribeFailure("Cannot import with", regedit, code));
}

// The editor's exit code once it has ended; a hung editor is ended, and the wait for that is bounded too.
std::uint32_t RegistryImport::WaitForEditor(platform::ProcessHandle process, const std::string& regedit) {
  platform::Processes& processes = platform_.processes;
  std::uint32_t waited = processes.WaitForSingleObject(process, kImportTimeoutMs);
  if (waited == platform::kWaitTimeout) {
    processes.TerminateProcess(process, kEndedEditorExitCode);
    processes.WaitForSingleObject(process, kImportTimeoutMs);
    throw ImportFailure(platform::kErrorWaitTimeout,
                        DescribeFailure("Cannot finish the import with", regedit, platform::kErrorWaitTimeout));
  }
  std::uint32_t exitCode = 0;
  if (waited != platform::kWaitObject0 || processes.GetExitCodeProcess(process, &exitCode) == 0) {
    throw ImportFailure(platform::kErrorInvalidHandle,
                        DescribeFailure("Cannot learn the exit code of", regedit, platform::kErrorInvalidHandle));
  }
  return exitCode;
}

// regedit /s says nothing of a value it could not write (Wine's exits with 0 whatever happened), so each one
// is read back.
void RegistryImport::CheckValuesStored(const std::vector<ImportedValue>& values) {
  ShellFolderRegistry registry(platform_.registry);
  for (const ImportedValue& value : values) {
    StoredValue stored = registry.ReadStoredValue(value.hive, value.keyPath, value.valueName);
    if (stored.state == StoredValue::State::kPresent && stored.type == value.type && stored.bytes == value.bytes) {
      continue;
    }
    std::string what = value.valueName.empty() ? "The default value" : "The value \"" + value.valueName + "\"";
    what += " of " + KeyName(ShellKey{value.hive, value.keyPath.c_str()}) + " does not hold what the file sets";
    throw ImportFailure(platform::kErrorCantWrite, WithSystemReason(what, platform::kErrorCantWrite));
  }
}
