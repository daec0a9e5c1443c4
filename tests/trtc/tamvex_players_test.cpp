// Live pushers, live players and VOD players behind handles, and the console
// lines of their notifications.
#include "tamvex_session.h"

namespace tamvex_test {
namespace {

// Handles outlive a context (only dispose forgets them), so each scenario
// starts from a dispose; the families work without a cloud instance.
class TamvexPlayers : public TamvexSession {
 protected:
  void SetUp() override {
    TamvexSession::SetUp();
    call("dispose");
    sdkCalls();
    console();
  }
  // Destroys what a scenario left, so that only forgotten objects outlive it.
  void TearDown() override {
    for (int handle = 0; handle < 8; ++handle) {
      call("TXLivePusher_destroyTXLivePusher", {handle});
      call("ITXLivePlayer_destroyTXLivePlayer", {handle});
      call("ITXVodPlayer_destroyTXVodPlayer", {handle});
    }
    TamvexSession::TearDown();
  }
};

// The stand-in numbers its objects of each kind from 1 (Pusher1 is handle 0).
TEST_F(TamvexPlayers, HandlesCountPerKindAndAreNeverReused) {
  EXPECT_EQ(call("TXLivePusher_createTXLivePusher"), air::Value(0));
  EXPECT_EQ(call("TXLivePusher_createTXLivePusher"), air::Value(1));
  EXPECT_EQ(call("ITXLivePlayer_createTXLivePlayer"), air::Value(0));  // its own numbering
  EXPECT_EQ(sdkCalls(), (V{"createTXLivePusher()", "Pusher1.setCallback(callback, 0)", "createTXLivePusher()",
                        "Pusher2.setCallback(callback, 1)", "createTXLivePlayer()"}));

  EXPECT_EQ(call("TXLivePusher_destroyTXLivePusher", {0}), air::Value(2u));
  EXPECT_EQ(call("TXLivePusher_destroyTXLivePusher", {0}), air::Value(2u));  // already gone: no call
  EXPECT_EQ(call("TXLivePusher_micVolume", {0}), air::Value(-1));
  EXPECT_EQ(call("TXLivePusher_startPush", {0, "rtmp://a"}), air::Value(false));
  EXPECT_EQ(call("TXLivePusher_stopPush", {7}), air::Value(true));
  EXPECT_EQ(sdkCalls(), (V{"Pusher1.setCallback(null, 0)", "destroyTXLivePusher(Pusher1)"}));

  EXPECT_EQ(call("TXLivePusher_startPush", {1, "rtmp://b"}), air::Value(true));
  EXPECT_EQ(call("TXLivePusher_micVolume", {1}), air::Value(50));
  EXPECT_EQ(call("TXLivePusher_startAudioCapture", {1}), air::Value(true));
  EXPECT_EQ(call("TXLivePusher_createTXLivePusher"), air::Value(2));
  EXPECT_EQ(call("ITXLivePlayer_startPlay", {0, "rtmp://live"}), air::Value(true));
  EXPECT_EQ(call("ITXLivePlayer_startPlay", {1, "rtmp://live"}), air::Value(false));
  EXPECT_EQ(sdkCalls(), (V{"Pusher2.startPush(\"rtmp://b\")", "Pusher2.micVolume()", "Pusher2.startAudioCapture(1)",
                        "createTXLivePusher()", "Pusher3.setCallback(callback, 2)",
                        "LivePlayer1.startPlay(\"rtmp://live\", 1)"}));
}

TEST_F(TamvexPlayers, AfterDisposeOldHandlesNameNothingAndNumberingRestarts) {
  call("TXLivePusher_createTXLivePusher");
  call("ITXVodPlayer_createTXVodPlayer", {"movie.mp4", true});
  call("dispose");
  sdkCalls();
  EXPECT_EQ(call("TXLivePusher_startPush", {0, "rtmp://a"}), air::Value(false));
  EXPECT_EQ(call("ITXVodPlayer_start", {0}), air::Value(false));
  EXPECT_EQ(call("TXLivePusher_destroyTXLivePusher", {0}), air::Value(0u));
  EXPECT_EQ(sdkCalls(), V{});  // nothing destroyed, nothing called
  EXPECT_EQ(call("TXLivePusher_createTXLivePusher"), air::Value(0));
  EXPECT_EQ(call("ITXVodPlayer_createTXVodPlayer", {"b.mp4", false}), air::Value(0));
  // The forgotten objects still notify their callbacks without harm.
  sdk("pusher 1 event 1001");
  sdk("vod 1 paused");
  EXPECT_EQ(count(console(), "onEventCallback"), 1);
}

TEST_F(TamvexPlayers, AMissingOrFailingObjectGivesMinusOneAndNoCallback) {
  sdk("answer createTXLivePusher null");
  sdk("answer createTXVodPlayer null");
  sdk("answer createTXLivePlayer null");
  EXPECT_EQ(call("TXLivePusher_createTXLivePusher"), air::Value(-1));
  EXPECT_EQ(call("ITXVodPlayer_createTXVodPlayer", {"x.mp4", false}), air::Value(-1));
  EXPECT_EQ(call("ITXLivePlayer_createTXLivePlayer"), air::Value(-1));
  EXPECT_EQ(sdkCalls(), (V{"createTXLivePusher()", "createTXVodPlayer(\"x.mp4\", false)", "createTXLivePlayer()"}));
  sdk("clear createTXLivePusher");
  EXPECT_EQ(call("TXLivePusher_createTXLivePusher"), air::Value(0));
#if !defined(_WIN32)  // the stand-in cannot throw across DLLs there
  sdk("throw createTXLivePusher");
  EXPECT_EQ(call("TXLivePusher_createTXLivePusher"), air::Value(-1));
  // A pusher that fails answers as one that is not there.
  sdk("throw Pusher.startPush");
  sdk("throw Pusher.micVolume");
  EXPECT_EQ(call("TXLivePusher_startPush", {0, "rtmp://a"}), air::Value(false));
  EXPECT_EQ(call("TXLivePusher_micVolume", {0}), air::Value(-1));
#endif
}

TEST_F(TamvexPlayers, PusherMicrophoneListAndNotifications) {
  call("TXLivePusher_createTXLivePusher");
  call("TXLivePusher_createTXLivePusher");
  sdk("answer Pusher.getMicDevicesList list=\"M1\",\"M2\"");
  EXPECT_EQ(call("TXLivePusher_getMicDevicesList", {1}), air::Value(S("M1||M2")));
  EXPECT_EQ(call("TXLivePusher_getMicDevicesList", {5}), air::Value(S("")));
  EXPECT_EQ(console(), "\nTXLivePusher_getMicDevicesList:count = 2");
  EXPECT_TRUE(sdkCalls().back() == "PusherMicList1.release()");

  sdk("pusher 2 event 1002 a=1 b=2");
  EXPECT_EQ(console(), "\n  onEventCallback: pushId:1    =\t\t\teventId:1002\t====   paramCount:2");
  sdk("pusher 2 status");  // operations without a line stay silent
  EXPECT_EQ(console(), "");
}

// The callback is taken back before the destroy, but a notification already
// on its way out of an SDK thread may still arrive: its callback must still
// be there (under AddressSanitizer a freed one is a use after free).
TEST_F(TamvexPlayers, NotificationsOnTheirWayOutAfterDestroyFindTheirCallbacksAlive) {
  EXPECT_EQ(call("TXLivePusher_createTXLivePusher"), air::Value(0));
  EXPECT_EQ(call("ITXVodPlayer_createTXVodPlayer", {"a.mp4", true}), air::Value(0));
  call("TXLivePusher_destroyTXLivePusher", {0});
  call("ITXVodPlayer_destroyTXVodPlayer", {0});
  console();
  sdk("pusher 1 event 1002 a=1");
  EXPECT_EQ(console(), "\n  onEventCallback: pushId:0    =\t\t\teventId:1002\t====   paramCount:1");
  sdk("vod 1 paused");
  EXPECT_EQ(console(), "\n  onVodPlayerPaused");
}

TEST_F(TamvexPlayers, VodControlsTraceTheHandleAndSeekKeepsTheSign) {
  call("initTRTCSdk", {true});
  console();
  sdkCalls();
  EXPECT_EQ(call("ITXVodPlayer_createTXVodPlayer", {"a.mp4", true}), air::Value(0));
  EXPECT_EQ(call("ITXVodPlayer_seek", {0, -5000}), air::Value(true));
  EXPECT_EQ(call("ITXVodPlayer_pause", {0}), air::Value(true));
  EXPECT_EQ(call("ITXVodPlayer_destroyTXVodPlayer", {0}), air::Value(1u));
  EXPECT_EQ(call("ITXVodPlayer_resume", {0}), air::Value(false));
  EXPECT_EQ(console(), S("\n ITXVodPlayer_createTXVodPlayer url:a.mp4\n ITXVodPlayer_seek url:0"
                         "\n ITXVodPlayer_pause url:0\n ITXVodPlayer_destroyTXVodPlayer url:0"
                         "\n ITXVodPlayer_resume url:0"));
  EXPECT_EQ(sdkCalls(), (V{"createTXVodPlayer(\"a.mp4\", true)", "VodPlayer1.setCallback(callback)",
                        "VodPlayer1.seek(-5000)", "VodPlayer1.pause()", "VodPlayer1.setCallback(null)", "destroyTXVodPlayer(VodPlayer1)"}));

  call("ITXVodPlayer_createTXVodPlayer", {"b.mp4", false});
  console();
  sdk("vod 2 started 4294967396");  // 2^32 + 100: the low 32 bits are shown
  sdk("vod 2 progress 1500");
  sdk("vod 2 resumed");
  sdk("vod 2 stopped 3");
  sdk("vod 2 error -2301");
  EXPECT_EQ(console(), S("\n  onVodPlayerStarted: 100\n  onVodPlayerProgress: 1500\n  onVodPlayerResumed"
                         "\n  onVodPlayerPaused=3\n  onVodPlayerError=-2301"));
}

}  // namespace
}  // namespace tamvex_test
