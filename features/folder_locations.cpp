// Reading where a folder lives, and relocating or restoring folders through one change of the registry.
#include "features/folder_locations.h"

#include <cstring>
#include <utility>

#include "features/feature_texts.h"
#include "features/stock_location.h"
#include "vocabulary/failure.h"

namespace {

// The last part of a key's path: "Shell Folders" for the Shell Folders key.
std::string KeyName(const char* keyPath) {
  const char* name = std::strrchr(keyPath, '\\');
  return name == nullptr ? keyPath : name + 1;
}

// What a value held before it was written, as the user can read it.
std::string HeldBefore(const StoredValue& value) {
  if (value.state == StoredValue::State::kAbsent) return kHasNoValueAsBefore;
  if (!value.HoldsText()) return kIsAsItWas;
  return StillHolds(TextUpToNul(value.bytes));
}

bool WriteFailed(const ChangeResult& result) {
  using Stop = ChangeResult::Stop;
  return result.stop == Stop::kWrite || result.stop == Stop::kNotTaken || result.stop == Stop::kChangedMeanwhile;
}

ValueChange TextValue(platform::HKey hive, const char* key, const char* name, const std::string& text,
                      std::uint32_t type) {
  return ValueChange{&FindShellFolderKey(hive, key), name, StoredValue::Present(type, StringValueBytes(text))};
}

}  // namespace

std::string FailedChangeText(const ChangeResult& result) {
  return WriteFailed(result) ? WriteFailureText(result.code) : result.failure;
}

RegValue FolderLocations::CurrentLocation(platform::HKey hive, const std::string& valueName) {
  return LocationFrom(hive, valueName, registry_.ReadRegValue(hive, kUserShellFoldersKey, valueName));
}

RegValue FolderLocations::LocationFrom(platform::HKey hive, const std::string& valueName, RegValue value) {
  bool unusable =
      value.IsEmpty() || (value.IsText() && value.text().empty()) || (value.IsInteger() && value.integer() == 2);
  if (unusable) value = registry_.ReadRegValue(hive, kShellFoldersKey, valueName);
  return ExpandPath(value);
}

RegValue FolderLocations::StoredLocation(const ShellFolder& folder) {
  return registry_.ReadRegValue(folder.hive, kUserShellFoldersKey, folder.valueName);
}

FolderLocations::SavedValues FolderLocations::Save(const ShellFolder& folder) {
  return SavedValues{registry_.ReadStoredValue(folder.hive, kUserShellFoldersKey, folder.valueName),
                     registry_.ReadStoredValue(folder.hive, kShellFoldersKey, folder.valueName)};
}

RegValue FolderLocations::ExpandPath(const RegValue& path) {
  if (!path.IsText()) return path;
  return RegValue::FromText(ExpandText(path.text()));
}

std::string FolderLocations::ExpandText(const std::string& text, ExpansionNotes* notes) {
  std::string result;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t open = text.find('%', pos);
    if (open == std::string::npos) break;
    result.append(text, pos, open - pos);
    std::size_t close = text.find('%', open + 1);
    if (close == std::string::npos) {
      pos = open;
      break;
    }
    std::string name = text.substr(open + 1, close - open - 1);
    std::optional<std::string> value;
    if (!name.empty()) value = platform_.environment.Variable(name);
    if (value) {
      result += *value;
      if (notes != nullptr && !platform_.environment.AtLogon(name)) notes->notAtLogon.push_back(name);
    } else {
      result.append(text, open, close - open + 1);
      if (notes != nullptr && !name.empty()) notes->undefined.push_back(name);
    }
    pos = close + 1;
  }
  if (pos < text.size()) result.append(text, pos, std::string::npos);
  return result;
}

std::vector<ValueChange> FolderLocations::RelocationOf(const ShellFolder& folder, const std::string& path) {
  ValueChange user = TextValue(folder.hive, kUserShellFoldersKey, folder.valueName, path, platform::kRegExpandSz);
  ValueChange shell = TextValue(folder.hive, kShellFoldersKey, folder.valueName, ExpandText(path), platform::kRegSz);
  if (folder.shellFoldersFirst) return {shell, user};
  return {user, shell};
}

Outcome FolderLocations::Relocate(const ShellFolder& folder, const std::string& path) {
  RegistryChange change(platform_, ChangeKind::kRelocation);
  std::vector<ValueChange> changes = RelocationOf(folder, path);
  return Told(change.Write(changes), changes, kRelocated);
}

Outcome FolderLocations::RestoreDefaults(const std::vector<const ShellFolder*>& folders) {
  RegistryChange change(platform_, ChangeKind::kDefaultRestore);
  std::vector<ValueChange> changes;
  for (const ShellFolder* folder : folders) {
    std::string stockPath = StockLocation(platform_, *folder);
    changes.push_back(
        TextValue(folder->hive, kShellFoldersKey, folder->valueName, ExpandText(stockPath), platform::kRegSz));
    changes.push_back(
        TextValue(folder->hive, kUserShellFoldersKey, folder->valueName, stockPath, platform::kRegExpandSz));
  }
  return Told(change.Write(changes), changes, kDefaultsRestored);
}

// A failed write is told in the window's words; when a value written could not be put back, each value the
// failure left is named with what it holds now.
Outcome FolderLocations::Told(const ChangeResult& result, const std::vector<ValueChange>& changes,
                              const char* successText) {
  Outcome outcome;
  outcome.notices = result.notices;
  if (result.done()) {
    outcome.result = Outcome::Result::kDone;
    outcome.message = successText;
    return outcome;
  }
  outcome.code = result.code;
  outcome.message = FailedChangeText(result);
  if (!WriteFailed(result)) outcome.message += result.Aftermath();
  if (!WriteFailed(result) || result.notPutBack.empty()) return outcome;
  outcome.message = PartlyWrittenHeadline(result.code);
  for (std::size_t i = 0; i < changes.size(); ++i) {
    const ValueChange& change = changes[i];
    std::string value = "\n" + KeyName(change.key->path) + "\\" + change.name + " ";
    if (result.fates[i] == ValueFate::kNotPutBack) {
      outcome.message += value + NowHolds(TextUpToNul(change.after.bytes));
    } else if (result.fates[i] == ValueFate::kFailed) {
      outcome.message += value + HeldBefore(registry_.ReadStoredValue(change.key->hive, change.key->path, change.name));
    }
  }
  return outcome;
}
