#include <gtest/gtest.h>

#include <string>

#include "win32_standin.h"
#include "windows.h"

namespace {

// Wide text as UTF-16 code units, compared element by element.
std::u16string units(const std::wstring& w) {
  std::u16string out;
  for (wchar_t c : w) out.push_back(static_cast<char16_t>(c));
  return out;
}

std::wstring toWide(UINT cp, const std::string& s, DWORD flags = 0) {
  const int n = MultiByteToWideChar(cp, flags, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring w(static_cast<size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) {
    EXPECT_EQ(n, MultiByteToWideChar(cp, flags, s.data(), static_cast<int>(s.size()), &w[0], n));
  }
  return w;
}

std::string fromWide(UINT cp, const std::wstring& w, BOOL* usedDefault = nullptr) {
  const int n = WideCharToMultiByte(cp, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, usedDefault);
  std::string s(static_cast<size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) {
    EXPECT_EQ(n, WideCharToMultiByte(cp, 0, w.data(), static_cast<int>(w.size()), &s[0], n, nullptr, usedDefault));
  }
  return s;
}

class Win32CodePage : public ::testing::Test {
 protected:
  void TearDown() override { win32::setAnsiCodePage(1252); }
};

TEST_F(Win32CodePage, LengthQueriesCountTheTerminatorOnlyForMinusOne) {
  EXPECT_EQ(4, MultiByteToWideChar(CP_UTF8, 0, "abc", -1, nullptr, 0));
  EXPECT_EQ(3, MultiByteToWideChar(CP_UTF8, 0, "abc", 3, nullptr, 0));
  wchar_t buf[4] = {1, 1, 1, 1};
  EXPECT_EQ(4, MultiByteToWideChar(CP_UTF8, 0, "abc", -1, buf, 4));
  EXPECT_EQ(0, buf[3]);
  const wchar_t wide[] = {L'a', 0x00E9, 0};
  EXPECT_EQ(4, WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr));
  char out[4];
  EXPECT_EQ(4, WideCharToMultiByte(CP_UTF8, 0, wide, -1, out, 4, nullptr, nullptr));
  EXPECT_EQ(std::string("a\xC3\xA9\0", 4), std::string(out, 4));
}

TEST_F(Win32CodePage, RefusesShortBuffersAndEmptyInput) {
  wchar_t w[2];
  char b[2];
  EXPECT_EQ(0, MultiByteToWideChar(CP_UTF8, 0, "abc", 3, w, 2));
  EXPECT_EQ(ERROR_INSUFFICIENT_BUFFER, GetLastError());
  EXPECT_EQ(0, WideCharToMultiByte(936, 0, L"abc", 3, b, 2, nullptr, nullptr));
  EXPECT_EQ(ERROR_INSUFFICIENT_BUFFER, GetLastError());
  EXPECT_EQ(0, MultiByteToWideChar(CP_UTF8, 0, "abc", 0, nullptr, 0));
  EXPECT_EQ(ERROR_INVALID_PARAMETER, GetLastError());
}

TEST_F(Win32CodePage, InvalidUtf8BecomesReplacementCharacters) {
  // Each maximal ill-formed subpart is one U+FFFD, as Windows does with flags 0.
  EXPECT_EQ(u"a\uFFFDb", units(toWide(CP_UTF8, "a\xE2\x82" "b")));         // truncated sequence
  EXPECT_EQ(u"\uFFFD\uFFFD", units(toWide(CP_UTF8, "\xC0\x80")));           // overlong
  EXPECT_EQ(u"\uFFFD\uFFFD\uFFFD", units(toWide(CP_UTF8, "\xED\xA0\x80")));  // encoded surrogate
  EXPECT_EQ(u"\uFFFD", units(toWide(CP_UTF8, "\xFF")));
  EXPECT_EQ(u"x\uFFFD", units(toWide(CP_UTF8, "x\xF0\x9F\x98")));
  SetLastError(0);
  EXPECT_EQ(0, MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, "\xFF", 1, nullptr, 0));
  EXPECT_EQ(ERROR_NO_UNICODE_TRANSLATION, GetLastError());
}

TEST_F(Win32CodePage, CharactersBeyondTheBmpAreSurrogatePairs) {
  const std::wstring w = toWide(CP_UTF8, "\xF0\x9F\x98\x80");  // U+1F600
  EXPECT_EQ(u"\xD83D\xDE00", units(w));
  EXPECT_EQ("\xF0\x9F\x98\x80", fromWide(CP_UTF8, w));
  // A lone surrogate cannot be UTF-8: U+FFFD, or a failure when asked to be strict.
  const wchar_t lone[] = {L'a', 0xD800, L'b'};
  EXPECT_EQ("a\xEF\xBF\xBD" "b", fromWide(CP_UTF8, std::wstring(lone, 3)));
  EXPECT_EQ(0, WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, lone, 3, nullptr, 0, nullptr, nullptr));
  EXPECT_EQ(ERROR_NO_UNICODE_TRANSLATION, GetLastError());
}

TEST_F(Win32CodePage, CodePage936BothWays) {
  const std::string gbk = "\xD4\xD8\xC8\xEB";  // 载入
  EXPECT_EQ(u"\u8F7D\u5165", units(toWide(936, gbk)));
  EXPECT_EQ(gbk, fromWide(936, toWide(CP_UTF8, "\xE8\xBD\xBD\xE5\x85\xA5")));
  // A lead byte without its trail byte decodes to '?'; with a trail byte that
  // makes no character, the pair is one '?'.
  EXPECT_EQ(u"a?", units(toWide(936, "a\xD4")));
  EXPECT_EQ(u"?b", units(toWide(936, "\x81\x30" "b")));
  // A character 936 lacks becomes the default character, once per UTF-16
  // unit, and the caller is told.
  BOOL used = FALSE;
  const wchar_t emojiPair[] = {0xD83D, 0xDE00, L'x'};
  EXPECT_EQ("??x", fromWide(936, std::wstring(emojiPair, 3), &used));
  EXPECT_TRUE(used);
  EXPECT_EQ("ok", fromWide(936, L"ok", &used));
  EXPECT_FALSE(used);
}

TEST_F(Win32CodePage, AnsiCodePageFollowsTheSelectedWindows) {
  EXPECT_EQ(1252u, GetACP());
  EXPECT_EQ(u"\u20AC\u00E9\u0081", units(toWide(CP_ACP, "\x80\xE9\x81")));
  EXPECT_EQ("\x80\xE9", fromWide(CP_ACP, L"\u20AC\u00E9"));
  win32::setAnsiCodePage(936);
  EXPECT_EQ(936u, GetACP());
  EXPECT_EQ(u"\u8F7D\u5165", units(toWide(CP_ACP, "\xD4\xD8\xC8\xEB")));
}

}  // namespace
