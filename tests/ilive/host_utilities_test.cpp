// dispose, keepScreenOn and killProcess, read back through the SDK and Win32 stand-ins.
#include <string>
#include <vector>

#include "brisora_b_fixture.h"
#include "win32_standin.h"

namespace brisora_b_test {
namespace {

using ::testing::ElementsAre;
namespace standin = ilive::standin;

using BrisoraHost = BrisoraSession;

TEST_F(BrisoraHost, DisposeReleasesTheSdkEveryTimeWhateverItAnswers) {
  login("me");
  calls();
  EXPECT_TRUE(isTrue(call("dispose")));
  EXPECT_TRUE(isTrue(call("dispose")));
  EXPECT_THAT(calls(), ElementsAre("releaseSdk(null, null, null)", "releaseSdk(null, null, null)"));
  standin::setAnswer("releaseSdk", code(-1));
  EXPECT_TRUE(isTrue(call("dispose")));
  EXPECT_TRUE(events().empty());
}

TEST_F(BrisoraHost, KeepScreenOnSwitchesScreenSaverAndExecutionState) {
  win32::resetRecords();
  EXPECT_TRUE(isNull(call("keepScreenOn", {true})));
  EXPECT_FALSE(win32::screenSaverActive());
  EXPECT_EQ(win32::executionState(), 0x80000003u);
  EXPECT_TRUE(isNull(call("keepScreenOn", {true})));
  EXPECT_TRUE(isNull(call("keepScreenOn", {false})));
  EXPECT_TRUE(win32::screenSaverActive());
  EXPECT_EQ(win32::executionState(), 0x80000000u);

  const auto spi = win32::systemParametersCalls();
  ASSERT_EQ(spi.size(), 3u);
  const UINT uiParams[] = {0, 0, 1};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(spi[i].action, 0x0011u);
    EXPECT_EQ(spi[i].uiParam, uiParams[i]);
    EXPECT_EQ(spi[i].pvParam, nullptr);
    EXPECT_EQ(spi[i].winIni, 0u);
  }
  EXPECT_THAT(win32::executionStateCalls(), ElementsAre(0x80000003u, 0x80000003u, 0x80000000u));
  EXPECT_TRUE(win32::terminateCalls().empty());
  win32::resetRecords();
  call("keepScreenOn");  // a missing argument reads as false
  EXPECT_THAT(win32::executionStateCalls(), ElementsAre(0x80000000u));
}

TEST_F(BrisoraHost, KillProcessEndsTheProcessWithExitCodeZero) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        call("killProcess");
        std::_Exit(3);  // reached only if the process survived
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace brisora_b_test
