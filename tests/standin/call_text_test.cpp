// The text forms of arguments in the stand-ins' call logs.
#include <gtest/gtest.h>

#include <string>

#include "standin_common/call_text.h"

namespace {

using namespace standin_common;

TEST(StandinCallText, QuotedTextsEscapeWhatWouldBreakALogLine) {
  EXPECT_EQ(quote(std::string("a\"b\\c\n\r\t")), "\"a\\\"b\\\\c\\n\\r\\t\"");
  // Other control bytes and DEL in hex; bytes from 0x80 kept; an embedded zero kept.
  EXPECT_EQ(quote(std::string("\x01\x7f\xc3\xa9", 4)), "\"\\x01\\x7f\xc3\xa9\"");
  EXPECT_EQ(quote(std::string("x\0y", 3)), "\"x\\x00y\"");
  EXPECT_EQ(quote(static_cast<const char*>(nullptr)), "null");
  EXPECT_EQ(quote(""), "\"\"");
}

TEST(StandinCallText, PointersAndBuffersShowOnlyWhetherTheyAreSet) {
  int x = 0;
  EXPECT_EQ(bytesText(&x, 5000000000ull), "<5000000000 bytes>");
  EXPECT_EQ(bytesText(nullptr, 4), "null");
  EXPECT_EQ(pointerText(&x, "onSuccess"), "onSuccess");
  EXPECT_EQ(pointerText(nullptr, "onSuccess"), "null");
  EXPECT_EQ(boolText(true) + boolText(false), "truefalse");
}

}  // namespace
