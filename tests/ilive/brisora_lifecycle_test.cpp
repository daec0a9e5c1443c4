// The end of a context: an event on its way when the finalizer runs, and a
// context that ActionScript dropped while a newer one carries the session.
#include <thread>

#include "brisora_session.h"

namespace brisora_test {
namespace {

using BrisoraContextEnd = BrisoraInRoom;
using Stage = air::DispatchHold::Stage;

// Runs an SDK command from a thread of its own: the SDK thread that delivers
// it may be held inside the runtime while the test's thread goes on.
class SdkCommandThread {
 public:
  explicit SdkCommandThread(const std::string& line)
      : thread_([this, line] { ok_ = ilive::standin::command(line, &error_); }) {}
  ~SdkCommandThread() { join(); }
  void join() {
    if (thread_.joinable()) thread_.join();
  }
  bool ok() {
    join();
    return ok_;
  }
  const std::string& error() { return error_; }

 private:
  bool ok_ = false;
  std::string error_;
  std::thread thread_;
};

// A frame's "video" event has read the context and is inside the runtime's
// dispatch when the main thread finalizes that context: the finalizer waits
// for it, so it lands while the context still lives (the hold runs out of
// time first) and nothing reaches the finished context.
TEST_F(BrisoraContextEnd, AVideoEventOnItsWayWhenTheContextEndsArrivesBeforeTheFinalizerReturns) {
  sdk("frame remote \"u2\" kind=2 format=rgb24 4x4");
  EXPECT_EQ(waitEvents(1), std::vector<air::Event>{event("video", "u2||4||4||0||0||2")});
  air::DispatchHold hold("video");
  SdkCommandThread frame("frame remote \"u2\" kind=2 format=rgb24 4x4");
  ASSERT_TRUE(hold.waitUntilHeld(std::chrono::seconds(5))) << "the frame raised no event";
  context_->dispose();
  EXPECT_TRUE(frame.ok()) << frame.error();
  EXPECT_EQ(Stage::TimedOut, hold.stage()) << "the finalizer returned while the event was on its way";
  EXPECT_EQ(0u, air::eventsAfterFinalize()) << "an event reached the finished context";
  EXPECT_EQ(0u, context_->droppedEvents());
  EXPECT_EQ(std::vector<std::string>{"releaseSdk(null, null, null)"}, sdkCalls());
}

// The same for an event on its way to a context that is no longer the
// newest: its finalizer, too, returns only once the event has landed.
TEST_F(BrisoraContextEnd, AnEventOnItsWayToADroppedContextArrivesBeforeItsFinalizerReturns) {
  sdk("frame remote \"u2\" kind=2 format=rgb24 4x4");
  waitEvents(1);
  air::DispatchHold hold("video");
  SdkCommandThread frame("frame remote \"u2\" kind=2 format=rgb24 4x4");
  ASSERT_TRUE(hold.waitUntilHeld(std::chrono::seconds(5))) << "the frame raised no event";
  std::unique_ptr<air::Context> dropped = std::exchange(context_, extension_->createContext());
  dropped->dispose();
  EXPECT_TRUE(frame.ok()) << frame.error();
  EXPECT_EQ(Stage::TimedOut, hold.stage()) << "the finalizer returned while the event was on its way";
  EXPECT_EQ(0u, air::eventsAfterFinalize()) << "an event reached the finished context";
  EXPECT_EQ(0u, dropped->droppedEvents());
}

// AIR finalizes a dropped ExtensionContext whenever its garbage collector
// runs. The newest context's session goes on: the SDK is not released, its
// renderers keep their streams and frames, and every event reaches it. Its
// own end still ends the session.
TEST_F(BrisoraContextEnd, FinalizingADroppedContextLeavesTheNewestOnesSessionAlone) {
  sdk("member 3 \"u1\"");
  sdk("frame remote \"u1\" kind=1 format=rgb24 4x4");
  EXPECT_EQ(2u, waitEvents(2).size());  // "addvideo" and "video"
  std::unique_ptr<air::Context> dropped = std::exchange(context_, extension_->createContext());
  console();
  sdkCalls();

  dropped->dispose();
  EXPECT_EQ("\nBrisora:,BrisoraContextFinalizer\xA3\xBAGetILive()->release()", console());
  EXPECT_TRUE(sdkCalls().empty()) << "the SDK was released under the live context";

  sdk("frame remote \"u1\" kind=1 format=rgb24 4x4");
  sdk("member 3 \"u3\"");
  sdk("stats");
  const std::vector<air::Event> got = waitEvents(3);
  ASSERT_EQ(3u, got.size());
  EXPECT_EQ(got[0], event("video", "u1||4||4||0||0||1"));
  EXPECT_EQ(got[1], event("addvideo", "u3||1"));
  EXPECT_EQ("qualityparam", got[2].code);
  auto pulled = std::make_shared<air::ByteArray>();
  call("getVideoData", {air::Value(pulled), std::string("u1"), 1});
  EXPECT_EQ(4u * 4u * 4u, pulled->bytes.size()) << "the renderer of u1 lost its frame";
  EXPECT_TRUE(events().empty());
  EXPECT_EQ(std::string::npos, console().find("ANE CTX Context Error"));
  EXPECT_EQ(0u, dropped->droppedEvents());

  context_->dispose();
  EXPECT_EQ(std::vector<std::string>{"releaseSdk(null, null, null)"}, sdkCalls());
  sdk("frame remote \"u1\" kind=1 format=rgb24 4x4");
  EXPECT_EQ(std::string::npos, console().find("init Create"));
  EXPECT_EQ(0u, air::eventsAfterFinalize());
}

// Renderers made by a call on the older context (a login there grows the
// pool with that context) raise on the newest one once the older is gone.
TEST_F(BrisoraContextEnd, RenderersMadeThroughADroppedContextRaiseOnTheNewestOnceItEnds) {
  std::unique_ptr<air::Context> newest = extension_->createContext();
  call("iLiveLogin", {std::string("me"), std::string("sig"), 3, std::string("")});  // 5 renderers, 3 new
  sdk("login-result ok");
  for (const char* user : {"u2", "u3", "u4", "u5", "u6"})
    sdk(std::string("frame remote \"") + user + "\" kind=2 format=rgb24 4x4");
  EXPECT_EQ(3u, waitEvents(3).size()) << "the renderers made through this context raise here";
  const std::vector<air::Event> onNewest = newest->waitForEvents(3, std::chrono::seconds(5));
  ASSERT_EQ(3u, onNewest.size());
  EXPECT_EQ(onNewest[0], event("ilivelogin", "complete"));

  std::unique_ptr<air::Context> dropped = std::exchange(context_, std::move(newest));
  dropped->dispose();
  for (const char* user : {"u2", "u3", "u4", "u5", "u6"})
    sdk(std::string("frame remote \"") + user + "\" kind=2 format=rgb24 4x4");
  EXPECT_EQ(5u, waitEvents(5).size());
  EXPECT_EQ(0u, dropped->droppedEvents());
  EXPECT_EQ(0u, air::eventsAfterFinalize());
}

}  // namespace
}  // namespace brisora_test
