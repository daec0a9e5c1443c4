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

}  // namespace
