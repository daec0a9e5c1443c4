// Inputs and comparisons a script can say: the executable's folder written
// <exe> in console and SDK texts, and two ByteArrays compared with each other.
#include <gtest/gtest.h>

#include <string>

#include "host_run.h"

namespace {

using namespace host_test;

// The folder of anehost, as the simulated Windows reports the executable's.
std::string exeFolder() { return fs::path(ANEHOST_PATH).parent_path().string(); }

TEST(HostInputs, ExeStandsForTheExecutablesFolderInConsoleAndSdkTexts) {
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

}  // namespace
