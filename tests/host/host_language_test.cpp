// The script language's finer powers, run as a program: type-exact results,
// one escape dialect for every expectation, console bytes shown as bytes,
// wildcards for names with counters.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "code_page.h"
#include "host_run.h"

namespace {

using namespace host_test;

size_t count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size())) ++n;
  return n;
}

TEST(HostMatching, ResultsMatchOnlyInTheirOwnType) {
  const HostRun pass = runScript(kEcho + R"(
call echo 3
expect result 3
call echo 3u
expect result 3u
call echo 3.0
expect result 3.0
call echo 0x10
expect result 16
)");
  EXPECT_EQ(pass.status, 0) << pass.out << pass.err;

  const HostRun r = runScript(kEcho + R"(
call echo 3
expect result 3u
expect result 3.0
call echo 3u
expect result 3
expect result 3.0
call echo 3.0
expect result 3
expect result "3"
)",
                              "--keep-going");
  EXPECT_EQ(r.status, 1) << r.out << r.err;
  EXPECT_EQ(count(r.out, "    FAILED line "), 6u) << r.out;
  EXPECT_NE(r.out.find("FAILED line 4: expected result 3u (uint), the call returned 3 (int)"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("FAILED line 5: expected result 3.0 (Number), the call returned 3 (int)"), std::string::npos);
  EXPECT_NE(r.out.find("FAILED line 7: expected result 3 (int), the call returned 3u (uint)"), std::string::npos);
  EXPECT_NE(r.out.find("FAILED line 10: expected result 3 (int), the call returned 3.0 (Number)"), std::string::npos);
  EXPECT_NE(r.out.find("FAILED line 11: expected result \"3\" (String), the call returned 3.0 (Number)"),
            std::string::npos);
}

TEST(HostMatching, SdkExpectationsReadTheScriptsEscapesAndCompareBytes) {
  // Tamvex hands the user id to the SDK in UTF-8: "中" is E4 B8 AD.
  const std::string start = "extension Tamvex\ncall initTRTCSdk false\ncall enterRoom 1400188888 12345 \"\\u4E2D\" \"s\" \"\"\n";
  for (const char* id : {"\"\\u4E2D\"", "\"\\xE4\\xB8\\xAD\"", "\"中\""}) {
    const HostRun r = runScript(start + "expect sdk enterRoom({1400188888, " + id + ", \"s\", ...)\n");
    EXPECT_EQ(r.status, 0) << id << r.out << r.err;
    // The transcript shows the bytes the SDK was given.
    EXPECT_NE(r.out.find("    sdk      enterRoom({1400188888, \"\\xE4\\xB8\\xAD\", \"s\", 12345,"), std::string::npos)
        << r.out;
  }
  const HostRun other = runScript(start + "expect sdk enterRoom({1400188888, \"\\u4E2E\", ...)\n");
  EXPECT_EQ(other.status, 1) << other.out;
  EXPECT_NE(other.out.find("the next SDK call was enterRoom({1400188888, \"\\xE4\\xB8\\xAD\""), std::string::npos)
      << other.out;
  // A bad escape in an SDK expectation is a script error, found before anything runs.
  const HostRun bad = runScript(start + "expect sdk enterRoom(\"\\q\")\n");
  EXPECT_EQ(bad.status, 2);
  EXPECT_NE(bad.err.find("line 4: unknown escape \\q"), std::string::npos) << bad.err;
}

TEST(HostMatching, WildcardsStandForCountersAndRunsOfArguments) {
  const std::string twoLists =
      "extension Tamvex\ncall initTRTCSdk false\ncall getCameraDevicesList\ncall getCameraDevicesList\n"
      "expect sdk getCameraDevicesList()\n";
  const HostRun r = runScript(twoLists +
                              "expect sdk CameraList*.getCount()\n"
                              "expect sdk CameraList*.getDeviceName(...)\n"
                              "expect sdk Camera*List*.get*\n"
                              "expect sdk *.release\n");
  EXPECT_EQ(r.status, 0) << r.out << r.err;
  EXPECT_NE(r.out.find("sdk      CameraList2.getCount()"), std::string::npos) << "the counter grows over the run";
  struct Miss {
    const char* line;
    const char* seen;
  };
  for (const Miss& m : {Miss{"expect sdk MicList*.getCount()", "CameraList2.getCount()"},
                        Miss{"expect sdk CameraList*.getCount(0)", "CameraList2.getCount()"},
                        Miss{"expect sdk CameraList*.release", "CameraList2.getCount()"}}) {
    const HostRun miss = runScript(twoLists + m.line + "\n");
    EXPECT_EQ(miss.status, 1) << m.line << miss.out;
    EXPECT_NE(miss.out.find(std::string("the next SDK call was ") + m.seen), std::string::npos) << m.line << miss.out;
  }
}

