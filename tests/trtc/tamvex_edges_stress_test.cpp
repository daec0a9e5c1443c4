// Users who come and go while their frames flow from several SDK threads,
// each user's frames of a colour of its own; meanwhile the cloud is disposed
// and made again, the current context is finalized and the session started
// again, and a newer context takes over while the older one is finalized.
// Every pulled picture must be its own user's; at the end no event reached a
// finalized context and the users who left give nothing to pull. Run under
// ThreadSanitizer; a main-thread operation that does not end within its limit
// is a stall (the watchdog prints every thread's stack and ends the program).
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

#include "stall_watchdog.h"
#include "tamvex_session.h"
#include "time_limit.h"

namespace tamvex_test {
namespace {

const std::vector<std::string> kUsers = {"u0", "u1", "u2", "u3", "u4", "u5"};
const std::vector<std::string> kColours = {"E02020", "20E020", "2020E0", "E0E020", "20E0E0", "E020E0"};
const std::string kAnchor = "anchor";  // never leaves
const std::string kAnchorColour = "808080";
const char* const kSizes[] = {"32x18", "160x90", "64x36", "320x180"};

std::string colourOf(const std::string& user) {
  if (user == kAnchor) return kAnchorColour;
  for (size_t i = 0; i < kUsers.size(); ++i)
    if (kUsers[i] == user) return kColours[i];
  return "000000";
}

// Empty when every pixel is the user's colour (BGRA, alpha FF) and the frame
// has a size that was sent; otherwise what is wrong.
std::string wrongPicture(const std::string& user, const std::vector<uint8_t>& bgra) {
  bool sized = false;
  for (const char* size : kSizes) {
    unsigned w = 0, h = 0;
    std::sscanf(size, "%ux%u", &w, &h);
    sized = sized || bgra.size() == size_t(w) * h * 4;
  }
  if (!sized) return "a frame of " + std::to_string(bgra.size()) + " bytes";
  const unsigned long rgb = std::stoul(colourOf(user), nullptr, 16);
  const uint8_t r = uint8_t(rgb >> 16), g = uint8_t(rgb >> 8), b = uint8_t(rgb);
  for (size_t i = 0; i < bgra.size(); i += 4)
    if (bgra[i] != b || bgra[i + 1] != g || bgra[i + 2] != r || bgra[i + 3] != 0xFF) {
      char text[96];
      std::snprintf(text, sizeof text, "pixel %lu is %02X%02X%02X, not its user's colour",
                    static_cast<unsigned long>(i / 4), bgra[i + 2], bgra[i + 1], bgra[i]);
      return text;
    }
  return "";
}

std::string frameLine(const std::string& user, const char* kind, const char* size) {
  return std::string("frame remote \"") + user + "\" kind=" + kind + " " + size +
         " format=bgra color=" + colourOf(user);
}

class TamvexEdgesStress : public TamvexSession {
 protected:
  air::Value call(const std::string& name, const std::vector<air::Value>& args = {}) {
    stall::StallWatchdog::Watch watch(watchdog_, name);
    return TamvexSession::call(name, args);
  }
  void joinAll(std::vector<std::thread>& threads) {
    stall::StallWatchdog::Watch watch(watchdog_, "joining the SDK-side threads");
    for (auto& t : threads) t.join();
  }
  // The room entered, the render callbacks registered (BGRA) for everyone,
  // every user's camera available.
  void startSession() {
    enterRoom("me");
    call("setLocalVideoRenderCallback", {3, 1, 1});
    for (const std::string& u : kUsers) call("setRemoteVideoRenderCallback", {u, 3, 1, 1});
    call("setRemoteVideoRenderCallback", {kAnchor, 3, 1, 1});
    sdk("video-available \"" + kAnchor + "\" 1");
    for (const std::string& u : kUsers) sdk("video-available \"" + u + "\" 1");
    events();
  }
  std::shared_ptr<air::ByteArray> pull(const std::string& id, int code) {
    stall::StallWatchdog::Watch watch(watchdog_, "getVideoData " + id);
    return TamvexSession::pull(id, code);
  }

