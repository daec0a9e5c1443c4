// The shared frame path across threads: the steps of an SDK render thread and
// of the events thread played one after the other in the order that races,
// so each outcome is the same on every run.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

#include "air/host.h"
#include "core/frame_path.h"

namespace {

void noFunctions(void*, const uint8_t*, FREContext, uint32_t* count, const FRENamedFunction** table) {
  *count = 0;
  *table = nullptr;
}
void noFinalizer(FREContext) {}
void extensionInitializer(void** data, FREContextInitializer* init, FREContextFinalizer* fin) {
  *data = nullptr;
  *init = noFunctions;
  *fin = noFinalizer;
}

// A pool of one renderer raising on a real context.
class CoreFramePath : public ::testing::Test {
 protected:
  void SetUp() override {
    air::resetBreaches();
    extension_ = air::Extension::fromInitializer(extensionInitializer, nullptr);
    ASSERT_TRUE(extension_);
    context_ = extension_->createContext();
    ASSERT_TRUE(context_);
    owner_.set(context_->handle());
    std::lock_guard<std::mutex> lock(pool_.mutex());
    pool_.growLocked(1, context_->handle());
  }
  void TearDown() override {
    context_.reset();
    extension_.reset();
    EXPECT_EQ(0u, air::breaches().total());
  }

  // A 2 x 1 BGRA frame whose every byte is `value`.
  core::Frame frame(uint8_t value) {
    pixels_.assign(8, value);
    core::Frame f;
    f.data = pixels_.data();
    f.size = pixels_.size();
    f.width = 2;
    f.height = 1;
    f.pixels = core::FramePixels::Bgra32;
    return f;
  }
  // What a pull of (user, kind) would copy: the bytes, empty when unbound or empty.
  std::vector<uint8_t> pull(const std::string& user, int32_t kind) {
    std::vector<uint8_t> out;
    if (core::RendererPtr r = pool_.find(user, kind))
      r->frame.read([&out](const uint8_t* data, uint32_t size, uint32_t, uint32_t) {
        if (data) out.assign(data, data + size);
      });
    return out;
  }
  std::vector<air::Event> events() { return context_->takeEvents(); }

