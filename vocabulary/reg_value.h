// The result of a registry read (Empty, Text or Integer), and the one codec of stored values: which are text,
// how their bytes become text and text their bytes.
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

// REG_SZ and REG_EXPAND_SZ, the types of a path.
bool IsTextType(std::uint32_t type);

// A text value's characters up to its first NUL, which is as far as the shell and the registry editor read it
// (usually its terminator); an unterminated value loses nothing, and a stray odd byte is no character.
std::string TextUpToNul(const std::string& bytes);

// A REG_SZ or REG_EXPAND_SZ value's bytes: the text in UTF-16LE and its terminator.
std::string StringValueBytes(const std::string& text);

// How stored data is shown: a text value as TextUpToNul (none when the data has no bytes at all), a REG_DWORD of
// at most 4 bytes as its number; anything else is Empty.
RegValue RegValueFromStored(std::uint32_t type, const std::string& bytes);
