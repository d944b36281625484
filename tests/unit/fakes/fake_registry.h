// An in-memory registry: keys by full path, values of any type with any bytes, per-key denial.
#pragma once

#include <map>
#include <set>
#include <string>

#include "fakes/call_log.h"
#include "platform/platform.h"

// Registry names match without regard to case, as on Windows.
struct CaseInsensitiveLess {
  bool operator()(const std::string& a, const std::string& b) const;
};

class FakeRegistry : public platform::Registry {
 public:
  struct Value {
    std::uint32_t type = 0;
    std::string bytes;
  };

  explicit FakeRegistry(CallLog& log) : log_(log) {}

  std::int32_t RegOpenKeyExW(platform::HKey hKey, const std::string& subKey, std::uint32_t options,
                             std::uint32_t samDesired, platform::HKey* phkResult) override;
  std::int32_t RegQueryValueExW(platform::HKey hKey, const std::string& valueName, std::uint32_t* type,
                                std::uint8_t* data, std::uint32_t* cbData) override;
  std::int32_t RegCloseKey(platform::HKey hKey) override;
  std::int32_t SHSetValueW(platform::HKey hKey, const std::string& subKey, const std::string& valueName,
                           std::uint32_t type, const void* data, std::uint32_t cbData) override;
  std::int32_t SHDeleteValueW(platform::HKey hKey, const std::string& subKey, const std::string& valueName) override;

  // Test set-up and inspection; none of these is recorded.
  void CreateKey(platform::HKey hive, const std::string& subKey);
  void SetValue(platform::HKey hive, const std::string& subKey, const std::string& valueName, std::uint32_t type,
                const std::string& bytes);
  // A string value as Windows stores it: UTF-16LE and a terminating zero.
  void SetString(platform::HKey hive, const std::string& subKey, const std::string& valueName, std::uint32_t type,
                 const std::string& text);
  // A string value's text, without its terminating zero; empty when there is no such value.
  std::string GetString(platform::HKey hive, const std::string& subKey, const std::string& valueName) const;
  const Value* GetValue(platform::HKey hive, const std::string& subKey, const std::string& valueName) const;
  // Opening a denied key for anything but KEY_QUERY_VALUE answers 5; so does any write under it.
  void DenyWrites(platform::HKey hive, const std::string& subKey);
  // Opening the key at all answers 5.
  void DenyOpen(platform::HKey hive, const std::string& subKey);
  std::size_t OpenHandleCount() const { return handles_.size(); }
  const std::map<std::string, std::map<std::string, Value, CaseInsensitiveLess>, CaseInsensitiveLess>& keys() const {
    return keys_;
  }

 private:
  static std::string FullPath(platform::HKey hive, const std::string& subKey);

  CallLog& log_;
  std::map<std::string, std::map<std::string, Value, CaseInsensitiveLess>, CaseInsensitiveLess> keys_;
  std::set<std::string, CaseInsensitiveLess> deniedWrites_;
  std::set<std::string, CaseInsensitiveLess> deniedOpens_;
  std::map<platform::HKey, std::string> handles_;
  platform::HKey nextHandle_ = 0x1000;
};
