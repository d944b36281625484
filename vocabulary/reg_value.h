// The result of a registry read: Empty, Text or Integer.
#pragma once

#include <cstdint>
#include <string>

class RegValue {
 public:
  enum class State { Empty, Text, Integer };

  RegValue() = default;
  static RegValue FromText(std::string text);
  static RegValue FromInteger(std::int32_t integer);

  State state() const { return state_; }
  bool IsEmpty() const { return state_ == State::Empty; }
  bool IsText() const { return state_ == State::Text; }
  bool IsInteger() const { return state_ == State::Integer; }
  const std::string& text() const { return text_; }
  std::int32_t integer() const { return integer_; }

  // How the value is shown in a text box: Empty as "", an Integer as its decimal digits.
  std::string ToDisplayText() const;

  bool operator==(const RegValue& other) const;
  bool operator!=(const RegValue& other) const { return !(*this == other); }

 private:
  State state_ = State::Empty;
  std::string text_;
  std::int32_t integer_ = 0;
};
