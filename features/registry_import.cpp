// Restoring a backup: the file read once and parsed, its values written through the registry module with the
// state of each read first, and every value put back when one of them cannot be written.
#include "features/registry_import.h"

#include <exception>
#include <new>
#include <utility>

#include "vocabulary/failure.h"
#include "vocabulary/session_lock.h"
#include "vocabulary/shell_folder_registry.h"

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

std::string ImportedMessage(const std::string& file, const RegistryFile& parsed) {
  std::string text = "Restored the special folder paths from " + Quoted(file) + ".";
  if (parsed.passedOverKeys.empty()) return text;
  text += "\nThe file also holds keys below the four keys; they were left as they are:";
  for (const std::string& key : parsed.passedOverKeys) text += "\n" + key;
  return text;
}

Outcome Failed(const std::string& file, std::int32_t code, const std::string& reason) {
  Outcome outcome;
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
  try {
    SessionLock lock(platform_.locks);
    if (lock.code() != 0) throw Failure(lock.code(), lock.FailureText(system));
    RegistryFile parsed = ParseRegistryFile(ReadFile(file));
    if (!parsed.readable) throw NotABackup(parsed.offendingLineNumber, parsed.offendingLine, parsed.reason);
    WriteAllOrNothing(parsed.values);
    Outcome outcome;
    outcome.result = Outcome::Result::kDone;
    outcome.message = ImportedMessage(file, parsed);
    return outcome;
  } catch (const Failure& failure) {
    if (!failure.refused()) return Failed(file, failure.code(), failure.what());
    Outcome outcome;
    outcome.result = Outcome::Result::kRefused;
    outcome.code = failure.code();
    outcome.message =
        Quoted(file) + " is not a backup of the special folder paths, so nothing was imported.\n" + failure.what();
    return outcome;
  } catch (const std::bad_alloc&) {
    return Failed(file, platform::kErrorNotEnoughMemory,
                  WithSystemReason(system, "Cannot hold the file", platform::kErrorNotEnoughMemory));
  } catch (...) {
    return Failed(file, platform::kErrorFunctionFailed,
                  WithSystemReason(system, "The import broke off", platform::kErrorFunctionFailed));
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

void RegistryImport::WriteAllOrNothing(const std::vector<RegistryFileValue>& values) {
  ShellFolderRegistry registry(platform_.registry);
  std::vector<StoredValue> before;
  for (const RegistryFileValue& value : values) {
    before.push_back(registry.ReadStoredValue(value.key->hive, value.key->path, value.name));
    if (before.back().state != StoredValue::State::kUnknown) continue;
    std::int32_t code = before.back().code;
    throw Failure(code, WithSystemReason(platform_.system,
                                         "Cannot read the " + ValueName(value) + " before it is replaced", code) +
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
        platform_.system, std::string(value.deleted ? "Cannot delete the " : "Cannot write the ") + ValueName(value),
        code);
    break;
  }
  // A write the registry answered with success may still not have taken: each value is read back.
  for (std::size_t i = 0; failure.empty() && i < values.size(); ++i) {
    const RegistryFileValue& value = values[i];
    if (registry.ReadStoredValue(value.key->hive, value.key->path, value.name).Holds(TargetOf(value))) continue;
    code = platform::kErrorCantWrite;
    failure = WithSystemReason(platform_.system, "The " + ValueName(value) + " does not hold what the file sets", code);
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
    throw Failure(code, failure + (written == 0 ? "\nNothing was changed."
                                                : "\nNothing was changed: every value already written was "
                                                  "put back as it was."));
  }
  throw Failure(code, failure +
                          "\nOnly part of the backup was restored, and these values could not be put back; "
                          "they hold what the file sets:" +
                          notPutBack);
}
