// The registry module: reads one shell-folder value, writes one string value.
#pragma once

#include <cstdint>
#include <string>

#include "core/reg_value.h"
#include "platform/platform.h"

// Our own result code for a value of a type that QueryRegValue does not read.
constexpr std::int32_t kUnsupportedValueType = -1;

// A value exactly as stored, read before it is written so that it can be put back: its type and bytes, or
// that there was no such value, or that it could not be read.
struct StoredValue {
  enum class State { kUnknown, kAbsent, kPresent };
  State state = State::kUnknown;
  std::uint32_t type = 0;
  std::string bytes;
};

class ShellFolderRegistry {
 public:
  explicit ShellFolderRegistry(platform::Registry& registry) : registry_(registry) {}

  // Reads one value of an open key into value; returns 0 or the failing code. Never throws: a failure
  // ends it with the last recorded code and value as it stood then.
  std::int32_t QueryRegValue(platform::HKey hKey, const std::string& valueName, RegValue& value);

  // Opens the key for reading only, queries, closes. Empty when anything failed.
  RegValue ReadRegValue(platform::HKey hive, const std::string& keyPath, const std::string& valueName);

  // Stores data as a string value of the given type (REG_SZ or REG_EXPAND_SZ), in UTF-16 with its terminator;
  // returns the system's code.
  std::int32_t WriteRegValue(platform::HKey hive, const std::string& keyPath, const std::string& valueName,
                             const std::string& data, std::uint32_t type);

  StoredValue ReadStoredValue(platform::HKey hive, const std::string& keyPath, const std::string& valueName);
  // Stores the value again as it was read, or deletes it when there was none; 0 or the system's code. A value
  // that could not be read cannot be put back: the result is then ERROR_INVALID_DATA.
  std::int32_t PutBack(platform::HKey hive, const std::string& keyPath, const std::string& valueName,
                       const StoredValue& value);

 private:
  std::int32_t QueryString(platform::HKey hKey, const std::string& valueName, std::uint32_t size, RegValue& value);
  std::int32_t QueryDword(platform::HKey hKey, const std::string& valueName, RegValue& value);

  platform::Registry& registry_;
};
