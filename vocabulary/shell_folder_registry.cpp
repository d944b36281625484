// Reading and writing the shell-folder values: how stored bytes are shown, the UTF-16 writes, the put-back.
#include "vocabulary/shell_folder_registry.h"

#include "text/utf16.h"

using platform::HKey;

bool StoredValue::Holds(const StoredValue& other) const {
  if (state != other.state) return false;
  return state != State::kPresent || (type == other.type && bytes == other.bytes);
}

RegValue RegValueFromStored(std::uint32_t type, const std::string& bytes) {
  switch (type) {
    case platform::kRegSz:
    case platform::kRegExpandSz: {
      if (bytes.empty()) return RegValue();
      // The shell reads the text up to its first NUL, which is usually its terminator; an unterminated value
      // loses nothing, and a stray odd byte is no character.
      std::string text = Utf16LeToUtf8(bytes.substr(0, bytes.size() / 2 * 2));
      return RegValue::FromText(text.substr(0, text.find('\0')));
    }
    case platform::kRegDword: {
      // A REG_DWORD longer than 4 bytes is not a number the window can show.
      if (bytes.size() > 4) return RegValue();
      std::uint32_t data = 0;
      for (std::size_t i = 0; i < bytes.size(); ++i)
        data |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i])) << (8 * i);
      return RegValue::FromInteger(static_cast<std::int32_t>(data));
    }
    default:
      return RegValue();
  }
}

std::string StringValueBytes(const std::string& text) {
  return Utf8ToUtf16Le(text) + std::string(2, '\0');
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
