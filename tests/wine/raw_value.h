// A registry value read and written as the registry stores it (the wide API converts nothing), for the test
// programs that check a value byte for byte and put it back exactly.
#pragma once

#include <windows.h>

#include <string>

#include "wide_text.h"

struct RawValue {
  bool present = false;
  DWORD type = 0;
  std::string bytes;
  bool operator==(const RawValue& other) const {
    return present == other.present && type == other.type && bytes == other.bytes;
  }
};

inline RawValue ReadRawValue(HKEY root, const char* key, const char* name) {
  RawValue value;
  BYTE data[4096];
  DWORD size = sizeof data;
  HKEY opened = nullptr;
  if (RegOpenKeyExW(root, Wide(key).c_str(), 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) return value;
  if (RegQueryValueExW(opened, Wide(name).c_str(), nullptr, &value.type, data, &size) == ERROR_SUCCESS) {
    value.present = true;
    value.bytes.assign(reinterpret_cast<const char*>(data), size);
  }
  RegCloseKey(opened);
  return value;
}

// Stores the value as it was read, or deletes it when there was none.
inline void WriteRawValue(HKEY root, const char* key, const char* name, const RawValue& value) {
  HKEY opened = nullptr;
  if (RegCreateKeyExW(root, Wide(key).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &opened, nullptr) != 0) return;
  if (value.present) {
    RegSetValueExW(opened, Wide(name).c_str(), 0, value.type, reinterpret_cast<const BYTE*>(value.bytes.data()),
                   static_cast<DWORD>(value.bytes.size()));
  } else {
    RegDeleteValueW(opened, Wide(name).c_str());
  }
  RegCloseKey(opened);
}
