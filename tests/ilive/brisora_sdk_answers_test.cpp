// What ActionScript is answered when an SDK call throws, for the functions
// whose answer is null then: listings, system-sound capture, skin grades,
// recording, start-up, login and logout, rooms, release. A throw stops the
// function where it happened: no later SDK call is made, no event follows.
#include "brisora_session.h"

namespace brisora_test {
namespace {

using BrisoraSdkAnswers = BrisoraSession;

// True when no logged call starts with the prefix.
bool noCallStartsWith(const std::vector<std::string>& calls, const std::string& prefix) {
  for (const std::string& c : calls)
    if (c.rfind(prefix, 0) == 0) return false;
  return true;
}

TEST_F(BrisoraSdkAnswers, AListingThatThrowsEndsTheCallWithNullAndOpensNothing) {
  SKIP_WITHOUT_SDK_EXCEPTIONS();
  struct Case {
    const char* listing;
    std::vector<const char*> functions;
  };
  const Case cases[] = {
      {"getCameraList", {"getCameraNames", "openCamera"}},
      {"getMicList", {"getMicNames", "openMic"}},
      {"getSpeakerList", {"getSpeakerNames", "openSpeaker"}},
      {"getWindowList", {"getScreenShareNames", "openScreenShare"}},
  };
  for (const Case& c : cases) {
    standin::setAnswer(c.listing, throws());
    for (const char* f : c.functions) EXPECT_EQ(call(f, {int32_t(0), 15u}), kNull) << f;
  }
  EXPECT_TRUE(noCallStartsWith(sdkCalls(), "open"));
  // A listing that answers stays as it was: openCamera's refusal is false, the others' null.
  standin::setAnswer("getCameraList", answer(1));
  EXPECT_EQ(call("openCamera", {int32_t(0)}), kFalse);
  standin::setAnswer("getMicList", answer(0, {"Mic"}, {}, {"m0"}));
  EXPECT_EQ(call("getMicNames"), text("Mic"));
  EXPECT_TRUE(events().empty());
}

TEST_F(BrisoraSdkAnswers, SettingsThatThrowEndTheCallWithNull) {
  struct Case {
    const char* function;
    std::vector<air::Value> args;
    const char* op;        // the SDK call that throws
    air::Value answered;  // the answer when it does not
  };
  const Case cases[] = {
      {"openSystemVoiceInput", {text("C:\\player.exe")}, "openSystemVoiceInput", kTrue},
      {"closeSystemVoiceInput", {}, "closeSystemVoiceInput", kNull},
      {"setSkinSmoothGrade", {int32_t(5)}, "setSkinSmoothGrade", kTrue},
      {"setSkinWhitenessGrade", {int32_t(5)}, "setSkinWhitenessGrade", kTrue},
      {"stopLocalRecord", {}, "stopLocalRecord", kTrue},
      {"setLogPath", {text("C:\\logs")}, "setLogPath", kTrue},
      {"getSdkVersion", {}, "getVersion", text("1.9.0.0")},
      {"setChannelMode", {1u, text("x")}, "setChannelMode", kTrue},
      {"iLiveLoginOut", {}, "logout", kNull},
      {"iLiveLoginWithSpear", {text("u1"), text("s"), int32_t(0), text("")}, "loginWithSpear", kTrue},
      {"dispose", {}, "releaseSdk", kTrue},
  };
  standin::Answer version;
  version.text = "1.9.0.0";
  standin::setAnswer("getVersion", version);
  for (const Case& c : cases) EXPECT_EQ(call(c.function, c.args), c.answered) << c.function;
  // Refusals are false, not null.
  standin::setAnswer("setSkinSmoothGrade", answer(-1));
  EXPECT_EQ(call("setSkinSmoothGrade", {int32_t(5)}), kFalse);
  standin::setAnswer("setLogPath", answer(0));
  EXPECT_EQ(call("setLogPath", {text("C:\\logs")}), kFalse);
  if (!kSdkThrowsReachBrisora) return;
  for (const Case& c : cases) {
    standin::setAnswer(c.op, throws());
    EXPECT_EQ(call(c.function, c.args), kNull) << c.function;
  }
  EXPECT_TRUE(events().empty());
}

// Start-up prepares its handlers and the colour format, then starts the SDK:
// a throw while preparing ends the call with null before the SDK is started;
// a throw while starting answers false.
TEST_F(BrisoraSdkAnswers, StartUpThatThrowsWhilePreparingEndsWithNullAndStartsNothing) {
  SKIP_WITHOUT_SDK_EXCEPTIONS();
  for (const char* op : {"setForceOfflineHandler", "setRemoteVideoHandler", "setVideoColorFormat"}) {
    standin::reset();
    standin::setAnswer(op, throws());
    EXPECT_EQ(call("initILiveSdk", {1400, 0, 0, 0}), kNull) << op;
    const std::vector<std::string> calls = sdkCalls();
    ASSERT_FALSE(calls.empty()) << op;
    EXPECT_EQ(0u, calls.back().rfind(op, 0)) << "the SDK was asked again after " << op << " threw";
    EXPECT_TRUE(noCallStartsWith(calls, "init(")) << op;
  }
}

TEST_F(BrisoraSdkAnswers, EnteringARoomStopsAtTheStepThatThrowsAndRaisesNothing) {
  SKIP_WITHOUT_SDK_EXCEPTIONS();
  for (const char* function : {"createRoom", "joinRoom"}) {
    standin::setAnswer("setDeviceOperationHandler", throws());
    EXPECT_EQ(call(function, {1u, text("r"), text(""), false, false, false}), kNull) << function;
    EXPECT_THAT(sdkCalls(), ElementsAre("setLocalVideoHandler(localVideo, ptr)",
                                        "setDeviceOperationHandler(deviceOperation, ptr)"))
        << function;
    standin::setAnswer("setDeviceOperationHandler", answer(0));
  }
  EXPECT_TRUE(events().empty());
}

}  // namespace
}  // namespace brisora_test
