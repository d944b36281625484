// The result of a registry read and how it is shown, and stored bytes as text and back.
#include "vocabulary/reg_value.h"

#include <utility>

#include "platform/platform.h"
#include "text/utf16.h"

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

bool IsTextType(std::uint32_t type) {
  return type == platform::kRegSz || type == platform::kRegExpandSz;
}

std::string TextUpToNul(const std::string& bytes) {
  std::string text = Utf16LeToUtf8(bytes.substr(0, bytes.size() / 2 * 2));
  return text.substr(0, text.find('\0'));
}

std::string StringValueBytes(const std::string& text) {
  return Utf8ToUtf16Le(text) + std::string(2, '\0');
}

RegValue RegValueFromStored(std::uint32_t type, const std::string& bytes) {
  if (IsTextType(type)) return bytes.empty() ? RegValue() : RegValue::FromText(TextUpToNul(bytes));
  // A REG_DWORD longer than 4 bytes is not a number the window can show.
  if (type != platform::kRegDword || bytes.size() > 4) return RegValue();
  std::uint32_t data = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i)
    data |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i])) << (8 * i);
  return RegValue::FromInteger(static_cast<std::int32_t>(data));
}
