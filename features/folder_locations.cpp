// Reading where a folder lives, and the two writes of a relocation or a restore, put back when one fails.
#include "features/folder_locations.h"

#include <cstring>
#include <utility>

#include "features/stock_location.h"
#include "vocabulary/failure.h"
#include "vocabulary/session_lock.h"

namespace {

const char* const kRelocated = "Successfully done!";
const char* const kRestored = "Restored the default values!";

// "Access Denied" for a write the user has no right to, else "Error 1013": how a failed write is headed.
std::string WriteFailureHeadline(std::int32_t code) {
  return code == platform::kErrorAccessDenied ? "Access Denied" : "Error " + std::to_string(code);
}

// Another run held the lock past the wait: nothing was written.
Outcome NotWritten(const SessionLock& lock) {
  Outcome outcome;
  outcome.code = lock.code();
  outcome.message = lock.FailureText();
  return outcome;
}

std::string WriteFailureText(std::int32_t code) {
  if (code == platform::kErrorAccessDenied) return WriteFailureHeadline(code) + ". No changes were made.";
  return WriteFailureHeadline(code) + "\nAn error occurred.";
}

// The last part of a key's path: "Shell Folders" for the Shell Folders key.
std::string KeyName(const char* keyPath) {
  const char* name = std::strrchr(keyPath, '\\');
  return name == nullptr ? keyPath : name + 1;
}

// What a value held before it was written, as the user can read it.
std::string HeldBefore(const StoredValue& value) {
  if (value.state == StoredValue::State::kAbsent) return "has no value, as before.";
  if (!value.HoldsText()) return "is as it was.";
  return "still holds " + Quoted(TextUpToNul(value.bytes)) + ".";
}

// When one write failed and the other could not be undone, the user learns where each value now stands.
std::string PartialChangeText(std::int32_t code, const std::string& valueName, const std::string& changedKey,
                              const std::string& newData, const std::string& unchangedKey,
                              const StoredValue& unchanged) {
  return WriteFailureHeadline(code) + ". Only part of the change was made, and it could not be undone:\n" + changedKey +
         "\\" + valueName + " now holds " + Quoted(newData) + ".\n" + unchangedKey + "\\" + valueName + " " +
         HeldBefore(unchanged);
}

}  // namespace

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

bool FolderLocations::IsAt(const SavedValues& now, const std::string& path) {
  auto holds = [](const StoredValue& value, std::uint32_t type, const std::string& text) {
    return value.state == StoredValue::State::kPresent && value.type == type &&
           RegValueFromStored(value.type, value.bytes) == RegValue::FromText(text);
  };
  return holds(now.userShellFolders, platform::kRegExpandSz, path) &&
         holds(now.shellFolders, platform::kRegSz, ExpandText(path));
}

FolderLocations::SavedValues FolderLocations::Save(const ShellFolder& folder) {
  return SavedValues{registry_.ReadStoredValue(folder.hive, kUserShellFoldersKey, folder.valueName),
                     registry_.ReadStoredValue(folder.hive, kShellFoldersKey, folder.valueName)};
}

std::int32_t FolderLocations::PutBack(const ShellFolder& folder, const SavedValues& saved) {
  std::int32_t code = registry_.Store(folder.hive, kUserShellFoldersKey, folder.valueName, saved.userShellFolders);
  std::int32_t second = registry_.Store(folder.hive, kShellFoldersKey, folder.valueName, saved.shellFolders);
  return code != 0 ? code : second;
}

RegValue FolderLocations::ExpandPath(const RegValue& path) {
  if (!path.IsText()) return path;
  return RegValue::FromText(ExpandText(path.text()));
}

std::string FolderLocations::ExpandText(const std::string& text, std::vector<std::string>* undefined) {
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
    } else {
      result.append(text, open, close - open + 1);
      if (undefined != nullptr && !name.empty()) undefined->push_back(name);
    }
    pos = close + 1;
  }
  if (pos < text.size()) result.append(text, pos, std::string::npos);
  return result;
}

Outcome FolderLocations::WriteBoth(const ShellFolder& folder, const FolderWrite (&writes)[2], const char* successText) {
  StoredValue before[2];
  for (int i = 0; i < 2; ++i) before[i] = registry_.ReadStoredValue(folder.hive, writes[i].keyPath, folder.valueName);
  std::int32_t codes[2];
  for (int i = 0; i < 2; ++i) {
    codes[i] =
        registry_.WriteRegValue(folder.hive, writes[i].keyPath, folder.valueName, writes[i].data, writes[i].type);
  }
  Outcome outcome;
  if (codes[0] == 0 && codes[1] == 0) {
    outcome.result = Outcome::Result::kDone;
    outcome.message = successText;
    return outcome;
  }
  outcome.code = codes[0] != 0 ? codes[0] : codes[1];
  outcome.message = WriteFailureText(outcome.code);
  // Only one of the two can have succeeded; it is put back so that "No changes were made." is true, unless another
  // program has changed it since, whose value it then is.
  for (int i = 0; i < 2; ++i) {
    if (codes[i] != 0) continue;
    StoredValue written = StoredValue::Present(writes[i].type, StringValueBytes(writes[i].data));
    if (!registry_.ReadStoredValue(folder.hive, writes[i].keyPath, folder.valueName).Holds(written)) continue;
    if (registry_.Store(folder.hive, writes[i].keyPath, folder.valueName, before[i]) != 0) {
      outcome.message = PartialChangeText(outcome.code, folder.valueName, KeyName(writes[i].keyPath), writes[i].data,
                                          KeyName(writes[1 - i].keyPath), before[1 - i]);
    }
  }
  return outcome;
}

Outcome FolderLocations::Relocate(const ShellFolder& folder, const std::string& path) {
  SessionLock lock(platform_);
  if (lock.code() != 0) return NotWritten(lock);
  Outcome outcome = RelocateHoldingLock(folder, path);
  outcome.notices = lock.notices();
  return outcome;
}

Outcome FolderLocations::RelocateHoldingLock(const ShellFolder& folder, const std::string& path) {
  FolderWrite first{kUserShellFoldersKey, path, platform::kRegExpandSz};
  FolderWrite second{kShellFoldersKey, ExpandText(path), platform::kRegSz};
  if (folder.shellFoldersFirst) std::swap(first, second);
  return WriteBoth(folder, {first, second}, kRelocated);
}

Outcome FolderLocations::RestoreDefault(const ShellFolder& folder) {
  SessionLock lock(platform_);
  if (lock.code() != 0) return NotWritten(lock);
  std::string stockPath = StockLocation(platform_, folder);
  Outcome outcome = WriteBoth(folder,
                              {{kShellFoldersKey, ExpandText(stockPath), platform::kRegSz},
                               {kUserShellFoldersKey, stockPath, platform::kRegExpandSz}},
                              kRestored);
  outcome.notices = lock.notices();
  return outcome;
}
