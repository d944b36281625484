// The journal of a restore or a layout: written before the first write, deleted after the last, and put back by
// the next run when a run was cut off in between.
#include "vocabulary/write_journal.h"

#include <cstdio>

#include "text/text_file.h"
#include "text/utf16.h"
#include "vocabulary/failure.h"
#include "vocabulary/registry_file.h"

namespace {

const char* const kJournalFolder = "Zolvane";
const char* const kJournalName = "unfinished.reg";
// The journal while it is written, before it takes its place.
const char* const kUnwrittenSuffix = ".new";
// Each kind's comment line, which says whose journal it is.
const char* const kRestoreComment = "; The values as they were before a restore from a backup";
const char* const kLayoutComment = "; The values as they were before a layout was applied";
const char* const kNothingLeft =
    "A Zolvane that was changing or backing up the special folder paths was cut off, and left nothing to undo. If "
    "it was moving a folder, \"zolvane-cli check\" tells whether that folder's two values disagree.";

// A journal holds every value a run writes with its value before, in hex: a restore of the largest backup
// makes one of a few times its size.
constexpr std::size_t kMaxJournalBytes = 4 * kMaxRegistryFileBytes;

// "Name"=hex(1):41,00,00,00, or "Name"=- for a value that was not there: every type and byte as it was.
std::string EntryLine(const JournalEntry& entry) {
  std::string line = entry.name.empty() ? "@=" : RegistryFileQuoted(entry.name) + "=";
  if (entry.before.state != StoredValue::State::kPresent) return line + "-";
  char type[16];
  std::snprintf(type, sizeof type, "hex(%x):", static_cast<unsigned>(entry.before.type));
  line += type;
  const char digits[] = "0123456789abcdef";
  for (std::size_t i = 0; i < entry.before.bytes.size(); ++i) {
    unsigned char byte = static_cast<unsigned char>(entry.before.bytes[i]);
    if (i > 0) line += ',';
    line += digits[byte >> 4];
    line += digits[byte & 0xF];
  }
  return line;
}

// UTF-8 behind its byte-order mark, so that a name of any language is read back as it was.
std::string JournalBytes(JournalKind kind, const std::vector<JournalEntry>& entries) {
  std::string text = "\xEF\xBB\xBF" + std::string(kRegistryFileHeader) + "\r\n";
  text += std::string(kind == JournalKind::kRestore ? kRestoreComment : kLayoutComment) + "\r\n";
  for (const ShellFolderKey& key : kShellFolderKeys) {
    bool named = false;
    for (const JournalEntry& entry : entries) {
      if (entry.key != &key) continue;
      if (!named) text += "\r\n[" + key.FullName() + "]\r\n";
      named = true;
      text += EntryLine(entry) + "\r\n";
    }
  }
  return text;
}

// "20,143".
std::string Counted(std::size_t count) {
  std::string digits = std::to_string(count);
  for (std::size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, ",");
  return digits;
}

// "A restore", "A layout", or "A run" for a journal that does not say.
std::string RunOf(const std::string& bytes) {
  DecodedText decoded = DecodeTextFile(bytes);
  std::vector<std::string> lines = SplitLines(decoded.text);
  if (lines.size() > 1 && lines[1] == kRestoreComment) return "A restore";
  if (lines.size() > 1 && lines[1] == kLayoutComment) return "A layout";
  return "A run";
}

std::string ValueName(const RegistryFileValue& value) {
  return value.key->FullName() + "\\" + (value.name.empty() ? "(Default)" : value.name);
}

// The journal's values put back, and the journal deleted once all of them are; what the user hears.
std::string PutBack(platform::Platform& platform, const std::string& path) {
  std::string bytes;
  std::int32_t code = platform.files.ReadWholeFile(path, kMaxJournalBytes, &bytes);
  std::string kept = "The journal of a Zolvane run that was cut off, " + Quoted(path) + ", ";
  if (code != 0) return kept + "cannot be read, so it was kept: " + SystemReason(platform.system, code);
  RegistryFile journal = ParseRegistryFile(bytes, kMaxJournalBytes);
  if (!journal.readable) {
    return kept + "is not a journal Zolvane can read, so it was kept:\n" +
           OffendingLine(journal.offendingLineNumber, journal.offendingLine) + journal.reason;
  }
  ShellFolderRegistry registry(platform.registry);
  std::vector<std::string> notPutBack;
  for (const RegistryFileValue& value : journal.values) {
    StoredValue before = value.deleted ? StoredValue::Absent() : StoredValue::Present(value.type, value.bytes);
    if (registry.Store(value.key->hive, value.key->path, value.name, before) != 0)
      notPutBack.push_back(ValueName(value));
  }
  std::string run = RunOf(bytes);
  std::size_t putBack = journal.values.size() - notPutBack.size();
  if (!notPutBack.empty()) {
    return run + " that was cut off could be undone only in part, so its journal " + Quoted(path) +
           " was kept: " + Counted(putBack) + " values put back, and these could not be:\n" +
           NamedOnce(notPutBack, "\n");
  }
  std::string undone = run + " that was cut off has been undone: " + Counted(putBack) + " values put back.";
  code = platform.files.Delete(path);
  if (code == 0) return undone;
  return undone + "\n" +
         WithSystemReason(platform.system, "Its journal " + Quoted(path) + " could not be deleted", code) +
         "; delete it before Zolvane writes again, or it will be put back once more.";
}

}  // namespace

