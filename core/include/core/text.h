// Text conversions between UTF-8, the ANSI code page, UTF-16 and code page 936,
// and the decimal and level texts of events.
//
// Wide text: on Windows wchar_t is a UTF-16 code unit. Elsewhere wchar_t is 32
// bits wide, and a std::wstring still holds one UTF-16 code unit per element
// (a character outside the BMP is two elements, a surrogate pair), so lengths
// and conversions match Windows exactly.
#pragma once

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
// UTF-8 to the ANSI code page.
std::string utf8ToAnsi(const std::string& utf8);
// The text with every invalid UTF-8 sequence replaced by U+FFFD.
std::string validUtf8(const std::string& text);

std::string uintToString(uint32_t value);
std::string intToString(int32_t value);

// Event level fields joined by "||".
std::string joinLevel(std::initializer_list<std::string> fields);

}  // namespace core
