// Room and media controls and the SDK's logging functions: what reaches the
// SDK (records, mapped codes, null windows), what is refused before it, and
// the console lines with tracing on and off.
#include "tamvex_session.h"

namespace tamvex_test {
namespace {

class TamvexRoom : public TamvexSession {
 protected:
  void trace(bool on) {
    call("initTRTCSdk", {on});
    console();
    sdkCalls();
  }
};

TEST_F(TamvexRoom, EncoderResolutionsOutsideTheSetAreRefusedBeforeTheSdk) {
  EXPECT_EQ(call("setVideoEncoderParam", {101, 0, 15, 500}), air::Value(false));
  EXPECT_EQ(call("setVideoEncoderParam", {116, 0, 15, 500}), air::Value(false));
  EXPECT_EQ(call("setVideoEncoderParam", {}), air::Value(false));  // a missing resolution reads as 0
  EXPECT_EQ(call("enableSmallVideoStream", {true, 99, 0, 15, 100}), air::Value(false));
  EXPECT_EQ(call("setSubStreamEncoderParam", {105, 0, 10, 800}), air::Value(false));
  EXPECT_EQ(sdkCalls(), V{});

  EXPECT_EQ(call("setVideoEncoderParam", {100, 5, 15, 500}), air::Value(true));
  EXPECT_EQ(call("enableSmallVideoStream", {true, 114, 0, 30, 1200}), air::Value(true));
  EXPECT_EQ(call("setSubStreamEncoderParam", {112, -1, 10, 800}), air::Value(true));
  EXPECT_EQ(sdkCalls(), (V{"setVideoEncoderParam({100, 1, 15, 500})", "enableSmallVideoStream(true, {114, 0, 30, 1200})",
                        "setSubStreamEncoderParam({112, 1, 10, 800})"}));
}

TEST_F(TamvexRoom, RotationsAndStreamTypesOutsideTheirSetsAreRefused) {
  EXPECT_EQ(call("setVideoEncoderRotation", {0}), air::Value(false));
  EXPECT_EQ(call("setLocalViewRotation", {4}), air::Value(false));
  EXPECT_EQ(call("setRemoteViewRotation", {"u1", -1}), air::Value(false));
  EXPECT_EQ(call("setRemoteVideoStreamType", {"u1", 3}), air::Value(false));
  EXPECT_EQ(call("setPriorRemoteVideoStreamType", {-1}), air::Value(false));
  EXPECT_EQ(sdkCalls(), V{});

  EXPECT_EQ(call("setLocalViewRotation", {0}), air::Value(true));
  EXPECT_EQ(call("setLocalViewRotation", {"not a number"}), air::Value(true));  // reads as 0
  EXPECT_EQ(call("setVideoEncoderRotation", {3}), air::Value(true));
  EXPECT_EQ(call("setRemoteViewRotation", {"u1", 2}), air::Value(true));
  EXPECT_EQ(call("setRemoteVideoStreamType", {"u1", 1}), air::Value(true));
  EXPECT_EQ(call("setPriorRemoteVideoStreamType", {2}), air::Value(true));
  EXPECT_EQ(sdkCalls(), (V{"setLocalViewRotation(0)", "setLocalViewRotation(0)", "setVideoEncoderRotation(3)",
                        "setRemoteViewRotation(\"u1\", 2)", "setRemoteVideoStreamType(\"u1\", 1)",
                        "setPriorRemoteVideoStreamType(2)"}));
}

TEST_F(TamvexRoom, FlagsAndModesAreReducedToTheSdkValues) {
  call("setNetworkQosParam", {0, 7});
  call("setNetworkQosParam", {1, 0});
  call("setRemoteViewFillMode", {"u1", -3});
  call("setLocalViewFillMode", {0});
  call("setBeautyStyle", {5, 7, 8, 9});
  call("muteRemoteAudio", {"u2", true});
  call("enableAudioVolumeEvaluation", {300});
  EXPECT_EQ(sdkCalls(), (V{"setNetworkQosParam({2, 1})", "setNetworkQosParam({1, 0})",
                        "setRemoteViewFillMode(\"u1\", 1)", "setLocalViewFillMode(0)", "setBeautyStyle(1, 7, 8, 9)",
                        "muteRemoteAudio(\"u2\", true)", "enableAudioVolumeEvaluation(300)"}));
}

TEST_F(TamvexRoom, ViewsAreStartedWithoutAWindowAndTraced) {
  trace(true);
  EXPECT_EQ(call("startLocalPreview"), air::Value(true));
  EXPECT_EQ(call("startRemoteView", {"u1"}), air::Value(true));
  EXPECT_EQ(call("startRemoteSubStreamView", {"u2"}), air::Value(true));
  EXPECT_EQ(call("stopRemoteSubStreamView", {"u2"}), air::Value(true));
  call("setBeautyStyle", {1, 2, 3, 4});
  EXPECT_EQ(sdkCalls(), (V{"startLocalPreview(null)", "startRemoteView(\"u1\", null)",
                        "startRemoteSubStreamView(\"u2\", null)", "stopRemoteSubStreamView(\"u2\")",
                        "setBeautyStyle(1, 2, 3, 4)"}));
  EXPECT_EQ(console(), S("\n startLocalPreview\n startRemoteView\n startRemoteSubStreamView:userId=u2"
                         "\n stopRemoteSubStreamView:userId=u2\n setBeautyStyle style:1    beauty:2     white:3"));
}

TEST_F(TamvexRoom, EnterRoomPassesTheRecordAndPrintsTheSceneLineAlways) {
  EXPECT_EQ(call("enterRoom", {1400, 42, "alice", "sig", "key"}), air::Value(true));
  EXPECT_EQ(sdkCalls(), V{"enterRoom({1400, \"alice\", \"sig\", 42, 20, \"key\", null}, 0)"});
  EXPECT_EQ(console(), "\nTamvex: - TRTCAppSceneVideoCall \n");

  trace(true);
  call("enterRoom", {1400, -7, "bob", "s2", ""});
  EXPECT_EQ(console(), S("\n enterRoom"
                         "\nTamvex:enterRoom,1400,-7,bob\n"
                         "\nTamvex: - userSig===s2\n"
                         "\nTamvex: - privateMapKey===\n"
                         "\nTamvex: - TRTCAppSceneVideoCall \n"));
  EXPECT_EQ(sdkCalls(), V{"enterRoom({1400, \"bob\", \"s2\", 4294967289, 20, \"\", null}, 0)"});
}

TEST_F(TamvexRoom, TheLastEnterRoomNamesTheLocalUser) {
  call("enterRoom", {1, 1, "first", "s", ""});
  call("exitRoom");
  call("enterRoom", {1, 1, "second", "s", ""});
  events();
  sdk("volume \"\" 33");
  EXPECT_EQ(context_->waitForEvents(1, std::chrono::seconds(5)), std::vector<air::Event>{event("audioevent", "rtc||second||33")});
}

// The stand-in cannot throw across DLLs in the Windows build.
#if !defined(_WIN32)
TEST_F(TamvexRoom, AnSdkFailureAnswersFalseInsteadOfCrashing) {
  sdk("throw exitRoom");
  sdk("throw enterRoom");
  EXPECT_EQ(call("exitRoom"), air::Value(false));
  EXPECT_EQ(call("enterRoom", {1, 1, "carol", "s", ""}), air::Value(false));
  EXPECT_EQ(call("muteLocalAudio", {true}), air::Value(true));
}
#endif

TEST_F(TamvexRoom, RenderCallbackRegistrationMapsFormatAndBufferType) {
  EXPECT_EQ(call("setLocalVideoRenderCallback", {3, 2, 1}), air::Value(true));
  EXPECT_EQ(call("setLocalVideoRenderCallback", {3, 1, 2}), air::Value(true));
  EXPECT_EQ(sdkCalls(), (V{"setLocalVideoRenderCallback(3, 0, callback)", "setLocalVideoRenderCallback(3, 1, null)"}));
}

TEST_F(TamvexRoom, LogSettingsReachTheSdkAndOnlyTheyTrace) {
  trace(true);
  EXPECT_EQ(call("setLogPath", {"D:\\logs"}), air::Value(true));
  EXPECT_EQ(call("setConsoleEnabled", {false}), air::Value(true));
  EXPECT_EQ(call("showDebugView", {7}), air::Value(true));
  call("exitRoom");  // the extension's own trace stays on
  EXPECT_EQ(console(), S("\nTamvex: setLogDirPath:D:\\logs\nTamvex: setConsoleEnabled\nTamvex: showDebugView"
                         "\n exitRoom"));
  EXPECT_EQ(sdkCalls(), (V{"setLogDirPath(\"D:\\\\logs\")", "setConsoleEnabled(false)", "showDebugView(7)", "exitRoom()"}));

  sdk("answer getSDKVersion text=\"9.1.2\"");
  EXPECT_EQ(call("getSdkVersion"), air::Value(S("9.1.2")));
  EXPECT_EQ(call("startSpeedTest", {1400, "u1", "sig"}), air::Value(true));
  EXPECT_EQ(call("stopSpeedTest"), air::Value(true));
  EXPECT_EQ(console(), "");
  EXPECT_EQ(sdkCalls(), (V{"getSDKVersion()", "startSpeedTest(1400, \"u1\", \"sig\")", "stopSpeedTest()"}));
}

}  // namespace
}  // namespace tamvex_test
