// The SDK boundary's own values and the stand-in's checks: what the tests of
// Brisora rely on to catch allocator misuse and leaks.
#include <gtest/gtest.h>

#include <cstdlib>

#include "ilive_standin/standin.h"

namespace {

using ilive::SdkString;
using ilive::SdkVector;
namespace standin = ilive::standin;

TEST(BrisoraStandIn, AllocatorCountsWrongAndDoubleFreesWithoutTouchingTheHeap) {
  const standin::AllocStats before = standin::allocStats();
  void* block = iliveMalloc(16);
  iliveFree(block);
  iliveFree(block);  // double free: counted, not passed on
  void* foreign = std::malloc(16);
  iliveFree(foreign);  // not ours: counted, left alone
  std::free(foreign);
  const standin::AllocStats after = standin::allocStats();
  EXPECT_EQ(before.doubleFrees + 1, after.doubleFrees);
  EXPECT_EQ(before.wrongFrees + 1, after.wrongFrees);
  EXPECT_EQ(before.live, after.live);
}

TEST(BrisoraStandIn, TextsShareStorageAndTheEmptyTextAllocatesNothing) {
  const uint64_t live = standin::allocStats().live;
  {
    SdkString empty, alsoEmpty(""), fromNull(nullptr);
    EXPECT_TRUE(empty.isSharedEmpty() && alsoEmpty.isSharedEmpty() && fromNull.isSharedEmpty());
    EXPECT_EQ(live, standin::allocStats().live);

    SdkString a("abc");
    SdkString b = a;  // shared
    EXPECT_EQ(a.c_str(), b.c_str());
    b.append("def");  // shared storage is never written: b gets its own
    EXPECT_STREQ("abc", a.c_str());
    EXPECT_STREQ("abcdef", b.c_str());
    EXPECT_EQ(32u, b.capacity());  // at least 32 characters
    b.append(std::string(40, 'x').c_str());
    EXPECT_EQ(46u, b.capacity());  // exactly the new length

    const SdkString longLine = SdkString::format("%s:%0300d", "n", 7);
    EXPECT_EQ(302u, longLine.size());
    EXPECT_EQ(std::string("n:") + std::string(299, '0') + "7", longLine.c_str());
    const SdkString withZero("a\0b", 3);
    EXPECT_EQ(3u, withZero.size());
  }
  EXPECT_EQ(live, standin::allocStats().live);
}

TEST(BrisoraStandIn, VectorsGrowAndFreeTheirElements) {
  const uint64_t live = standin::allocStats().live;
  {
    SdkVector<ilive::DeviceInfo> list;
    for (int i = 0; i < 10; ++i) list.push_back({SdkString("id"), SdkString(std::to_string(i).c_str())});
    ASSERT_EQ(10u, list.size());
    EXPECT_STREQ("9", list[9].second.c_str());
    SdkVector<ilive::DeviceInfo> copy = list;
    list.release();
    EXPECT_EQ(0u, list.size());
    EXPECT_STREQ("3", copy[3].second.c_str());
  }
  EXPECT_EQ(live, standin::allocStats().live);
}

TEST(BrisoraStandIn, CommandsRefuseWhatTheyCannotDo) {
  standin::reset();
  std::string error;
  EXPECT_FALSE(standin::command("fly away", &error));
  EXPECT_NE(std::string::npos, error.find("unknown"));
  EXPECT_FALSE(standin::command("frame remote \"u1\" 64by48", &error));
  EXPECT_FALSE(standin::command("answer getVersion text=\"open", &error));
  EXPECT_FALSE(standin::command("login-result ok", &error));  // no login pending
  EXPECT_FALSE(standin::command("member 3 \"u1\"", &error));  // no handler installed
  EXPECT_NE(std::string::npos, error.find("handler"));
  EXPECT_TRUE(standin::command("answer GetCameraList code=0 list=\"Cam A\",\"Cam \\\"B\\\"\"", &error)) << error;
  SdkVector<ilive::DeviceInfo> cams;
  EXPECT_EQ(0, GetILive()->getCameraList(cams));
  ASSERT_EQ(2u, cams.size());
  EXPECT_STREQ("Cam \"B\"", cams[1].second.c_str());
  EXPECT_EQ((std::vector<std::string>{"getCameraList(list)"}), standin::takeCalls());
  if (standin::exceptionsCrossModules()) {
    EXPECT_TRUE(standin::command("throw getCameraList", &error));
    EXPECT_THROW(GetILive()->getCameraList(cams), std::exception);
  }
  standin::reset();
}

}  // namespace
