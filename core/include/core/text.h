// Text conversions between UTF-8, the ANSI code page, UTF-16 and code page 936,
// and the decimal and level texts of events.
//
// Wide text: on Windows wchar_t is a UTF-16 code unit. Elsewhere wchar_t is 32
// bits wide, and a std::wstring still holds one UTF-16 code unit per element
// (a character outside the BMP is two elements, a surrogate pair), so lengths
// and conversions match Windows exactly.
#pragma once

#include <charconv>
#include <cstdint>
#include <initializer_list>
#include <string>

namespace core {

std::string ansiToUtf8(const std::string& ansi);
std::wstring utf8ToWide(const std::string& utf8);
// UTF-16 to code page 936 bytes, without touching the process locale.
std::string wideToLocal(const std::wstring& wide);
// Code page 936 bytes to UTF-8, and back (the console's form of a UTF-8 text).
std::string localToUtf8(const std::string& gbk);
std::string utf8ToLocal(const std::string& utf8);
// The same for a zero-terminated text, as SDKs hand them; null reads as empty.
std::string utf8ToLocal(const char* utf8);
// UTF-8 to the ANSI code page.
std::string utf8ToAnsi(const std::string& utf8);
// The text with every invalid UTF-8 sequence replaced by U+FFFD.
std::string validUtf8(const std::string& text);

std::string uintToString(uint32_t value);
std::string intToString(int32_t value);

// The level text of an event: fields separated by "||", numbers in decimal
// (no grouping, whatever the locale). Builds into a text the caller keeps, so
// a thread that reuses its text allocates nothing once the text has grown.
class LevelBuilder {
 public:
  explicit LevelBuilder(std::string& text) : text_(text) { text_.clear(); }
  LevelBuilder& field(const std::string& s) {
    separate();
    text_ += s;
    return *this;
  }
  LevelBuilder& field(const char* s) {
    separate();
    text_ += s;
    return *this;
  }
  template <class Int>
  LevelBuilder& number(Int v) {
    separate();
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, v).ptr;
    text_.append(digits, end);
    return *this;
  }
  const std::string& text() const { return text_; }

 private:
  void separate() {
    if (!first_) text_ += "||";
    first_ = false;
  }
  std::string& text_;
  bool first_ = true;
};

// Text fields joined into a new level text (through LevelBuilder).
std::string joinLevel(std::initializer_list<std::string> fields);

}  // namespace core
