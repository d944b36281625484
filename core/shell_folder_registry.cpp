// Reading and writing the shell-folder values: the size query, the string and DWORD reads, the UTF-16 writes.
#include "core/shell_folder_registry.h"

#include <exception>
#include <vector>

#include "text/utf16.h"

using platform::HKey;

std::int32_t ShellFolderRegistry::QueryRegValue(HKey hKey, const std::string& valueName, RegValue& value) {
  std::int32_t lastCode = 0;
  try {
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    lastCode = registry_.RegQueryValueExW(hKey, valueName, &type, nullptr, &size);
    if (lastCode != 0) return lastCode;
    switch (type) {
      case platform::kRegSz:
      case platform::kRegExpandSz:
        lastCode = QueryString(hKey, valueName, size, value);
        return lastCode;
      case platform::kRegDword:
        lastCode = QueryDword(hKey, valueName, value);
        return lastCode;
      default:
        return kUnsupportedValueType;
    }
  } catch (const std::exception&) {
    // An allocation for an absurd size ends the read quietly.
    return lastCode;
  }
}

std::int32_t ShellFolderRegistry::QueryString(HKey hKey, const std::string& valueName, std::uint32_t size,
                                              RegValue& value) {
  // One spare byte so that a zero-length value still has a buffer to point at.
  std::vector<std::uint8_t> buffer(static_cast<std::size_t>(size) + 1, 0);
  std::uint32_t type = 0;
  std::int32_t code = registry_.RegQueryValueExW(hKey, valueName, &type, buffer.data(), &size);
  if (code != 0) {
    value = RegValue();
    return code;
  }
  if (size == 0) return 0;
  // The last stored code unit is taken for the terminating zero; a stray odd byte stands in for it too.
  std::size_t units = (static_cast<std::size_t>(size) - 1) / 2;
  value = RegValue::FromText(Utf16LeToUtf8(std::string(reinterpret_cast<const char*>(buffer.data()), 2 * units)));
  return 0;
}

std::int32_t ShellFolderRegistry::QueryDword(HKey hKey, const std::string& valueName, RegValue& value) {
  std::uint8_t bytes[4] = {0, 0, 0, 0};
  std::uint32_t size = sizeof bytes;
  std::uint32_t type = 0;
  // A REG_DWORD longer than 4 bytes answers ERROR_MORE_DATA here rather than being read past the integer.
  std::int32_t code = registry_.RegQueryValueExW(hKey, valueName, &type, bytes, &size);
  if (code == 0) {
    std::uint32_t data = bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
    value = RegValue::FromInteger(static_cast<std::int32_t>(data));
  }
  return code;
}

RegValue ShellFolderRegistry::ReadRegValue(HKey hive, const std::string& keyPath, const std::string& valueName) {
  // Read access only: a user who may not change the HKLM keys can still see where the shared folders live.
  HKey hKey = 0;
  registry_.RegOpenKeyExW(hive, keyPath, 0, platform::kKeyQueryValue, &hKey);
  RegValue value;
  QueryRegValue(hKey, valueName, value);
  registry_.RegCloseKey(hKey);
  return value;
}

StoredValue ShellFolderRegistry::ReadStoredValue(HKey hive, const std::string& keyPath, const std::string& valueName) {
  StoredValue value;
  HKey hKey = 0;
  std::int32_t code = registry_.RegOpenKeyExW(hive, keyPath, 0, platform::kKeyQueryValue, &hKey);
  if (code == platform::kErrorFileNotFound) value.state = StoredValue::State::kAbsent;
  if (code != 0) return value;
  std::uint32_t size = 0;
  code = registry_.RegQueryValueExW(hKey, valueName, &value.type, nullptr, &size);
  if (code == platform::kErrorFileNotFound) value.state = StoredValue::State::kAbsent;
  if (code == 0) {
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(size) + 1, 0);
    code = registry_.RegQueryValueExW(hKey, valueName, &value.type, buffer.data(), &size);
    if (code == 0) {
      value.state = StoredValue::State::kPresent;
      value.bytes.assign(reinterpret_cast<const char*>(buffer.data()), size);
    }
  }
  registry_.RegCloseKey(hKey);
  return value;
}

std::int32_t ShellFolderRegistry::PutBack(HKey hive, const std::string& keyPath, const std::string& valueName,
                                          const StoredValue& value) {
  switch (value.state) {
    case StoredValue::State::kPresent:
      return registry_.SHSetValueW(hive, keyPath, valueName, value.type, value.bytes.data(),
                                   static_cast<std::uint32_t>(value.bytes.size()));
    case StoredValue::State::kAbsent:
      return registry_.SHDeleteValueW(hive, keyPath, valueName);
    case StoredValue::State::kUnknown:
      break;
  }
  return platform::kErrorInvalidData;
}

std::int32_t ShellFolderRegistry::WriteRegValue(HKey hive, const std::string& keyPath, const std::string& valueName,
                                                const std::string& data, std::uint32_t type) {
  std::string bytes = Utf8ToUtf16Le(data);
  bytes.append(2, '\0');
  return registry_.SHSetValueW(hive, keyPath, valueName, type, bytes.data(), static_cast<std::uint32_t>(bytes.size()));
}
