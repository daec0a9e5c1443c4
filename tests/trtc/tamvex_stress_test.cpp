// Frames of changing sizes on several SDK threads, availability switching on
// and off, the local user changing and ActionScript pulling frames on the
// main thread, then disposal and a new start. Run under ThreadSanitizer.
// A main-thread operation that does not end within its limit is a stall: the
// watchdog prints every thread's stack and ends the program, instead of
// leaving the test to hang.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "stall_watchdog.h"
#include "tamvex_session.h"
#include "time_limit.h"

namespace tamvex_test {
namespace {

class TamvexStress : public TamvexSession {
 protected:
  // Every call of the scenario, and the joins, under the watchdog.
  air::Value call(const std::string& name, const std::vector<air::Value>& args = {}) {
    stall::StallWatchdog::Watch watch(watchdog_, name);
    return TamvexSession::call(name, args);
  }
  std::shared_ptr<air::ByteArray> pull(const std::string& id, int code) {
    stall::StallWatchdog::Watch watch(watchdog_, "getVideoData " + id);
    return TamvexSession::pull(id, code);
  }
  void joinAll(std::vector<std::thread>& threads) {
    stall::StallWatchdog::Watch watch(watchdog_, "joining the SDK-side threads");
    for (auto& t : threads) t.join();
  }

  stall::StallWatchdog watchdog_{ane_test::timeLimit(std::chrono::milliseconds(2000))};
};

TEST_F(TamvexStress, FramesAvailabilityAndPullsDoNotRace) {
  enterRoom("me");
  renderCallbacks(1, {"u1", "u2", "u3"});
  sdk("video-available \"u1\" 1");
  std::atomic<bool> stop{false};
  std::atomic<int> failures{0};
  auto loop = [&](std::vector<std::string> lines) {
    for (size_t i = 0; !stop; ++i) {
      std::string error;
      if (!liteav_standin::command(lines[i % lines.size()], &error)) ++failures;
    }
  };
  std::vector<std::thread> threads;
  threads.emplace_back(loop, std::vector<std::string>{"frame local 64x36", "frame local 32x18 format=bgra",
                                                      "frame local kind=sub 48x24", "frame local 16x16"});
  threads.emplace_back(loop, std::vector<std::string>{"frame remote \"u1\" 64x36", "frame remote \"u1\" 40x20",
                                                      "frame remote \"u2\" kind=small 32x18",
                                                      "frame remote \"u2\" kind=sub 20x10 format=bgra"});
  threads.emplace_back(loop, std::vector<std::string>{"frame remote \"u3\" kind=small 24x12",
                                                      "frame remote \"u3\" kind=sub 24x12"});
  threads.emplace_back(loop, std::vector<std::string>{"video-available \"u1\" 0", "video-available \"u1\" 1",
                                                      "substream-available \"u2\" 1", "substream-available \"u2\" 0",
                                                      "volume \"\" 10 \"u1\" 20"});
  for (int i = 0; i < 300; ++i) {
    pull("me", 1);
    pull("me", 2);
    pull("u1", 1);
    pull("u2", 10);
    pull("u3", 2);
    if (i % 50 == 0) enterRoom(i % 100 ? "me" : "me2");
    if (i % 20 == 0) events();
  }
  stop = true;
  joinAll(threads);
  EXPECT_EQ(failures.load(), 0);
  events();

  // Disposal while nothing is delivered any more, then a new start.
  EXPECT_EQ(call("dispose"), air::Value(true));
  {
    stall::StallWatchdog::Watch watch(watchdog_, "context finalized");
    context_->dispose();
  }
  context_ = extension_->createContext();
  EXPECT_EQ(call("initTRTCSdk", {false}), air::Value(true));
  renderCallbacks(3, {});
  sdk("frame local 8x8 format=bgra");
  EXPECT_EQ(events().size(), 1u);
  console();
}

// The simulated room of the demo host: entering brings two users with video,
// frames flow for each registered view, volumes and speed-test results come.
TEST_F(TamvexStress, SimulatedRoomDeliversOnItsOwnThreads) {
  sdk("room start");
  enterRoom("me");
  call("setLocalVideoRenderCallback", {1, 1, 1});
  call("setRemoteVideoRenderCallback", {S("u1"), 1, 1, 1});
  call("setRemoteVideoRenderCallback", {S("u2"), 3, 1, 1});
  call("startLocalPreview");
  call("enableAudioVolumeEvaluation", {100});
  call("startSpeedTest", {1400000001, S("me"), S("sig")});
  const std::vector<std::string> wanted = {
      "video me||320||180",       "video u1||640||360",       "video u2||320||180", "enterroom",
      "mediaavailable video||u1", "mediaavailable video||u2", "audioevent rtc||me", "speedtestevent"};
  std::vector<std::string> seen;
  auto missing = [&] {
    std::vector<std::string> out;
    for (const auto& k : wanted)
      if (std::find(seen.begin(), seen.end(), k) == seen.end()) out.push_back(k);
    return out;
  };
  // Events reduced to what identifies them: code, user and size, without the changing numbers.
  for (int round = 0; round < 100 && !missing().empty(); ++round) {
    for (const air::Event& e : context_->waitForEvents(1, std::chrono::milliseconds(50))) {
      if (e.code == "video")
        seen.push_back("video " + e.level.substr(0, e.level.find("||0||")));
      else if (e.code == "mediaavailable" || e.code == "audioevent")
        seen.push_back(e.code + " " + e.level.substr(0, e.level.rfind("||")));
      else
        seen.push_back(e.code);
    }
  }
  EXPECT_TRUE(missing().empty()) << ::testing::PrintToString(missing());
  EXPECT_EQ(pull("u1", 1)->bytes.size(), 640u * 360 * 4);
  call("exitRoom");
  sdk("room stop");
  events();
}

}  // namespace
}  // namespace tamvex_test
