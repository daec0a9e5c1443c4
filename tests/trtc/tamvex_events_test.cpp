// The cloud callback: console lines, status events and renderer bindings.
#include <cstdio>
#include <cstdlib>

#include "tamvex_session.h"

namespace tamvex_test {
namespace {

using TamvexEvents = TamvexSession;

TEST_F(TamvexEvents, RoomEntryAndExitRaiseOneCompleteEventEach) {
  sdk("enter-room 250");
  EXPECT_EQ(console(), "\n  onEnterRoom  = 250 ms ");
  EXPECT_EQ(events(), (std::vector<air::Event>{event("enterroom", "complete")}));
  sdk("exit-room 3");
  EXPECT_EQ(console(), "\n  onExitRoom  = 3");
  EXPECT_EQ(events(), (std::vector<air::Event>{event("exitroom", "complete")}));
}

TEST_F(TamvexEvents, ErrorsWarningsAndMembersOnlyPrint) {
  sdk("error -1308 \"camera busy\"");
  sdk("warning 1103 \"slow\"");
  sdk("user-enter \"u7\"");
  sdk("user-exit \"u7\" 2");
  sdk("error 5 \"\xE9\x94\x99\"");  // 错 in UTF-8 prints as code page 936
  EXPECT_EQ(console(),
            "\n  onError  errCode=-1308 --- errMsg=camera busy"
            "\n  onError  warningCode=1103 --- errMsg=slow"
            "\n  onUserEnter  = u7 --- "
            "\n  onUserExit  = u7 --- 2"
            "\n  onError  errCode=5 --- errMsg=\xB4\xED");
  EXPECT_TRUE(events().empty());
}

// Console lines show a user id in its code page 936 form, whichever line
// names it: the removal when the camera goes off and the finalizer's removal.
TEST_F(TamvexEvents, RemovalLinesShowNonAsciiUsersInCodePage936Form) {
  const std::string wang = "\xE7\x8E\x8B";  // U+738B in UTF-8; CD F5 in code page 936
  renderCallbacks(1, {wang});
  sdk("video-available \"" + wang + "\" 1");
  sdk("frame remote \"" + wang + "\" 8x4");
  sdk("video-available \"" + wang + "\" 0");
  const std::string off = console();
  EXPECT_NE(off.find("\n ANEVideoRander Remove: \xCD\xF5 == 1"), std::string::npos) << off;
  sdk("video-available \"" + wang + "\" 1");
  sdk("frame remote \"" + wang + "\" 8x4");
  console();
  context_.reset();
  const std::string text = console();
  EXPECT_NE(text.find("\n ANEVideoRander Remove: \xCD\xF5 == 1"), std::string::npos);
  EXPECT_EQ(text.find(wang), std::string::npos) << "a UTF-8 user id on the console";
}

// On binds one renderer, on again binds nothing new, off prints the removal
// and frees it; off for a user without a renderer only raises the event.
TEST_F(TamvexEvents, VideoAvailabilityBindsAndFreesRenderers) {
  renderCallbacks(1, {"u1"});
  sdk("video-available \"u1\" 1");
  sdk("video-available \"u1\" 1");
  EXPECT_EQ(console(), "\n  onUserVideoAvailable  =video||u1||1\n  onUserVideoAvailable  =video||u1||1");
  sdk("frame remote \"u1\" 8x4");
  sdk("video-available \"u1\" 0");
  EXPECT_EQ(console(), "\n  onUserVideoAvailable  =video||u1||0\n ANEVideoRander Remove: u1 == 1");
  EXPECT_EQ(events(), (std::vector<air::Event>{event("mediaavailable", "video||u1||1"),
                                               event("mediaavailable", "video||u1||1"),
                                               event("video", "u1||8||4||0||0||1"),
                                               event("mediaavailable", "video||u1||0")}));
  sdk("frame remote \"u1\" 8x4");
  EXPECT_TRUE(events().empty());
  EXPECT_NE(console().find("not ANEVideoRander = u1"), std::string::npos);

  sdk("video-available \"nobody\" 0");
  EXPECT_EQ(console(), "\n  onUserVideoAvailable  =video||nobody||0");
  EXPECT_EQ(events(), (std::vector<air::Event>{event("mediaavailable", "video||nobody||0")}));

  // Only one renderer was bound by the two notices: the finalizer removes 18.
  context_.reset();
  EXPECT_EQ(count(console(), "\n ANEVideoRander Remove:"), 18);
}

TEST_F(TamvexEvents, SubStreamAndAudioAvailability) {
  renderCallbacks(1, {"u1"});
  sdk("substream-available \"u1\" 1");
  sdk("audio-available \"u1\" 1");
  sdk("substream-available \"u1\" 0");
  sdk("audio-available null 0");
  EXPECT_EQ(console(),
            "\n  onUserSubStreamAvailable  =stream||u1||1\n  onUserAudioAvailable  =audio||u1||1"
            "\n  onUserSubStreamAvailable  =stream||u1||0\n ANEVideoRander Remove: u1 == 2"
            "\n  onUserAudioAvailable  =audio||||0");
  EXPECT_EQ(events(), (std::vector<air::Event>{event("mediaavailable", "stream||u1||1"),
                                               event("mediaavailable", "audio||u1||1"),
                                               event("mediaavailable", "stream||u1||0"),
                                               event("mediaavailable", "audio||||0")}));
}

// An entry without a user id is the local user's. The local user id outlives
// contexts while the extension stays loaded, so "no room entered yet" holds
// only in a process that has entered none: this scenario runs in a process of
// its own, whatever ran before it in this one.
TEST_F(TamvexEvents, VolumeEntriesBeforeAnyRoomEntryNameNoLocalUser) {
  // Ends the process: exit code 0 when the events are the expected ones.
  const auto volumeInAFreshProcess = [this] {
    sdk("volume \"u1\" 30 \"\" 40 \"u2\" 50 total=90");
    const std::vector<air::Event> got = events();
    const std::vector<air::Event> expected = {event("audioevent", "rtc||u1||30"), event("audioevent", "rtc||||40"),
                                              event("audioevent", "rtc||u2||50")};
    for (const air::Event& e : got) std::fprintf(stderr, "event %s %s\n", e.code.c_str(), e.level.c_str());
    std::fflush(stderr);
    std::_Exit(got == expected ? 0 : 1);
  };
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(volumeInAFreshProcess(), testing::ExitedWithCode(0), "");
}

// Once rooms are entered, it is the last one entered.
TEST_F(TamvexEvents, VolumeEntriesInOrderWithTheLocalUserId) {
  enterRoom("first");
  enterRoom("me");
  sdk("volume \"u1\" 30 \"\" 40 \"u2\" 50");
  EXPECT_EQ(events(), (std::vector<air::Event>{event("audioevent", "rtc||u1||30"),
                                               event("audioevent", "rtc||me||40"),
                                               event("audioevent", "rtc||u2||50")}));
  sdk("volume count=0");
  sdk("volume \"u1\" 3 count=-1");
  EXPECT_TRUE(events().empty());
}

TEST_F(TamvexEvents, SpeedTestLevel) {
  sdk("speed-test \"203.0.113.9\" rtt=35 finished=2 total=10");
  EXPECT_EQ(events(), (std::vector<air::Event>{event("speedtestevent", "2||10||203.0.113.9||35")}));
  EXPECT_EQ(console(), "");
}

// Texts reach ActionScript as valid UTF-8 whatever bytes the SDK sent.
TEST_F(TamvexEvents, InvalidUtf8BecomesReplacementCharacters) {
  sdk("audio-available \"a\\xFFb\" 1");
  EXPECT_EQ(events(), (std::vector<air::Event>{event("mediaavailable", "audio||a\xEF\xBF\xBD" "b||1")}));
}

}  // namespace
}  // namespace tamvex_test
