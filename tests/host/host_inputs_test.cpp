// Inputs and comparisons a script can say: the executable's folder written
// <exe> in console and SDK texts, and two ByteArrays compared with each other.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "host_run.h"

namespace {

using namespace host_test;

// The folder of anehost, as the simulated Windows reports the executable's.
std::string exeFolder() { return fs::path(ANEHOST_PATH).parent_path().string(); }

TEST(HostInputs, ExeStandsForTheExecutablesFolderInConsoleAndSdkTexts) {
#ifdef _WIN32
  GTEST_SKIP() << "the scripts name the folder in its Linux form";
#endif
  const std::string start = "option timeout 200\nextension Tamvex\ncall initTRTCSdk false\n";
  const HostRun exact = runScript(start + "expect console \"Tamvex:---<exe>\\\\LiteAV\\\\\"\n");
  EXPECT_EQ(exact.status, 0) << exact.out << exact.err;
  const HostRun matching = runScript(start + "expect console matching \"Tamvex:---<exe>*\"\n");
  EXPECT_EQ(matching.status, 0) << matching.out << matching.err;
  const HostRun sdk = runScript(start + "call enterRoom 1400188888 12345 \"" + exeFolder() +
                                "\" \"sig\" \"\"\nexpect sdk later enterRoom({1400188888, \"<exe>\", ...)\n");
  EXPECT_EQ(sdk.status, 0) << sdk.out << sdk.err;

  // Another folder is told apart: <exe> is the whole folder, not a wildcard.
  const HostRun other = runScript(start + "expect console \"Tamvex:---<exe>/x\\\\LiteAV\\\\\"\n");
  EXPECT_EQ(other.status, 1) << other.out << other.err;
  const HostRun otherSdk = runScript(start + "call enterRoom 1400188888 12345 \"/elsewhere\" \"sig\" \"\"\n"
                                             "expect sdk later enterRoom({1400188888, \"<exe>\", ...)\n");
  EXPECT_EQ(otherSdk.status, 1) << otherSdk.out << otherSdk.err;
  const HostRun forbidden = runScript(start + "call enterRoom 1400188888 12345 \"" + exeFolder() +
                                      "\" \"sig\" \"\"\nexpect no sdk enterRoom({1400188888, \"<exe>\", ...)\n");
  EXPECT_EQ(forbidden.status, 1) << forbidden.out << forbidden.err;
}

// A folder of the executable with a blank in its name, where the libraries
// are not: the loader says where it looked, and <exe> stands for it.
TEST(HostInputs, TheExecutablesFolderCanBeChosen) {
#ifdef _WIN32
  GTEST_SKIP() << "--exe-folder moves the executable folder of the Win32 stand-in, which Windows itself does not use";
#endif
  const fs::path folder = fs::path(HOST_OUT_DIR) / "exe folder";
  fs::create_directories(folder);
  const std::string script = "option timeout 200\n"
                             "option exe-folder \"" + folder.string() + "\"\n"
                             "extension Tamvex\n"
                             "call initTRTCSdk false\n"
                             "expect console \"Tamvex:---<exe>\\\\LiteAV\\\\\"\n"
                             "expect win32 GetDllDirectoryW(260) -> \"\"\n"
                             "expect win32 SetDllDirectoryW(\"<exe>/LiteAV/\")\n"
                             "expect win32 LoadLibraryW(\"liteav.dll\") -> null 126\n";
  const HostRun r = runScript(script);
  EXPECT_EQ(r.status, 0) << r.out << r.err;
  EXPECT_NE(r.out.find(folder.string()), std::string::npos) << "the console line names the folder itself\n" << r.out;

  // The command line wins over the script, as for every setting.
  const HostRun real = runScript(script, "--exe-folder " + arg(fs::path(ANEHOST_PATH).parent_path().string()));
  EXPECT_EQ(real.status, 1) << real.out << real.err;
  const HostRun none = runScript("option exe-folder \"\"\nextension Tamvex\n");
  EXPECT_EQ(none.status, 2) << none.out << none.err;
}

TEST(HostInputs, TwoByteArraysCompareByteForByte) {
  const std::string values = kEcho +
                             "let a = bytes(hex \"00 01 02 03\")\n"
                             "let b = bytes(hex \"00 01 02 03\")\n"
                             "let c = bytes(hex \"00 01 07 03\")\n"
                             "let d = bytes(hex \"00 01 02\")\n"
                             "let e = bytes(0)\n"
                             "let f = bytes(0)\n"
                             "let n = 3\n";
  const HostRun same = runScript(values + "expect bytes a same as b\nexpect bytes e same as f\nexpect bytes a same as a\n");
  EXPECT_EQ(same.status, 0) << same.out << same.err;

  struct Case {
    const char* check;
    int status;
    const char* seen;
  };
  const Case cases[] = {
      {"expect bytes a same as c", 1, "a differs from c at byte 2: a holds hex \"02 03\", c holds hex \"07 03\""},
      {"expect bytes a same as d", 1, "a holds 4 bytes, d holds 3"},
      {"expect bytes d same as a", 1, "d holds 3 bytes, a holds 4"},
      {"expect bytes a same as n", 1, "n is 3, not a ByteArray"},
      {"expect bytes a same as nobody", 2, "'nobody' is not bound"},
      {"expect bytes a same b", 2, "expected 'same as NAME'"},
  };
  for (const Case& k : cases) {
    const HostRun r = runScript(values + k.check + "\n");
    EXPECT_EQ(r.status, k.status) << k.check << "\n" << r.out << r.err;
    EXPECT_NE(r.err.find(k.seen), std::string::npos) << k.check << "\n" << r.err;
  }
}

TEST(HostInputs, BitmapsOfGivenPixelsAndPaddedRowsReachTheExtensionAsWritten) {
  // Pixels written as a frame's bytes (blue, green, red, alpha); the echo
  // extension's paint writes its 2 x 2 picture through the row stride the
  // runtime reports, so a stride the bitmap does not have shows up.
  for (const char* layout : {"", "--inverted-bitmaps"}) {
    const HostRun r = runScript(kEcho +
                                "let p = bitmap(3, 2, hex \"44332211 00000000 302010ff  00000000 00000000 60504080\", stride 5)\n"
                                "expect pixel p at 0 0 0x11223344\n"
                                "expect pixel p at 2 0 0xFF102030\n"
                                "expect pixel p at 2 1 0x80405060\n"
                                "call paint p\n"
                                "expect pixel p at 0 0 0xFFFF0000\n"
                                "expect pixel p at 1 0 0xFF00FF00\n"
                                "expect pixel p at 0 1 0xFF0000FF\n"
                                "expect pixel p at 1 1 0xFFFFFFFF\n"
                                "expect pixel p at 2 0 0xFF102030\n"
                                "expect pixel p at 2 1 0x80405060\n"
                                "let q = bitmap(3, 1, false, 0xFF102030, stride 4)\n"
                                "expect pixel q at 2 0 0xFF102030\n"
                                "let w = bitmap(2, 1, stride 2)\n"
                                "expect pixel w at 1 0 0xFFFFFFFF\n"
                                "expect no breach\n",
                                layout);
    EXPECT_EQ(r.status, 0) << layout << "\n" << r.out << r.err;
  }

  struct Case {
    const char* value;
    const char* seen;
  };
  const Case cases[] = {
      {"bitmap(2, 2, hex \"0000ffff\")", "2x2 pixels take 16 bytes, the hex gives 4"},
      {"bitmap(2, 1, hex \"0000ff\")", "2x1 pixels take 8 bytes, the hex gives 3"},
      {"bitmap(2, 1, hex \"0g\")", "hex bytes are pairs of hex digits"},
      {"bitmap(4, 1, stride 3)", "a row stride of 4 to 16383 words"},
      {"bitmap(4, 1, stride 16384)", "a row stride of 4 to 16383 words"},
      {"bitmap(4, 1, stride 6, true)", "expected ')'"},
  };
  for (const Case& k : cases) expectRefused(kEcho + "let p = " + k.value + "\n", k.seen);
}

TEST(HostInputs, FramesOfInlineBytesReachTheApplicationAsGiven) {
  const HostRun tamvex = runScript("option timeout 2000\n"
                                   "extension Tamvex\n"
                                   "call initTRTCSdk false\n"
                                   "call enterRoom 1400188888 12345 \"me\" \"user-sig\" \"\"\n"
                                   "call setRemoteVideoRenderCallback \"u1\" 3 0 1\n"
                                   "sdk video-available \"u1\" 1\n"
                                   "sdk frame remote \"u1\" 2x1 format=bgra hex=\"01 02 03 ff 05 06 07 ff\"\n"
                                   "wait event video \"u1||2||1||0||0||1\"\n"
                                   "let f = bytes(0)\n"
                                   "call getVideoData f \"u1\" 1\n"
                                   "expect bytes f hex \"01 02 03 ff 05 06 07 ff\"\n");
  EXPECT_EQ(tamvex.status, 0) << tamvex.out << tamvex.err;

  const HostRun brisora = runScript(kBrisoraInRoom +
                                    "sdk member 3 \"u1\"\n"
                                    "sdk frame remote \"u1\" 2x1 format=rgb24 hex=\"0000ff, 00ff00\"\n"
                                    "let f = bytes(0)\n"
                                    "call getVideoData f \"u1\" 1\n"
                                    "expect pixel f 2x1 at 0 0 0xFFFF0000\n"
                                    "expect pixel f 2x1 at 1 0 0xFF00FF00\n");
  EXPECT_EQ(brisora.status, 0) << brisora.out << brisora.err;

  expectRefused("extension Brisora\nsdk frame remote \"u1\" 2x1 format=rgb24 hex=\"0\"\n",
                "hex= expects pairs of hex digits");
  expectRefused("extension Brisora\nsdk frame remote \"u1\" 2x1 hex=\"00\" color=FF0000\n",
                "a frame takes one of color=, yuv=, hex=, file= and png=");
}

TEST(HostInputs, AVolumeReportCanNameNoUser) {
  // The SDK passes a null user id for the local user as well as an empty one.
  const HostRun r = runScript("extension Tamvex\n"
                              "call initTRTCSdk false\n"
                              "call enterRoom 1400188888 12345 \"me\" \"user-sig\" \"\"\n"
                              "sdk volume null 40 \"u1\" 10 \"null\" 5\n"
                              "expect event audioevent \"rtc||me||40\"\n"
                              "expect event audioevent \"rtc||u1||10\"\n"
                              "expect event audioevent \"rtc||null||5\"\n");
  EXPECT_EQ(r.status, 0) << r.out << r.err;
}

// The lines of the guide's sdk examples from `finalize` to `sdk late ...`,
// unindented.
std::string lateExample() {
  std::istringstream guide(readFile(fs::path(HOST_SOURCE_DIR) / "docs" / "anehost.md"));
  std::string line, lines;
  while (std::getline(guide, line)) {
    if (line.rfind("    finalize", 0) == 0) lines.clear();
    if (line.rfind("    ", 0) == 0) lines += line.substr(4) + "\n";
    if (line.rfind("    sdk late ", 0) == 0) return lines;
  }
  return "";
}

TEST(HostInputs, TheGuidesLateFrameExampleRuns) {
  const std::string example = lateExample();
  ASSERT_EQ(example.rfind("finalize", 0), 0u) << example;
  const HostRun r = runScript("extension Brisora\ncall initILiveSdk 1400012345 12345 0 0\n" + example);
  EXPECT_EQ(r.status, 0) << example << r.out << r.err;
}

TEST(HostInputs, StatisticsTakeListsOfTheirOwnLengthsAndWhole64BitValues) {
  const HostRun r = runScript(kBrisoraInRoom +
                              "sdk stats lists=2 videoDecodeParams=3 audioDecodeParams=0 videoRecvParams.dwBRR=5,6 "
                              "tickCountBegin=18446744073709551615 tickCountEnd=0xFFFFFFFFFFFFFFFF\n");
  ASSERT_EQ(r.status, 0) << r.out << r.err;
  for (const char* seen : {"tickCountBegin: 18446744073709551615\\n", "tickCountEnd: 18446744073709551615\\n",
                           "videoEncodeParams.size: 2\\n", "videoDecodeParams.size: 3\\n", "videoRecvParams.size: 2\\n",
                           "audioDecodeParams.size: 0\\n", "dwBRR: 6\\n"})
    EXPECT_NE(r.out.find(seen), std::string::npos) << seen << "\n" << r.out;

  struct Case {
    const char* stats;
    const char* seen;
  };
  const Case cases[] = {
      {"tickCountBegin=18446744073709551616", "18446744073709551616 is out of the field's range (0 to 18446744073709551615)"},
      {"exeCpuRate=-1", "-1 is out of the field's range (0 to 65535)"},
      {"tickCountBegin=-9223372036854775809", "-9223372036854775809 is out of the field's range"},
      {"exeCpuRate=65536", "65536 is out of the field's range (0 to 65535)"},
      {"videoDecodeParams=101", "a list holds 0 to 100 elements"},
      {"videoDecodeParams=x", "a list holds 0 to 100 elements"},
      {"videoDecodeParams=1 videoDecodeParams.userId=\"a\",\"b\"", "more values than the list's 1 elements"},
  };
  for (const Case& k : cases) expectRefused(kBrisoraInRoom + "sdk stats " + k.stats + "\n", k.seen);
}

}  // namespace
