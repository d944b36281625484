// The result of a registry read: Empty, Text or Integer, and how it is shown.
#include "vocabulary/reg_value.h"

#include <utility>

RegValue RegValue::FromText(std::string text) {
  RegValue value;
  value.state_ = State::Text;
  value.text_ = std::move(text);
  return value;
}

RegValue RegValue::FromInteger(std::int32_t integer) {
  RegValue value;
  value.state_ = State::Integer;
  value.integer_ = integer;
  return value;
}

std::string RegValue::ToDisplayText() const {
  switch (state_) {
    case State::Text:
      return text_;
    case State::Integer:
      return std::to_string(integer_);
    case State::Empty:
      break;
  }
  return std::string();
}

bool RegValue::operator==(const RegValue& other) const {
  if (state_ != other.state_) return false;
  if (state_ == State::Text) return text_ == other.text_;
  if (state_ == State::Integer) return integer_ == other.integer_;
  return true;
}
