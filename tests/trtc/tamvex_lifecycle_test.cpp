// The end of a context: an event on its way when the finalizer runs, and a
// context that ActionScript dropped while a newer one carries the session.
#include "tamvex_session.h"

namespace tamvex_test {
namespace {

using Stage = air::DispatchHold::Stage;

const std::string kFinalizerLine = "\nTamvex:,TamvexContextFinalizer\xA3\xBArelease()";

class TamvexContextEnd : public TamvexSession {
 protected:
  void SetUp() override {
    TamvexSession::SetUp();
    if (HasFatalFailure()) return;
    enterRoom("me");
    renderCallbacks(1, {"u1"});
    sdk("video-available \"u1\" 1");
    sdk("frame remote \"u1\" 8x4");
    EXPECT_EQ(events(), (std::vector<air::Event>{event("mediaavailable", "video||u1||1"),
                                                 event("video", "u1||8||4||0||0||1")}));
    console();
    sdkCalls();
  }
};

// A frame's "video" event has read the context and is inside the runtime's
// dispatch when the main thread finalizes that context: the finalizer waits
// for it, so it lands while the context still lives (the hold runs out of
// time first) and nothing reaches the finished context.
TEST_F(TamvexContextEnd, AVideoEventOnItsWayWhenTheContextEndsArrivesBeforeTheFinalizerReturns) {
  air::DispatchHold hold("video");
  sdk("async frame remote \"u1\" 8x4");
  ASSERT_TRUE(hold.waitUntilHeld(std::chrono::seconds(5))) << "the frame raised no event";
  context_->dispose();
  EXPECT_TRUE(hold.waitUntilLetGo(std::chrono::seconds(5)));
  EXPECT_EQ(hold.stage(), Stage::TimedOut) << "the finalizer returned while the event was on its way";
  EXPECT_EQ(air::eventsAfterFinalize(), 0u) << "an event reached the finished context";
  EXPECT_EQ(context_->droppedEvents(), 0u);
  EXPECT_EQ(sdkCalls(), (std::vector<std::string>{"removeCallback(callback)", "destroyTRTCShareInstance()"}));
}

// The same for an event on its way to a context that is no longer the
// newest: its finalizer, too, returns only once the event has landed.
TEST_F(TamvexContextEnd, AnEventOnItsWayToADroppedContextArrivesBeforeItsFinalizerReturns) {
  air::DispatchHold hold("video");
  sdk("async frame remote \"u1\" 8x4");
  ASSERT_TRUE(hold.waitUntilHeld(std::chrono::seconds(5))) << "the frame raised no event";
  std::unique_ptr<air::Context> dropped = std::exchange(context_, extension_->createContext());
  dropped->dispose();
  EXPECT_TRUE(hold.waitUntilLetGo(std::chrono::seconds(5)));
  EXPECT_EQ(hold.stage(), Stage::TimedOut) << "the finalizer returned while the event was on its way";
  EXPECT_EQ(air::eventsAfterFinalize(), 0u) << "an event reached the finished context";
  EXPECT_EQ(dropped->droppedEvents(), 0u);
}

// AIR finalizes a dropped ExtensionContext whenever its garbage collector
// runs. The newest context's session goes on: the cloud keeps its callbacks,
// the renderers their streams and frames, and every event reaches it. Its
// own end still ends the session.
TEST_F(TamvexContextEnd, FinalizingADroppedContextLeavesTheNewestOnesSessionAlone) {
  std::unique_ptr<air::Context> dropped = std::exchange(context_, extension_->createContext());
  console();
  dropped->dispose();
  EXPECT_EQ(console(), kFinalizerLine) << "renderers were removed under the live context";
  EXPECT_TRUE(sdkCalls().empty()) << "the cloud was released under the live context";

  sdk("frame remote \"u1\" 8x4");
  sdk("video-available \"u2\" 1");
  sdk("enter-room 250");
  EXPECT_EQ(events(), (std::vector<air::Event>{event("video", "u1||8||4||0||0||1"),
                                               event("mediaavailable", "video||u2||1"),
                                               event("enterroom", "complete")}));
  EXPECT_EQ(pull("u1", 1)->bytes.size(), 8u * 4 * 4) << "the renderer of u1 lost its frame";
  EXPECT_EQ(dropped->droppedEvents(), 0u);

  console();
  context_->dispose();
  const std::string text = console();
  EXPECT_EQ(text.find(kFinalizerLine), 0u) << text;
  EXPECT_EQ(count(text, "\n ANEVideoRander Remove:"), 18) << text;
  EXPECT_NE(text.find("\n ANEVideoRander Remove: u1 == 1"), std::string::npos) << text;
  EXPECT_EQ(sdkCalls(), (std::vector<std::string>{"removeCallback(callback)", "destroyTRTCShareInstance()"}));
  EXPECT_EQ(air::eventsAfterFinalize(), 0u);
}

}  // namespace
}  // namespace tamvex_test
