// Restoring a backup: the file read once and parsed, judged, and its values written in one change of the registry.
#include "features/registry_import.h"

#include <algorithm>
#include <new>
#include <utility>

#include "features/feature_texts.h"
#include "text/ascii_case.h"
#include "vocabulary/catalogue.h"
#include "vocabulary/failure.h"
#include "vocabulary/registry_change.h"
#include "vocabulary/shell_folder_registry.h"

namespace {

// Why a file is not a backup: its first offending line, when there is one, and the reason.
Failure NotABackup(int lineNumber, const std::string& line, const std::string& reason) {
  return Failure(platform::kErrorInvalidData, OffendingLine(lineNumber, line) + reason, true);
}

// The file's values as one change of the registry: each set as the file has it, or deleted.
std::vector<ValueChange> ChangesOf(const RegistryFile& parsed) {
  std::vector<ValueChange> changes;
  changes.reserve(parsed.values.size());
  for (const RegistryFileValue& value : parsed.values) {
    StoredValue target = value.deleted ? StoredValue::Absent() : StoredValue::Present(value.type, value.bytes);
    changes.push_back(ValueChange{value.key, value.name, std::move(target)});
  }
  return changes;
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

Outcome Failed(const std::string& file, std::int32_t code, const std::string& reason) {
  Outcome outcome;
  outcome.code = code;
  outcome.message = NotRestoredHeadline(file) + "\n" + reason;
  return outcome;
}

}  // namespace

JudgedBackup RegistryImport::Judge(const std::string& file) {
  JudgedBackup judged;
  judged.file = file;
  try {
    judged.parsed = ParseRegistryFile(ReadFile(file));
    const RegistryFile& parsed = judged.parsed;
    if (!parsed.readable) throw NotABackup(parsed.offendingLineNumber, parsed.offendingLine, parsed.reason);
    std::vector<bool> already = AlreadySo(platform_.registry, ChangesOf(parsed));
    judged.changing = static_cast<std::size_t>(std::count(already.begin(), already.end(), false));
    judged.usable = true;
  } catch (const Failure& failure) {
    judged.parsed = RegistryFile();
    if (!failure.refused()) {
      judged.refusal = Failed(file, failure.code(), failure.what());
      return judged;
    }
    judged.refusal.result = Outcome::Result::kRefused;
    judged.refusal.code = failure.code();
    judged.refusal.message = NotABackupRefusal(file) + "\n" + failure.what();
  } catch (const std::bad_alloc&) {
    judged.parsed = RegistryFile();
    judged.refusal = Failed(file, platform::kErrorNotEnoughMemory,
                            WithSystemReason(platform_.system, kCannotHoldFile, platform::kErrorNotEnoughMemory));
  }
  return judged;
}

Outcome RegistryImport::Write(const JudgedBackup& judged) {
  if (!judged.usable) return judged.refusal;
  try {
    RegistryChange change(platform_, ChangeKind::kBackupRestore);
    ChangeResult result = change.Write(ChangesOf(judged.parsed));
    if (!result.done()) {
      Outcome outcome = Failed(judged.file, result.code, result.failure + result.Aftermath());
      outcome.notices = result.notices;
      return outcome;
    }
    Outcome outcome;
    outcome.notices = result.notices;
    outcome.result = Outcome::Result::kDone;
    outcome.message = RestoredFromBackup(judged.file, FoldersLeftAsTheyAre(platform_.registry, judged.parsed),
                                         judged.parsed.passedOverKeys);
    return outcome;
  } catch (const std::bad_alloc&) {
    return Failed(judged.file, platform::kErrorNotEnoughMemory,
                  WithSystemReason(platform_.system, kImportBrokeOff, platform::kErrorNotEnoughMemory));
  }
}

Outcome RegistryImport::Run(const std::string& file) {
  return Write(Judge(file));
}

// Once, whole and bounded, while nobody may write the file: what is parsed is what is written.
std::string RegistryImport::ReadFile(const std::string& file) {
  std::string bytes;
  std::int32_t code = platform_.files.ReadWholeFile(file, kMaxRegistryFileBytes, &bytes);
  if (code == platform::kErrorBadFileType) throw NotABackup(0, std::string(), kNotARegularFile);
  if (code == platform::kErrorFileTooLarge) throw NotABackup(0, std::string(), RegistryFileTooLarge());
  if (code != 0) throw Failure(code, DescribeFailure(platform_.system, kCannotReadAction, file, code));
  return bytes;
}