TEST(HostConsole, ConsoleBytesShowAsBytesUnlessUtf8IsAsked) {
  // "失败" in code page 936 is CA A7 B0 DC, whose first two bytes happen to
  // form a valid UTF-8 character (U+02A7); a console line shows them as bytes.
  const std::string script = kEcho + "call say \"\\xCA\\xA7\\xB0\\xDC\" \"\\u4E2D\"\n"
                                     "expect console \"\\xCA\\xA7\\xB0\\xDC\"\n";
  const HostRun r = runScript(script);
  EXPECT_EQ(r.status, 0) << r.out << r.err;
  EXPECT_NE(r.out.find("    console  \"\\xCA\\xA7\\xB0\\xDC\"\n    console  \"\\xE4\\xB8\\xAD\"\n"), std::string::npos)
      << r.out;
  const HostRun utf8 = runScript(script, "--utf8");
  EXPECT_EQ(utf8.status, 0) << utf8.out << utf8.err;
  EXPECT_NE(utf8.out.find("    console  \"\xCA\xA7\\xB0\\xDC\"\n    console  \"\xE4\xB8\xAD\"\n"), std::string::npos)
      << utf8.out;
  // Strings the application receives are still characters.
  const HostRun text = runScript(kEcho + "call echo \"\\u4E2D\"\n");
  EXPECT_NE(text.out.find("    result   \"\\u4E2D\"\n"), std::string::npos) << text.out;
}

TEST(HostConsole, ExactlyComparesEveryByteIncludingLineBreaks) {
  struct Case {
    const char* written;
    const char* expected;
    bool met;
  };
  const Case cases[] = {
      {"a\\n", "a\\n", true},
      {"a\\n", "a", false},        // a trailing line break is seen
      {"a", "a\\n", false},        // and so is its absence
      {"\\n\\nb", "\\n\\nb", true},  // empty lines count
      {"\\n\\nb", "\\nb", false},
      {"", "", true},
      {"\\xCA\\xA7", "\\xCA\\xA7", true},
  };
  for (const Case& c : cases) {
    const HostRun r = runScript(kEcho + "call write \"" + c.written + "\"\nexpect console exactly \"" + c.expected + "\"\n",
                                "--timeout 100");
    EXPECT_EQ(r.status, c.met ? 0 : 1) << c.written << " / " << c.expected << r.out << r.err;
    if (!c.met) {
      EXPECT_NE(r.out.find(std::string("it was \"") + c.written + "\""), std::string::npos) << r.out;
    }
  }
}

TEST(HostConsole, NoConsoleMeansNoLineLeftUnexpected) {
  EXPECT_EQ(runScript(kEcho + "call echo 1\nexpect no console\n").status, 0);
  EXPECT_EQ(runScript(kEcho + "call say \"x\"\nexpect console \"x\"\nexpect no console\n").status, 0);
  EXPECT_EQ(runScript(kEcho + "ignore console \"x\"\ncall say \"x\"\nexpect no console\n").status, 0);
  const HostRun r = runScript(kEcho + "call say \"x\" \"y\" \"z\"\nexpect console \"x\"\nexpect no console\n");
  EXPECT_EQ(r.status, 1) << r.out;
  EXPECT_NE(r.out.find("FAILED line 4: expected no console line, but the extension printed \"y\" and 1 more"),
            std::string::npos)
      << r.out;
}

