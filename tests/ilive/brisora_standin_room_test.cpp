// The iLive stand-in's simulated room as a real SDK's threads behave: each
// remote user's camera on a thread of its own, and neither a release of the
// SDK nor a stop of the room waiting for a delivery already under way.
#include <atomic>
#include <chrono>
#include <thread>

#include "brisora_session.h"

namespace brisora_test {
namespace {

using Clock = std::chrono::steady_clock;

class BrisoraStandinRoom : public BrisoraSession {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(BrisoraSession::SetUp());
    call("initILiveSdk", {1400, 0, 0, 0});
    standin::setAutoComplete(true);
    call("iLiveLogin", {std::string("me"), std::string("sig"), 2, std::string("")});
    call("createRoom", {1234u, std::string("Host"), std::string(""), false, true, true});
  }
  // The room's threads may still be in Brisora's handlers: joined before the
  // library is unloaded.
  void TearDown() override {
    standin::releaseHeld();
    if (context_) context_->dispose();
    context_.reset();
    standin::settleRoom();
    standin::setAutoComplete(false);
    BrisoraSession::TearDown();
  }
  // Waits up to two seconds for a "video" event of the user; false if none came.
  bool videoOf(const std::string& user) {
    const auto until = Clock::now() + std::chrono::seconds(2);
    while (Clock::now() < until)
      for (const air::Event& e : context_->waitForEvents(1, std::chrono::milliseconds(50)))
        if (e.code == "video" && e.level.rfind(user + "||", 0) == 0) return true;
    return false;
  }
};

// A frame of sim-user-1 held after its handler was read: sim-user-2's and the
// local camera's frames keep coming, each on its own thread.
TEST_F(BrisoraStandinRoom, OneUsersDeliveryHeldLeavesTheOthersFlowing) {
  standin::holdNextDelivery("remoteVideo", "sim-user-1");
  standin::startRoom();
  ASSERT_TRUE(standin::waitUntilHeld(3000));
  events();
  EXPECT_TRUE(videoOf("sim-user-2"));
  EXPECT_TRUE(videoOf("me"));
  standin::releaseHeld();
  EXPECT_TRUE(videoOf("sim-user-1"));
}

// The release of the SDK (the context finalizer's) and a stop of the room
// return while a delivery is held in flight; the delivery ends afterwards, and
// settleRoom waits for it.
TEST_F(BrisoraStandinRoom, ReleaseAndStopDoNotWaitForADeliveryUnderWay) {
  standin::holdNextDelivery("remoteVideo", "sim-user-2");
  standin::startRoom();
  ASSERT_TRUE(standin::waitUntilHeld(3000));
  // Lets the delivery go after a while, should a release wait for it.
  std::atomic<bool> done{false};
  std::thread rescue([&done] {
    for (int i = 0; i < 200 && !done; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    standin::releaseHeld();
  });
  const auto before = Clock::now();
  call("dispose");  // releaseSdk: stops the room
  standin::stopRoom();
  const auto waited = Clock::now() - before;
  EXPECT_LT(waited, std::chrono::seconds(1)) << "the release waited for the held delivery";
  done = true;
  standin::releaseHeld();
  standin::settleRoom();
  rescue.join();
}

// A room started again joins the threads of the run before it, which may
// still have been finishing a delivery when it was stopped.
TEST_F(BrisoraStandinRoom, StartedAgainAfterAStopThatDidNotWait) {
  standin::holdNextDelivery("localVideo");
  standin::startRoom();
  ASSERT_TRUE(standin::waitUntilHeld(3000));
  standin::stopRoom();
  standin::releaseHeld();
  standin::startRoom();  // joins the stopped run first
  events();
  EXPECT_TRUE(videoOf("sim-user-1"));
  standin::stopRoom();
}

}  // namespace
}  // namespace brisora_test
