// Reading and writing the shell-folder values: how stored bytes are shown, the UTF-16 writes, the put-back.
#include "vocabulary/shell_folder_registry.h"

using platform::HKey;

bool StoredValue::Holds(const StoredValue& other) const {
  if (state != other.state) return false;
  return state != State::kPresent || (type == other.type && bytes == other.bytes);
}

RegValue ShellFolderRegistry::ReadRegValue(HKey hive, const std::string& keyPath, const std::string& valueName) {
  platform::RegistryValue value;
  if (registry_.ReadValue(hive, keyPath, valueName, &value) != 0) return RegValue();
  return RegValueFromStored(value.type, value.bytes);
}

StoredValue ShellFolderRegistry::ReadStoredValue(HKey hive, const std::string& keyPath, const std::string& valueName) {
  platform::RegistryValue value;
  std::int32_t code = registry_.ReadValue(hive, keyPath, valueName, &value);
  if (code == platform::kErrorFileNotFound) return StoredValue::Absent();
  if (code != 0) return StoredValue{StoredValue::State::kUnknown, 0, std::string(), code};
  return StoredValue::Present(value.type, std::move(value.bytes));
}

std::int32_t ShellFolderRegistry::Store(HKey hive, const std::string& keyPath, const std::string& valueName,
                                        const StoredValue& stored) {
  switch (stored.state) {
    case StoredValue::State::kPresent:
      return registry_.WriteValue(hive, keyPath, platform::RegistryValue{valueName, stored.type, stored.bytes});
    case StoredValue::State::kAbsent: {
      std::int32_t code = registry_.DeleteValue(hive, keyPath, valueName);
      return code == platform::kErrorFileNotFound ? 0 : code;
    }
    case StoredValue::State::kUnknown:
      break;
  }
  return platform::kErrorInvalidData;
}

std::int32_t ShellFolderRegistry::WriteRegValue(HKey hive, const std::string& keyPath, const std::string& valueName,
                                                const std::string& data, std::uint32_t type) {
  return registry_.WriteValue(hive, keyPath, platform::RegistryValue{valueName, type, StringValueBytes(data)});
}