std::string JournalPath(platform::Platform& platform) {
  std::optional<std::string> folder = platform.environment.Variable("APPDATA");
  bool full = folder && folder->size() >= 3 && ((*folder)[1] == ':' || folder->compare(0, 2, "\\\\") == 0);
  if (!full) folder = platform.shell.ApplicationDataFolder();
  if (!folder || folder->empty()) return std::string();
  if (folder->back() != '\\') *folder += '\\';
  return *folder + kJournalFolder + "\\" + kJournalName;
}

void WriteJournal::Begin(JournalKind kind, const std::vector<JournalEntry>& entries) {
  path_ = JournalPath(platform_);
  if (path_.empty()) {
    throw Failure(platform::kErrorPathNotFound,
                  "Windows gives no application-data folder for the journal that lets a cut-off run be undone, so "
                  "nothing was changed.");
  }
  std::string folder = path_.substr(0, path_.find_last_of('\\'));
  std::int32_t code = platform_.files.CreateFolder(folder);
  if (code != 0 && code != platform::kErrorAlreadyExists) {
    throw Failure(code,
                  DescribeFailure(platform_.system, "Cannot make the folder", folder, code) + "\nNothing was changed.");
  }
  if (platform_.files.Exists(path_)) {
    std::string path = path_;
    path_.clear();
    throw Failure(platform::kErrorFileExists, "The journal of an earlier Zolvane run that was cut off, " +
                                                  Quoted(path) +
                                                  ", is still there and could not be undone, so nothing was changed.");
  }
  // Written whole beside its place, then moved there in one step: a run cut off while it writes the journal
  // leaves none, and has written no value yet.
  std::string written = path_ + kUnwrittenSuffix;
  platform_.files.Delete(written);
  code = platform_.files.WriteNewFile(written, JournalBytes(kind, entries));
  if (code == 0) code = platform_.files.MoveToNewName(written, path_);
  if (code == platform::kErrorAlreadyExists) {
    platform_.files.Delete(written);
    std::string path = path_;
    path_.clear();
    throw Failure(platform::kErrorFileExists, "The journal of an earlier Zolvane run that was cut off, " +
                                                  Quoted(path) +
                                                  ", is still there and could not be undone, so nothing was changed.");
  }
  if (code != 0) {
    platform_.files.Delete(written);
    std::string path = path_;
    path_.clear();
    throw Failure(code,
                  DescribeFailure(platform_.system, "Cannot write the journal", path, code) + "\nNothing was changed.");
  }
}

std::string WriteJournal::End() {
  if (path_.empty()) return std::string();
  std::int32_t code = platform_.files.Delete(path_);
  std::string path = path_;
  path_.clear();
  if (code == 0) return std::string();
  return WithSystemReason(platform_.system, "The journal " + Quoted(path) + " could not be deleted", code) +
         "; delete it before Zolvane writes again, or this run will be undone.";
}

std::vector<std::string> UndoCutOffRun(platform::Platform& platform, bool lockAbandoned) {
  std::string path = JournalPath(platform);
  if (!path.empty() && platform.files.Exists(path)) return {PutBack(platform, path)};
  if (lockAbandoned) return {kNothingLeft};
  return {};
}
