// The host tool run as a program on scripts: the transcript, expectations and
// exit statuses, pictures, and the two bundled example sessions.
#include <gtest/gtest.h>

#include <string>

#include "code_page.h"
#include "host_run.h"

namespace {

using namespace host_test;

TEST(HostTranscript, ShowsCallsResultsConsoleAndEventsInOrderAndUnambiguously) {
  const HostRun r = runScript(kEcho + R"(
call echo "a||b\nc 中 \xFF"
expect result "a||b\nc \u4E2D \xFF"
call echo 12
expect result 12
call echo 4294967295u
expect result 4294967295u
call echo -1.5
call echo true
call echo null
let word = "kept"
call echo word
expect result "kept"
call say "first" "sec\"ond"
expect console "first"
expect console contains "c\"o"
call emit "video" "u1||640\n||360"
expect event video "u1||640\n||360"
expect no event
)");
  EXPECT_EQ(r.status, 0) << r.out << r.err;
  // Texts are quoted with escapes: "||", a line break, non-ASCII and a byte
  // that is not UTF-8 stay visible.
  EXPECT_NE(r.out.find("    result   \"a||b\\nc \\u4E2D \\xFF\"\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("    result   4294967295u\n"), std::string::npos);
  EXPECT_NE(r.out.find("    result   -1.5\n"), std::string::npos);
  EXPECT_NE(r.out.find("    result   null\n"), std::string::npos);
  // Console lines print during the call, the result after it, and the event
  // when the runtime delivers it, after the call has returned.
  EXPECT_NE(r.out.find("    console  \"first\"\n    console  \"sec\\\"ond\"\n    result   true\n"), std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("    result   null\n    event    \"video\" \"u1||640\\n||360\"\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("HostEcho: context finalized"), std::string::npos);
  EXPECT_NE(r.out.find("runtime rule breaches: 0"), std::string::npos);
}

TEST(HostTranscript, ScriptsSavedOnWindowsReadTheSame) {
  // A byte order mark and CR LF line ends, as Windows editors write them.
  const HostRun r = runScript("\xEF\xBB\xBF" + kEcho.substr(0, kEcho.size() - 1) +
                              "\r\ncall echo \"a b\"  # comment\r\nexpect result \"a b\"\r\n");
  EXPECT_EQ(r.status, 0) << r.out << r.err;
}

TEST(HostTranscript, Utf8OptionShowsCharactersAsTheyAre) {
  const HostRun r = runScript(kEcho + "call echo \"中\\xFF\"\n", "--utf8");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("    result   \"中\\xFF\"\n"), std::string::npos) << r.out;
}

TEST(HostExpectations, AFailedExpectationReportsItsLineAndWhatWasSeen) {
  struct Case {
    const char* body;  // the failing line is the third of the script
    const char* seen;
  };
  const Case cases[] = {
      {"call echo 5\nexpect result 6\n", "the call returned 5"},
      {"call echo \"x\"\nexpect result 5\n", "the call returned \"x\""},
      {"call emit \"a\" \"1\"\nexpect event a \"2\"\n", "the next event was \"a\" \"1\""},
      {"call emit \"a\" \"1\"\nexpect event b\n", "the next event was \"a\" \"1\""},
      {"call echo 1\nexpect event a\n", "no event arrived within 100 ms"},
      {"call emit \"a\" \"1\"\nexpect no event\n", "expected no event, but \"a\" \"1\" arrived"},
      {"call say \"one\"\nexpect console \"two\"\n", "lines printed since the last call: \n        \"one\""},
      {"let b = bytes(3)\nexpect size b 4\n", "b holds 3 bytes, expected 4"},
      {"let b = bytes(3)\nexpect pixel b 1x1 at 0 0 0\n", "b holds 3 bytes, not 1 x 1 x 4 = 4"},
  };
  for (const Case& c : cases) {
    const HostRun r = runScript(kEcho + c.body + "call say \"after the failure\"\n", "--timeout 100");
    EXPECT_EQ(r.status, 1) << c.body << r.out << r.err;
    EXPECT_NE(r.out.find("FAILED line 3: "), std::string::npos) << c.body << r.out;
    EXPECT_NE(r.out.find(c.seen), std::string::npos) << c.body << r.out;
    EXPECT_NE(r.err.find("line 3: expectation failed"), std::string::npos) << r.err;
    // The run stops at the failure; the context is still finalized.
    EXPECT_EQ(r.out.find("after the failure"), std::string::npos) << c.body;
    EXPECT_NE(r.out.find("HostEcho: context finalized"), std::string::npos) << c.body;
  }
}

TEST(HostExpectations, KeepGoingRunsOnAndCountsTheFailures) {
  const HostRun r = runScript(kEcho + "call echo 1\nexpect result 2\nexpect result 3\ncall say \"still here\"\n",
                          "--keep-going");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("FAILED line 3"), std::string::npos);
  EXPECT_NE(r.out.find("FAILED line 4"), std::string::npos);
  EXPECT_NE(r.out.find("still here"), std::string::npos);
  EXPECT_NE(r.out.find("2 expectation(s) failed"), std::string::npos);
}

TEST(HostExpectations, IgnoredEventsAreCountedButNeitherShownNorMatched) {
  const HostRun r = runScript(kEcho + R"(
ignore event video
call emit "video" "u1||2||2"
call emit "video" "u1||2||2"
call emit "done" ""
expect event done ""
expect no event
ignore console "noise"
call say "noise 1" "signal"
expect console "signal"
)");
  EXPECT_EQ(r.status, 0) << r.out << r.err;
  EXPECT_EQ(r.out.find("event    \"video\""), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("    ignored  1 event(s) \"video\"\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("    ignored  1 console line(s)\n"), std::string::npos) << r.out;
}

TEST(HostExpectations, FinalizeShowsTheFinalizerAndContextStartsAnew) {
  const HostRun r = runScript(kEcho + R"(
finalize
expect console "HostEcho: context finalized"
context
call echo 7
expect result 7
)");
  EXPECT_EQ(r.status, 0) << r.out << r.err;
  // Once by `finalize`, once at the end for the second context.
  const std::string line = "    console  \"HostEcho: context finalized\"\n";
  const auto first = r.out.find(line);
  ASSERT_NE(first, std::string::npos) << r.out;
  EXPECT_NE(r.out.find(line, first + 1), std::string::npos) << r.out;
}

TEST(HostScriptErrors, MalformedScriptsExitTwoWithTheLineBeforeAnythingRuns) {
  struct Case {
    const char* script;
    int line;
  };
  const std::string ext = kEcho;
  const Case cases[] = {
      {"call echo 1\n", 1},                         // no extension named first
      {"frobnicate 1\n", 1},                        // unknown command
      {"#\nextension\n", 2},                        // extension without a name
      {"@\ncall echo \"open\n", 2},                 // text not closed (first line replaced below)
      {"@\ncall echo \"\\q\"\n", 2},                // unknown escape
      {"@\ncall echo \"\\x4\"\n", 2},               // short \x
      {"@\ncall echo missing\n", 2},                // name never bound
      {"@\ncall echo bytes(300000000)\n", 2},       // ByteArray too large
      {"@\ncall echo bitmap(9000, 1)\n", 2},        // BitmapData beyond ActionScript's limits
      {"@\ncall echo 4294967296u\n", 2},            // uint out of range
      {"@\ncall echo 12abc\n", 2},                  // not a number
      {"@\nwait -5\n", 2},                          // negative wait
      {"@\nlet = 3\n", 2},                          // let without a name
      {"@\nexpect nothing\n", 2},                   // unknown expectation
      {"@\nsave\n", 2},                             // save without a name
      {"@\nexpect result bytes(4)\n", 2},           // objects cannot be expected
      {"@\n" "extension \"x.xml\"\n", 2},           // a second extension
  };
  for (const Case& c : cases) {
    std::string text = c.script;
    if (text[0] == '@') text = ext + text.substr(2);
    const HostRun r = runScript(text);
    EXPECT_EQ(r.status, 2) << text << r.out << r.err;
    EXPECT_NE(r.err.find("line " + std::to_string(c.line) + ":"), std::string::npos) << text << r.err;
    EXPECT_EQ(r.out.find("HostEcho"), std::string::npos) << "nothing runs: " << text;
  }
}

TEST(HostScriptErrors, RunTimeScriptAndUsageErrorsExitTwo) {
  const HostRun unknownFunction = runScript(kEcho + "call noSuchFunction\n");
  EXPECT_EQ(unknownFunction.status, 2);
  EXPECT_NE(unknownFunction.err.find("line 2: the extension has no function \"noSuchFunction\""), std::string::npos)
      << unknownFunction.err;
  const HostRun unknownId = runScript("extension com.example.Nothing\n");
  EXPECT_EQ(unknownId.status, 2);
  EXPECT_NE(unknownId.err.find("no extension descriptor with id"), std::string::npos) << unknownId.err;
  const HostRun noSdk = runScript(kEcho + "sdk room start\n");
  EXPECT_EQ(noSdk.status, 2);
  const HostRun afterFinalize = runScript(kEcho + "finalize\ncall echo 1\n");
  EXPECT_EQ(afterFinalize.status, 2);
  const HostRun noResult = runScript(kEcho + "expect result 1\n");
  EXPECT_EQ(noResult.status, 2);
  EXPECT_EQ(runFile("/nonexistent/script.txt").status, 2);
  EXPECT_EQ(runScript(kEcho, "--no-such-option").status, 2);
  EXPECT_EQ(runScript(kEcho, "--ansi-codepage x").status, 2);
}

TEST(HostPictures, SavedPicturesShowTheColoursTopRowFirstInBothBitmapLayouts) {
  for (const std::string options : {"", "--inverted-bitmaps"}) {
    const fs::path out = fs::path(HOST_OUT_DIR) / ("pictures" + std::string(options.empty() ? "" : "-inverted"));
    fs::remove_all(out);
    const HostRun r = runScript(kEcho + R"(
let b = bytes(0)
call fill b
save b 2 2 bytes.png
let m = bitmap(3, 2)
call paint m
save m painted.png
let p = call picture
save p 2x2 made.png
)",
                            options + " --out " + arg(out.string()));
    ASSERT_EQ(r.status, 0) << r.out << r.err;
    for (const char* name : {"bytes.png", "painted.png", "made.png"}) {
      Png png;
      ASSERT_TRUE(readPng(out / name, &png)) << name;
      EXPECT_EQ(png.height, 2u) << name;
      EXPECT_EQ(png.at(0, 0), 0xFF0000FFu) << name << options;  // red, top left
      EXPECT_EQ(png.at(1, 0), 0x00FF00FFu) << name << options;  // green, top right
      EXPECT_EQ(png.at(0, 1), 0x0000FFFFu) << name << options;  // blue, bottom left
      EXPECT_EQ(png.at(1, 1), 0xFFFFFFFFu) << name << options;  // white
    }
    Png painted;
    ASSERT_TRUE(readPng(out / "painted.png", &painted));
    EXPECT_EQ(painted.width, 3u);
    EXPECT_EQ(painted.at(2, 0), 0xFFFFFFFFu);  // a new BitmapData is opaque white
  }
}

}  // namespace

namespace {

// The bars of the simulated test patterns, in the order they stand: white,
// yellow, cyan, green, magenta, red, blue, black (RGB).
const uint8_t kBars[8][3] = {{235, 235, 235}, {235, 235, 16}, {16, 235, 235}, {16, 235, 16},
                             {235, 16, 235},  {235, 16, 16},  {16, 16, 235},  {16, 16, 16}};

int nearestBar(uint32_t rgba) {
  int best = 0, bestDistance = 1 << 30;
  for (int i = 0; i < 8; ++i) {
    const int dr = int(rgba >> 24) - kBars[i][0], dg = int((rgba >> 16) & 0xFF) - kBars[i][1],
              db = int((rgba >> 8) & 0xFF) - kBars[i][2];
    const int d = dr * dr + dg * dg + db * db;
    if (d < bestDistance) best = i, bestDistance = d;
  }
  return best;
}

// Along row y the bars follow each other in their order (they may scroll and
// wrap around); swapped red and blue bytes would put cyan before yellow.
void expectBarsInOrder(const Png& png, uint32_t y, const std::string& what) {
  std::vector<int> runs;
  int current = -1;
  uint32_t length = 0;
  for (uint32_t x = 0; x < png.width; ++x) {
    const int bar = nearestBar(png.at(x, y));
    length = bar == current ? length + 1 : 1;
    current = bar;
    if (length == 4 && (runs.empty() || runs.back() != bar)) runs.push_back(bar);
  }
  EXPECT_GE(runs.size(), 7u) << what;
  for (size_t i = 1; i < runs.size(); ++i)
    EXPECT_EQ(runs[i], (runs[i - 1] + 1) % 8) << what << " at run " << i;
}

bool near(uint32_t rgba, uint8_t r, uint8_t g, uint8_t b) {
  const auto close = [](int a, int c) { return a - c <= 6 && c - a <= 6; };
  return close(int(rgba >> 24), r) && close(int((rgba >> 16) & 0xFF), g) && close(int((rgba >> 8) & 0xFF), b);
}

TEST(HostExamples, BrisoraSessionRunsAndSavesUprightPicturesInTrueColours) {
  const fs::path out = fs::path(HOST_OUT_DIR) / "brisora-room";
  fs::remove_all(out);
  // --strict: the example calls every function with the arguments its signature names.
  const HostRun r =
      runFile(fs::path(HOST_EXAMPLES_DIR) / "brisora-room.txt", "--strict --out " + arg(out.string()));
  ASSERT_EQ(r.status, 0) << r.out << r.err;
  EXPECT_NE(r.out.find("runtime rule breaches: 0"), std::string::npos);
  struct Picture {
    const char* file;
    uint32_t width, height;
  };
  for (const Picture& p : {Picture{"brisora-local-me.png", 320, 240}, Picture{"brisora-remote-sim-user-1.png", 640, 360},
                           Picture{"brisora-remote-sim-user-2.png", 320, 180}}) {
    Png png;
    ASSERT_TRUE(readPng(out / p.file, &png)) << p.file;
    EXPECT_EQ(png.width, p.width) << p.file;
    EXPECT_EQ(png.height, p.height) << p.file;
    // 24-bit frames keep their bytes exactly: the bars below the moving square.
    expectBarsInOrder(png, png.height * 7 / 8, p.file);
    EXPECT_EQ(png.at(png.width * 5 / 8 + 4, png.height * 7 / 8), 0xEB1010FFu) << p.file;  // red
    EXPECT_EQ(png.at(png.width * 6 / 8 + 4, png.height * 7 / 8), 0x1010EBFFu) << p.file;  // blue
    // The user's marker block sits in the top left corner, above the white bar.
    EXPECT_NE(png.at(1, 1), 0xEBEBEBFFu) << p.file;
    EXPECT_EQ(png.at(1, png.height - 2), 0xEBEBEBFFu) << p.file;
  }
}

TEST(HostExamples, TamvexSessionRunsAndSavesUprightPicturesInTrueColours) {
  const fs::path out = fs::path(HOST_OUT_DIR) / "tamvex-room";
  fs::remove_all(out);
  const HostRun r =
      runFile(fs::path(HOST_EXAMPLES_DIR) / "tamvex-room.txt", "--strict --out " + arg(out.string()));
  ASSERT_EQ(r.status, 0) << r.out << r.err;
  struct Picture {
    const char* file;
    uint32_t width, height;
    int marks;  // identification squares in the top left strip
  };
  for (const Picture& p : {Picture{"tamvex-local-me.png", 320, 180, 0}, Picture{"tamvex-remote-u1.png", 640, 360, 1},
                           Picture{"tamvex-remote-u2.png", 320, 180, 2}}) {
    Png png;
    ASSERT_TRUE(readPng(out / p.file, &png)) << p.file;
    EXPECT_EQ(png.width, p.width) << p.file;
    EXPECT_EQ(png.height, p.height) << p.file;
    expectBarsInOrder(png, png.height * 3 / 4, p.file);  // I420 (me, u1) and BGRA (u2) frames
    if (p.marks) {
      // Black, white, black across the first square of the strip near the top.
      const uint32_t square = png.height / 8, y = square;
      EXPECT_TRUE(near(png.at(square / 4, y), 0, 0, 0)) << p.file;
      EXPECT_TRUE(near(png.at(square, y), 255, 255, 255)) << p.file;
      EXPECT_TRUE(near(png.at(2 * square - square / 4, y), 0, 0, 0)) << p.file;
    }
  }
}

TEST(HostExamples, CheckSessionSeesTheMissingLibraryAndTheExactFrame) {
#ifdef _WIN32
  GTEST_SKIP() << "the session removes a library through the Win32 stand-in, which Windows itself is not";
#endif
  const fs::path out = fs::path(HOST_OUT_DIR) / "tamvex-check";
  fs::remove_all(out);
  const HostRun r = runFile(fs::path(HOST_EXAMPLES_DIR) / "tamvex-check.txt", "--strict --out " + arg(out.string()));
  ASSERT_EQ(r.status, 0) << r.out << r.err;
  Png png;
  ASSERT_TRUE(readPng(out / "check-u1-blue.png", &png));
  EXPECT_EQ(png.width, 4u);
  EXPECT_EQ(png.at(3, 1), 0x0080FFFFu);
}

TEST(HostExamples, SdkCallsAreMatchedInOrderAmongTheCallsOfTheLastStep) {
  const HostRun r = runScript(R"(extension Tamvex
call initTRTCSdk false
expect sdk getTRTCShareInstance
expect sdk addCallback( callback )
expect sdk getSDKVersion(...)
expect no sdk
call getSdkVersion
call getSdkVersion
expect sdk getSDKVersion()
expect sdk getTRTCShareInstance
)");
  EXPECT_EQ(r.status, 1) << r.out << r.err;
  EXPECT_NE(r.out.find("FAILED line 10: expected the SDK call getTRTCShareInstance, the extension made no further SDK call"),
            std::string::npos)
      << r.out;
  const HostRun wrong = runScript("extension Tamvex\ncall initTRTCSdk false\nexpect sdk addCallback(callback)\n");
  EXPECT_EQ(wrong.status, 1);
  EXPECT_NE(wrong.out.find("the next SDK call was getTRTCShareInstance()"), std::string::npos) << wrong.out;
}

TEST(HostExamples, AnsiCodePageOptionReachesTheExtension) {
  // A camera name in code page 936 bytes ("摄像头") as the SDK would list it.
  const std::string script =
      "extension Brisora\n"
      "sdk answer getCameraList list=\"\\xC9\\xE3\\xCF\\xF1\\xCD\\xB7\",\"Cam B\"\n"
      "call getCameraNames\n";
  // On Windows the option does nothing and the system's code page applies:
  // each half runs in the Windows test pass with its code page.
  if (ane_test::useAnsiCodePage(936)) {
    const HostRun chinese =
        runScript(script + "expect result \"\\u6444\\u50CF\\u5934||Cam B\"\n", "--ansi-codepage 936");
    EXPECT_EQ(chinese.status, 0) << chinese.out << chinese.err;
  }
  if (ane_test::useAnsiCodePage(1252)) {
    const HostRun western = runScript(
        script + "expect result \"\\u00C9\\u00E3\\u00CF\\u00F1\\u00CD\\u00B7||Cam B\"\n", "--ansi-codepage 1252");
    EXPECT_EQ(western.status, 0) << western.out << western.err;
  }
}

// ---- signatures: the records each function-table entry carries ----

// Runs anehost with options only (no script).
HostRun runHostOptions(const std::string& options) { return runCommand(arg(ANEHOST_PATH) + " " + options); }

size_t count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size())) ++n;
  return n;
}

TEST(HostSignatures, AWrongTypeOrCountWarnsAndStrictFailsTheRun) {
  const std::string script =
      "extension com.airrtc.Brisora\n"
      "call initILiveSdk \"1400000000\" 1 0 0\n"  // a String where an int is expected
      "call setLogPath\n"                            // one argument missing
      "call getSdkVersion\n";
  HostRun r = runScript(script);
  ASSERT_EQ(r.status, 0) << r.out << r.err;
  EXPECT_NE(r.out.find("    warning  argument 1 of initILiveSdk: expected int, got String\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("    warning  setLogPath takes 1 argument, got 0\n"), std::string::npos) << r.out;
  EXPECT_EQ(count(r.out, "warning"), 2u) << r.out;  // getSdkVersion fits

  r = runScript(script, "--strict");
  EXPECT_EQ(r.status, 1) << r.out << r.err;
  EXPECT_NE(r.err.find("argument 1 of initILiveSdk: expected int, got String"), std::string::npos) << r.err;
  EXPECT_EQ(r.out.find("setLogPath"), std::string::npos) << "the run stops at the first misfit";

  // Numbers fit as ActionScript passes them: 3u to an int, a whole 3.0 to a uint, null to a String.
  r = runScript("extension com.airrtc.Tamvex\ncall enterRoom 1400000000u 3.0 null \"sig\" \"\"\n", "--strict");
  EXPECT_EQ(r.status, 0) << r.out << r.err;
  r = runScript("extension com.airrtc.Tamvex\ncall enterRoom 1 2.5 \"u\" \"sig\" \"\"\n", "--strict");
  EXPECT_EQ(r.status, 1) << r.out << r.err;
  EXPECT_NE(r.err.find("argument 2 of enterRoom: expected int, got Number"), std::string::npos) << r.err;
}

TEST(HostSignatures, EveryFunctionOfBothTablesHasItsSignatureAndEveryEventItsLevel) {
  const HostRun json = runHostOptions("--signatures-json");
  ASSERT_EQ(json.status, 0);
  // The names come from the runtime's tables: 68 + 85 functions, 15 + 6 event codes.
  EXPECT_EQ(count(json.out, "\"summary\": "), 68u + 85u) << json.out;
  EXPECT_EQ(count(json.out, "\"level\": "), 15u + 6u);
  EXPECT_EQ(count(json.out, "\"summary\": \"\""), 0u) << "a function without a summary";
  for (const char* extension : {"Brisora", "Tamvex"}) {
    const HostRun md = runHostOptions(std::string("--reference ") + extension);
    ASSERT_EQ(md.status, 0) << extension;
    EXPECT_EQ(count(md.out, "- **Answers:** "), std::string(extension) == "Brisora" ? 68u : 85u) << extension;
    EXPECT_EQ(count(md.out, "- **Answers:** \n"), 0u) << extension << ": a function without its answers";
  }
  const HostRun one = runHostOptions("--describe getScreenCaptureTargetThumb");
  ASSERT_EQ(one.status, 0);
  EXPECT_NE(one.out.find("Tamvex: getScreenCaptureTargetThumb(sourceId:int, target:ByteArray):Object?"),
            std::string::npos)
      << one.out;
  EXPECT_EQ(runHostOptions("--describe noSuchFunction").status, 2);
}

TEST(HostSignatures, TheReferencesInDocsAreTheOnesTheTablesGive) {
  for (const char* extension : {"brisora", "tamvex"}) {
    std::string name = extension;
    name[0] = static_cast<char>(name[0] - 'a' + 'A');
    const HostRun md = runHostOptions("--reference " + name);
    ASSERT_EQ(md.status, 0);
    const std::string committed = readFile(fs::path(HOST_EXAMPLES_DIR) / ".." / "docs" / (std::string(extension) + "-api.md"));
    EXPECT_TRUE(committed == md.out) << "docs/" << extension
                                     << "-api.md is out of date: run scripts/api-docs.sh and commit the result";
  }
}

}  // namespace

