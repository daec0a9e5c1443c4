// The control families when liteav.dll is missing or lacks the shared-instance
// exports (built into the programs of bin/variants/...): neutral answers, no
// call through a missing function, and handles of -1 where no object can be
// made.
#include "tamvex_session.h"

namespace tamvex_test {
namespace {

class TamvexMissingControls : public TamvexLoaded {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(loadExtension());
    call("initTRTCSdk", {true});
    console_->take();
  }
};

TEST_F(TamvexMissingControls, CloudFunctionsAnswerNeutralValues) {
  EXPECT_EQ(call("enterRoom", {1, 2, S("u"), S("s"), S("")}), air::Value(false));
  EXPECT_EQ(call("startLocalPreview"), air::Value(false));
  EXPECT_EQ(call("setVideoEncoderParam", {100, 0, 15, 500}), air::Value(false));
  EXPECT_EQ(call("getCameraDevicesList"), air::Value(S("")));
  EXPECT_EQ(call("setCurrentMicDevice", {0}), air::Value(false));
  EXPECT_EQ(call("getCurrentSpeakerDevice"), air::Value(S("")));
  EXPECT_EQ(call("getCurrentMicDeviceVolume"), air::Value(0u));
  EXPECT_EQ(call("getScreenCaptureSources", {160, 90, 16, 16}), air::Value(S("")));
  EXPECT_EQ(call("getScreenCaptureTargetThumb", {1, std::make_shared<air::ByteArray>()}), air::Value(false));
  EXPECT_EQ(call("getSdkVersion"), air::Value(S("")));
  EXPECT_EQ(call("setLogPath", {S("/tmp")}), air::Value(false));
}

TEST_F(TamvexMissingControls, HandleFamiliesNeverCallThroughAMissingEntryPoint) {
#if defined(TAMVEX_NO_LIBRARY)
  EXPECT_EQ(call("TXLivePusher_createTXLivePusher"), air::Value(-1));
  EXPECT_EQ(call("ITXLivePlayer_createTXLivePlayer"), air::Value(-1));
  EXPECT_EQ(call("ITXVodPlayer_createTXVodPlayer", {S("a.mp4"), false}), air::Value(-1));
  EXPECT_EQ(call("TXLivePusher_destroyTXLivePusher", {0}), air::Value(0u));
  EXPECT_EQ(call("TXLivePusher_micVolume", {0}), air::Value(-1));
  EXPECT_EQ(call("ITXVodPlayer_seek", {0, 10}), air::Value(false));
#else
  // The pusher exports are there even when the shared instance is not.
  EXPECT_EQ(call("TXLivePusher_createTXLivePusher"), air::Value(0));
  EXPECT_EQ(call("TXLivePusher_destroyTXLivePusher", {0}), air::Value(1u));
#endif
  call("dispose");
}

}  // namespace
}  // namespace tamvex_test
