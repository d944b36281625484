// Registry reads and the check of a folder's two values, and the keeper that leaves the prefix's registry as the
// scenarios found it.
#include "tests/e2e/registry_keeper.h"

#include <shlobj.h>
#include <shlwapi.h>

#include <cstdio>

#include "tests/e2e/driver.h"
#include "tests/wine/wine_check.h"

namespace e2e {

namespace {

// The journal: one binary value per kept value or key, named by where it lives, holding the root, key and name, what
// was there ("1" the value, "0" no value, "K" no key) and the value's type, each ended by a line feed, then its bytes.
constexpr const char* kJournalKey = "Software\\Zolvane end-to-end journal";

void JournalWrite(HKEY root, const std::string& key, const std::string& name, const char* held, const RawValue& data) {
  std::string where = std::to_string(reinterpret_cast<ULONG_PTR>(root));
  std::string entry =
      where + "\n" + key + "\n" + name + "\n" + held + "\n" + std::to_string(data.type) + "\n" + data.bytes;
  WriteRawValue(HKEY_CURRENT_USER, kJournalKey, (where + "|" + key + "|" + name).c_str(), {true, REG_BINARY, entry});
}

// Splits a journal entry back into its fields and restores it.
void RestoreEntry(const std::string& text) {
  std::vector<std::string> fields;
  std::size_t pos = 0;
  for (int i = 0; i < 5; ++i) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string::npos) return;
    fields.push_back(text.substr(pos, end - pos));
    pos = end + 1;
  }
  HKEY root = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(std::stoull(fields[0])));
  if (fields[3] == "K") {  // a key that did not exist before the run
    SHDeleteKeyW(root, Wide(fields[1]).c_str());
    return;
  }
  WriteRawValue(root, fields[1].c_str(), fields[2].c_str(),
                {fields[3] == "1", static_cast<DWORD>(std::stoul(fields[4])), text.substr(pos)});
}

}  // namespace

std::string ReadText(HKEY root, const std::string& key, const std::string& name) {
  std::wstring text = Utf16LeUnits(ReadRawValue(root, key.c_str(), name.c_str()).bytes);
  while (!text.empty() && text.back() == L'\0') text.pop_back();
  return Utf8(text);
}

std::map<std::string, RawValue> ReadKey(HKEY root, const std::string& key) {
  std::map<std::string, RawValue> values;
  HKEY opened = nullptr;
  if (RegOpenKeyExW(root, Wide(key).c_str(), 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) return values;
  for (DWORD index = 0;; ++index) {
    wchar_t name[16384];
    DWORD nameLength = 16384;
    if (RegEnumValueW(opened, index, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    std::string valueName = Utf8(std::wstring(name, nameLength));
    values[valueName] = ReadRawValue(root, key.c_str(), valueName.c_str());
  }
  RegCloseKey(opened);
  return values;
}

void CheckFolderValues(HKEY root, const std::string& valueName, const std::wstring& stored) {
  const std::pair<const char*, RawValue> expected[] = {{kUserShellFolders, TextValue(REG_EXPAND_SZ, stored)},
                                                       {kShellFolders, TextValue(REG_SZ, Expanded(stored))}};
  for (const auto& [key, value] : expected) {
    RawValue held = ReadRawValue(root, key, valueName.c_str());
    CHECK_EQ(ShowUtf16Le(held.bytes), ShowUtf16Le(value.bytes));
    CHECK_EQ(static_cast<long long>(held.type), static_cast<long long>(value.type));
  }
}

RegistryKeeper::RegistryKeeper() {
  RecoverFromJournal();
}

RegistryKeeper::~RegistryKeeper() {
  RestoreAll();
}

void RegistryKeeper::Keep(HKEY root, const std::string& key, const std::string& name) {
  for (const Kept& kept : kept_) {
    if (kept.root == root && kept.key == key && kept.name == name) return;
  }
  RawValue original = ReadRawValue(root, key.c_str(), name.c_str());
  JournalWrite(root, key, name, original.present ? "1" : "0", original);
  kept_.push_back({root, key, name, original});
}

void RegistryKeeper::KeepKeyAbsence(HKEY root, const std::string& fullKey) {
  // The shortest part of the path that is missing: creating the key creates it, restoring removes it.
  std::string key;
  std::size_t end = 0;
  while (true) {
    end = fullKey.find('\\', end + 1);
    key = fullKey.substr(0, end);
    HKEY opened = nullptr;
    if (RegOpenKeyExW(root, Wide(key).c_str(), 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) break;
    RegCloseKey(opened);
    if (end == std::string::npos) return;
  }
  JournalWrite(root, key, "(key)", "K", RawValue());
  createdKeys_.push_back({root, key});
}

void RegistryKeeper::RestoreAll() {
  for (auto it = kept_.rbegin(); it != kept_.rend(); ++it) {
    WriteRawValue(it->root, it->key.c_str(), it->name.c_str(), it->original);
  }
  for (auto it = createdKeys_.rbegin(); it != createdKeys_.rend(); ++it) {
    SHDeleteKeyW(it->first, Wide(it->second).c_str());
  }
  SHDeleteKeyW(HKEY_CURRENT_USER, Wide(kJournalKey).c_str());
  kept_.clear();
  createdKeys_.clear();
}

void RegistryKeeper::RecoverFromJournal() {
  std::map<std::string, RawValue> entries = ReadKey(HKEY_CURRENT_USER, kJournalKey);
  if (entries.empty()) return;
  std::printf("restoring registry values left over by an interrupted run\n");
  for (const auto& entry : entries) RestoreEntry(entry.second.bytes);
  SHDeleteKeyW(HKEY_CURRENT_USER, Wide(kJournalKey).c_str());
}

BackupFileKeeper::BackupFileKeeper() {
  char desktop[MAX_PATH] = "";
  SHGetFolderPathA(nullptr, CSIDL_DESKTOP, nullptr, SHGFP_TYPE_CURRENT, desktop);
  path_ = std::string(desktop) + "\\specialfolders.bak";
  existed_ = Exists(Wide(path_));
  if (existed_) bytes_ = ReadFileBytes(Wide(path_));
}

BackupFileKeeper::~BackupFileKeeper() {
  if (existed_) {
    WriteFileBytes(Wide(path_), bytes_);
  } else {
    DeleteFileW(Wide(path_).c_str());
  }
}

bool BackupTempFilesLeft() {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((TempFolder() + L"splfolders*.txt").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  return true;
}

}  // namespace e2e
