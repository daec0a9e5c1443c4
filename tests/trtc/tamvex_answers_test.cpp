// What each Tamvex function answers when something is missing or fails, as
// its reference says: the records of the function table themselves (every
// parameter documented, every code set and list they name listed), and then,
// function by function, the answer when the SDK is not loaded, when it throws,
// when it gives nothing, when no pusher or player has the handle, and what a
// frame pull leaves in its ByteArray.
//
// This file is built into tamvex_test and into the programs whose LiteAV
// folder lacks the library or its shared instance (TAMVEX_SDK_MISSING), which
// run only the scenario of the missing SDK.
#include <algorithm>
#include <map>
#include <set>

#include "api_records.h"
#include "core/api.h"
#include "tamvex_session.h"

namespace tamvex_test {
namespace {

using V8 = std::vector<uint8_t>;

// A cloud function, arguments it accepts, the SDK operation it makes, and
// its neutral answer: the one it gives when the SDK is not loaded or that
// operation throws.
struct CloudRow {
  S function;
  std::vector<air::Value> args;
  S operation;
  air::Value neutral;
};

const air::Value kFalse(false);
const air::Value kEmpty(S(""));

// In table order. selectScreenCaptureTarget comes before the listing that
// throws, which leaves no list kept.
const CloudRow kCloudRows[] = {
    {"enterRoom", {1400, 7, S("me"), S("sig"), S("")}, "enterRoom", kFalse},
    {"exitRoom", {}, "exitRoom", kFalse},
    {"startLocalPreview", {}, "startLocalPreview", kFalse},
    {"stopLocalPreview", {}, "stopLocalPreview", kFalse},
    {"startRemoteView", {S("u1")}, "startRemoteView", kFalse},
    {"stopRemoteView", {S("u1")}, "stopRemoteView", kFalse},
    {"stopAllRemoteView", {}, "stopAllRemoteView", kFalse},
    {"muteLocalVideo", {true}, "muteLocalVideo", kFalse},
    {"setVideoEncoderParam", {108, 0, 15, 500}, "setVideoEncoderParam", kFalse},
    {"setNetworkQosParam", {1, 0}, "setNetworkQosParam", kFalse},
    {"setLocalViewFillMode", {1}, "setLocalViewFillMode", kFalse},
    {"setRemoteViewFillMode", {S("u1"), 1}, "setRemoteViewFillMode", kFalse},
    {"setLocalViewRotation", {1}, "setLocalViewRotation", kFalse},
    {"setRemoteViewRotation", {S("u1"), 2}, "setRemoteViewRotation", kFalse},
    {"setVideoEncoderRotation", {3}, "setVideoEncoderRotation", kFalse},
    {"setLocalViewMirror", {true}, "setLocalViewMirror", kFalse},
    {"setVideoEncoderMirror", {true}, "setVideoEncoderMirror", kFalse},
    {"enableSmallVideoStream", {true, 104, 0, 15, 200}, "enableSmallVideoStream", kFalse},
    {"setRemoteVideoStreamType", {S("u1"), 1}, "setRemoteVideoStreamType", kFalse},
    {"setPriorRemoteVideoStreamType", {2}, "setPriorRemoteVideoStreamType", kFalse},
    {"startLocalAudio", {}, "startLocalAudio", kFalse},
    {"stopLocalAudio", {}, "stopLocalAudio", kFalse},
    {"muteLocalAudio", {true}, "muteLocalAudio", kFalse},
    {"muteRemoteAudio", {S("u1"), true}, "muteRemoteAudio", kFalse},
    {"muteAllRemoteAudio", {true}, "muteAllRemoteAudio", kFalse},
    {"enableAudioVolumeEvaluation", {300}, "enableAudioVolumeEvaluation", kFalse},
    {"setBeautyStyle", {1, 5, 5, 5}, "setBeautyStyle", kFalse},
    {"startRemoteSubStreamView", {S("u1")}, "startRemoteSubStreamView", kFalse},
    {"stopRemoteSubStreamView", {S("u1")}, "stopRemoteSubStreamView", kFalse},
    {"selectScreenCaptureTarget", {1180, 0, 0, 0, 0, true, false}, "selectScreenCaptureTarget", kFalse},
    {"getScreenCaptureSources", {160, 90, 16, 16}, "getScreenCaptureSources", kEmpty},
    {"startScreenCapture", {}, "startScreenCapture", kFalse},
    {"pauseScreenCapture", {}, "pauseScreenCapture", kFalse},
    {"resumeScreenCapture", {}, "resumeScreenCapture", kFalse},
    {"stopScreenCapture", {}, "stopScreenCapture", kFalse},
    {"setSubStreamEncoderParam", {112, 0, 10, 800}, "setSubStreamEncoderParam", kFalse},
    {"setSubStreamMixVolume", {50}, "setSubStreamMixVolume", kFalse},
    {"getCameraDevicesList", {}, "getCameraDevicesList", kEmpty},
    {"setCurrentCameraDevice", {0}, "setCurrentCameraDevice", kFalse},
    {"getCurrentCameraDevice", {}, "getCurrentCameraDevice", kEmpty},
    {"getMicDevicesList", {}, "getMicDevicesList", kEmpty},
    {"setCurrentMicDevice", {0}, "setCurrentMicDevice", kFalse},
    {"getCurrentMicDevice", {}, "getCurrentMicDevice", kEmpty},
    {"getCurrentMicDeviceVolume", {}, "getCurrentMicDeviceVolume", air::Value(0u)},
    {"setCurrentMicDeviceVolume", {40}, "setCurrentMicDeviceVolume", kFalse},
    {"getSpeakerDevicesList", {}, "getSpeakerDevicesList", kEmpty},
    {"setCurrentSpeakerDevice", {0}, "setCurrentSpeakerDevice", kFalse},
    {"getCurrentSpeakerDevice", {}, "getCurrentSpeakerDevice", kEmpty},
    {"getCurrentSpeakerVolume", {}, "getCurrentSpeakerVolume", air::Value(0u)},
    {"setCurrentSpeakerVolume", {40}, "setCurrentSpeakerVolume", kFalse},
    {"setLocalVideoRenderCallback", {1, 1, 1}, "setLocalVideoRenderCallback", kFalse},
    {"setRemoteVideoRenderCallback", {S("u1"), 1, 1, 1}, "setRemoteVideoRenderCallback", kFalse},
    {"startSpeedTest", {1400, S("me"), S("sig")}, "startSpeedTest", kFalse},
    {"stopSpeedTest", {}, "stopSpeedTest", kFalse},
    {"getSdkVersion", {}, "getSDKVersion", kEmpty},
    {"setConsoleEnabled", {true}, "setConsoleEnabled", kFalse},
    {"setLogCompressEnabled", {true}, "setLogCompressEnabled", kFalse},
    {"setLogPath", {S("logs")}, "setLogDirPath", kFalse},
    {"showDebugView", {1}, "showDebugView", kFalse},
};

#if defined(TAMVEX_SDK_MISSING)

class TamvexAnswersWithoutSdk : public TamvexLoaded {
 protected:
  void SetUp() override {
    reportFailuresOnStderr();
    ASSERT_NO_FATAL_FAILURE(loadExtension());
  }
};

// Without liteav.dll or its shared instance: start-up and dispose still
// answer true, every cloud function its neutral answer, and the frame
// functions null.
TEST_F(TamvexAnswersWithoutSdk, EveryFunctionAnswersItsNeutralValue) {
  EXPECT_EQ(call("initTRTCSdk", {false}), air::Value(true));
  for (const CloudRow& row : kCloudRows) EXPECT_EQ(call(row.function, row.args), row.neutral) << row.function;
  EXPECT_EQ(call("getScreenCaptureTargetThumb", {1180, std::make_shared<air::ByteArray>()}), kFalse);
  EXPECT_EQ(call("getVideoData", {std::make_shared<air::ByteArray>(), S("me"), 1}), air::Value());
  EXPECT_EQ(call("getAudioData"), air::Value());
  EXPECT_EQ(call("dispose"), air::Value(true));
}

#else  // the full stand-in

// ---- the records ----

using TamvexRecords = TamvexSession;

TEST_F(TamvexRecords, EveryParameterFieldAndListIsDocumentedWithListedCodeSets) {
  api_records::expectCompleteRecords(context(), 85);
  // No Tamvex text answer is null: a missing SDK or an empty collection gives "".
  for (const core::ApiFunction* f : api_records::recordsOf(context()))
    EXPECT_EQ(S(f->result).find("String?"), S::npos) << f->name;
}

// ---- failing and missing SDK answers ----

class TamvexAnswers : public TamvexSession {};

// The Windows build's stand-in cannot throw: an exception cannot leave the DLL that throws it.
#define SKIP_WITHOUT_THROWING_SDK() GTEST_SKIP() << "the stand-in cannot throw across DLLs in the Windows build"

// An SDK operation that throws gives the function's neutral answer, never
// true, never null.
TEST_F(TamvexAnswers, ACallWhoseSdkOperationThrowsAnswersItsNeutralValue) {
#ifdef _WIN32
  SKIP_WITHOUT_THROWING_SDK();
#else
  call("getScreenCaptureSources", {160, 90, 16, 16});  // the list selectScreenCaptureTarget looks in
  for (const CloudRow& row : kCloudRows) {
    sdk("throw " + row.operation);
    EXPECT_EQ(call(row.function, row.args), row.neutral) << row.function;
    sdk("clear " + row.operation);
  }
  // Listing and choosing devices fail with the collection as well.
  for (const S kind : {"Camera", "Mic", "Speaker"}) {
    sdk("throw get" + kind + "DevicesList");
    EXPECT_EQ(call("setCurrent" + kind + "Device", {0}), kFalse) << kind;
    sdk("clear get" + kind + "DevicesList");
  }
  // A source list that fails while it is searched: no thumbnail, no choice.
  call("getScreenCaptureSources", {160, 90, 16, 16});
  sdk("throw SourceList2.getSourceInfo");
  sdkCalls();
  auto bytes = std::make_shared<air::ByteArray>();
  bytes->bytes.assign(3, 0xEE);
  EXPECT_EQ(call("getScreenCaptureTargetThumb", {1180, bytes}), air::Value());
  EXPECT_EQ(bytes->bytes, std::vector<uint8_t>(3, 0xEE));
  EXPECT_EQ(call("selectScreenCaptureTarget", {1180, 0, 0, 0, 0, true, false}), kFalse);
  for (const S& line : sdkCalls()) EXPECT_EQ(line.rfind("selectScreenCaptureTarget(", 0), S::npos) << line;

  // Start-up and dispose stay true.
  sdk("throw getSDKVersion");
  EXPECT_EQ(call("initTRTCSdk", {false}), air::Value(true));
  sdk("throw removeCallback");
  EXPECT_EQ(call("dispose"), air::Value(true));
#endif
}

TEST_F(TamvexAnswers, APusherOrPlayerThatThrowsAnswersFalseOrMinusOne) {
#ifdef _WIN32
  SKIP_WITHOUT_THROWING_SDK();
#else
  call("dispose");
  ASSERT_EQ(call("TXLivePusher_createTXLivePusher"), air::Value(0));
  ASSERT_EQ(call("ITXLivePlayer_createTXLivePlayer"), air::Value(0));
  ASSERT_EQ(call("ITXVodPlayer_createTXVodPlayer", {S("a.mp4"), false}), air::Value(0));
  const CloudRow rows[] = {
      {"TXLivePusher_startPush", {0, S("rtmp://a")}, "Pusher.startPush", kFalse},
      {"TXLivePusher_stopPush", {0}, "Pusher.stopPush", kFalse},
      {"TXLivePusher_startAudioCapture", {0}, "Pusher.startAudioCapture", kFalse},
      {"TXLivePusher_stopAudioCapture", {0}, "Pusher.stopAudioCapture", kFalse},
      {"TXLivePusher_getMicDevicesList", {0}, "Pusher.getMicDevicesList", kEmpty},
      {"TXLivePusher_selectMicDevice", {0, 1}, "Pusher.selectMicDevice", kFalse},
      {"TXLivePusher_setMute", {0, true}, "Pusher.setMute", kFalse},
      {"TXLivePusher_micVolume", {0}, "Pusher.micVolume", air::Value(-1)},
      {"TXLivePusher_setMicVolume", {0, 30}, "Pusher.setMicVolume", kFalse},
      {"ITXLivePlayer_startPlay", {0, S("rtmp://b")}, "LivePlayer.startPlay", kFalse},
      {"ITXVodPlayer_start", {0}, "VodPlayer.start", kFalse},
      {"ITXVodPlayer_pause", {0}, "VodPlayer.pause", kFalse},
      {"ITXVodPlayer_resume", {0}, "VodPlayer.resume", kFalse},
      {"ITXVodPlayer_stop", {0}, "VodPlayer.stop", kFalse},
      {"ITXVodPlayer_seek", {0, 5000}, "VodPlayer.seek", kFalse},
      {"TXLivePusher_createTXLivePusher", {}, "createTXLivePusher", air::Value(-1)},
      {"ITXLivePlayer_createTXLivePlayer", {}, "createTXLivePlayer", air::Value(-1)},
      {"ITXVodPlayer_createTXVodPlayer", {S("b.mp4"), true}, "createTXVodPlayer", air::Value(-1)},
      // A destroy that fails still forgets the handle and answers the list's length.
      {"TXLivePusher_destroyTXLivePusher", {0}, "destroyTXLivePusher", air::Value(1u)},
      {"ITXLivePlayer_destroyTXLivePlayer", {0}, "destroyTXLivePlayer", air::Value(1u)},
      {"ITXVodPlayer_destroyTXVodPlayer", {0}, "destroyTXVodPlayer", air::Value(1u)},
  };
  for (const CloudRow& row : rows) {
    sdk("throw " + row.operation);
    EXPECT_EQ(call(row.function, row.args), row.neutral) << row.function;
    sdk("clear " + row.operation);
  }
  EXPECT_EQ(call("TXLivePusher_stopPush", {0}), air::Value(true));  // no pusher any more
  EXPECT_EQ(call("ITXVodPlayer_start", {0}), kFalse);
#endif
}

// What the SDK does not give (no collection, no current device, no source
// list, no version text) is answered with "" or false, never null.
TEST_F(TamvexAnswers, WhatTheSdkGivesNoneOfAnswersEmptyTextOrFalse) {
  struct Row {
    S nullAnswer;  // the operation answering null
    S function;
    std::vector<air::Value> args;
    air::Value answer;
  };
  const Row rows[] = {
      {"getCameraDevicesList", "getCameraDevicesList", {}, kEmpty},
      {"getCameraDevicesList", "setCurrentCameraDevice", {0}, kFalse},
      {"getMicDevicesList", "getMicDevicesList", {}, kEmpty},
      {"getMicDevicesList", "setCurrentMicDevice", {0}, kFalse},
      {"getSpeakerDevicesList", "getSpeakerDevicesList", {}, kEmpty},
      {"getSpeakerDevicesList", "setCurrentSpeakerDevice", {0}, kFalse},
      {"getCurrentCameraDevice", "getCurrentCameraDevice", {}, kEmpty},
      {"getCurrentMicDevice", "getCurrentMicDevice", {}, kEmpty},
      {"getCurrentSpeakerDevice", "getCurrentSpeakerDevice", {}, kEmpty},
      {"getSDKVersion", "getSdkVersion", {}, kEmpty},
      {"getScreenCaptureSources", "getScreenCaptureSources", {160, 90, 16, 16}, kEmpty},
  };
  for (const Row& row : rows) {
    sdk("answer " + row.nullAnswer + " null");
    EXPECT_EQ(call(row.function, row.args), row.answer) << row.function << " with no " << row.nullAnswer;
    sdk("clear " + row.nullAnswer);
  }
  // A listing that got no list keeps none: the thumbnail and the choice answer false.
  EXPECT_EQ(call("getScreenCaptureTargetThumb", {1180, std::make_shared<air::ByteArray>()}), kFalse);
  EXPECT_EQ(call("selectScreenCaptureTarget", {1180, 0, 0, 0, 0, true, false}), kFalse);

  call("dispose");
  ASSERT_EQ(call("TXLivePusher_createTXLivePusher"), air::Value(0));
  sdk("answer Pusher.getMicDevicesList null");
  EXPECT_EQ(call("TXLivePusher_getMicDevicesList", {0}), kEmpty);
  sdk("answer Pusher.getMicDevicesList list=");
  EXPECT_EQ(call("TXLivePusher_getMicDevicesList", {0}), kEmpty);
  call("TXLivePusher_destroyTXLivePusher", {0});
}

// The local registration is true only when the SDK accepts it; the remote
// one does not look at the SDK's answer.
TEST_F(TamvexAnswers, RenderCallbackRegistrationsAndTheSdksAnswer) {
  sdk("answer setLocalVideoRenderCallback code=-1");
  sdk("answer setRemoteVideoRenderCallback code=-1");
  EXPECT_EQ(call("setLocalVideoRenderCallback", {1, 1, 1}), kFalse);
  EXPECT_EQ(call("setRemoteVideoRenderCallback", {S("u1"), 1, 1, 1}), air::Value(true));
  sdk("clear setLocalVideoRenderCallback");
  EXPECT_EQ(call("setLocalVideoRenderCallback", {1, 1, 1}), air::Value(true));
  EXPECT_EQ(call("setLocalVideoRenderCallback", {1, 1, 0}), air::Value(true));  // removed
}

// Handles that name nothing: the pusher settings answer true, startPush and
// the players false, the volume -1, the list "", and no SDK call is made.
TEST_F(TamvexAnswers, HandlesThatNameNothing) {
  call("dispose");
  sdkCalls();
  for (const int handle : {0, 5, -1}) {
    const std::vector<std::pair<S, std::vector<air::Value>>> settings = {
        {"TXLivePusher_stopPush", {handle}},           {"TXLivePusher_startAudioCapture", {handle}},
        {"TXLivePusher_stopAudioCapture", {handle}},   {"TXLivePusher_selectMicDevice", {handle, 0}},
        {"TXLivePusher_setMute", {handle, true}},      {"TXLivePusher_setMicVolume", {handle, 10}}};
    for (const auto& s : settings) EXPECT_EQ(call(s.first, s.second), air::Value(true)) << s.first << " " << handle;
    const std::vector<std::pair<S, std::vector<air::Value>>> controls = {
        {"TXLivePusher_startPush", {handle, S("rtmp://a")}}, {"ITXLivePlayer_startPlay", {handle, S("rtmp://b")}},
        {"ITXVodPlayer_start", {handle}},                   {"ITXVodPlayer_pause", {handle}},
        {"ITXVodPlayer_resume", {handle}},                  {"ITXVodPlayer_stop", {handle}},
        {"ITXVodPlayer_seek", {handle, 10}}};
    for (const auto& c : controls) EXPECT_EQ(call(c.first, c.second), kFalse) << c.first << " " << handle;
    EXPECT_EQ(call("TXLivePusher_micVolume", {handle}), air::Value(-1));
    EXPECT_EQ(call("TXLivePusher_getMicDevicesList", {handle}), kEmpty);
    for (const char* destroy : {"TXLivePusher_destroyTXLivePusher", "ITXLivePlayer_destroyTXLivePlayer",
                                "ITXVodPlayer_destroyTXVodPlayer"})
      EXPECT_EQ(call(destroy, {handle}), air::Value(0u)) << destroy;
  }
  EXPECT_EQ(sdkCalls(), V{});
}

// ---- frame pulls ----

using TamvexPullAnswers = TamvexInRoom;

// getVideoData answers null; its ByteArray tells a renderer with no frame
// (length 0) from no renderer at all (untouched), and takes the stream code
// of "video", not the SDK's stream type.
TEST_F(TamvexPullAnswers, TheByteArrayTellsNoFrameFromNoRenderer) {
  renderCallbacks(3, {"u1", "u2"});
  sdk("video-available \"u1\" 1");
  events();
  console();
  EXPECT_EQ(call("getVideoData", {std::make_shared<air::ByteArray>(), S("u1"), 1}), air::Value());
  EXPECT_TRUE(pull("u1", 1)->bytes.empty());            // bound, no frame yet
  EXPECT_EQ(pull("u9", 1)->bytes, V8(3, 0xEE));         // nobody
  EXPECT_EQ(console(), "\n getVideoData = not get videoRander  - u9");

  sdk("frame remote \"u2\" 4x2 kind=small");
  EXPECT_EQ(events(), (std::vector<air::Event>{event("video", "u2||4||2||0||0||10")}));
  EXPECT_EQ(pull("u2", 10)->bytes.size(), 4u * 2 * 4);
  EXPECT_EQ(pull("u2", 1)->bytes, V8(3, 0xEE));  // the SDK's small stream type is not a stream code
  EXPECT_EQ(pull("u2", 0)->bytes, V8(3, 0xEE));

  // A camera that went off unbinds its renderer: nothing to pull any more.
  sdk("frame remote \"u1\" 4x2");
  events();
  EXPECT_EQ(pull("u1", 1)->bytes.size(), 4u * 2 * 4);
  sdk("video-available \"u1\" 0");
  EXPECT_EQ(pull("u1", 1)->bytes, V8(3, 0xEE));
}

// dispose releases the SDK and the handles, not the renderers: the newest
// frames are still there to pull, and the next frames find their renderers.
TEST_F(TamvexPullAnswers, DisposeKeepsTheRenderersAndTheirFrames) {
  renderCallbacks(3, {});
  sdk("frame local 4x2 format=bgra pattern=ramp");
  events();
  const V8 frame = pull("me", 1)->bytes;
  ASSERT_EQ(frame.size(), 4u * 2 * 4);
  EXPECT_EQ(call("dispose"), air::Value(true));
  EXPECT_EQ(call("dispose"), air::Value(true));
  EXPECT_EQ(pull("me", 1)->bytes, frame);
  EXPECT_EQ(console().find("Remove"), S::npos);
}

#endif  // TAMVEX_SDK_MISSING

}  // namespace
}  // namespace tamvex_test
