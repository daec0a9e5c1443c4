// Frames of changing sizes from several SDK threads for several users, member
// events binding and releasing renderers, the main thread pulling all the
// while, and the context finalized and made again at the end. Meant for the
// ThreadSanitizer build; it also asserts that no runtime rule was broken.
// A main-thread operation that does not end within its limit is a stall: the
// watchdog prints every thread's stack and ends the program, instead of
// leaving the test to hang.
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "brisora_session.h"
#include "stall_watchdog.h"
#include "stderr_failures.h"
#include "time_limit.h"

namespace brisora_test {
namespace {

using ilive::SdkString;
using ilive::VideoFrame;

class BrisoraStress : public BrisoraSession {
 protected:
  void SetUp() override {
    ane_test::reportFailuresOnStderr();
    BrisoraSession::SetUp();
  }
  // The simulated room's threads are joined before the library goes.
  void TearDown() override {
    if (context_) context_->dispose();
    context_.reset();
    standin::releaseHeld();
    standin::settleRoom();
    BrisoraSession::TearDown();
  }
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
// simulated room running on its own threads, and the SDK released (which
// tells the room to stop without waiting for a delivery under way): no
// main-thread operation waits long, and no event reaches a finalized context.
// The room started again joins the threads of the run before it, which have
// only their current delivery left to finish.
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
  {
    // The room's threads may still be inside a delivery when stopRoom returns.
    stall::StallWatchdog::Watch watch(watchdog_, "settling the simulated room");
    standin::settleRoom();
  }
  standin::setAutoComplete(false);
  EXPECT_GT(delivered.load(), 0u);
  events();
  console();
  EXPECT_EQ(0u, air::eventsAfterFinalize()) << "an event reached a finalized context";
}


// ---- Users who come and go, each with a colour of their own ----

struct Colour {
  uint8_t r, g, b;
};

// Far apart in at least one channel, so that an I420 round trip cannot turn
// one into another.
const std::vector<std::string> kUsers = {"u0", "u1", "u2", "u3", "u4", "u5"};
const Colour kColours[] = {{224, 32, 32}, {32, 224, 32}, {32, 32, 224}, {224, 224, 32}, {32, 224, 224}, {224, 32, 224}};
const std::string kAnchor = "anchor";  // never leaves
const Colour kAnchorColour{128, 128, 128};
const Colour kMeColour{96, 160, 40};
const Sizes kFrameSizes[] = {{32, 18}, {160, 90}, {64, 36}, {320, 180}};

Colour colourOf(const std::string& user) {
  if (user == kAnchor) return kAnchorColour;
  if (user == "me") return kMeColour;
  for (size_t i = 0; i < kUsers.size(); ++i)
    if (kUsers[i] == user) return kColours[i];
  return {0, 0, 0};
}

// A frame of one colour: packed 24-bit (blue, green, red) or I420.
VideoFrame solidFrame(const std::string& user, int32_t kind, int32_t format, Sizes s, std::vector<uint8_t>* data) {
  const Colour c = colourOf(user);
  VideoFrame f;
  f.identifier = SdkString(user.c_str(), user.size());
  f.colorFormat = format;
  f.width = s.w;
  f.height = s.h;
  f.sourceKind = kind;
  const size_t pixels = size_t(s.w) * s.h;
  if (format == 8) {
    data->resize(pixels * 3);
    for (size_t i = 0; i < pixels; ++i) {
      (*data)[3 * i] = c.b;
      (*data)[3 * i + 1] = c.g;
      (*data)[3 * i + 2] = c.r;
    }
  } else {
    const auto clamp = [](int v) { return uint8_t(std::min(255, std::max(0, v))); };
    const uint8_t y = clamp(((66 * c.r + 129 * c.g + 25 * c.b + 128) >> 8) + 16);
    const uint8_t u = clamp(((-38 * c.r - 74 * c.g + 112 * c.b + 128) >> 8) + 128);
    const uint8_t v = clamp(((112 * c.r - 94 * c.g - 18 * c.b + 128) >> 8) + 128);
    data->assign(pixels + pixels / 2, u);
    std::fill(data->begin(), data->begin() + pixels, y);
    std::fill(data->begin() + pixels + pixels / 4, data->end(), v);
  }
  f.data = data->data();
  f.dataSize = uint32_t(data->size());
  return f;
}

// Empty when the pulled frame is wholly the user's own colour and of a size
// that was sent; otherwise what is wrong with it.
std::string wrongPicture(const std::string& user, const std::vector<uint8_t>& bgra) {
  bool sized = false;
  for (const Sizes& s : kFrameSizes) sized = sized || bgra.size() == size_t(s.w) * s.h * 4;
  if (!sized) return "a frame of " + std::to_string(bgra.size()) + " bytes";
  const Colour c = colourOf(user);
  const auto near = [](uint8_t a, uint8_t b) { return std::abs(int(a) - int(b)) <= 12; };
  for (size_t i = 0; i < bgra.size(); i += 4)
    if (!near(bgra[i], c.b) || !near(bgra[i + 1], c.g) || !near(bgra[i + 2], c.r) || bgra[i + 3] != 255) {
      char text[96];
      std::snprintf(text, sizeof text, "pixel %lu is %02X%02X%02X (red, green, blue), not its user's colour",
                    static_cast<unsigned long>(i / 4), bgra[i + 2], bgra[i + 1], bgra[i]);
      return text;
    }
  return "";
}

// Remote frames of every user, both colour formats and several sizes, on
// `thread`'s own thread; a kind-2 picture now and then (made on demand).
void deliverColours(int thread, std::atomic<bool>& stop, std::atomic<uint64_t>& delivered) {
  std::vector<uint8_t> data;
  for (uint32_t tick = 0; !stop.load(); ++tick) {
    const size_t who = (tick + size_t(thread)) % (kUsers.size() + 1);
    const std::string& user = who == kUsers.size() ? kAnchor : kUsers[who];
    const int32_t kind = tick % 5 == 0 ? 2 : 1;
    const VideoFrame f = solidFrame(user, kind, tick % 2 ? 8 : 0, kFrameSizes[(tick / 2 + thread) % 4], &data);
    if (standin::remoteFrame(f, true)) delivered.fetch_add(1);
  }
}

void deliverLocal(std::atomic<bool>& stop) {
  std::vector<uint8_t> data;
  for (uint32_t tick = 0; !stop.load(); ++tick) {
    standin::localFrame(solidFrame("me", 1, tick % 2 ? 8 : 0, kFrameSizes[tick % 4], &data), true);
    std::this_thread::yield();
  }
}

// Two users leave (camera off) and come back (camera on) in the other order,
// so that a renderer one of them let go of is taken by the other.
void comeAndGo(std::atomic<bool>& stop) {
  for (uint32_t tick = 0; !stop.load(); ++tick) {
    const std::string& first = kUsers[tick % kUsers.size()];
    const std::string& second = kUsers[(tick + 1) % kUsers.size()];
    standin::memberEvent(4, {first}, true);
    standin::memberEvent(4, {second}, true);
    std::this_thread::yield();
    standin::memberEvent(3, {second}, true);
    standin::memberEvent(3, {first}, true);
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
}

// Every pulled picture carries its own user's colour while users come and go
// on one thread and frames flow on four; meanwhile the current context is
// finalized and the session started again, and a newer context takes over
// while the older one, no longer current, is finalized: the newer one goes on
// receiving. At the end no event reached a finalized context, and the users
// who left give nothing to pull.
TEST_F(BrisoraStress, EachPullShowsItsOwnUsersColourWhileUsersComeGoAndContextsEnd) {
  const auto startSession = [this] {
    call("initILiveSdk", {1400, 0, 0, 0});
    loginAs("me", 2);
    enterRoom();
    standin::memberEvent(3, {kAnchor}, true);
    for (const std::string& u : kUsers) standin::memberEvent(3, {u}, true);
    events();
  };
  startSession();

  std::atomic<bool> stop{false};
  std::atomic<uint64_t> delivered{0};
  std::vector<std::thread> sdkThreads;
  for (int t = 0; t < 3; ++t) sdkThreads.emplace_back(deliverColours, t, std::ref(stop), std::ref(delivered));
  sdkThreads.emplace_back(deliverLocal, std::ref(stop));
  sdkThreads.emplace_back(comeAndGo, std::ref(stop));

  auto ba = std::make_shared<air::ByteArray>();
  std::vector<uint8_t> anchorData;
  uint64_t pulls = 0, pictures = 0;
  const auto pullAndCheck = [&](const std::string& user, int32_t kind) {
    ba->bytes.clear();
    call("getVideoData", {ba, user, kind});
    ++pulls;
    if (ba->bytes.empty()) return;
    ++pictures;
    const std::string wrong = wrongPicture(user, ba->bytes);
    EXPECT_EQ("", wrong) << "the picture pulled for (" << user << ", " << kind << ")";
  };
  for (int phase = 0; phase < 6; ++phase) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(400);
    while (std::chrono::steady_clock::now() < until) {
      for (const std::string& u : kUsers) pullAndCheck(u, 1);
      pullAndCheck(kUsers[pulls % kUsers.size()], 2);
      pullAndCheck(kAnchor, 1);
      pullAndCheck("me", 1);
      events();
    }
    if (phase % 3 == 0) {
      // The current context is finalized while frames and member events flow.
      {
        stall::StallWatchdog::Watch watch(watchdog_, "current context finalized");
        context_->dispose();
      }
      context_ = extension_->createContext();
      startSession();
    } else if (phase % 3 == 1) {
      // A newer context takes over; the older one, no longer current, is then
      // finalized. Only that context is forgotten: the session goes on.
      std::unique_ptr<air::Context> older = std::move(context_);
      context_ = extension_->createContext();
      {
        stall::StallWatchdog::Watch watch(watchdog_, "non-current context finalized");
        older->dispose();
      }
      events();  // what came before the anchor's frame below
      standin::remoteFrame(solidFrame(kAnchor, 1, 8, kFrameSizes[0], &anchorData), true);
      ba->bytes.clear();
      call("getVideoData", {ba, kAnchor, 1});
      EXPECT_EQ("", wrongPicture(kAnchor, ba->bytes))
          << "the anchor's picture after a context that was no longer current was finalized";
      bool announced = false;
      for (const air::Event& e : events())
        announced = announced || (e.code == "video" && e.level.rfind(kAnchor + "||", 0) == 0);
      EXPECT_TRUE(announced) << "no \"video\" event of the anchor on the current context";
    }
  }
  stop = true;
  joinAll(sdkThreads);
  EXPECT_GT(delivered.load(), 0u);
  EXPECT_GT(pictures, 0u) << pulls << " pulls";

  // Every user but the anchor leaves: nothing of theirs is left to pull.
  for (const std::string& u : kUsers) standin::memberEvent(4, {u}, true);
  events();
  for (const std::string& u : kUsers) {
    ba->bytes.assign(3, 0xEE);
    call("getVideoData", {ba, u, 1});
    EXPECT_EQ((std::vector<uint8_t>{0xEE, 0xEE, 0xEE}), ba->bytes) << u << " left, yet a picture was pulled";
  }
  pullAndCheck(kAnchor, 1);
  events();
  console();
  EXPECT_EQ(0u, air::eventsAfterFinalize()) << "an event reached a finalized context";
}

}  // namespace
}  // namespace brisora_test