TEST(HostConsole, ConsoleLinesAndSdkCallsShowInTheOrderTheyWereMade) {
  // initTRTCSdk gets the SDK's instance, says the library is loaded, adds its
  // callback, then asks for the version and prints it.
  const HostRun r = runScript("extension Tamvex\ncall initTRTCSdk false\n");
  ASSERT_EQ(r.status, 0) << r.out << r.err;
  const auto loaded = r.out.find("    console  \"Tamvex: --- LoadLibrary liteav.dll complate\"");
  const auto instance = r.out.find("    sdk      getTRTCShareInstance()");
  const auto added = r.out.find("    sdk      addCallback(callback)");
  const auto asked = r.out.find("    sdk      getSDKVersion()");
  const auto printed = r.out.find("    console  \"Tamvex:TRTCSDK Version");
  ASSERT_NE(loaded, std::string::npos) << r.out;
  ASSERT_NE(printed, std::string::npos) << r.out;
  EXPECT_LT(instance, loaded) << r.out;
  EXPECT_LT(loaded, added) << r.out;
  EXPECT_LT(asked, printed) << r.out;
  EXPECT_LT(printed, r.out.find("    result   true")) << r.out;
}

TEST(HostOptions, ScriptLinesSetWhatTheCommandLineCanAndTheCommandLineWins) {
  const std::string wait = "call echo 1\nexpect event never\n";
  HostRun r = runScript("option timeout 100\n" + kEcho + wait);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("1> option timeout 100\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("no event arrived within 100 ms"), std::string::npos) << r.out;
  r = runScript("option timeout 100\n" + kEcho + wait, "--timeout 150");
  EXPECT_NE(r.out.find("    note     the command line's --timeout applies instead\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("no event arrived within 150 ms"), std::string::npos) << r.out;

  const std::string inverted = kEcho + "let m = bitmap(1, 1)\ncall inverted m\nexpect result true\n";
  EXPECT_EQ(runScript("option inverted-bitmaps\n" + inverted).status, 0);
  EXPECT_EQ(runScript("option inverted-bitmaps on\n" + inverted).status, 0);
  EXPECT_EQ(runScript(inverted).status, 1);
  EXPECT_EQ(runScript("option inverted-bitmaps off\n" + inverted, "--inverted-bitmaps").status, 0);

  r = runScript("option keep-going\n" + kEcho + "call echo 1\nexpect result 2\nexpect result 3\n");
  EXPECT_NE(r.out.find("2 expectation(s) failed"), std::string::npos) << r.out;
  r = runScript("option utf8 on\n" + kEcho + "call echo \"\\u4E2D\"\n");
  EXPECT_NE(r.out.find("    result   \"\xE4\xB8\xAD\"\n"), std::string::npos) << r.out;

  // A relative folder is the script's: `save` writes beside the script.
  const fs::path out = fs::path(HOST_OUT_DIR) / "scripts" / "option-out";
  fs::remove_all(out);
  r = runScript("option out \"option-out\"\n" + kEcho + "let p = call picture\nsave p p.png\n");
  EXPECT_EQ(r.status, 0) << r.out << r.err;
  EXPECT_TRUE(fs::exists(out / "p.png")) << r.out;
}

TEST(HostOptions, AScriptsCodePageReachesTheExtension) {
  // A camera name in code page 936 bytes ("摄像头") as the SDK would list it.
  const std::string script =
      "extension Brisora\n"
      "sdk answer getCameraList list=\"\\xC9\\xE3\\xCF\\xF1\\xCD\\xB7\"\n"
      "call getCameraNames\n";
  if (ane_test::useAnsiCodePage(936)) {
    const HostRun r = runScript("option ansi-codepage 936\n" + script + "expect result \"\\u6444\\u50CF\\u5934\"\n");
    EXPECT_EQ(r.status, 0) << r.out << r.err;
  }
  if (ane_test::useAnsiCodePage(1252)) {
    const HostRun r = runScript("option ansi-codepage 936\n" + script + "expect result \"\\u00C9\\u00E3\\u00CF\\u00F1\\u00CD\\u00B7\"\n",
                                "--ansi-codepage 1252");
    EXPECT_EQ(r.status, 0) << r.out << r.err;
  }
}

TEST(HostOptions, BadOptionLinesAreScriptErrors) {
  const char* lines[] = {"option nonsense\n", "option timeout x\n", "option timeout\n", "option utf8 maybe\n",
                         "option ansi-codepage 0\n", "option out\n"};
  for (const char* line : lines) expectRefused(line + kEcho, "line 1: ");
  const HostRun late = runScript(kEcho + "option utf8\n");
  EXPECT_EQ(late.status, 2);
  EXPECT_NE(late.err.find("line 2: options come before the 'extension' line"), std::string::npos) << late.err;
}

}  // namespace
