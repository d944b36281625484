// The journal of a change: its format, written before the first write and retired after the last, and the undo
// of a change that was cut off in between.
#include "vocabulary/change_journal.h"

#include <utility>

#include "text/text_file.h"
#include "text/utf16.h"
#include "text/utf8.h"
#include "vocabulary/failure.h"
#include "vocabulary/move_journal.h"
#include "vocabulary/reg_value.h"
#include "vocabulary/vocabulary_texts.h"

namespace {

const char* const kJournalFolder = "Zolvane";
const char* const kJournalName = "unfinished.reg";
// The journal while it is written, before it takes its place; and a journal that has served but could not be
// deleted, which no run undoes again.
const char* const kUnwrittenSuffix = ".new";
const char* const kDoneSuffix = ".done";
const char* const kHeader = "Zolvane change journal 2";
const char* const kEndWord = "end ";

// Each kind's word in the journal, and what the user is told was cut off.
struct KindWords {
  ChangeKind kind;
  const char* word;
  const char* run;
};
const KindWords kKinds[] = {
    {ChangeKind::kRelocation, "relocation", kRelocationRun},
    {ChangeKind::kDefaultRestore, "default", kDefaultRestoreRun},
    {ChangeKind::kBackupRestore, "restore", kBackupRestoreRun},
    {ChangeKind::kLayout, "layout", kLayoutRun},
};

// An older Zolvane kept a registry file of the values as they were, its kind in a comment.
const char* const kOlderRestoreComment = "; The values as they were before a restore from a backup";
const char* const kOlderLayoutComment = "; The values as they were before a layout was applied";

const char kHexDigits[] = "0123456789abcdef";

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

// "\"C:\\\\Docs\\0\"": a text in quotes, a backslash and a quote escaped, a NUL as \0 and any other control
// character as \xHH, so that a line holds all of it and nothing but it.
void AppendJournalText(std::string& out, const std::string& text) {
  out += '"';
  for (char c : text) {
    auto byte = static_cast<unsigned char>(c);
    if (c == '\\' || c == '"') {
      out += '\\';
      out += c;
    } else if (byte == 0) {
      out += "\\0";
    } else if (byte < 0x20) {
      out += "\\x";
      out += kHexDigits[byte >> 4];
      out += kHexDigits[byte & 0xF];
    } else {
      out += c;
    }
  }
  out += '"';
}

// The quoted text at line[*pos], its escapes undone; *pos ends past the closing quote.
bool ReadJournalText(const std::string& line, std::size_t* pos, std::string* text) {
  if (*pos >= line.size() || line[*pos] != '"') return false;
  text->clear();
  for (std::size_t i = *pos + 1; i < line.size(); ++i) {
    char c = line[i];
    if (c == '"') {
      *pos = i + 1;
      return true;
    }
    if (c != '\\') {
      *text += c;
      continue;
    }
    if (++i == line.size()) return false;
    if (line[i] == '\\' || line[i] == '"') {
      *text += line[i];
    } else if (line[i] == '0') {
      *text += '\0';
    } else if (line[i] == 'x' && i + 2 < line.size() && HexValue(line[i + 1]) >= 0 && HexValue(line[i + 2]) >= 0 &&
               HexValue(line[i + 1]) < 2) {
      // Only a control character is written so.
      *text += static_cast<char>(HexValue(line[i + 1]) * 16 + HexValue(line[i + 2]));
      i += 2;
    } else {
      return false;
    }
  }
  return false;
}

// "-" for no value; "2:" and the text in quotes for a text that is whole UTF-16; "3:" and its bytes in hex.
void AppendJournalState(std::string& out, const StoredValue& value) {
  if (value.state != StoredValue::State::kPresent) {
    out += '-';
    return;
  }
  out += std::to_string(value.type) + ":";
  bool text = IsTextType(value.type) || value.type == platform::kRegMultiSz;
  if (text && IsValidUtf16Le(value.bytes)) {
    AppendJournalText(out, Utf16LeToUtf8(value.bytes));
    return;
  }
  for (char c : value.bytes) {
    auto byte = static_cast<unsigned char>(c);
    out += kHexDigits[byte >> 4];
    out += kHexDigits[byte & 0xF];
  }
}

bool ReadJournalState(const std::string& line, std::size_t* pos, StoredValue* value) {
  if (*pos < line.size() && line[*pos] == '-') {
    ++*pos;
    *value = StoredValue::Absent();
    return true;
  }
  std::uint64_t type = 0;
  std::size_t digits = 0;
  for (; *pos < line.size() && line[*pos] >= '0' && line[*pos] <= '9' && digits < 10; ++digits, ++*pos)
    type = type * 10 + static_cast<std::uint64_t>(line[*pos] - '0');
  if (digits == 0 || type > 0xFFFFFFFFu || *pos >= line.size() || line[(*pos)++] != ':') return false;
  std::string bytes;
  if (*pos < line.size() && line[*pos] == '"') {
    std::string text;
    if (!ReadJournalText(line, pos, &text)) return false;
    bytes = Utf8ToUtf16Le(text);
  } else {
    for (; *pos + 1 < line.size() && HexValue(line[*pos]) >= 0 && HexValue(line[*pos + 1]) >= 0; *pos += 2)
      bytes += static_cast<char>(HexValue(line[*pos]) * 16 + HexValue(line[*pos + 1]));
  }
  *value = StoredValue::Present(static_cast<std::uint32_t>(type), std::move(bytes));
  return true;
}

namespace {

// `0 "Personal" 2:"D:\\Old\0" 2:"E:\\New\0"`: the key's place among the four, the name, before and after.
std::string EntryLine(const JournalEntry& entry) {
  std::string line(1, static_cast<char>('0' + (entry.key - kShellFolderKeys.data())));
  line += ' ';
  AppendJournalText(line, entry.name);
  line += ' ';
  AppendJournalState(line, entry.before);
  line += ' ';
  AppendJournalState(line, entry.after);
  return line;
}

bool ReadEntry(const std::string& line, JournalEntry* entry) {
  if (line.size() < 2 || line[0] < '0' || line[0] > '3' || line[1] != ' ') return false;
  entry->key = &kShellFolderKeys[static_cast<std::size_t>(line[0] - '0')];
  std::size_t pos = 2;
  bool read = ReadJournalText(line, &pos, &entry->name) && pos < line.size() && line[pos++] == ' ' &&
              ReadJournalState(line, &pos, &entry->before) && pos < line.size() && line[pos++] == ' ' &&
              ReadJournalState(line, &pos, &entry->after);
  return read && pos == line.size();
}

ParsedJournal Refused(int lineNumber, const std::string& line, const std::string& reason) {
  ParsedJournal journal;
  journal.offendingLineNumber = lineNumber;
  journal.offendingLine = line;
  journal.reason = reason;
  return journal;
}

// An older Zolvane's journal: each value as it was, which is put back whatever it holds now, as that Zolvane did.
ParsedJournal ParseOlderJournal(const std::string& bytes) {
  RegistryFile file = ParseRegistryFile(bytes, kMaxJournalBytes);
  if (!file.readable) return Refused(file.offendingLineNumber, file.offendingLine, file.reason);
  ParsedJournal journal;
  journal.readable = true;
  journal.run = kUnnamedRun;
  std::vector<std::string> lines = SplitLines(DecodeTextFile(bytes.substr(0, 512)).text);
  if (lines.size() > 1 && lines[1] == kOlderRestoreComment) journal.run = kBackupRestoreRun;
  if (lines.size() > 1 && lines[1] == kOlderLayoutComment) journal.run = kLayoutRun;
  for (RegistryFileValue& value : file.values) {
    StoredValue before = value.deleted ? StoredValue::Absent() : StoredValue::Present(value.type, value.bytes);
    journal.entries.push_back(JournalEntry{value.key, std::move(value.name), std::move(before), StoredValue()});
  }
  return journal;
}

bool IsFullPath(const std::string& path) {
  char letter = path.empty() ? '\0' : static_cast<char>(path[0] | 0x20);
  bool drive = path.size() >= 3 && letter >= 'a' && letter <= 'z' && path[1] == ':' && path[2] == '\\';
  return drive || (path.size() > 2 && path.compare(0, 2, "\\\\") == 0);
}

std::string FolderOf(const std::string& path) {
  return path.substr(0, path.find_last_of('\\'));
}

std::string ValueName(const JournalEntry& entry) {
  return ListedValueName(entry.key->FullName(), entry.name);
}

// Each value put back that still holds what the cut-off change wrote; what the user hears.
std::string Undo(platform::Platform& platform, const std::string& path) {
  std::string bytes;
  std::int32_t code = platform.files.ReadWholeFile(path, kMaxJournalBytes, &bytes);
  if (code != 0) return JournalUnreadable(path, SystemReason(platform.system, code));
  ParsedJournal journal = ParseJournal(bytes);
  std::string().swap(bytes);
  if (!journal.readable) {
    return JournalNotOurs(path, OffendingLine(journal.offendingLineNumber, journal.offendingLine) + journal.reason);
  }
  ShellFolderRegistry registry(platform.registry);
  std::size_t putBack = 0;
  std::vector<std::string> failed;
  std::vector<std::string> changed;
  for (auto entry = journal.entries.rbegin(); entry != journal.entries.rend(); ++entry) {
    StoredValue now = registry.ReadStoredValue(entry->key->hive, entry->key->path, entry->name);
    if (now.state == StoredValue::State::kUnknown) {
      failed.push_back(ValueName(*entry));
    } else if (now.Holds(entry->before)) {
      continue;
    } else if (entry->after.state != StoredValue::State::kUnknown && !now.Holds(entry->after)) {
      changed.push_back(ValueName(*entry));
    } else if (registry.Store(entry->key->hive, entry->key->path, entry->name, entry->before) != 0) {
      failed.push_back(ValueName(*entry));
    } else {
      ++putBack;
    }
  }
  std::string left = changed.empty() ? std::string() : kChangedSinceLeft + NamedOnce(changed, "\n");
  if (!failed.empty()) return CutOffUndoneInPart(journal.run, path, putBack, NamedOnce(failed, "\n")) + left;
  std::string undone = CutOffUndone(journal.run, putBack) + left;
  std::string retired = RetireJournal(platform, path, kUndoneOnceMore);
  return retired.empty() ? undone : undone + "\n" + retired;
}

}  // namespace

std::string RetireJournal(platform::Platform& platform, const std::string& path, const char* otherwise) {
  std::int32_t code = platform.files.Delete(path);
  if (code == 0) return std::string();
  std::string done = path + kDoneSuffix;
  platform.files.Delete(done);  // an earlier journal marked done: Zolvane's own file
  if (platform.files.MoveToNewName(path, done) == 0) return std::string();
  return JournalNotDeleted(path, SystemReason(platform.system, code), otherwise);
}

std::string JournalBytes(ChangeKind kind, const std::vector<JournalEntry>& entries) {
  std::string text = std::string(kHeader) + "\r\n";
  for (const KindWords& words : kKinds) {
    if (words.kind == kind) text += std::string(words.word) + "\r\n";
  }
  for (const JournalEntry& entry : entries) text += EntryLine(entry) + "\r\n";
  return text + kEndWord + std::to_string(entries.size()) + "\r\n";
}

ParsedJournal ParseJournal(const std::string& bytes) {
  std::string olderHeader = "\xEF\xBB\xBF" + std::string(kRegistryFileHeader);
  if (bytes.compare(0, olderHeader.size(), olderHeader) == 0) return ParseOlderJournal(bytes);
  if (!IsValidUtf8(bytes)) return Refused(0, std::string(), kJournalNotUtf8);
  LineCursor cursor(bytes);
  std::string line;
  if (!cursor.Next(&line) || line != kHeader) {
    return Refused(1, line, kNoJournalHeader);
  }
  ParsedJournal journal;
  if (cursor.Next(&line)) {
    for (const KindWords& words : kKinds) journal.run = line == words.word ? words.run : journal.run;
  }
  if (journal.run.empty()) return Refused(2, line, kNotAJournalLine);
  for (int number = 3; cursor.Next(&line); ++number) {
    if (line.compare(0, std::string(kEndWord).size(), kEndWord) == 0) {
      bool whole = line == kEndWord + std::to_string(journal.entries.size()) && !cursor.Next(&line);
      if (!whole) return Refused(number, line, kJournalNotWhole);
      journal.readable = true;
      return journal;
    }
    JournalEntry entry;
    if (!ReadEntry(line, &entry)) return Refused(number, line, kNotAJournalLine);
    journal.entries.push_back(std::move(entry));
  }
  return Refused(0, std::string(), kJournalNotWhole);
}

void WriteNewJournal(platform::Platform& platform, const std::string& path, const std::string& bytes) {
  std::string folder = FolderOf(path);
  std::int32_t code = platform.files.CreateFolder(folder);
  if (code != 0 && code != platform::kErrorAlreadyExists) {
    throw Failure(code, JournalFolderUnwritable(folder, SystemReason(platform.system, code)));
  }
  if (platform.files.IsFolder(path)) {
    throw Failure(platform::kErrorBadFileType,
                  JournalFolderUnwritable(folder, FolderInJournalsPlace(path.substr(folder.size() + 1))));
  }
  if (platform.files.Exists(path)) throw Failure(platform::kErrorFileExists, EarlierJournalStillThere(path));
  if (bytes.size() > kMaxJournalBytes) {
    throw Failure(platform::kErrorFileTooLarge, ChangeTooLargeToJournal(kMaxJournalBytes));
  }
  // Written whole beside its place, then moved there in one step: a run cut off while it writes the journal
  // leaves none, and has changed nothing yet.
  std::string written = path + kUnwrittenSuffix;
  platform.files.Delete(written);
  code = platform.files.WriteNewFile(written, bytes);
  if (code == 0) code = platform.files.MoveToNewName(written, path);
  if (code == 0) return;
  platform.files.Delete(written);
  if (code == platform::kErrorAlreadyExists) throw Failure(platform::kErrorFileExists, EarlierJournalStillThere(path));
  throw Failure(code, JournalFolderUnwritable(folder, SystemReason(platform.system, code)));
}

std::int32_t ReplaceFileWhole(platform::Files& files, const std::string& path, const std::string& bytes,
                              const char* besideSuffix) {
  std::string written = path + besideSuffix;
  files.Delete(written);  // left by a run that was cut off
  std::int32_t code = files.WriteNewFile(written, bytes);
  if (code == 0) code = files.Replace(written, path);
  if (code != 0) files.Delete(written);
  return code;
}

void RewriteJournal(platform::Platform& platform, const std::string& path, const std::string& bytes) {
  if (bytes.size() > kMaxJournalBytes) {
    throw Failure(platform::kErrorFileTooLarge, ChangeTooLargeToJournal(kMaxJournalBytes));
  }
  std::int32_t code = ReplaceFileWhole(platform.files, path, bytes, kUnwrittenSuffix);
  if (code != 0) throw Failure(code, JournalFolderUnwritable(FolderOf(path), SystemReason(platform.system, code)));
}

std::string JournalPathNamed(platform::Platform& platform, const char* name) {
  std::optional<std::string> folder = platform.shell.ApplicationDataFolder();
  if (!folder || !IsFullPath(*folder)) return std::string();
  if (folder->back() != '\\') *folder += '\\';
  return *folder + kJournalFolder + "\\" + name;
}

std::string JournalPath(platform::Platform& platform) {
  return JournalPathNamed(platform, kJournalName);
}

void ChangeJournal::Begin(ChangeKind kind, const std::vector<JournalEntry>& entries) {
  std::string path = JournalPath(platform_);
  if (path.empty()) throw Failure(platform::kErrorPathNotFound, kNoJournalFolder);
  WriteNewJournal(platform_, path, JournalBytes(kind, entries));
  path_ = path;
}

std::string ChangeJournal::End() {
  std::string path;
  path.swap(path_);
  if (path.empty()) return std::string();
  return RetireJournal(platform_, path, kThisChangeUndone);
}

std::vector<std::string> UndoCutOffChange(platform::Platform& platform, bool lockAbandoned) {
  std::string path = JournalPath(platform);
  bool journal = !path.empty() && platform.files.Exists(path) && !platform.files.IsFolder(path);
  std::vector<std::string> said;
  if (journal) said.push_back(Undo(platform, path));
  // A move's files are finished or undone by what its values hold, once no change of them is left half made.
  if (!journal || !platform.files.Exists(path)) {
    for (std::string& notice : FinishOrUndoCutOffMove(platform)) said.push_back(std::move(notice));
  }
  if (said.empty() && lockAbandoned) said.push_back(kCutOffLeftNothing);
  return said;
}
