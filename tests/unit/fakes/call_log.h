// A record of every platform call the fakes answer, and a switch to make any one of them fail.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class CallLog {
 public:
  // Records a call; returns the code it must fail with when it is the one chosen to fail.
  std::optional<std::int32_t> Record(std::string call) {
    bool named = !failPrefix_.empty() && call.compare(0, failPrefix_.size(), failPrefix_) == 0;
    calls_.push_back(std::move(call));
    if (failAt_ && *failAt_ == calls_.size() - 1) return failCode_;
    if (named && namedSeen_++ == failOccurrence_) return failCode_;
    return std::nullopt;
  }

  // Makes the n-th (0 = the first) of the coming calls whose text starts with prefix fail with code.
  void FailCallStartingWith(const std::string& prefix, std::size_t occurrence, std::int32_t code) {
    failPrefix_ = prefix;
    failOccurrence_ = occurrence;
    namedSeen_ = 0;
    failCode_ = code;
  }

  // Makes the call with this position in the record (0 = the first) fail with code.
  void FailCall(std::size_t index, std::int32_t code) {
    failAt_ = index;
    failCode_ = code;
  }

  const std::vector<std::string>& calls() const { return calls_; }
  // Forgets the record and any chosen failure.
  void Clear() {
    calls_.clear();
    failAt_.reset();
    failPrefix_.clear();
  }

  // The recorded calls whose text starts with prefix, in order.
  std::vector<std::string> CallsStartingWith(const std::string& prefix) const {
    std::vector<std::string> found;
    for (const std::string& call : calls_) {
      if (call.compare(0, prefix.size(), prefix) == 0) found.push_back(call);
    }
    return found;
  }

 private:
  std::vector<std::string> calls_;
  std::optional<std::size_t> failAt_;
  std::int32_t failCode_ = 0;
  std::string failPrefix_;
  std::size_t failOccurrence_ = 0;
  std::size_t namedSeen_ = 0;
};
