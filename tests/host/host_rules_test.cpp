// Runs fail on what the application would never see: a breach of the
// runtime's rules, or an event raised to a context already finalized, fails
// the run unless the script says it expects exactly that many.
#include <gtest/gtest.h>

#include <string>

#include "host_run.h"

namespace {

using namespace host_test;

TEST(HostRules, AnUnexpectedBreachFailsTheRunAndIsShownWhereItHappened) {
  const HostRun r = runScript(kEcho + "call breach 1\ncall echo 2\nexpect result 2\n");
  EXPECT_EQ(r.status, 1) << r.out << r.err;
  // Under the call that broke the rule, and again in the summary.
  const size_t call = r.out.find("2> call breach 1\n");
  const size_t shown = r.out.find("    breach   \"FREGetObjectAsInt32: FRE_INVALID_ARGUMENT");
  ASSERT_NE(call, std::string::npos) << r.out;
  ASSERT_NE(shown, std::string::npos) << r.out;
  EXPECT_LT(call, shown);
  EXPECT_LT(shown, r.out.find("3> call echo 2")) << r.out;
  EXPECT_NE(r.out.find("FAILED end: 1 runtime rule breach(es), the script expects none"), std::string::npos) << r.out;
  EXPECT_NE(r.err.find("expectation failed: 1 runtime rule breach(es)"), std::string::npos) << r.err;
  EXPECT_EQ(r.out.find("all expectations met"), std::string::npos);
}

TEST(HostRules, ABreachTheScriptExpectsPassesOnlyInItsExactCount) {
  EXPECT_EQ(runScript(kEcho + "expect breaches 2\ncall breach 1\ncall breach 2\n").status, 0);
  const HostRun fewer = runScript(kEcho + "expect breaches 2\ncall breach 1\n");
  EXPECT_EQ(fewer.status, 1) << fewer.out;
  EXPECT_NE(fewer.out.find("FAILED end: 1 runtime rule breach(es), the script expects 2 (line 2)"), std::string::npos)
      << fewer.out;
  const HostRun more = runScript(kEcho + "expect breaches 0\ncall breach 1\ncall breach 1\n");
  EXPECT_EQ(more.status, 1) << more.out;
  // A failed expectation earlier in the run does not hide the breach.
  const HostRun both = runScript(kEcho + "call breach 1\nexpect result 5\n");
  EXPECT_EQ(both.status, 1);
  EXPECT_NE(both.out.find("FAILED end: 1 runtime rule breach(es)"), std::string::npos) << both.out;
  EXPECT_EQ(runScript(kEcho + "expect breaches x\n").status, 2);
  EXPECT_EQ(runScript(kEcho + "expect late events\n").status, 2);
}

TEST(HostRules, BreachesPastTheRuntimesLogAreStillShownAndCounted) {
  const HostRun r = runScript(kEcho + "expect breaches 300\nrepeat 300 {\ncall breach {i}\n}\n");
  EXPECT_EQ(r.status, 0) << r.err;
  size_t lines = 0, more = 0;
  for (size_t at = r.out.find("    breach   \"FREGetObjectAsInt32"); at != std::string::npos;
       at = r.out.find("    breach   \"FREGetObjectAsInt32", at + 1))
    ++lines;
  for (size_t at = r.out.find("    breach   1 more, past the runtime's log"); at != std::string::npos;
       at = r.out.find("    breach   1 more, past the runtime's log", at + 1))
    ++more;
  EXPECT_EQ(lines, 256u * 2);  // under each call, and in the summary
  EXPECT_EQ(more, 44u);
  EXPECT_NE(r.out.find("runtime rule breaches: 300"), std::string::npos);
}

TEST(HostRules, AnEventAfterTheFinalFinalizerFailsTheRun) {
  // The echo extension raises it when it is unloaded, after the finalizer
  // that ends the script ran.
  const HostRun r = runScript(kEcho + "call emitLate \"video\" \"u1||2||2\"\n");
  EXPECT_EQ(r.status, 1) << r.out << r.err;
  const size_t end = r.out.find("end> finalize the context");
  const size_t late = r.out.find("    late     1 event(s) sent to a finalized context");
  ASSERT_NE(end, std::string::npos) << r.out;
  ASSERT_NE(late, std::string::npos) << r.out;
  EXPECT_LT(end, late);
  EXPECT_NE(r.out.find("FAILED end: 1 event(s) sent to a finalized context, the script expects none"),
            std::string::npos)
      << r.out;

  EXPECT_EQ(runScript(kEcho + "expect late events 1\ncall emitLate \"video\" \"u1\"\n").status, 0);
  // After `finalize` and a new context, as well.
  const HostRun again = runScript(kEcho + "call emitLate \"a\" \"\"\nfinalize\ncontext\ncall emitLate \"b\" \"\"\n");
  EXPECT_EQ(again.status, 1);
  EXPECT_NE(again.out.find("FAILED end: 2 event(s) sent to a finalized context"), std::string::npos) << again.out;
}

}  // namespace
