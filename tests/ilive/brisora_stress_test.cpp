// Frames of changing sizes from several SDK threads for several users, member
// events binding and releasing renderers, the main thread pulling all the
// while, and the context finalized and made again at the end. Meant for the
// ThreadSanitizer build; it also asserts that no runtime rule was broken.
// A main-thread operation that does not end within its limit is a stall: the
// watchdog prints every thread's stack and ends the program, instead of
// leaving the test to hang.
#include <atomic>
#include <thread>

#include "brisora_session.h"
#include "stall_watchdog.h"
#include "time_limit.h"

namespace brisora_test {
namespace {

using ilive::SdkString;
using ilive::VideoFrame;

class BrisoraStress : public BrisoraSession {
 protected:
  // Every call of the scenario, and the joins, under the watchdog.
  air::Value call(const std::string& name, const std::vector<air::Value>& args = {}) {
    stall::StallWatchdog::Watch watch(watchdog_, name);
    return BrisoraSession::call(name, args);
  }
  void joinAll(std::vector<std::thread>& threads) {
    stall::StallWatchdog::Watch watch(watchdog_, "joining the SDK-side threads");
    for (auto& t : threads) t.join();
  }

  stall::StallWatchdog watchdog_{ane_test::timeLimit(std::chrono::milliseconds(2000))};
};

struct Sizes {
  uint32_t w, h;
};

void deliverFrames(int thread, std::atomic<bool>& stop, std::atomic<uint64_t>& delivered) {
  const Sizes sizes[] = {{64, 48}, {96, 54}, {33, 17}, {160, 90}};
  std::vector<uint8_t> data;
  uint32_t tick = 0;
  while (!stop.load()) {
    const Sizes s = sizes[(tick + thread) % 4];
    const std::string user = "u" + std::to_string((tick + thread) % 4);
    const int32_t kind = 1 + static_cast<int32_t>(tick % 3);
    const int32_t format = tick % 2 ? 8 : 0;
    VideoFrame f = ilive::standin::makeFrame(user, kind, format, s.w, s.h, tick, &data);
    if (thread == 0)
      ilive::standin::localFrame(f, true);
    else
      ilive::standin::remoteFrame(f, true);
    ++tick;
    delivered.fetch_add(1);
  }
}

void memberEvents(std::atomic<bool>& stop) {
  uint32_t tick = 0;
  while (!stop.load()) {
    const std::string user = "u" + std::to_string(tick % 4);
    const int32_t events[] = {3, 4, 7, 8, 9, 10};
    ilive::standin::memberEvent(events[tick % 6], {user, "me"}, true);
    ++tick;
    std::this_thread::yield();
  }
}

TEST_F(BrisoraStress, FramesMembersAndPullsFromManyThreads) {
  call("initILiveSdk", {1400, 0, 0, 0});
  loginAs("me", 2);
  enterRoom();

  for (int round = 0; round < 2; ++round) {
    std::atomic<bool> stop{false};
    std::atomic<uint64_t> delivered{0};
    std::vector<std::thread> sdkThreads;
    for (int t = 0; t < 3; ++t) sdkThreads.emplace_back(deliverFrames, t, std::ref(stop), std::ref(delivered));
    sdkThreads.emplace_back(memberEvents, std::ref(stop));

    auto ba = std::make_shared<air::ByteArray>();
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(1500);
    uint64_t pulls = 0;
    while (std::chrono::steady_clock::now() < until) {
      const std::string user = "u" + std::to_string(pulls % 4);
      const int32_t kind = 1 + static_cast<int32_t>(pulls % 3);
      call("getVideoData", {ba, user, kind});
      if (!ba->bytes.empty()) {
        EXPECT_EQ(0u, ba->bytes.size() % 4);
      }
      const air::Value bitmap = call("getVideoBitmapData", {air::Null{}, std::string("me"), 1});
      if (auto b = std::get_if<std::shared_ptr<air::Bitmap>>(&bitmap)) {
        EXPECT_GT((*b)->width, 0u);
      }
      if (pulls % 16 == 0) events();
      ++pulls;
    }
    if (round == 0) {
      // Finalized while the SDK threads still deliver: late frames find an
      // emptied pool or a removed renderer, never freed memory.
      {
        stall::StallWatchdog::Watch watch(watchdog_, "context finalized");
        context_->dispose();
      }
      context_ = extension_->createContext();
      call("initILiveSdk", {1400, 0, 0, 0});
      call("iLiveLogin", {std::string("me"), std::string("sig"), 1, std::string("")});
      sdk("login-result ok");
      enterRoom();
    }
    stop = true;
    joinAll(sdkThreads);
    EXPECT_GT(delivered.load(), 0u);
    EXPECT_GT(pulls, 0u);
    events();
  }
  console();
}

// Small I420 frames handed in through the SDK's callback thread by another
// thread, completions answering by themselves, logins one after another, the
// simulated room running, and the SDK released (which stops the room, whose
// thread may itself be waiting for the callback thread): no main-thread
// operation waits long. No lock is taken in an order that could close a cycle
// with the callback thread; the main thread's one wait on it is the release
// stopping the room, which lasts until the room thread's callbacks queued so
// far have run.
TEST_F(BrisoraStress, TheMainThreadNeverWaitsLongOnTheCallbackThread) {
  call("initILiveSdk", {1400, 0, 0, 0});
  standin::setAutoComplete(true);
  standin::startRoom();
  std::atomic<bool> stop{false};
  std::atomic<uint64_t> delivered{0};
  std::vector<std::thread> pushers;
  pushers.emplace_back([&] {
    std::vector<uint8_t> data;
    for (uint32_t tick = 0; !stop.load(); ++tick) {
      VideoFrame f = standin::makeFrame("sim-user-" + std::to_string(1 + tick % 2), 1, 0, 16, 12, tick, &data);
      if (standin::remoteFrame(f)) delivered.fetch_add(1);
    }
  });
  auto ba = std::make_shared<air::ByteArray>();
  for (int round = 0; round < 10; ++round) {
    for (int i = 0; i < 3; ++i) call("iLiveLogin", {std::string("me"), std::string("sig"), 2, std::string("")});
    call("createRoom", {1234u, std::string("Host"), std::string(""), false, true, true});
    for (int i = 0; i < 20; ++i) {
      call("getVideoData", {ba, std::string("sim-user-1"), 1});
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    events();
    call("dispose");  // releases the SDK: the room stops, handlers are forgotten
    standin::startRoom();
    call("initILiveSdk", {1400, 0, 0, 0});
  }
  stop = true;
  joinAll(pushers);
  standin::stopRoom();
  standin::setAutoComplete(false);
  EXPECT_GT(delivered.load(), 0u);
  events();
  console();
}

}  // namespace
}  // namespace brisora_test
