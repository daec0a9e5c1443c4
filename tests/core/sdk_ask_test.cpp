// core::ask, the one way both extensions call an SDK: which throws give the
// neutral answer, which go on to the guard of the table entry, and that the
// answer is the call's own, made once.
#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <type_traits>

#include "air/host.h"
#include "core/edge.h"
#include "core/results.h"
#include "core/sdk.h"

namespace {

TEST(CoreAsk, ACallWithAnAnswerGivesItOnceAndNothingWhenItThrowsAStdException) {
  int calls = 0;
  const std::optional<int> answer = core::ask([&] { return ++calls * 10; });
  EXPECT_EQ(std::optional<int>(10), answer);
  EXPECT_EQ(1, calls);

  // A zero, false or null answer is an answer, not a refusal.
  EXPECT_EQ(std::optional<bool>(false), core::ask([] { return false; }));
  EXPECT_EQ(std::optional<const char*>(nullptr), core::ask([]() -> const char* { return nullptr; }));

  EXPECT_EQ(std::nullopt, core::ask([]() -> int { throw std::runtime_error("sdk"); }));
  EXPECT_EQ(std::nullopt, core::ask([]() -> int { throw std::bad_alloc(); }));

  // A reference answer is kept as a copy: it outlives what the SDK referred to.
  std::string held = "sdk text";
  const auto copied = core::ask([&]() -> const std::string& { return held; });
  static_assert(std::is_same_v<const std::optional<std::string>, decltype(copied)>, "a copy, not a reference");
  held = "changed";
  EXPECT_EQ(std::optional<std::string>("sdk text"), copied);
}

TEST(CoreAsk, ACallWithoutAnAnswerSaysWhetherItReturned) {
  int calls = 0;
  EXPECT_TRUE(core::ask([&] { ++calls; }));
  EXPECT_EQ(1, calls);
  EXPECT_FALSE(core::ask([&] {
    ++calls;
    throw std::logic_error("sdk");
  }));
  EXPECT_EQ(2, calls);
}

// What is not a std::exception is not answered here: it ends the ActionScript
// call with null at the table entry's guard, as it did before ask existed.
FREObject throwsSomethingElse(FREContext, void*, uint32_t, FREObject*) {
  core::ask([] { throw 42; });
  return core::newBool(true);
}

TEST(CoreAsk, WhatIsNotAStdExceptionGoesOnToTheGuard) {
  EXPECT_THROW(core::ask([] { throw 42; }), int);
  EXPECT_THROW(core::ask([]() -> int { throw "text"; }), const char*);
  air::CallScope scope;
  EXPECT_EQ(nullptr, core::guarded<&throwsSomethingElse>(nullptr, nullptr, 0, nullptr));
}

}  // namespace
