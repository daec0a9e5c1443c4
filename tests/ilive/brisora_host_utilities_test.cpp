// dispose, keepScreenOn and killProcess, read back through the SDK and Win32 stand-ins.
#include "brisora_session.h"
#ifndef _WIN32
#include "win32_standin.h"
#endif

namespace brisora_test {
namespace {

using BrisoraHost = BrisoraSession;

TEST_F(BrisoraHost, DisposeReleasesTheSdkEveryTime) {
  EXPECT_EQ(call("dispose"), kTrue);
  ilive::standin::setAnswer("releaseSdk", answer(-1));
  EXPECT_EQ(call("dispose"), kTrue);
  EXPECT_THAT(sdkCalls(), ElementsAre("releaseSdk(null, null, null)", "releaseSdk(null, null, null)"));
}

TEST_F(BrisoraHost, KeepScreenOnSwitchesScreenSaverAndExecutionState) {
#ifdef _WIN32
  GTEST_SKIP() << "the system calls are read back through the Win32 stand-in only";
#else
  win32::resetRecords();
  EXPECT_EQ(call("keepScreenOn", {true}), kNull);
  EXPECT_EQ(call("keepScreenOn", {true}), kNull);
  EXPECT_FALSE(win32::screenSaverActive());
  EXPECT_EQ(call("keepScreenOn", {false}), kNull);
  EXPECT_TRUE(win32::screenSaverActive());
  EXPECT_EQ(win32::executionState(), 0x80000000u);
  EXPECT_THAT(win32::executionStateCalls(), ElementsAre(0x80000003u, 0x80000003u, 0x80000000u));
  const auto spi = win32::systemParametersCalls();
  ASSERT_EQ(spi.size(), 3u);
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(spi[i].action, 0x0011u);
    EXPECT_EQ(spi[i].uiParam, i == 2 ? 1u : 0u);
    EXPECT_EQ(spi[i].pvParam, nullptr);
    EXPECT_EQ(spi[i].winIni, 0u);
  }
#endif
}

TEST_F(BrisoraHost, KillProcessEndsTheProcessWithExitCodeZero) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        call("killProcess");
        std::_Exit(3);  // only if the process survived
      },
      testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace brisora_test
