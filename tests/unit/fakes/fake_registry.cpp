// The in-memory registry: keys by full path, values of any type and bytes, denials, every call recorded.
#include "fakes/fake_registry.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "text/utf16.h"

namespace {

constexpr std::int32_t kErrorInvalidHandle = 6;

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

std::int32_t FakeRegistry::RegOpenKeyExW(platform::HKey hKey, const std::string& subKey, std::uint32_t options,
                                         std::uint32_t samDesired, platform::HKey* phkResult) {
  if (auto fail = log_.Record("RegOpenKeyExW(" + Describe(hKey) + ", " + subKey + ", " + std::to_string(options) +
                              ", " + Describe(samDesired) + ")")) {
    return *fail;
  }
  std::string path = FullPath(hKey, subKey);
  if (deniedOpens_.count(path)) return platform::kErrorAccessDenied;
  if (deniedWrites_.count(path) && samDesired != platform::kKeyQueryValue) return platform::kErrorAccessDenied;
  if (!keys_.count(path)) return platform::kErrorFileNotFound;
  platform::HKey handle = nextHandle_++;
  handles_[handle] = path;
  *phkResult = handle;
  return 0;
}

std::int32_t FakeRegistry::RegQueryValueExW(platform::HKey hKey, const std::string& valueName, std::uint32_t* type,
                                            std::uint8_t* data, std::uint32_t* cbData) {
  if (auto fail = log_.Record("RegQueryValueExW(" + Describe(hKey) + ", " + valueName + ", " +
                              (data ? std::to_string(*cbData) : std::string("size")) + ")")) {
    return *fail;
  }
  auto handle = handles_.find(hKey);
  if (handle == handles_.end()) return kErrorInvalidHandle;
  const auto& values = keys_[handle->second];
  auto found = values.find(valueName);
  if (found == values.end()) return platform::kErrorFileNotFound;
  const Value& value = found->second;
  *type = value.type;
  std::uint32_t size = static_cast<std::uint32_t>(value.bytes.size());
  if (data == nullptr) {
    *cbData = size;
    return 0;
  }
  if (*cbData < size) {
    *cbData = size;
    return platform::kErrorMoreData;
  }
  std::memcpy(data, value.bytes.data(), size);
  *cbData = size;
  return 0;
}

std::int32_t FakeRegistry::RegCloseKey(platform::HKey hKey) {
  if (auto fail = log_.Record("RegCloseKey(" + Describe(hKey) + ")")) return *fail;
  if (handles_.erase(hKey) == 0) return kErrorInvalidHandle;
  return 0;
}

std::int32_t FakeRegistry::SHSetValueW(platform::HKey hKey, const std::string& subKey, const std::string& valueName,
                                       std::uint32_t type, const void* data, std::uint32_t cbData) {
  const char* bytes = static_cast<const char*>(data);
  // The data is recorded as the text it holds, terminator included, and its size in bytes.
  if (auto fail =
          log_.Record("SHSetValueW(" + Describe(hKey) + ", " + subKey + ", " + valueName + ", " + std::to_string(type) +
                      ", " + Utf16LeToUtf8(std::string(bytes, cbData)) + ", " + std::to_string(cbData) + ")")) {
    return *fail;
  }
  std::string path = FullPath(hKey, subKey);
  if (deniedWrites_.count(path) || deniedOpens_.count(path)) return platform::kErrorAccessDenied;
  keys_[path][valueName] = Value{type, std::string(bytes, cbData)};
  return 0;
}

std::int32_t FakeRegistry::SHDeleteValueW(platform::HKey hKey, const std::string& subKey,
                                          const std::string& valueName) {
  if (auto fail = log_.Record("SHDeleteValueW(" + Describe(hKey) + ", " + subKey + ", " + valueName + ")")) {
    return *fail;
  }
  std::string path = FullPath(hKey, subKey);
  if (deniedWrites_.count(path) || deniedOpens_.count(path)) return platform::kErrorAccessDenied;
  auto key = keys_.find(path);
  if (key == keys_.end() || key->second.erase(valueName) == 0) return platform::kErrorFileNotFound;
  return 0;
}

void FakeRegistry::CreateKey(platform::HKey hive, const std::string& subKey) {
  keys_[FullPath(hive, subKey)];
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

void FakeRegistry::DenyOpen(platform::HKey hive, const std::string& subKey) {
  deniedOpens_.insert(FullPath(hive, subKey));
}
