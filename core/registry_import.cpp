// Restoring a backup: the file read once and parsed, its values written through the registry module with the
// state of each read first, and every value put back when one of them cannot be written.
#include "core/registry_import.h"

#include <exception>
#include <new>
#include <utility>

#include "backup/backup_lock.h"
#include "backup/system_error.h"
#include "core/shell_folder_registry.h"

namespace {

const char* const kNotAFile = "It is a folder, a device or a pipe, not a file.";
const char* const kTooLarge = "The file is larger than 16 MB, far too large to be a backup.";

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

// A file the user picked that is not a backup: the import refuses it before it changes anything.
class NotABackup : public std::exception {
 public:
  NotABackup(int lineNumber, std::string line, std::string reason)
      : lineNumber_(lineNumber), line_(std::move(line)), reason_(std::move(reason)) {}
  const char* what() const noexcept override { return reason_.c_str(); }
  std::string Describe(const std::string& file) const {
    std::string text = "\"" + file + "\" is not a backup of the special folder paths, so nothing was imported.\n";
    if (lineNumber_ > 0) text += "Line " + std::to_string(lineNumber_) + ": " + line_ + "\n";
    return text + reason_;
  }

 private:
  int lineNumber_;
  std::string line_;
  std::string reason_;
};

// "default value of KEY" or "value "NAME" of KEY", for "the ..." and "The ...".
std::string ValueName(const RegistryFileValue& value) {
  std::string what = value.name.empty() ? "default value" : "value \"" + value.name + "\"";
  return what + " of " + value.key->FullName();
}

StoredValue TargetOf(const RegistryFileValue& value) {
  return value.deleted ? StoredValue::Absent() : StoredValue::Present(value.type, value.bytes);
}

std::string ImportedMessage(const std::string& file, const RegistryFile& parsed) {
  std::string text = "Restored the special folder paths from \"" + file + "\".";
  if (parsed.passedOverKeys.empty()) return text;
  text += "\nThe file also holds keys below the four keys; they were left as they are:";
  for (const std::string& key : parsed.passedOverKeys) text += "\n" + key;
  return text;
}

ImportOutcome Failed(const std::string& file, std::int32_t code, const std::string& reason) {
  return ImportOutcome{ImportOutcome::Result::kFailed, code,
                       "Could not restore the special folder paths from \"" + file + "\".\n" + reason};
}

}  // namespace

ImportOutcome RegistryImport::Run(const std::string& file) {
  try {
    BackupLock lock(platform_.locks);
    if (lock.code() != 0) throw ImportFailure(lock.code(), lock.FailureText());
    RegistryFile parsed = ParseRegistryFile(ReadFile(file));
    if (!parsed.readable) throw NotABackup(parsed.offendingLineNumber, parsed.offendingLine, parsed.reason);
    WriteAllOrNothing(parsed.values);
    return ImportOutcome{ImportOutcome::Result::kImported, 0, ImportedMessage(file, parsed)};
  } catch (const NotABackup& refusal) {
    return ImportOutcome{ImportOutcome::Result::kInvalidFile, platform::kErrorInvalidData, refusal.Describe(file)};
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

// Once, whole and bounded, while nobody may write the file: what is parsed is what is written.
std::string RegistryImport::ReadFile(const std::string& file) {
  std::string bytes;
  std::int32_t code = platform_.files.ReadWholeFile(file, kMaxRegistryFileBytes, &bytes);
  if (code == platform::kErrorBadFileType) throw NotABackup(0, std::string(), kNotAFile);
  if (code == platform::kErrorFileTooLarge) throw NotABackup(0, std::string(), kTooLarge);
  if (code != 0) throw ImportFailure(code, DescribeFailure("Cannot read", file, code));
  return bytes;
}

void RegistryImport::WriteAllOrNothing(const std::vector<RegistryFileValue>& values) {
  ShellFolderRegistry registry(platform_.registry);
  std::vector<StoredValue> before;
  for (const RegistryFileValue& value : values) {
    before.push_back(registry.ReadStoredValue(value.key->hive, value.key->path, value.name));
    if (before.back().state != StoredValue::State::kUnknown) continue;
    std::int32_t code = before.back().code;
    throw ImportFailure(code, WithSystemReason("Cannot read the " + ValueName(value) + " before it is replaced", code) +
                                  "\nNothing was changed.");
  }

  std::size_t written = 0;
  std::int32_t code = 0;
  std::string failure;
  for (; written < values.size(); ++written) {
    const RegistryFileValue& value = values[written];
    code = registry.Store(value.key->hive, value.key->path, value.name, TargetOf(value));
    if (code == 0) continue;
    failure = WithSystemReason(
        std::string(value.deleted ? "Cannot delete the " : "Cannot write the ") + ValueName(value), code);
    break;
  }
  // A write the registry answered with success may still not have taken: each value is read back.
  for (std::size_t i = 0; failure.empty() && i < values.size(); ++i) {
    const RegistryFileValue& value = values[i];
    if (registry.ReadStoredValue(value.key->hive, value.key->path, value.name).Holds(TargetOf(value))) continue;
    code = platform::kErrorCantWrite;
    failure = WithSystemReason("The " + ValueName(value) + " does not hold what the file sets", code);
  }
  if (failure.empty()) return;

  // Put back in the reverse order of the writes.
  std::string notPutBack;
  for (std::size_t i = written; i-- > 0;) {
    const RegistryFileValue& value = values[i];
    if (registry.Store(value.key->hive, value.key->path, value.name, before[i]) != 0) {
      notPutBack += "\n" + value.key->FullName() + "\\" + (value.name.empty() ? "(Default)" : value.name);
    }
  }
  if (notPutBack.empty()) {
    throw ImportFailure(code, failure + (written == 0 ? "\nNothing was changed."
                                                      : "\nNothing was changed: every value already written was "
                                                        "put back as it was."));
  }
  throw ImportFailure(code, failure +
                                "\nOnly part of the backup was restored, and these values could not be put back; "
                                "they hold what the file sets:" +
                                notPutBack);
}
