// The in-memory registry: keys by full path, values of any type and bytes, denials, every call recorded.
#include "fakes/fake_registry.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "text/utf16.h"

namespace {

std::string Describe(platform::HKey hKey) {
  char text[32];
  std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(hKey));
  return text;
}

}  // namespace

bool CaseInsensitiveLess::operator()(const std::string& a, const std::string& b) const {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](unsigned char x, unsigned char y) {
    return std::tolower(x) < std::tolower(y);
  });
}

std::string FakeRegistry::FullPath(platform::HKey hive, const std::string& subKey) {
  return Describe(hive) + "\\" + subKey;
}

std::int32_t FakeRegistry::ReadValue(platform::HKey hive, const std::string& subKey, const std::string& name,
                                     platform::RegistryValue* value) {
  if (auto fail = log_.Record("ReadValue(" + Describe(hive) + ", " + subKey + ", " + name + ")")) return *fail;
  auto key = keys_.find(FullPath(hive, subKey));
  if (key == keys_.end()) return platform::kErrorFileNotFound;
  auto found = key->second.find(name);
  if (found == key->second.end()) return platform::kErrorFileNotFound;
  *value = platform::RegistryValue{found->first, found->second.type, found->second.bytes};
  return 0;
}

std::int32_t FakeRegistry::ReadValues(platform::HKey hive, const std::string& subKey,
                                      std::vector<platform::RegistryValue>* values) {
  if (auto fail = log_.Record("ReadValues(" + Describe(hive) + ", " + subKey + ")")) return *fail;
  auto key = keys_.find(FullPath(hive, subKey));
  if (key == keys_.end()) return platform::kErrorFileNotFound;
  values->clear();
  for (const auto& [name, value] : key->second)
    values->push_back(platform::RegistryValue{name, value.type, value.bytes});
  return 0;
}

std::int32_t FakeRegistry::WriteValue(platform::HKey hive, const std::string& subKey,
                                      const platform::RegistryValue& value) {
  // The data is recorded as the text it holds, terminator included, and its size in bytes.
  if (auto fail = log_.Record("WriteValue(" + Describe(hive) + ", " + subKey + ", " + value.name + ", " +
                              std::to_string(value.type) + ", " + Utf16LeToUtf8(value.bytes) + ", " +
                              std::to_string(value.bytes.size()) + ")")) {
    return *fail;
  }
  if (onWrite) onWrite();
  std::string path = FullPath(hive, subKey);
  if (deniedWrites_.count(path)) return platform::kErrorAccessDenied;
  changes.push_back(Change{hive, subKey, value.name, false, value.type, value.bytes});
  // A value written again keeps the name it was stored under, as the registry does: the map keeps its first key.
  keys_[path][value.name] = Value{value.type, value.bytes};
  return 0;
}

std::int32_t FakeRegistry::DeleteValue(platform::HKey hive, const std::string& subKey, const std::string& name) {
  if (auto fail = log_.Record("DeleteValue(" + Describe(hive) + ", " + subKey + ", " + name + ")")) return *fail;
  if (onWrite) onWrite();
  std::string path = FullPath(hive, subKey);
  if (deniedWrites_.count(path)) return platform::kErrorAccessDenied;
  auto key = keys_.find(path);
  if (key == keys_.end() || key->second.erase(name) == 0) return platform::kErrorFileNotFound;
  changes.push_back(Change{hive, subKey, name, true, 0, std::string()});
  return 0;
}

bool FakeRegistry::Change::operator==(const Change& other) const {
  return hive == other.hive && subKey == other.subKey && name == other.name && deleted == other.deleted &&
         type == other.type && bytes == other.bytes;
}

void PrintTo(const FakeRegistry::Change& change, std::ostream* out) {
  *out << Describe(change.hive) << "\\" << change.subKey << " " << change.name;
  if (change.deleted) {
    *out << " deleted";
  } else {
    *out << " type " << change.type << " \"" << Utf16LeToUtf8(change.bytes) << "\" (" << change.bytes.size()
         << " bytes)";
  }
}

void FakeRegistry::SetValue(platform::HKey hive, const std::string& subKey, const std::string& valueName,
                            std::uint32_t type, const std::string& bytes) {
  keys_[FullPath(hive, subKey)][valueName] = Value{type, bytes};
}

void FakeRegistry::SetString(platform::HKey hive, const std::string& subKey, const std::string& valueName,
                             std::uint32_t type, const std::string& text) {
  SetValue(hive, subKey, valueName, type, Utf8ToUtf16Le(text) + std::string(2, '\0'));
}

std::string FakeRegistry::GetString(platform::HKey hive, const std::string& subKey,
                                    const std::string& valueName) const {
  const Value* value = GetValue(hive, subKey, valueName);
  if (value == nullptr || value->bytes.size() < 2) return std::string();
  return Utf16LeToUtf8(value->bytes.substr(0, value->bytes.size() - 2));
}

const FakeRegistry::Value* FakeRegistry::GetValue(platform::HKey hive, const std::string& subKey,
                                                  const std::string& valueName) const {
  auto key = keys_.find(FullPath(hive, subKey));
  if (key == keys_.end()) return nullptr;
  auto value = key->second.find(valueName);
  return value == key->second.end() ? nullptr : &value->second;
}

void FakeRegistry::DenyWrites(platform::HKey hive, const std::string& subKey) {
  deniedWrites_.insert(FullPath(hive, subKey));
}
