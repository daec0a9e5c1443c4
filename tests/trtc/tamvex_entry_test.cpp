// Entry, function table, SDK loading, initTRTCSdk, dispose and the context
// finalizer.
#include "tamvex_session.h"

namespace tamvex_test {
namespace {

using TamvexEntry = TamvexSession;
using TamvexStandIn = TamvexSession;

const char* const kNames[85] = {
    "initTRTCSdk", "enterRoom", "exitRoom", "startLocalPreview", "stopLocalPreview", "startRemoteView",
    "stopRemoteView", "stopAllRemoteView", "muteLocalVideo", "setVideoEncoderParam", "setNetworkQosParam",
    "setLocalViewFillMode", "setRemoteViewFillMode", "setLocalViewRotation", "setRemoteViewRotation",
    "setVideoEncoderRotation", "setLocalViewMirror", "setVideoEncoderMirror", "enableSmallVideoStream",
    "setRemoteVideoStreamType", "setPriorRemoteVideoStreamType", "startLocalAudio", "stopLocalAudio",
    "muteLocalAudio", "muteRemoteAudio", "muteAllRemoteAudio", "enableAudioVolumeEvaluation", "setBeautyStyle",
    "startRemoteSubStreamView", "stopRemoteSubStreamView", "getScreenCaptureSources",
    "getScreenCaptureTargetThumb", "selectScreenCaptureTarget", "startScreenCapture", "pauseScreenCapture",
    "resumeScreenCapture", "stopScreenCapture", "setSubStreamEncoderParam", "setSubStreamMixVolume",
    "getCameraDevicesList", "setCurrentCameraDevice", "getCurrentCameraDevice", "getMicDevicesList",
    "setCurrentMicDevice", "getCurrentMicDevice", "getCurrentMicDeviceVolume", "setCurrentMicDeviceVolume",
    "getSpeakerDevicesList", "setCurrentSpeakerDevice", "getCurrentSpeakerDevice", "getCurrentSpeakerVolume",
    "setCurrentSpeakerVolume", "setLocalVideoRenderCallback", "setRemoteVideoRenderCallback", "startSpeedTest",
    "stopSpeedTest", "getSdkVersion", "setConsoleEnabled", "setLogCompressEnabled", "setLogPath", "showDebugView",
    "getVideoData", "getAudioData", "dispose", "TXLivePusher_createTXLivePusher",
    "TXLivePusher_destroyTXLivePusher", "TXLivePusher_startPush", "TXLivePusher_stopPush",
    "TXLivePusher_startAudioCapture", "TXLivePusher_stopAudioCapture", "TXLivePusher_getMicDevicesList",
    "TXLivePusher_selectMicDevice", "TXLivePusher_setMute", "TXLivePusher_micVolume", "TXLivePusher_setMicVolume",
    "ITXLivePlayer_createTXLivePlayer", "ITXLivePlayer_destroyTXLivePlayer", "ITXLivePlayer_startPlay",
    "ITXVodPlayer_createTXVodPlayer", "ITXVodPlayer_destroyTXVodPlayer", "ITXVodPlayer_start", "ITXVodPlayer_pause",
    "ITXVodPlayer_resume", "ITXVodPlayer_stop", "ITXVodPlayer_seek"};

const std::string kFinalizerLine = "\nTamvex:,TamvexContextFinalizer\xA3\xBArelease()";
const std::string kFreshRemoval = "\n ANEVideoRander Remove:  == -1";

TEST_F(TamvexEntry, FunctionTableHasThe85NamesInOrder) {
  const std::vector<std::string> names = context_->functionNames();
  ASSERT_EQ(names.size(), 85u);
  for (size_t i = 0; i < 85; ++i) EXPECT_EQ(names[i], kNames[i]) << "entry " << i;
}

// The SDK is loaded by whichever call needs it first, from the LiteAV folder
// beside the executable; initTRTCSdk afterwards only prints and fills the pool.
TEST_F(TamvexEntry, FirstSdkCallLoadsTheLibraryAndInitOnlyPrints) {
  call("dispose");
  console();
  sdkCalls();
  EXPECT_EQ(call("setLocalVideoRenderCallback", {3, 1, 1}), air::Value(true));
  const std::string loaded = console();
  EXPECT_NE(loaded.find("\nTamvex:---" + executableFolder() + "\\LiteAV\\"), std::string::npos) << loaded;
  EXPECT_NE(loaded.find("\nTamvex: --- LoadLibrary liteav.dll complate"), std::string::npos) << loaded;
  EXPECT_EQ(sdkCalls(), (std::vector<std::string>{"getTRTCShareInstance()", "addCallback(callback)",
                                               "setLocalVideoRenderCallback(3, 1, callback)"}));

  EXPECT_EQ(call("initTRTCSdk", {true}), air::Value(true));
  EXPECT_EQ(console(),
            "\nTamvex:TRTCSDK Version : - 7.9.10000 (stand-in)\nTamvex:initTRTCSdk Mode: - debug");
  EXPECT_EQ(sdkCalls(), (std::vector<std::string>{"getSDKVersion()"}));

  // A value that is not a Boolean leaves the mode as it was.
  call("initTRTCSdk", {S("yes")});
  EXPECT_NE(console().find("initTRTCSdk Mode: - debug"), std::string::npos);
  call("initTRTCSdk", {false});
  EXPECT_NE(console().find("initTRTCSdk Mode: - release"), std::string::npos);
}

TEST_F(TamvexEntry, DisposeReleasesTheInstanceOnceAndTheNextCallReloads) {
  EXPECT_EQ(call("dispose"), air::Value(true));
  EXPECT_EQ(sdkCalls(), (std::vector<std::string>{"removeCallback(callback)", "destroyTRTCShareInstance()"}));
  EXPECT_EQ(call("dispose"), air::Value(true));
  EXPECT_TRUE(sdkCalls().empty());
  EXPECT_EQ(console(), "");

  call("initTRTCSdk", {false});
  const std::string text = console();
  EXPECT_EQ(count(text, "\nTamvex:---"), 1) << text;
  EXPECT_EQ(count(text, "LoadLibrary liteav.dll complate"), 1) << text;
  EXPECT_EQ(sdkCalls(), (std::vector<std::string>{"getTRTCShareInstance()", "addCallback(callback)", "getSDKVersion()"}));
}

// 18 renderers after start-up, not more after a second start-up; the
// finalizer removes each one, and a new context refills the pool.
TEST_F(TamvexEntry, FinalizerRemovesEveryRendererAndANewContextRefills) {
  call("initTRTCSdk", {false});
  console();
  sdkCalls();
  context_.reset();
  std::string text = console();
  EXPECT_EQ(text.find(kFinalizerLine), 0u) << text;
  EXPECT_EQ(count(text, "\n ANEVideoRander Remove:"), 18);
  EXPECT_EQ(count(text, kFreshRemoval), 18);
  EXPECT_EQ(sdkCalls(), (std::vector<std::string>{"removeCallback(callback)", "destroyTRTCShareInstance()"}));

  context_ = extension_->createContext();
  call("initTRTCSdk", {false});
  console();
  context_->dispose();
  EXPECT_EQ(count(console(), "\n ANEVideoRander Remove:"), 18);
}

TEST_F(TamvexEntry, ANineteenthStreamAppendsARenderer) {
  renderCallbacks(1, {});
  for (int i = 0; i < 19; ++i) {
    const std::string user = "s" + std::to_string(i);
    call("setRemoteVideoRenderCallback", {user, 1, 1, 1});
    sdk("frame remote \"" + user + "\" kind=small 4x2");
  }
  EXPECT_EQ(events().size(), 19u);
  console();
  context_.reset();
  const std::string text = console();
  EXPECT_EQ(count(text, "\n ANEVideoRander Remove:"), 19);
  EXPECT_NE(text.find("\n ANEVideoRander Remove: s18 == 10"), std::string::npos);
}

// After the finalizer a late SDK thread finds no callback to call.
TEST_F(TamvexEntry, FinalizerUnregistersEveryCallback) {
  renderCallbacks(1, {"u1"});
  context_.reset();
  std::string error;
  EXPECT_FALSE(liteav_standin::command("frame local 4x2", &error));
  EXPECT_FALSE(liteav_standin::command("enter-room 5", &error));
  EXPECT_EQ(error, "no cloud callback registered");
}

// The stand-in's text interface answers a bad line with a message, never a crash.
TEST_F(TamvexStandIn, RefusesMalformedCommandsWithAMessage) {
  const char* const bad[] = {"no-such-verb", "frame local", "frame remote 8x8", "frame local 8x8 kind=huge",
                             "error 5 \"unterminated", "video-available \"u1\"", "answer",
                             "answer getSDKVersion code=abc", "pusher 9 event 1", "vod 1 started 5",
                             "audio-frame captured", "room sideways", "async", "hold", "hold h1",
                             "hold h1 room start", "hold h1 frame remote \"nobody\" 4x2", "release nobody",
                             "local-id maybe"};
  for (const char* line : bad) {
    std::string error;
    EXPECT_FALSE(liteav_standin::command(line, &error)) << line;
    EXPECT_FALSE(error.empty()) << line;
  }
  EXPECT_TRUE(liteav_standin::command("  # a comment only"));
  EXPECT_TRUE(events().empty());
}

}  // namespace
}  // namespace tamvex_test
