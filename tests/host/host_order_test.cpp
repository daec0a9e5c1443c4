// Scripts that say an order once: SDK texts in the script's one escape
// dialect, calls expected later or not at all, events in any order, events
// already delivered (ignored ones too) counted by `wait event`, and repeated
// blocks with their round in the texts.
#include <gtest/gtest.h>

#include <string>

#include "code_page.h"
#include "host_run.h"

namespace {

using namespace host_test;

TEST(HostSdkTexts, SdkLinesReadTheEscapesOfEveryOtherText) {
  // \u, \x, an escaped quote and backslash reach the simulated SDK as the bytes they stand for.
  const HostRun tamvex = runScript(
      "extension Tamvex\ncall initTRTCSdk false\n"
      "sdk answer getSDKVersion text=\"\\u5F20 a\\\"b\\\\c\\x41\\U0001F600\"  # a comment\n"
      "call getSdkVersion\n"
      "expect result \"\xE5\xBC\xA0 a\\\"b\\\\cA\\U0001F600\"\n");
  EXPECT_EQ(tamvex.status, 0) << tamvex.out << tamvex.err;
  // A quote and a comma inside a text of a list stay in the text. The list's
  // bytes are code page 936; on Windows the option cannot choose the system's
  // ANSI code page, so there the check runs in the 936 pass of the suite only.
  if (ane_test::useAnsiCodePage(936)) {
    const HostRun list = runScript(
        "option ansi-codepage 936\nextension Brisora\ncall initILiveSdk 1400000000 10000 0 0\n"
        "sdk answer getCameraList list=\"\\xD5\\xC5\\\",x\",\"b\\\\\" ids=\"c0\",\"c1\"\n"
        "call getCameraNames\n"
        "expect result \"\\u5F20\\\",x||b\\\\\"\n");
    EXPECT_EQ(list.status, 0) << list.out << list.err;
  }
  // An escape the script does not know is refused before anything runs, as in any other text.
  expectRefused("extension Tamvex\nsdk answer getSDKVersion text=\"\\q\"\n", "line 2");
}

const std::string kTamvexRoom =
    "extension Tamvex\ncall initTRTCSdk false\ncall enterRoom 1400188888 12345 \"me\" \"sig\" \"\"\n";

TEST(HostOrder, ALaterCallIsFoundPastTheCallsBeforeIt) {
  // enterRoom's calls: setting up first, enterRoom among them.
  const HostRun r = runScript(kTamvexRoom + "expect sdk later enterRoom(...)\nexpect no sdk\n");
  EXPECT_EQ(r.status, 0) << r.out << r.err;
  const HostRun missing = runScript(kTamvexRoom + "expect sdk later exitRoom\n");
  EXPECT_EQ(missing.status, 1) << missing.out;
  EXPECT_NE(missing.out.find("FAILED line 4: expected the SDK call exitRoom later on, the further SDK calls were:"),
            std::string::npos)
      << missing.out;
  // The calls passed over are used up.
  const HostRun usedUp = runScript(kTamvexRoom + "expect sdk later enterRoom\nexpect sdk enterRoom\n");
  EXPECT_EQ(usedUp.status, 1) << usedUp.out;
}

TEST(HostOrder, ACallSaidNotToBeMadeFailsUpToTheEndOfTheNextStep) {
  const std::string start = "extension Tamvex\ncall initTRTCSdk false\n";
  EXPECT_EQ(runScript(start + "expect no sdk exitRoom\ncall startLocalPreview\n").status, 0);
  // Made by the call before it, not yet expected.
  const HostRun before = runScript(start + "call exitRoom\nexpect no sdk exitRoom\n");
  EXPECT_EQ(before.status, 1) << before.out;
  EXPECT_NE(before.out.find("FAILED line 4: expected no SDK call exitRoom, but the extension called exitRoom()"),
            std::string::npos)
      << before.out;
  // Made by the next step.
  const HostRun next = runScript(start + "expect no sdk exitRoom\ncall exitRoom\ncall exitRoom\n");
  EXPECT_EQ(next.status, 1) << next.out;
  EXPECT_NE(next.out.find("FAILED line 4: expected no SDK call exitRoom from line 3 to the end of the next step"),
            std::string::npos)
      << next.out;
  // Only to the end of the next step.
  EXPECT_EQ(runScript(start + "expect no sdk exitRoom\ncall startLocalPreview\ncall exitRoom\n").status, 0);
  // And at the end of the run.
  EXPECT_EQ(runScript(start + "expect no sdk destroyTRTCShareInstance\n").status, 1);
}

TEST(HostOrder, EventsFromSeveralThreadsAreExpectedInAnyOrder) {
  const std::string frames = kTamvexRoom +
                             "call setRemoteVideoRenderCallback \"u1\" 3 0 1\n"
                             "call setRemoteVideoRenderCallback \"u2\" 3 0 1\n"
                             "sdk video-available \"u1\" 1\nsdk video-available \"u2\" 1\n"
                             "expect event mediaavailable\nexpect event mediaavailable\n"
                             "sdk frame remote \"u2\" 4x2\nsdk frame remote \"u1\" 2x2\n";
  const HostRun r = runScript(frames +
                              "expect events any order video \"u1||2||2||0||0||1\", video \"u2||4||2||0||0||1\"\n"
                              "expect no event\n");
  EXPECT_EQ(r.status, 0) << r.out << r.err;
  const HostRun codes = runScript(frames + "expect events any order video, video \"u2||4||2||0||0||1\"\n");
  EXPECT_EQ(codes.status, 0) << codes.out << codes.err;
  const HostRun wrong = runScript(frames + "expect events any order video \"u1||2||2||0||0||1\", video \"u3\"\n",
                                  "--timeout 200");
  EXPECT_EQ(wrong.status, 1) << wrong.out;
  EXPECT_NE(wrong.out.find("expected 2 events in any order; missing:\n        \"video\" \"u3\""), std::string::npos)
      << wrong.out;
  const HostRun few = runScript(frames + "expect events any order video, video, video\n", "--timeout 200");
  EXPECT_EQ(few.status, 1) << few.out;
  EXPECT_NE(few.out.find("(only 2 event(s) arrived within 200 ms)"), std::string::npos) << few.out;
  EXPECT_EQ(runScript(kTamvexRoom + "expect events video\n").status, 2);
  EXPECT_EQ(runScript(kTamvexRoom + "expect events any order video \"a\" \"b\"\n").status, 2);
}

TEST(HostOrder, WaitEventCountsAnIgnoredEventAlreadyDelivered) {
  const HostRun r = runScript(kTamvexRoom +
                                  "call setRemoteVideoRenderCallback \"u1\" 3 0 1\n"
                                  "sdk video-available \"u1\" 1\n"
                                  "ignore event video\n"
                                  "sdk frame remote \"u1\" 2x2\n"
                                  "print \"the frame has arrived\"\n"
                                  "wait event video \"u1||2||2||0||0||1\"\n",
                              "--timeout 300");
  EXPECT_EQ(r.status, 0) << r.out << r.err;
  // Not one from before the step that came before the wait's.
  const HostRun old = runScript(kTamvexRoom +
                                    "call setRemoteVideoRenderCallback \"u1\" 3 0 1\n"
                                    "ignore event video\n"
                                    "sdk frame remote \"u1\" 2x2\n"
                                    "call startLocalPreview\n"
                                    "wait event video \"u1||2||2||0||0||1\"\n",
                                "--timeout 300");
  EXPECT_EQ(old.status, 1) << old.out;
}

TEST(HostRepeat, ABlockRunsItsLinesWithTheRoundInTheirTexts) {
  const HostRun r = runScript(kEcho + R"(
repeat 3 {
  call echo "u{i}"     # round {i}
  expect result "u{i}"
}
call echo "{i}"
expect result "{i}"
)");
  EXPECT_EQ(r.status, 0) << r.out << r.err;
  EXPECT_NE(r.out.find("4> call echo \"u1\""), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("4> call echo \"u3\""), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("u4"), std::string::npos);
  const HostRun miss = runScript(kEcho + "repeat 2 {\ncall echo {i}\nexpect result 1\n}\n");
  EXPECT_EQ(miss.status, 1);
  EXPECT_NE(miss.out.find("FAILED line 4: expected result 1 (int), the call returned 2 (int)"), std::string::npos)
      << miss.out;
  for (const char* bad : {"repeat 2 {\n", "}\n", "repeat 0 {\n}\n", "repeat 2\n}\n", "repeat 2 {\nrepeat 2 {\n}\n}\n",
                          "repeat 2 {\ncall nothing(\n}\n"})
    EXPECT_EQ(runScript(kEcho + bad).status, 2) << bad;
  expectRefused(kEcho + "repeat 100000 {\n" + std::string(11, '\n') + "}\n",
                "line 2: the script's repeat blocks come to more than 1000000 lines");
}

TEST(HostRepeat, OneHundredFiftyUsersComeAndGo) {
  const HostRun r = runFile(fs::path(HOST_SCRIPTS_DIR) / "tamvex-users-come-and-go.txt");
  EXPECT_EQ(r.status, 0) << r.out.substr(r.out.size() > 4000 ? r.out.size() - 4000 : 0) << r.err;
  EXPECT_NE(r.out.find("call getVideoData frame \"u150\" 10"), std::string::npos);
}

}  // namespace

