// Text conversions through the Win32 code-page calls (the Win32 stand-in on
// other systems), so that every conversion gives the bytes Windows gives.
#include "core/text.h"

#include <cstring>
#include <string>

#include "windows.h"

namespace core {

namespace {

// Converts n bytes of code page `codePage` to wide text; empty on failure.
std::wstring toWide(UINT codePage, const char* text, size_t n) {
  if (n == 0 || n > 0x7FFFFFFF) return std::wstring();
  const int count = MultiByteToWideChar(codePage, 0, text, static_cast<int>(n), nullptr, 0);
  if (count <= 0) return std::wstring();
  std::wstring wide(static_cast<size_t>(count), L'\0');
  if (MultiByteToWideChar(codePage, 0, text, static_cast<int>(n), &wide[0], count) != count) return std::wstring();
  return wide;
}

// Converts n wide elements to code page `codePage`; empty on failure.
std::string fromWide(UINT codePage, const wchar_t* wide, size_t n) {
  if (n == 0 || n > 0x7FFFFFFF) return std::string();
  const int count = WideCharToMultiByte(codePage, 0, wide, static_cast<int>(n), nullptr, 0, nullptr, nullptr);
  if (count <= 0) return std::string();
  std::string text(static_cast<size_t>(count), '\0');
  if (WideCharToMultiByte(codePage, 0, wide, static_cast<int>(n), &text[0], count, nullptr, nullptr) != count) {
    return std::string();
  }
  return text;
}

// The text up to its first zero.
template <class String>
String untilZero(String s) {
  const size_t zero = s.find(typename String::value_type(0));
  if (zero != String::npos) s.resize(zero);
  return s;
}

}  // namespace

// ANSI text ends at its first zero byte, as a C string would.
std::string ansiToUtf8(const std::string& ansi) {
  const std::string text = untilZero(ansi);
  const std::wstring wide = toWide(CP_ACP, text.data(), text.size());
  return fromWide(CP_UTF8, wide.data(), wide.size());
}

std::wstring utf8ToWide(const std::string& utf8) { return untilZero(toWide(CP_UTF8, utf8.data(), utf8.size())); }

// Code page 936 through the code-page call: the process locale is never
// switched, so other threads are not disturbed. Characters that 936 lacks
// become '?'.
std::string wideToLocal(const std::wstring& wide) {
  const std::wstring text = untilZero(wide);
  return fromWide(936, text.data(), text.size());
}

std::string localToUtf8(const std::string& gbk) {
  const std::string text = untilZero(gbk);
  const std::wstring wide = toWide(936, text.data(), text.size());
  return fromWide(CP_UTF8, wide.data(), wide.size());
}

std::string utf8ToLocal(const std::string& utf8) { return wideToLocal(utf8ToWide(utf8)); }

std::string utf8ToAnsi(const std::string& utf8) {
  const std::wstring wide = untilZero(toWide(CP_UTF8, utf8.data(), utf8.size()));
  return fromWide(CP_ACP, wide.data(), wide.size());
}

namespace {

// True when text is well-formed UTF-8 (no overlong forms, surrogates, values
// past U+10FFFF or cut sequences): the texts the conversion keeps as they are.
bool wellFormedUtf8(const std::string& text) {
  const auto* s = reinterpret_cast<const unsigned char*>(text.data());
  const size_t n = text.size();
  size_t i = 0;
  while (i < n) {
    const unsigned char b = s[i];
    if (b < 0x80) {
      ++i;
      continue;
    }
    size_t need = 0;
    unsigned char lo = 0x80, hi = 0xBF;
    if (b >= 0xC2 && b <= 0xDF) {
      need = 1;
    } else if (b >= 0xE0 && b <= 0xEF) {
      need = 2;
      if (b == 0xE0) lo = 0xA0;
      if (b == 0xED) hi = 0x9F;
    } else if (b >= 0xF0 && b <= 0xF4) {
      need = 3;
      if (b == 0xF0) lo = 0x90;
      if (b == 0xF4) hi = 0x8F;
    } else {
      return false;
    }
    if (n - i <= need) return false;
    if (s[i + 1] < lo || s[i + 1] > hi) return false;
    for (size_t k = 2; k <= need; ++k)
      if (s[i + k] < 0x80 || s[i + k] > 0xBF) return false;
    i += need + 1;
  }
  return true;
}

}  // namespace

std::string utf8ToLocal(const char* utf8) { return utf8ToLocal(std::string(utf8 ? utf8 : "")); }

// Embedded zero bytes are valid UTF-8 and are kept. Well-formed text is
// returned as it is (the conversion would give the same bytes).
std::string validUtf8(const std::string& text) {
  if (wellFormedUtf8(text)) return text;
  const std::wstring wide = toWide(CP_UTF8, text.data(), text.size());
  return fromWide(CP_UTF8, wide.data(), wide.size());
}

// std::to_string never groups digits, whatever locale the host process set.
std::string uintToString(uint32_t value) { return std::to_string(value); }

std::string intToString(int32_t value) { return std::to_string(value); }

std::string joinLevel(std::initializer_list<std::string> fields) {
  std::string level;
  LevelBuilder builder(level);
  for (const std::string& field : fields) builder.field(field);
  return level;
}

}  // namespace core
