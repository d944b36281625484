// The registry module: reads one shell-folder value as the window shows it, writes one string value, and reads
// and stores a value exactly as it was, for a put-back.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"
#include "vocabulary/reg_value.h"

// A value exactly as stored, read before it is written so that it can be put back: its type and bytes, or
// that there was no such value, or that it could not be read (code says why).
struct StoredValue {
  enum class State { kUnknown, kAbsent, kPresent };
  State state = State::kUnknown;
  std::uint32_t type = 0;
  std::string bytes;
  std::int32_t code = 0;

  static StoredValue Absent() { return StoredValue{State::kAbsent, 0, std::string(), 0}; }
  static StoredValue Present(std::uint32_t type, std::string bytes) {
    return StoredValue{State::kPresent, type, std::move(bytes), 0};
  }
  // The same state, and when present the same type and bytes.
  bool Holds(const StoredValue& other) const;
  bool HoldsText() const { return state == State::kPresent && IsTextType(type); }
};

class ShellFolderRegistry {
 public:
  explicit ShellFolderRegistry(platform::Registry& registry) : registry_(registry) {}

  // The value as RegValueFromStored shows it; Empty when anything failed.
  RegValue ReadRegValue(platform::HKey hive, const std::string& keyPath, const std::string& valueName);

  // Stores data as a string value of the given type (REG_SZ or REG_EXPAND_SZ), in UTF-16 with its terminator;
  // returns the system's code.
  std::int32_t WriteRegValue(platform::HKey hive, const std::string& keyPath, const std::string& valueName,
                             const std::string& data, std::uint32_t type);

  StoredValue ReadStoredValue(platform::HKey hive, const std::string& keyPath, const std::string& valueName);
  // Makes the value what stored says: writes its type and bytes, or deletes it (a value already absent is no
  // failure); 0 or the system's code. A value that could not be read cannot be stored: ERROR_INVALID_DATA.
  std::int32_t Store(platform::HKey hive, const std::string& keyPath, const std::string& valueName,
                     const StoredValue& stored);

 private:
  platform::Registry& registry_;
};
