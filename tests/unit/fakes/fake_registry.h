// An in-memory registry: keys by full path, values of any type with any bytes, writes denied by key.
#pragma once

#include <functional>
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "fakes/call_log.h"
#include "platform/platform.h"

// Registry names match without regard to case, as on Windows.
struct CaseInsensitiveLess {
  bool operator()(const std::string& a, const std::string& b) const;
  static bool Equal(const std::string& a, const std::string& b) {
    return !CaseInsensitiveLess()(a, b) && !CaseInsensitiveLess()(b, a);
  }
};

class FakeRegistry : public platform::Registry {
 public:
  struct Value {
    std::uint32_t type = 0;
    std::string bytes;
    bool operator==(const Value& other) const { return type == other.type && bytes == other.bytes; }
  };

  // A value written or deleted through the interface, as the registry saw it.
  struct Change {
    platform::HKey hive;
    std::string subKey;
    std::string name;
    bool deleted;
    std::uint32_t type;
    std::string bytes;
    bool operator==(const Change& other) const;
  };
  // How a test's failure shows a change.
  friend void PrintTo(const Change& change, std::ostream* out);

  explicit FakeRegistry(CallLog& log) : log_(log) {}

  std::int32_t ReadValue(platform::HKey hive, const std::string& subKey, const std::string& name,
                         platform::RegistryValue* value) override;
  std::int32_t ReadValues(platform::HKey hive, const std::string& subKey,
                          std::vector<platform::RegistryValue>* values) override;
  std::int32_t WriteValue(platform::HKey hive, const std::string& subKey,
                          const platform::RegistryValue& value) override;
  std::int32_t DeleteValue(platform::HKey hive, const std::string& subKey, const std::string& name) override;

  // Test set-up and inspection; none of these is recorded.
  void SetValue(platform::HKey hive, const std::string& subKey, const std::string& valueName, std::uint32_t type,
                const std::string& bytes);
  // A string value as Windows stores it: UTF-16LE and a terminating zero.
  void SetString(platform::HKey hive, const std::string& subKey, const std::string& valueName, std::uint32_t type,
                 const std::string& text);
  // A string value's text, without its terminating zero; empty when there is no such value.
  std::string GetString(platform::HKey hive, const std::string& subKey, const std::string& valueName) const;
  const Value* GetValue(platform::HKey hive, const std::string& subKey, const std::string& valueName) const;
  // Writes and deletes under the key answer 5; reads still succeed.
  void DenyWrites(platform::HKey hive, const std::string& subKey);
  const std::map<std::string, std::map<std::string, Value, CaseInsensitiveLess>, CaseInsensitiveLess>& keys() const {
    return keys_;
  }
  // Every write and deletion that took, in order: the order in which a change reached the registry.
  std::vector<Change> changes;
  // Called as each write or deletion reaches the registry, before it takes: a test looks at the world then.
  std::function<void()> onWrite;

 private:
  static std::string FullPath(platform::HKey hive, const std::string& subKey);

  CallLog& log_;
  std::map<std::string, std::map<std::string, Value, CaseInsensitiveLess>, CaseInsensitiveLess> keys_;
  std::set<std::string, CaseInsensitiveLess> deniedWrites_;
};
