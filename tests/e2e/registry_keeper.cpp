// Registry reads for the checks, and the keeper that leaves the prefix's registry as the scenarios found it.
#include "tests/e2e/registry_keeper.h"

#include <shlobj.h>
#include <shlwapi.h>

#include <cstdio>

#include "tests/e2e/driver.h"

namespace e2e {

namespace {

// The journal: one binary value per kept value, holding where it lives and what it held.
constexpr const wchar_t* kJournalKey = L"Software\\Zolvane end-to-end journal";

std::vector<BYTE> Serialise(HKEY root, const std::string& key, const std::string& name, const RawValue& data) {
  std::string header = std::to_string(reinterpret_cast<ULONG_PTR>(root)) + "\n" + key + "\n" + name + "\n" +
                       (data.present ? "1" : "0") + "\n" + std::to_string(data.type) + "\n";
  std::vector<BYTE> bytes(header.begin(), header.end());
  bytes.insert(bytes.end(), data.bytes.begin(), data.bytes.end());
  return bytes;
}

std::string JournalName(HKEY root, const std::string& key, const std::string& name) {
  return std::to_string(reinterpret_cast<ULONG_PTR>(root)) + "|" + key + "|" + name;
}

void JournalWrite(const std::string& name, const std::vector<BYTE>& bytes) {
  HKEY journal = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kJournalKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &journal, nullptr) !=
      ERROR_SUCCESS) {
    return;
  }
  RegSetValueExW(journal, Wide(name).c_str(), 0, REG_BINARY, bytes.data(), static_cast<DWORD>(bytes.size()));
  RegCloseKey(journal);
}

// Splits a journal entry back into its fields and restores it.
void RestoreEntry(const std::vector<BYTE>& bytes) {
  std::string text(bytes.begin(), bytes.end());
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
  RawValue data;
  data.present = fields[3] == "1";
  data.type = static_cast<DWORD>(std::stoul(fields[4]));
  data.bytes.assign(bytes.begin() + static_cast<std::ptrdiff_t>(pos), bytes.end());
  WriteRawValue(root, fields[1].c_str(), fields[2].c_str(), data);
}

}  // namespace

std::string ReadText(HKEY root, const std::string& key, const std::string& name, DWORD* type) {
  RawValue data = ReadRawValue(root, key.c_str(), name.c_str());
  if (type != nullptr) *type = data.present ? data.type : 0;
  if (!data.present) return std::string();
  std::wstring wide(reinterpret_cast<const wchar_t*>(data.bytes.data()), data.bytes.size() / sizeof(wchar_t));
  while (!wide.empty() && wide.back() == L'\0') wide.pop_back();
  return Utf8(wide);
}

bool WriteText(HKEY root, const std::string& key, const std::string& name, const std::string& text, DWORD type) {
  HKEY opened = nullptr;
  if (RegCreateKeyExW(root, Wide(key).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &opened, nullptr) !=
      ERROR_SUCCESS) {
    return false;
  }
  std::wstring wide = Wide(text);
  LONG code = RegSetValueExW(opened, Wide(name).c_str(), 0, type, reinterpret_cast<const BYTE*>(wide.c_str()),
                             static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(opened);
  return code == ERROR_SUCCESS;
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
  JournalWrite(JournalName(root, key, name), Serialise(root, key, name, original));
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
  std::string header = std::to_string(reinterpret_cast<ULONG_PTR>(root)) + "\n" + key + "\n\nK\n0\n";
  JournalWrite(JournalName(root, key, "(key)"), std::vector<BYTE>(header.begin(), header.end()));
  createdKeys_.push_back({root, key});
}

void RegistryKeeper::RestoreAll() {
  for (auto it = kept_.rbegin(); it != kept_.rend(); ++it) {
    WriteRawValue(it->root, it->key.c_str(), it->name.c_str(), it->original);
  }
  for (auto it = createdKeys_.rbegin(); it != createdKeys_.rend(); ++it) {
    SHDeleteKeyW(it->first, Wide(it->second).c_str());
  }
  SHDeleteKeyW(HKEY_CURRENT_USER, kJournalKey);
  kept_.clear();
  createdKeys_.clear();
}

void RegistryKeeper::RecoverFromJournal() {
  HKEY journal = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kJournalKey, 0, KEY_QUERY_VALUE, &journal) != ERROR_SUCCESS) return;
  std::printf("restoring registry values left over by an interrupted run\n");
  for (DWORD index = 0;; ++index) {
    wchar_t name[16384];
    DWORD nameLength = 16384;
    BYTE data[65536];
    DWORD size = sizeof data;
    DWORD type = 0;
    if (RegEnumValueW(journal, index, name, &nameLength, nullptr, &type, data, &size) != ERROR_SUCCESS) break;
    RestoreEntry(std::vector<BYTE>(data, data + size));
  }
  RegCloseKey(journal);
  SHDeleteKeyW(HKEY_CURRENT_USER, kJournalKey);
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
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((std::wstring(temp) + L"splfolders*.txt").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  return true;
}

}  // namespace e2e
