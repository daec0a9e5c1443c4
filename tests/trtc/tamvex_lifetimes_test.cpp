// Lifetimes at the edges: callbacks of a released cloud instance that an SDK
// thread still reaches, renderers of users who left, local frames that name
// the local user, and the host's DLL folder around the SDK's load.
#include <cstdint>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "tamvex_session.h"
#include "windows.h"
#if !defined(_WIN32)
#include "win32_standin.h"
#endif

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define TAMVEX_TEST_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define TAMVEX_TEST_SANITIZED 1
#endif
#endif

namespace tamvex_test {
namespace {

class TamvexLifetimes : public TamvexInRoom {
 protected:
  void TearDown() override {
    sdk("reset");  // lets go of anything a failed scenario still holds
    TamvexSession::TearDown();
  }
  bool untouched(const std::shared_ptr<air::ByteArray>& bytes) { return bytes->bytes == std::vector<uint8_t>(3, 0xEE); }
};

// ---- callbacks of a released instance ----

// An SDK thread has taken the old instance's callbacks and is about to call
// them when the application disposes of the SDK and a new instance is made.
// When the calls arrive, the old objects are still there (AddressSanitizer
// would see them freed), and what they bring stays out of the new session.
TEST_F(TamvexLifetimes, DeliveriesOfADestroyedInstanceReachLiveObjectsAndChangeNothing) {
  renderCallbacks(1, {"u1"});
  sdk("video-available \"u1\" 1");
  sdk("frame remote \"u1\" 64x36");
  ASSERT_EQ(events().size(), 2u);
  sdk("hold frame frame remote \"u1\" 8x4");
  sdk("hold notice video-available \"u9\" 1");

  EXPECT_EQ(call("dispose"), air::Value(true));  // the stand-in does not wait for the held deliveries
  renderCallbacks(1, {"u1"});                      // loads a new instance
  console();
  events();

  sdk("release frame");
  sdk("release notice");
  EXPECT_EQ(events(), std::vector<air::Event>{});
  EXPECT_EQ(pull("u1", 1)->bytes.size(), 64u * 36 * 4);  // the frame from before, not the late one
  EXPECT_TRUE(untouched(pull("u9", 1)));                 // nothing bound for the late notice
  const std::string text = console();
  EXPECT_NE(text.find("\n onRenderRemoteVideoFrame not ANEVideoRander = u1"), std::string::npos) << text;
  EXPECT_NE(text.find("\n  onUserVideoAvailable  =video||u9||1"), std::string::npos) << text;

  // The new instance's own deliveries are taken as ever.
  sdk("frame remote \"u1\" 16x8");
  EXPECT_EQ(events(), std::vector<air::Event>{event("video", "u1||16||8||0||0||1")});
}

// A frame of the instance is being taken in (held inside its "video" event's
// dispatch) when ActionScript disposes of the SDK: dispose returns only once
// that intake is over, so nothing of the old instance changes the session
// after it. The dispatch is let go after its limit, the context being alive.
TEST_F(TamvexLifetimes, DisposeWaitsForAnIntakeAlreadyUnderWay) {
  renderCallbacks(1, {"u1"});
  sdk("video-available \"u1\" 1");
  events();
  air::DispatchHold hold("video", std::chrono::milliseconds(300));
  sdk("async frame remote \"u1\" 8x4");
  ASSERT_TRUE(hold.waitUntilHeld(std::chrono::seconds(10)));
  EXPECT_EQ(call("dispose"), air::Value(true));
  EXPECT_EQ(hold.stage(), air::DispatchHold::Stage::TimedOut);
  EXPECT_EQ(events(), std::vector<air::Event>{event("video", "u1||8||4||0||0||1")});
}

// The stand-in cannot throw across DLLs in the Windows build.
#if !defined(_WIN32)
// destroyTRTCShareInstance throws: the instance lives on and still holds the
// render callbacks registered with it. The next load gets it back, keeps
// those objects (a frame through the old registration is safe and stored)
// and registers one cloud callback again, not a second set.
TEST_F(TamvexLifetimes, ADestroyThatThrowsLeavesTheInstanceItsCallbacks) {
  renderCallbacks(1, {"u1"});
  sdk("video-available \"u1\" 1");
  events();
  sdk("throw destroyTRTCShareInstance");
  EXPECT_EQ(call("dispose"), air::Value(true));
  EXPECT_EQ(sdkCalls(), (V{"removeCallback(callback)", "destroyTRTCShareInstance()"}));
  sdk("clear destroyTRTCShareInstance");

  EXPECT_EQ(call("getSdkVersion"), air::Value(S("7.9.10000 (stand-in)")));
  EXPECT_EQ(sdkCalls(), (V{"getTRTCShareInstance()", "addCallback(callback)", "getSDKVersion()"}));
  console();
  sdk("frame remote \"u1\" 16x8");
  sdk("frame local 8x4");
  EXPECT_EQ(events(), (std::vector<air::Event>{event("video", "u1||16||8||0||0||1"),
                                               event("video", "me||8||4||0||0||1")}));
  sdk("error 7 \"once\"");
  EXPECT_EQ(console(), "\n  onError  errCode=7 --- errMsg=once");

  // A later dispose that succeeds lets go of them for good.
  EXPECT_EQ(call("dispose"), air::Value(true));
  std::string error;
  EXPECT_FALSE(liteav_standin::command("frame remote \"u1\" 16x8", &error));
  EXPECT_EQ(sdkCalls(), (V{"removeCallback(callback)", "destroyTRTCShareInstance()"}));
}
#endif

// ---- users who leave ----

// Small-stream and code-0 renderers follow no availability notice: a user's
// leaving frees them, the room's end frees every remote one. The console
// says what it always said, and no event is added.
TEST_F(TamvexLifetimes, LeavingUsersAndTheRoomsEndFreeTheirFrames) {
  renderCallbacks(1, {"u1", "u2"});
  sdk("frame remote \"u1\" kind=small 32x18");
  sdk("frame remote \"u1\" kind=small 32x18");
  sdk("frame remote \"u1\" kind=7 16x8");
  sdk("video-available \"u1\" 1");
  sdk("frame remote \"u1\" 16x8");
  sdk("frame remote \"u2\" kind=small 32x18");
  sdk("frame local 8x4");
  ASSERT_EQ(events().size(), 7u);
  console();

  sdk("user-exit \"u1\" 0");
  EXPECT_EQ(console(), "\n  onUserExit  = u1 --- 0");
  EXPECT_EQ(events(), std::vector<air::Event>{});
  EXPECT_TRUE(untouched(pull("u1", 10)));
  EXPECT_TRUE(untouched(pull("u1", 0)));
  EXPECT_TRUE(untouched(pull("u1", 1)));
  EXPECT_EQ(pull("u2", 10)->bytes.size(), 32u * 18 * 4);  // others keep theirs
  console();

  sdk("exit-room 0");
  EXPECT_EQ(console(), "\n  onExitRoom  = 0");
  EXPECT_EQ(events(), std::vector<air::Event>{event("exitroom", "complete")});
  EXPECT_TRUE(untouched(pull("u2", 10)));
  EXPECT_EQ(pull("me", 1)->bytes.size(), 8u * 4 * 4);  // the local preview is not a remote stream

  // The renderers went back to the pool: 18 of them, none bound to a user who left.
  context_.reset();
  const std::string text = console();
  EXPECT_EQ(count(text, "\n ANEVideoRander Remove:"), 18) << text;
  EXPECT_EQ(text.find("Remove: u"), std::string::npos) << text;
}

#if defined(__GLIBC__) && !defined(TAMVEX_TEST_SANITIZED)
size_t bytesAllocated() {
  const struct ::mallinfo2 info = ::mallinfo2();
  return info.uordblks + info.hblkhd;
}
#endif

// Users who each send small-stream and camera frames, then leave, one after
// another. 150 of them hold no more pixel memory than 5: the pool does not
// grow (each renderer keeps at most two frames of one stream), and, where the
// allocator can be asked (glibc, no sanitizer), the bytes allocated stay
// within a few MB.
TEST_F(TamvexLifetimes, ManyUsersComingAndGoingHoldNoMorePixelMemoryThanAFew) {
  renderCallbacks(1, {});
  auto comeAndGo = [&](int first, int users) {
    for (int i = first; i < first + users; ++i) {
      const std::string id = "v" + std::to_string(i);
      call("setRemoteVideoRenderCallback", {id, 1, 1, 1});
      sdk("user-enter \"" + id + "\"");
      sdk("frame remote \"" + id + "\" kind=small 160x90");
      sdk("frame remote \"" + id + "\" kind=small 160x90");
      sdk("video-available \"" + id + "\" 1");
      sdk("frame remote \"" + id + "\" 160x90");
      sdk("frame remote \"" + id + "\" 160x90");
      sdk("user-exit \"" + id + "\" 0");
      call("setRemoteVideoRenderCallback", {id, 1, 1, 0});
    }
    events();
    console();
    sdkCalls();
  };
  comeAndGo(0, 5);
#if defined(__GLIBC__) && !defined(TAMVEX_TEST_SANITIZED)
  const size_t afterFive = bytesAllocated();
  comeAndGo(5, 150);
  const size_t after150 = bytesAllocated();
  EXPECT_LT(after150, afterFive + 4 * 1024 * 1024) << afterFive << " bytes after 5 users, " << after150 << " after 150";
#else
  comeAndGo(5, 150);
#endif
  EXPECT_TRUE(untouched(pull("v0", 10)));
  EXPECT_TRUE(untouched(pull("v154", 1)));
  context_.reset();
  EXPECT_EQ(count(console(), "\n ANEVideoRander Remove:"), 18);
}

// ---- local frames that name the local user ----

// The local registration's frames are local whatever id they carry; the
// remote registration's frames with an empty id stay local as before.
TEST_F(TamvexLifetimes, LocalFramesNamingTheLocalUserAreStored) {
  renderCallbacks(1, {""});
  sdk("local-id on");  // local frames carry "me", the user of the last enterRoom
  sdk("frame local 8x4");
  sdk("frame local kind=sub 16x8");
  EXPECT_EQ(events(), (std::vector<air::Event>{event("video", "me||8||4||0||0||1"),
                                               event("video", "me||16||8||0||0||2")}));
  EXPECT_EQ(pull("me", 1)->bytes.size(), 8u * 4 * 4);
  EXPECT_EQ(pull("me", 2)->bytes.size(), 16u * 8 * 4);
  EXPECT_EQ(console().find("not ANEVideoRander"), std::string::npos);

  sdk("local-id off");
  sdk("frame local \"someone\" 4x4");  // an id that is not ours still came through the local registration
  sdk("frame remote \"\" 2x2");        // the remote registration with an empty id: local, as ever
  EXPECT_EQ(events(), (std::vector<air::Event>{event("video", "me||4||4||0||0||1"),
                                               event("video", "me||2||2||0||0||1")}));
}

// ---- the host's DLL folder ----

std::basic_string<WCHAR> wide(const std::string& ascii) { return std::basic_string<WCHAR>(ascii.begin(), ascii.end()); }

std::basic_string<WCHAR> dllDirectory() {
  WCHAR buffer[1024] = {0};
  const DWORD n = GetDllDirectoryW(1024, buffer);
  return std::basic_string<WCHAR>(buffer, n < 1024 ? n : 0);
}

// Loading liteav.dll sets the LiteAV folder for the load only: a folder the
// host had set is there again afterwards, and none stays none.
TEST_F(TamvexLifetimes, LoadingTheSdkGivesBackTheHostsDllFolder) {
  const std::basic_string<WCHAR> hostFolder = wide(executableFolder());
  ASSERT_TRUE(SetDllDirectoryW(hostFolder.c_str()));
  call("dispose");
  EXPECT_EQ(call("getSdkVersion"), air::Value(S("7.9.10000 (stand-in)")));  // loads again
  EXPECT_EQ(dllDirectory(), hostFolder);
#if !defined(_WIN32)
  const std::vector<std::string> seen = win32::takeCalls();
  ASSERT_GE(seen.size(), 3u);
  EXPECT_EQ(seen.front().rfind("GetDllDirectoryW(", 0), 0u) << seen.front();
  EXPECT_EQ(seen.back(), "GetDllDirectoryW(1024) -> \"<exe>\"");
  EXPECT_EQ(seen[seen.size() - 2], "SetDllDirectoryW(\"<exe>\")");
#endif

  ASSERT_TRUE(SetDllDirectoryW(nullptr));
  call("dispose");
  call("getSdkVersion");
  EXPECT_EQ(dllDirectory(), std::basic_string<WCHAR>());
#if !defined(_WIN32)
  const std::vector<std::string> again = win32::takeCalls();
  ASSERT_GE(again.size(), 2u);
  EXPECT_EQ(again[again.size() - 2], "SetDllDirectoryW(null)");
#endif
}

}  // namespace
}  // namespace tamvex_test