  stall::StallWatchdog watchdog_{ane_test::timeLimit(std::chrono::milliseconds(2000))};
};

TEST_F(TamvexEdgesStress, EachPullShowsItsOwnUsersColourWhileUsersComeGoAndTheSessionEnds) {
  startSession();
  std::atomic<bool> stop{false};
  std::atomic<uint64_t> delivered{0};
  // Frames of the big and the small stream of every user, on two threads;
  // a refused frame (no render callback registered just then) is no fault.
  auto frames = [&](int thread) {
    for (uint32_t tick = 0; !stop; ++tick) {
      const size_t who = (tick + size_t(thread)) % (kUsers.size() + 1);
      const std::string& user = who == kUsers.size() ? kAnchor : kUsers[who];
      if (liteav_standin::command(frameLine(user, tick % 3 ? "big" : "small", kSizes[(tick / 3 + thread) % 4])))
        delivered.fetch_add(1);
    }
  };
  // Two users leave and come back in the other order, so that a renderer one
  // of them let go of is taken by the other.
  auto comeAndGo = [&] {
    for (uint32_t tick = 0; !stop; ++tick) {
      const std::string& first = kUsers[tick % kUsers.size()];
      const std::string& second = kUsers[(tick + 1) % kUsers.size()];
      for (const std::string* u : {&first, &second}) {
        liteav_standin::command("video-available \"" + *u + "\" 0");
        liteav_standin::command("user-exit \"" + *u + "\" 0");
      }
      for (const std::string* u : {&second, &first}) {
        liteav_standin::command("user-enter \"" + *u + "\"");
        liteav_standin::command("video-available \"" + *u + "\" 1");
      }
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
  };
  std::vector<std::thread> threads;
  threads.emplace_back(frames, 0);
  threads.emplace_back(frames, 1);
  threads.emplace_back(comeAndGo);

  uint64_t pictures = 0;
  const auto pullAndCheck = [&](const std::string& user, int code) {
    const auto ba = pull(user, code);
    if (ba->bytes.size() == 3 || ba->bytes.empty()) return;  // not found, or no frame yet
    ++pictures;
    EXPECT_EQ("", wrongPicture(user, ba->bytes)) << "the picture pulled for (" << user << ", " << code << ")";
  };
  // Seven phases: the last one starts a session again, so the departures at
  // the end meet a live session whatever the phase before it did.
  for (int phase = 0; phase < 7; ++phase) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(400);
    while (std::chrono::steady_clock::now() < until) {
      for (const std::string& u : kUsers) {
        pullAndCheck(u, 1);
        pullAndCheck(u, 10);
        // ActionScript registers a returning user's view again.
        call("setRemoteVideoRenderCallback", {u, 3, 1, 1});
      }
      pullAndCheck(kAnchor, 1);
      events();
    }
    switch (phase % 3) {
      case 0:  // the cloud released while frames flow, then made again
        EXPECT_EQ(call("dispose"), air::Value(true));
        EXPECT_EQ(call("initTRTCSdk", {false}), air::Value(true));
        startSession();
        break;
      case 1: {  // the current context finalized, the session started again
        {
          stall::StallWatchdog::Watch watch(watchdog_, "current context finalized");
          context_->dispose();
        }
        context_ = extension_->createContext();
        EXPECT_EQ(call("initTRTCSdk", {false}), air::Value(true));
        startSession();
        break;
      }
      default: {  // a newer context takes over; the older one is finalized
        std::unique_ptr<air::Context> older = std::move(context_);
        context_ = extension_->createContext();
        {
          stall::StallWatchdog::Watch watch(watchdog_, "non-current context finalized");
          older->dispose();
        }
        // Only that context is forgotten: the session goes on.
        events();
        std::string error;
        EXPECT_TRUE(liteav_standin::command(frameLine(kAnchor, "big", kSizes[0]), &error))
            << "the anchor's frame after a context that was no longer current was finalized: " << error;
        EXPECT_EQ("", wrongPicture(kAnchor, pull(kAnchor, 1)->bytes))
            << "the anchor's picture after a context that was no longer current was finalized";
        bool announced = false;
        for (const air::Event& e : events())
          announced = announced || (e.code == "video" && e.level.rfind(kAnchor + "||", 0) == 0);
        EXPECT_TRUE(announced) << "no \"video\" event of the anchor on the current context";
        break;
      }
    }
  }
  stop = true;
  joinAll(threads);
  EXPECT_GT(delivered.load(), 0u);
  EXPECT_GT(pictures, 0u);

  // Every user but the anchor leaves: nothing of theirs is left to pull.
  for (const std::string& u : kUsers) sdk("user-exit \"" + u + "\" 0");
  events();
  for (const std::string& u : kUsers)
    for (int code : {1, 10}) {
      const auto ba = pull(u, code);
      EXPECT_EQ(3u, ba->bytes.size()) << u << " left, yet (" << u << ", " << code << ") gave "
                                      << ba->bytes.size() << " bytes";
    }
  pullAndCheck(kAnchor, 1);
  call("exitRoom");
  events();
  console();
  EXPECT_EQ(0u, air::eventsAfterFinalize()) << "an event reached a finalized context";
}

}  // namespace
}  // namespace tamvex_test
