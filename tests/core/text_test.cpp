#include <gtest/gtest.h>

#include <clocale>
#include <cstdint>
#include <string>

#include "core/text.h"
#include "code_page.h"

namespace {

class CoreText : public ::testing::Test {
 protected:
  void TearDown() override { ane_test::useAnsiCodePage(1252); }
};

// "麦克风 (Realtek)" as a Chinese Windows reports a device name: GBK bytes.
const std::string kGbkDeviceName = "\xC2\xF3\xBF\xCB\xB7\xE7 (Realtek)";

TEST_F(CoreText, AnsiDeviceNamesBecomeUtf8ForTheSystemCodePage) {
  if (ane_test::useAnsiCodePage(936)) {
    EXPECT_EQ("\xE9\xBA\xA6\xE5\x85\x8B\xE9\xA3\x8E (Realtek)", core::ansiToUtf8(kGbkDeviceName));
  }
  // The same bytes on a Western Windows are six Latin-1 letters: Â ó ¿ Ë · ç.
  if (ane_test::useAnsiCodePage(1252)) {
    EXPECT_EQ("\xC3\x82\xC3\xB3\xC2\xBF\xC3\x8B\xC2\xB7\xC3\xA7 (Realtek)", core::ansiToUtf8(kGbkDeviceName));
  }
  EXPECT_EQ("", core::ansiToUtf8(""));
}

TEST_F(CoreText, AnsiTextEndsAtItsFirstZeroByte) {
  EXPECT_EQ("Mic", core::ansiToUtf8(std::string("Mic\0hidden", 10)));
  EXPECT_EQ("", core::ansiToUtf8(std::string("\0abc", 4)));
}

TEST_F(CoreText, WideToLocalGivesCodePage936WithoutTouchingTheLocale) {
  const std::string before = std::setlocale(LC_ALL, nullptr);
  EXPECT_EQ("\xD4\xD8\xC8\xEB", core::wideToLocal(L"\u8F7D\u5165"));  // 载入, all four bytes
  EXPECT_EQ("abc \xD6\xD0\xCE\xC4", core::wideToLocal(L"abc \u4E2D\u6587"));
  EXPECT_EQ("", core::wideToLocal(L""));
  EXPECT_EQ(before, std::setlocale(LC_ALL, nullptr));
  // Round trip back to UTF-8 from code page 936.
  EXPECT_EQ("\xE8\xBD\xBD\xE5\x85\xA5", core::localToUtf8("\xD4\xD8\xC8\xEB"));
  // And from UTF-8 to code page 936; the text ends at its first zero byte.
  EXPECT_EQ("\xD4\xD8\xC8\xEB", core::utf8ToLocal(std::string("\xE8\xBD\xBD\xE5\x85\xA5\0tail", 11)));
}

TEST_F(CoreText, Utf8ToWideHoldsUtf16CodeUnits) {
  const std::wstring w = core::utf8ToWide("a\xE4\xB8\xAD\xF0\x9F\x98\x80");  // a 中 U+1F600
  ASSERT_EQ(4u, w.size());
  EXPECT_EQ(L'a', w[0]);
  EXPECT_EQ(0x4E2Du, static_cast<uint32_t>(w[1]));
  EXPECT_EQ(0xD83Du, static_cast<uint32_t>(w[2]));
  EXPECT_EQ(0xDE00u, static_cast<uint32_t>(w[3]));
  EXPECT_EQ(L"", core::utf8ToWide(""));
  EXPECT_EQ(L"ab", core::utf8ToWide(std::string("ab\0cd", 5)));
}

TEST_F(CoreText, InvalidUtf8IsRepairedAndAnsiOutputFollowsTheCodePage) {
  EXPECT_EQ("ok\xEF\xBF\xBDz", core::validUtf8("ok\xFFz"));
  EXPECT_EQ("\xE4\xB8\xAD", core::validUtf8("\xE4\xB8\xAD"));
  EXPECT_EQ(std::string("a\0b", 3), core::validUtf8(std::string("a\0b", 3)));
  if (ane_test::useAnsiCodePage(936)) {
    EXPECT_EQ("\xD6\xD0", core::utf8ToAnsi("\xE4\xB8\xAD"));
  }
  if (ane_test::useAnsiCodePage(1252)) {
    EXPECT_EQ("\xE9?", core::utf8ToAnsi("\xC3\xA9\xE4\xB8\xAD"));
  }
}

TEST_F(CoreText, NumbersAndLevels) {
  EXPECT_EQ("4294967295", core::uintToString(UINT32_MAX));
  EXPECT_EQ("-2147483648", core::intToString(INT32_MIN));
  EXPECT_EQ("u1||640||480", core::joinLevel({"u1", "640", "480"}));
}

// One builder for every level: reused from event to event it starts afresh,
// keeps empty fields and embedded zero bytes, and writes extreme numbers whole.
TEST_F(CoreText, LevelBuilderStartsAfreshAndKeepsEveryField) {
  std::string level = "old";
  core::LevelBuilder(level).field("rtc").field("").number(INT32_MIN);
  EXPECT_EQ("rtc||||-2147483648", level);
  core::LevelBuilder(level).number(UINT32_MAX).number(int64_t{-1}).field(std::string("a\0b", 3));
  EXPECT_EQ(std::string("4294967295||-1||a\0b", 19), level);
  EXPECT_EQ("", core::joinLevel({}));
  EXPECT_EQ("||", core::joinLevel({"", ""}));
}

// SDK texts come zero-terminated, sometimes null: null reads as empty.
TEST_F(CoreText, ZeroTerminatedUtf8ForTheConsole) {
  EXPECT_EQ("", core::utf8ToLocal(static_cast<const char*>(nullptr)));
  EXPECT_EQ("\xD6\xD0u1", core::utf8ToLocal("\xE4\xB8\xADu1"));
}

}  // namespace
