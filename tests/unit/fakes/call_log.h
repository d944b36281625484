// A record of every platform call the fakes answer, and the one way to make any of them fail: a call, which
// occurrence of it, and the error it fails with.
#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

class CallLog {
 public:
  // The occurrence that means every one.
  static constexpr std::size_t kEvery = static_cast<std::size_t>(-1);

  // Records a call; returns the code it must fail with when a failure set for it is due.
  std::optional<std::int32_t> Record(std::string call) {
    std::lock_guard<std::mutex> guard(mutex_);
    std::optional<std::int32_t> failure;
    for (Planned& planned : failures_) {
      if (call.compare(0, planned.call.size(), planned.call) != 0) continue;
      bool due = planned.occurrence == kEvery || planned.seen == planned.occurrence;
      ++planned.seen;
      if (due && !failure) failure = planned.code;
    }
    calls_.push_back(std::move(call));
    return failure;
  }

  // The occurrence-th (0 = the first; kEvery: each) of the coming calls whose recorded text begins with call fails with
  // code: Fail("Delete(C:\\TEMP\\splfolders1.txt)", 0, 5), Fail("WriteValue", 1, 1013). Several failures may be set at
  // once; a failing call that answers with no code (Exists, a lost wait) answers as the system does then.
  void Fail(std::string call, std::size_t occurrence, std::int32_t code) {
    std::lock_guard<std::mutex> guard(mutex_);
    failures_.push_back(Planned{std::move(call), occurrence, code, 0});
  }
  void ClearFailures() {
    std::lock_guard<std::mutex> guard(mutex_);
    failures_.clear();
  }

  // Every call recorded, in order: what a test goes through to fail each one in turn.
  std::vector<std::string> calls() const {
    std::lock_guard<std::mutex> guard(mutex_);
    return calls_;
  }
  // Forgets the record and every failure set.
  void Clear() {
    std::lock_guard<std::mutex> guard(mutex_);
    calls_.clear();
    failures_.clear();
  }

 private:
  struct Planned {
    std::string call;
    std::size_t occurrence;
    std::int32_t code;
    std::size_t seen;
  };

  mutable std::mutex mutex_;
  std::vector<std::string> calls_;
  std::vector<Planned> failures_;
};
