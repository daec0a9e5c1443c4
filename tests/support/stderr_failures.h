// Test failures written to stderr as they happen: the sessions capture stdout
// (where the extensions print their console lines, and gtest its messages)
// for the length of a scenario.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>

namespace ane_test {

class StderrFailures : public ::testing::EmptyTestEventListener {
  void OnTestPartResult(const ::testing::TestPartResult& r) override {
    if (r.failed())
      std::fprintf(stderr, "%s:%d: Failure\n%s\n", r.file_name() ? r.file_name() : "?", r.line_number(), r.message());
  }
};

// Adds the listener once per program.
inline void reportFailuresOnStderr() {
  static bool added = false;
  if (!added) {
    ::testing::UnitTest::GetInstance()->listeners().Append(new StderrFailures);
    added = true;
  }
}

}  // namespace ane_test