  std::unique_ptr<air::Extension> extension_;
  std::unique_ptr<air::Context> context_;
  core::AneContext owner_;
  core::RendererPool pool_;
  std::vector<uint8_t> pixels_;
};

// u1's screen frame is routed; before its intake the events thread takes the
// renderer from u1 (screen off) and gives it to u2 (screen on). The late
// intake must not show u1's picture in u2's view, nor announce it; u2's own
// frames then flow as usual.
TEST_F(CoreFramePath, AFrameRoutedBeforeItsRendererWasReboundIsDropped) {
  std::string printed;
  {
    air::ConsoleCapture console;
    const core::Route routed = core::routeRemote(pool_, owner_, "u1", 2, "me");  // render thread
    {                                                                             // events thread
      std::lock_guard<std::mutex> lock(pool_.mutex());
      pool_.findLocked("u1", 2)->release();
      pool_.acquireLocked(nullptr)->bind("u2", 2);
    }
    EXPECT_FALSE(core::takeFrame(routed, frame(0x11), "u1", 2));  // render thread
    printed = console.take();
  }
  EXPECT_EQ("\nno Video - init Create === 2", printed);
  EXPECT_TRUE(pull("u2", 2).empty());
  EXPECT_TRUE(events().empty());

  EXPECT_TRUE(core::takeFrame(core::routeRemote(pool_, owner_, "u2", 2, "me"), frame(0x22), "u2", 2));
  EXPECT_EQ(std::vector<uint8_t>(8, 0x22), pull("u2", 2));
  EXPECT_EQ((std::vector<air::Event>{{"video", "u2||2||1||0||0||2"}}), events());
}

// The same race on a local slot: the local user's screen frame is routed to
// the shared screen slot, which a remote user's screen share then takes.
TEST_F(CoreFramePath, ALocalFrameRoutedBeforeItsSlotPassedToAnotherUserIsDropped) {
  core::RendererPtr slot;
  const core::Route routed = core::routeLocal(pool_, owner_, slot, true, "me", 2, nullptr);
  ASSERT_TRUE(routed);
  {
    std::lock_guard<std::mutex> lock(pool_.mutex());
    slot->bind("s", 3);
  }
  EXPECT_FALSE(core::takeFrame(routed, frame(0x33), "me", 2));
  EXPECT_TRUE(pull("s", 3).empty());
  EXPECT_TRUE(events().empty());
}

// A steady stream rebinds its renderer on every frame without changing the
// binding: every frame is stored and announced, and the store keeps its two
// buffers instead of growing.
TEST_F(CoreFramePath, FramesOfAnUnchangedBindingKeepFlowing) {
  core::RendererPtr slot;
  const core::Route first = core::routeLocal(pool_, owner_, slot, false, "me", 1, nullptr);
  for (uint8_t n = 1; n <= 4; ++n) {
    const core::Route routed = core::routeLocal(pool_, owner_, slot, false, "me", 1, nullptr);
    EXPECT_EQ(first.binding, routed.binding);
    EXPECT_TRUE(core::takeFrame(first, frame(n), "me", 1));  // routed earlier, same binding: still stored
  }
  EXPECT_EQ(std::vector<uint8_t>(8, 4), pull("me", 1));
  EXPECT_EQ(4u, events().size());
  EXPECT_EQ(16u, pool_.bytesHeld());
}

// The events thread releases a renderer while the render thread is inside
// its store, converting. The release marks the binding changed before it
// waits for the store, so the writer, on its way to publish, sees the change
// and drops the frame, instead of publishing a frame of a binding that is gone.
TEST_F(CoreFramePath, AReleaseDuringAConversionDropsTheFrame) {
  core::RendererPtr r = pool_.find("", -1);
  ASSERT_TRUE(r);
  uint32_t routed = 0;
  {
    std::lock_guard<std::mutex> lock(pool_.mutex());
    r->bind("u1", 2);
    routed = r->binding();
  }
  std::atomic<bool> converting{false};
  bool sawChange = false;
  std::thread events;
  const bool stored = r->frame.write(
      2, 1,
      [&](uint8_t* dst) {
        std::memset(dst, 0x44, 8);
        converting = true;
        events = std::thread([&] {
          std::lock_guard<std::mutex> lock(pool_.mutex());
          r->release();
        });
        // Held here, the store's write lock taken, until the release has
        // marked the change (it then waits for this writer to leave).
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        while (r->binding() == routed && std::chrono::steady_clock::now() < until) std::this_thread::yield();
        sawChange = r->binding() != routed;
        return true;
      },
      [&] { return r->binding() == routed; });
  events.join();
  EXPECT_TRUE(converting);
  EXPECT_TRUE(sawChange) << "the release waited for the store before marking the change";
  EXPECT_FALSE(stored);
  EXPECT_EQ(0u, r->frame.bytesHeld());
}

// A pull finds u1's renderer; before it copies, the events thread gives that
// renderer to u2 and u2's frame is stored. The pull for u1 must not copy u2's
// picture.
TEST_F(CoreFramePath, APullOfARendererReboundBeforeTheCopyGetsNothing) {
  air::CallScope scope;
  {
    std::lock_guard<std::mutex> lock(pool_.mutex());
    pool_.acquireLocked(nullptr)->bind("u1", 1);
  }
  EXPECT_TRUE(core::takeFrame(core::routeRemote(pool_, owner_, "u1", 1, "me"), frame(0x11), "u1", 1));
  const core::Route found = core::findBound(pool_, "u1", 1);  // main thread
  ASSERT_TRUE(found);
  {                                                           // events thread
    std::lock_guard<std::mutex> lock(pool_.mutex());
    found.renderer->release();
    pool_.acquireLocked(nullptr)->bind("u2", 1);
  }
  EXPECT_TRUE(core::takeFrame(core::routeRemote(pool_, owner_, "u2", 1, "me"), frame(0x22), "u2", 1));
  auto array = std::make_shared<air::ByteArray>();
  array->bytes = {9};
  core::copyFrame(found, scope.object(array));  // main thread
  EXPECT_TRUE(array->bytes.empty());
  events();
}

// After the context finalizer (the owner's context cleared, the pool
// emptied) a frame finds no renderer, makes none, and routing says why.
TEST_F(CoreFramePath, FramesAfterTheFinalizerFindNothingAndSaySo) {
  core::RendererPtr slotA, slotB;
  pool_.removeAll(owner_, slotA, slotB, [](const core::ANEVideoRander&) {});
  const core::Route remote = core::routeRemote(pool_, owner_, "u1", 2, "me");
  const core::Route local = core::routeLocal(pool_, owner_, slotA, false, "me", 1, nullptr);
  EXPECT_FALSE(remote);
  EXPECT_TRUE(remote.ownerGone);
  EXPECT_FALSE(local);
  EXPECT_TRUE(local.ownerGone);
  EXPECT_EQ(0u, pool_.size());

  // Before the finalizer, a frame without a renderer is simply unbound.
  owner_.set(context_->handle());
  const core::Route camera = core::routeRemote(pool_, owner_, "u1", 1, "me");
  EXPECT_FALSE(camera);
  EXPECT_FALSE(camera.ownerGone);
}

// Routing reads the local user as it is at that moment: a remote frame of the
// local user takes no free renderer; once the id changes the former local user
// is remote like any other, and a local frame is bound to the new id, which
// the caller's copy receives.
TEST_F(CoreFramePath, RoutingFollowsTheLocalUserAsItChanges) {
  {
    std::lock_guard<std::mutex> lock(pool_.mutex());
    pool_.growLocked(2, context_->handle());
  }
  core::LocalUser local;
  local.set("me");
  air::ConsoleCapture console;
  EXPECT_FALSE(core::routeRemote(pool_, owner_, "me", 2, local));
  local.set("other");
  EXPECT_TRUE(core::routeRemote(pool_, owner_, "me", 2, local));
  EXPECT_EQ("\nno Video - init Create === 2", console.take());

  core::RendererPtr slot;
  std::string copy = "stale";
  const core::Route routed = core::routeLocal(pool_, owner_, slot, false, local, 1, &copy);
  ASSERT_TRUE(routed);
  EXPECT_EQ("other", copy);
  EXPECT_TRUE(core::takeFrame(routed, frame(0x44), copy, 1));
  EXPECT_EQ(std::vector<uint8_t>(8, 0x44), pull("other", 1));
  EXPECT_EQ((std::vector<air::Event>{{"video", "other||2||1||0||0||1"}}), events());
}

// Which kind waits for its announcement is the extension's to say: with
// another announced kind, a first frame of kind 1 takes a free renderer and
// one of the announced kind takes none.
TEST_F(CoreFramePath, OnlyTheAnnouncedKindWaitsForItsAnnouncement) {
  air::ConsoleCapture console;
  EXPECT_FALSE(core::routeRemote(pool_, owner_, "u1", 7, "me", 7));
  EXPECT_TRUE(core::routeRemote(pool_, owner_, "u1", 1, "me", 7));
  EXPECT_EQ("\nno Video - init Create === 1", console.take());
}

}  // namespace