namespace {

using namespace host_test;

TEST(HostContentForms, AFillOrARepeatedRunSaysAWholeFrameInOneLine) {
  const HostRun pass = runScript(kEcho + R"(
let frame = bytes(3, 2, 0xFF102030)
expect bytes frame fill 3 2 0xFF102030
expect bytes frame fill 3x2 0xFF102030
expect bytes frame repeat hex "30 20 10 ff"
let run = bytes(hex "00 01 02 01 02")
expect bytes run at 1 repeat hex "01 02"
)");
  EXPECT_EQ(pass.status, 0) << pass.out << pass.err;
  const HostRun r = runScript(kEcho + R"(
let frame = bytes(3, 2, 0xFF102030)
let odd = bytes(hex "30 20 10 ff 30 20 10 ff 30 20 11 ff 30 20 10 ff 30 20 10 ff 30 20 10 ff")
expect bytes frame fill 2 2 0xFF102030
expect bytes odd fill 3 2 0xFF102030
expect bytes frame fill 3 2 0xFF102031
expect bytes odd repeat hex "30 20 10 ff"
expect bytes frame repeat hex "30 20 10 ff 30"
let empty = bytes(0)
expect bytes empty repeat "a"
)",
                              "--keep-going");
  EXPECT_EQ(r.status, 1) << r.out;
  EXPECT_NE(r.out.find("FAILED line 5: frame holds 24 bytes, not a 2x2 frame (16)"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("FAILED line 6: odd differs at byte 10 (pixel 2, 0): it holds 11, expected 10"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("FAILED line 7: frame differs at byte 0 (pixel 0, 0): it holds 30, expected 31"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("FAILED line 8: odd differs at byte 10: it holds 11, expected 10"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("FAILED line 9: frame holds 24 bytes, not a whole number of 5-byte runs"), std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("FAILED line 11: empty holds no bytes from offset 0"), std::string::npos) << r.out;
  EXPECT_EQ(runScript(kEcho + "let b = bytes(4)\nexpect bytes b repeat \"\"\n").status, 2);
  EXPECT_EQ(runScript(kEcho + "let b = bytes(4)\nexpect bytes b at 1 fill 1 1 0\n").status, 2);
}

TEST(HostConsole, MatchingTakesALineOfAPattern) {
  const HostRun pass = runScript(kEcho + R"(
call say "Tamvex: onEnterRoom elapsed=120 ms" "last"
expect console matching "Tamvex: onEnterRoom elapsed=* ms"
expect console matching "l??t"
)");
  EXPECT_EQ(pass.status, 0) << pass.out << pass.err;
  const HostRun r = runScript(kEcho + "call say \"abc\"\nexpect console matching \"a?\"\n", "--timeout 100");
  EXPECT_EQ(r.status, 1) << r.out;
  EXPECT_NE(r.out.find("expected a console line matching \"a?\""), std::string::npos) << r.out;
}

}  // namespace
