// Restoring a backup: the file read once and parsed, its values written through the registry module with the
// state of each read first and journalled, and every value put back when one of them cannot be written.
#include "features/registry_import.h"

#include <exception>
#include <new>
#include <utility>

#include "text/ascii_case.h"
#include "vocabulary/catalogue.h"
#include "vocabulary/failure.h"
#include "vocabulary/session_lock.h"
#include "vocabulary/shell_folder_registry.h"
#include "vocabulary/write_journal.h"

namespace {

// Why a file is not a backup: its first offending line, when there is one, and the reason.
Failure NotABackup(int lineNumber, const std::string& line, const std::string& reason) {
  return Failure(platform::kErrorInvalidData, OffendingLine(lineNumber, line) + reason, true);
}

// "default value of KEY" or "value "NAME" of KEY", for "the ..." and "The ...".
std::string ValueName(const RegistryFileValue& value) {
  std::string what = value.name.empty() ? "default value" : "value " + Quoted(value.name);
  return what + " of " + value.key->FullName();
}

StoredValue TargetOf(const RegistryFileValue& value) {
  return value.deleted ? StoredValue::Absent() : StoredValue::Present(value.type, value.bytes);
}

// A folder of the catalogue that holds a value the file does not set: a restore merges, and keeps the folder
// where it is now, which the user should know ("Shared Video (CommonVideo)").
std::vector<std::string> FoldersLeftAsTheyAre(platform::Registry& registry, const RegistryFile& parsed) {
  ShellFolderRegistry folders(registry);
  std::vector<std::string> left;
  for (const ShellFolder& folder : kShellFolders) {
    bool inFile[2] = {false, false};
    const char* keys[2] = {kUserShellFoldersKey, kShellFoldersKey};
    for (const RegistryFileValue& value : parsed.values) {
      if (value.key->hive != folder.hive || !SameIgnoringAsciiCase(value.name, folder.valueName)) continue;
      inFile[value.key->path == std::string(kUserShellFoldersKey) ? 0 : 1] = true;
    }
    bool leftHere = false;
    for (int k = 0; k < 2; ++k) {
      leftHere = leftHere || (!inFile[k] && folders.ReadStoredValue(folder.hive, keys[k], folder.valueName).state ==
                                                StoredValue::State::kPresent);
    }
    if (leftHere) left.push_back(std::string(folder.displayName) + " (" + folder.valueName + ")");
  }
  return left;
}

std::string ImportedMessage(const std::string& file, const RegistryFile& parsed, const std::vector<std::string>& left) {
  std::string text = "Restored the special folder paths from " + Quoted(file) + ".";
  if (!left.empty()) text += "\nNot in the backup, left as they are: " + NamedOnce(left, ", ");
  if (parsed.passedOverKeys.empty()) return text;
  return text + "\nThe file also holds keys below the four keys; they were left as they are:\n" +
         NamedOnce(parsed.passedOverKeys, "\n");
}

Outcome Failed(const std::string& file, std::int32_t code, const std::string& reason,
               const std::vector<std::string>& notices) {
  Outcome outcome;
  outcome.notices = notices;
  outcome.code = code;
  outcome.message = NotRestoredHeadline(file) + "\n" + reason;
  return outcome;
}

}  // namespace

std::string NotRestoredHeadline(const std::string& file) {
  return "Could not restore the special folder paths from " + Quoted(file) + ".";
}

Outcome RegistryImport::Run(const std::string& file) {
  platform::System& system = platform_.system;
  notices_.clear();
  try {
    SessionLock lock(platform_);
    if (lock.code() != 0) throw Failure(lock.code(), lock.FailureText());
    notices_ = lock.notices();
    RegistryFile parsed = ParseRegistryFile(ReadFile(file));
    if (!parsed.readable) throw NotABackup(parsed.offendingLineNumber, parsed.offendingLine, parsed.reason);
    WriteAllOrNothing(parsed.values);
    Outcome outcome;
    outcome.notices = notices_;
    outcome.result = Outcome::Result::kDone;
    outcome.message = ImportedMessage(file, parsed, FoldersLeftAsTheyAre(platform_.registry, parsed));
    return outcome;
  } catch (const Failure& failure) {
    if (!failure.refused()) return Failed(file, failure.code(), failure.what(), notices_);
    Outcome outcome;
    outcome.notices = notices_;
    outcome.result = Outcome::Result::kRefused;
    outcome.code = failure.code();
    outcome.message =
        Quoted(file) + " is not a backup of the special folder paths, so nothing was imported.\n" + failure.what();
    return outcome;
  } catch (const std::bad_alloc&) {
    return Failed(file, platform::kErrorNotEnoughMemory,
                  WithSystemReason(system, "Cannot hold the file", platform::kErrorNotEnoughMemory), notices_);
  } catch (...) {
    return Failed(file, platform::kErrorFunctionFailed,
                  WithSystemReason(system, "The import broke off", platform::kErrorFunctionFailed), notices_);
  }
}

