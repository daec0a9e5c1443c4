// Frames of changing sizes from several SDK threads for several users, member
// events binding and releasing renderers, the main thread pulling all the
// while, and the context finalized and made again at the end. Meant for the
// ThreadSanitizer build; it also asserts that no runtime rule was broken.
#include <atomic>
#include <thread>

#include "brisora_session.h"

namespace brisora_test {
namespace {

using ilive::SdkString;
using ilive::VideoFrame;

class BrisoraStress : public BrisoraSession {};

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
      context_->dispose();
      context_ = extension_->createContext();
      call("initILiveSdk", {1400, 0, 0, 0});
      call("iLiveLogin", {std::string("me"), std::string("sig"), 1, std::string("")});
      sdk("login-result ok");
      enterRoom();
    }
    stop = true;
    for (auto& t : sdkThreads) t.join();
    EXPECT_GT(delivered.load(), 0u);
    EXPECT_GT(pulls, 0u);
    events();
  }
  console();
}

}  // namespace
}  // namespace brisora_test
