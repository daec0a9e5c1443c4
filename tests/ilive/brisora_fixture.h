// A Brisora session as the runtime runs it: the extension loaded from its
// library, one context, the console captured, the iLive SDK stand-in reset.
// Every scenario ends by checking that the runtime counted no breach.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "air/host.h"
#include "ilive_standin/standin.h"

// Tests that make the SDK throw skip where a throw cannot cross DLLs.
#define SKIP_WITHOUT_SDK_EXCEPTIONS()                                          \
  if (!ilive::standin::exceptionsCrossModules()) {                             \
    GTEST_SKIP() << "SDK exceptions cannot cross DLLs in this build";           \
  }

namespace brisora_test {

template <class T>
T as(const air::Value& v) {
  const T* p = std::get_if<T>(&v);
  EXPECT_NE(nullptr, p) << "result of another type (index " << v.index() << ")";
  return p ? *p : T{};
}

inline bool isNull(const air::Value& v) { return std::holds_alternative<air::Null>(v); }

class BrisoraTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ilive::standin::reset();
    air::resetBreaches();
    std::string error;
    extension_ = air::Extension::load(BRISORA_LIBRARY, "ANEWinExtInitializer", "ANEWinExtFinalizer", &error);
    ASSERT_TRUE(extension_) << error;
    context_ = extension_->createContext();
    ASSERT_TRUE(context_);
    call("initRtmpLiveSdk", {false});
    console_.take();
  }

  void TearDown() override {
    if (context_) context_->dispose();
    context_.reset();
    extension_.reset();
    ilive::standin::reset();
    air::setBitmapLayout(false, 0);
    EXPECT_EQ(0u, air::breaches().total());
  }

  air::Value call(const std::string& name, const std::vector<air::Value>& args = {}) {
    return context_->call(name, args);
  }
  std::vector<air::Event> events() { return context_->takeEvents(); }
  std::vector<air::Event> waitEvents(size_t count) {
    return context_->waitForEvents(count, std::chrono::milliseconds(2000));
  }
  std::string console() { return console_.take(); }
  std::vector<std::string> sdkCalls() { return ilive::standin::takeCalls(); }
  void sdk(const std::string& line) {
    std::string error;
    ASSERT_TRUE(ilive::standin::command(line, &error)) << line << ": " << error;
  }

  // Traces on or off, then a login of user as user id that succeeds; calls and
  // events of the set-up are taken.
  void loginAs(const std::string& user, int32_t streams = 0) {
    call("iLiveLogin", {user, std::string("sig"), streams, std::string("")});
    sdk("login-result ok");
    waitEvents(1);
    sdkCalls();
    console();
  }
  // Installs the room's handlers (member events, local video, quality) the way
  // createRoom does, through the stand-in's record of the installing call.
  void enterRoom() {
    call("createRoom", {1234u, std::string("Host"), std::string(""), false, true, true});
    sdk("room-result ok");
    waitEvents(1);
    sdkCalls();
    console();
  }

  std::unique_ptr<air::Extension> extension_;
  std::unique_ptr<air::Context> context_;
  air::ConsoleCapture console_;
};

// Initialised, logged in as "me" and in a room, with what that raised taken.
class BrisoraInRoom : public BrisoraTest {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(BrisoraTest::SetUp());
    call("initILiveSdk", {1400, 0, 0, 0});
    loginAs("me");
    enterRoom();
  }
};

inline air::Event ev(const std::string& code, const std::string& level) { return air::Event{code, level}; }

}  // namespace brisora_test
