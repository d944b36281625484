// The registry at the level Zolvane uses it: a value read, every value of a key read, a value written or
// deleted, always in the 64-bit view, with the size queries and the reads again of a value that grew.
#include <windows.h>

#include <algorithm>
#include <vector>

#include "platform/win32/conversions.h"
#include "platform/win32/scoped_handle.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_platform.h"

namespace platform {

namespace {

// RegQueryValueExW and RegEnumValueW may be handed a value that grew since its size was asked: they then answer
// ERROR_MORE_DATA and the read begins again, with a buffer as large as the largest size seen so far, so that a
// value rewritten now short and now long is read at the latest on the third try. A value that keeps growing is
// given up on after this many tries.
constexpr int kReadTries = 8;

// The 64-bit view is the shell's on 64-bit Windows; 32-bit Windows XP ignores the flag.
constexpr REGSAM kShellView = KEY_WOW64_64KEY;

// A key opened for one call, closed when the call is done; *key owns it only when the answer is ERROR_SUCCESS.
LONG OpenKey(HKey hive, const std::string& subKey, REGSAM access, ScopedKey* key) {
  HKEY opened = nullptr;
  LONG code = ::RegOpenKeyExW(ToHkey(hive), Widen(subKey).data(), 0, access | kShellView, &opened);
  if (code == ERROR_SUCCESS) *key = ScopedKey(opened);
  return code;
}

// Room for a folder's path of MAX_PATH characters: most values are read in one request.
constexpr DWORD kFirstReadBytes = 2 * 260;

LONG QueryValue(HKEY key, const WideText& name, RegistryValue* value) {
  DWORD capacity = kFirstReadBytes;
  for (int tries = 0; tries < kReadTries; ++tries) {
    // One spare byte, so that an empty value still has a buffer to point at.
    std::vector<BYTE> data(static_cast<std::size_t>(capacity) + 1, 0);
    DWORD type = 0;
    DWORD size = capacity;
    LONG code = ::RegQueryValueExW(key, name.data(), nullptr, &type, data.data(), &size);
    if (code == ERROR_MORE_DATA) {
      capacity = std::max(capacity, size);
      continue;
    }
    if (code != ERROR_SUCCESS) return code;
    value->type = type;
    value->bytes.assign(reinterpret_cast<const char*>(data.data()), size);
    return ERROR_SUCCESS;
  }
  return ERROR_MORE_DATA;
}

// The largest name (in characters, with room for its terminator) and data (in bytes) of a key's values.
struct ValueCapacity {
  DWORD name = 0;
  DWORD data = 0;
};

LONG GrowToKeysLargest(HKEY key, ValueCapacity* capacity) {
  DWORD maxName = 0;
  DWORD maxData = 0;
  LONG code = ::RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &maxName, &maxData,
                                 nullptr, nullptr);
  if (code != ERROR_SUCCESS) return code;
  capacity->name = std::max(capacity->name, maxName + 1);
  capacity->data = std::max(capacity->data, maxData);
  return ERROR_SUCCESS;
}

// The value at index, with buffers as large as the key's largest name and data; the key is asked again only for
// a value that grew since.
LONG EnumValue(HKEY key, DWORD index, ValueCapacity* capacity, RegistryValue* value) {
  for (int tries = 0; tries < kReadTries; ++tries) {
    std::vector<wchar_t> name(capacity->name, L'\0');
    std::vector<BYTE> data(static_cast<std::size_t>(capacity->data) + 1, 0);
    DWORD nameLength = capacity->name;
    DWORD size = capacity->data;
    DWORD type = 0;
    LONG code = ::RegEnumValueW(key, index, name.data(), &nameLength, nullptr, &type, data.data(), &size);
    if (code == ERROR_MORE_DATA) {
      capacity->data = std::max(capacity->data, size);
      code = GrowToKeysLargest(key, capacity);
      if (code != ERROR_SUCCESS) return code;
      continue;
    }
    if (code != ERROR_SUCCESS) return code;
    value->name = Narrow(name.data(), nameLength);
    value->type = type;
    value->bytes.assign(reinterpret_cast<const char*>(data.data()), size);
    return ERROR_SUCCESS;
  }
  return ERROR_MORE_DATA;
}

}  // namespace

std::int32_t Win32Registry::ReadValue(HKey hive, const std::string& subKey, const std::string& name,
                                      RegistryValue* value) {
  ScopedKey key;
  LONG code = OpenKey(hive, subKey, KEY_QUERY_VALUE, &key);
  if (code != ERROR_SUCCESS) return code;
  value->name = name;
  return QueryValue(key.get(), Widen(name), value);
}

std::int32_t Win32Registry::ReadValues(HKey hive, const std::string& subKey, std::vector<RegistryValue>* values) {
  ScopedKey key;
  LONG code = OpenKey(hive, subKey, KEY_QUERY_VALUE, &key);
  if (code != ERROR_SUCCESS) return code;
  ValueCapacity capacity;
  code = GrowToKeysLargest(key.get(), &capacity);
  if (code != ERROR_SUCCESS) return code;
  std::vector<RegistryValue> found;
  for (DWORD index = 0;; ++index) {
    RegistryValue value;
    code = EnumValue(key.get(), index, &capacity, &value);
    if (code == ERROR_NO_MORE_ITEMS) break;
    if (code != ERROR_SUCCESS) return code;
    found.push_back(std::move(value));
  }
  *values = std::move(found);
  return ERROR_SUCCESS;
}

// What SHSetValueW does, RegCreateKeyExW and RegSetValueExW, but with the view chosen: SHSetValueW takes no flag.
std::int32_t Win32Registry::WriteValue(HKey hive, const std::string& subKey, const RegistryValue& value) {
  HKEY created = nullptr;
  LONG code = ::RegCreateKeyExW(ToHkey(hive), Widen(subKey).data(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                KEY_SET_VALUE | kShellView, nullptr, &created, nullptr);
  if (code != ERROR_SUCCESS) return code;
  ScopedKey key(created);
  return ::RegSetValueExW(key.get(), Widen(value.name).data(), 0, value.type,
                          reinterpret_cast<const BYTE*>(value.bytes.data()), static_cast<DWORD>(value.bytes.size()));
}

std::int32_t Win32Registry::DeleteValue(HKey hive, const std::string& subKey, const std::string& name) {
  ScopedKey key;
  LONG code = OpenKey(hive, subKey, KEY_SET_VALUE, &key);
  if (code != ERROR_SUCCESS) return code;
  return ::RegDeleteValueW(key.get(), Widen(name).data());
}

}  // namespace platform