// Once, whole and bounded, while nobody may write the file: what is parsed is what is written.
std::string RegistryImport::ReadFile(const std::string& file) {
  std::string bytes;
  std::int32_t code = platform_.files.ReadWholeFile(file, kMaxRegistryFileBytes, &bytes);
  if (code == platform::kErrorBadFileType) throw NotABackup(0, std::string(), kNotARegularFile);
  if (code == platform::kErrorFileTooLarge) throw NotABackup(0, std::string(), RegistryFileTooLarge());
  if (code != 0) throw Failure(code, DescribeFailure(platform_.system, "Cannot read", file, code));
  return bytes;
}

// Every value's state first, into the journal, then the writes; each value is read back, for a write the
// registry answered with success may still not have taken, and another program may have changed it since.
void RegistryImport::WriteAllOrNothing(const std::vector<RegistryFileValue>& values) {
  ShellFolderRegistry registry(platform_.registry);
  std::vector<StoredValue> before;
  std::vector<JournalEntry> journal;
  for (const RegistryFileValue& value : values) {
    before.push_back(registry.ReadStoredValue(value.key->hive, value.key->path, value.name));
    journal.push_back(JournalEntry{value.key, value.name, before.back()});
    if (before.back().state != StoredValue::State::kUnknown) continue;
    std::int32_t code = before.back().code;
    throw Failure(code, WithSystemReason(platform_.system,
                                         "Cannot read the " + ValueName(value) + " before it is replaced", code) +
                            "\nNothing was changed.");
  }
  WriteJournal written(platform_);
  written.Begin(JournalKind::kRestore, journal);

  std::size_t count = 0;
  std::int32_t code = 0;
  std::string failure;
  for (; count < values.size(); ++count) {
    const RegistryFileValue& value = values[count];
    code = registry.Store(value.key->hive, value.key->path, value.name, TargetOf(value));
    if (code == 0) continue;
    failure = WithSystemReason(
        platform_.system, std::string(value.deleted ? "Cannot delete the " : "Cannot write the ") + ValueName(value),
        code);
    break;
  }
  for (std::size_t i = 0; failure.empty() && i < values.size(); ++i) {
    const RegistryFileValue& value = values[i];
    StoredValue now = registry.ReadStoredValue(value.key->hive, value.key->path, value.name);
    if (now.Holds(TargetOf(value))) continue;
    code = platform::kErrorCantWrite;
    if (now.Holds(before[i])) {
      failure =
          WithSystemReason(platform_.system, "The " + ValueName(value) + " does not hold what the file sets", code);
    } else {
      failure = "The " + ValueName(value) +
                " changed while Zolvane was writing it, so another program is at work on it; nothing was lost. "
                "Try again once it is done.";
    }
  }
  if (failure.empty()) {
    std::string left = written.End();
    if (!left.empty()) notices_.push_back(left);
    return;
  }
  bool allPutBack = true;
  std::string notPutBack = PutBack(values, before, count, &allPutBack);
  // What could not be put back now, the journal's next run puts back.
  if (allPutBack) {
    std::string left = written.End();
    if (!left.empty()) notices_.push_back(left);
  }
  if (notPutBack.empty()) {
    throw Failure(code, failure + (count == 0 ? "\nNothing was changed."
                                              : "\nNothing was changed: every value already written was put back "
                                                "as it was."));
  }
  throw Failure(code, failure + notPutBack);
}

// Put back in the reverse order of the writes, each only while it holds what this run wrote: a value another
// program changed since is its, and stays. What could not be put back, for the user; empty when all were.
std::string RegistryImport::PutBack(const std::vector<RegistryFileValue>& values,
                                    const std::vector<StoredValue>& before, std::size_t written, bool* allPutBack) {
  ShellFolderRegistry registry(platform_.registry);
  std::vector<std::string> failed;
  std::vector<std::string> changed;
  for (std::size_t i = written; i-- > 0;) {
    const RegistryFileValue& value = values[i];
    std::string name = value.key->FullName() + "\\" + (value.name.empty() ? "(Default)" : value.name);
    StoredValue now = registry.ReadStoredValue(value.key->hive, value.key->path, value.name);
    if (now.Holds(before[i])) continue;
    if (!now.Holds(TargetOf(value))) {
      changed.push_back(name);
    } else if (registry.Store(value.key->hive, value.key->path, value.name, before[i]) != 0) {
      failed.push_back(name);
    }
  }
  std::string text;
  *allPutBack = failed.empty();
  if (!failed.empty()) {
    text +=
        "\nOnly part of the backup was restored, and these values could not be put back; they hold what the "
        "file sets, until the next run of Zolvane puts them back from its journal:\n" +
        NamedOnce(failed, "\n");
  }
  if (!changed.empty()) {
    text += "\nThese values were changed by another program while Zolvane wrote, and were left as it made them:\n" +
            NamedOnce(changed, "\n");
  }
  return text;
}
