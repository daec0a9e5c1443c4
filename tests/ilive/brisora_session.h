// Brisora sessions as the runtime runs them, for every Brisora test program:
// the extension loaded from its library, one context, the console captured,
// the iLive SDK stand-in reset, no breach of the runtime's rules counted yet
// (support/extension_session.h). The tear-down checks that the whole scenario
// broke none of those rules.
//   BrisoraSession   initialised with traces off, nothing else done
//   BrisoraInRoom    initialised, logged in as "me" and in a room
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "air/host.h"
#include "extension_session.h"
#include "ilive_standin/standin.h"

// Whether an exception thrown inside the SDK library can be caught in
// Brisora's. Not in the Windows build: every DLL there carries its own static
// copy of the C++ runtime and unwinder, so a throw cannot cross from
// iLiveSDK.dll into Brisora.dll (nor can the real SDK's, built with another
// compiler); the scenarios that script a throw run on the other builds only.
#define SKIP_WITHOUT_SDK_EXCEPTIONS()                                          \
  if (!ilive::standin::exceptionsCrossModules()) {                             \
    GTEST_SKIP() << "SDK exceptions cannot cross DLLs in this build";           \
  }

namespace brisora_test {

using ::testing::ElementsAre;
namespace standin = ilive::standin;

const bool kSdkThrowsReachBrisora = ilive::standin::exceptionsCrossModules();

template <class T>
T as(const air::Value& v) {
  const T* p = std::get_if<T>(&v);
  EXPECT_NE(nullptr, p) << "result of another type (index " << v.index() << ")";
  return p ? *p : T{};
}

inline bool isNull(const air::Value& v) { return std::holds_alternative<air::Null>(v); }

const air::Value kTrue{true};
const air::Value kFalse{false};
const air::Value kNull{air::Null{}};
inline air::Value text(const char* s) { return air::Value(std::string(s)); }
using ane_test::event;

// A scripted answer: a return code, and what a listing or a query writes.
inline ilive::standin::Answer answer(int64_t code, std::vector<std::string> names = {},
                                     std::vector<int64_t> values = {}, std::vector<std::string> ids = {}) {
  ilive::standin::Answer a;
  a.code = code;
  a.names = std::move(names);
  a.values = std::move(values);
  a.ids = std::move(ids);
  return a;
}
inline ilive::standin::Answer throws() {
  ilive::standin::Answer a;
  a.throws = true;
  return a;
}

class BrisoraSession : public ane_test::ExtensionSession {
 protected:
  void SetUp() override {
    ilive::standin::reset();
    ASSERT_NO_FATAL_FAILURE(load(BRISORA_LIBRARY, "ANEWinExtInitializer", "ANEWinExtFinalizer"));
    call("initRtmpLiveSdk", {false});  // the trace switch outlives contexts
    console();
    sdkCalls();
  }

  void TearDown() override {
    if (context_) context_->dispose();
    endSession();
    ilive::standin::reset();
    air::setBitmapLayout(false, 0);
    expectNoBreach();
  }

  std::vector<std::string> sdkCalls() override { return ilive::standin::takeCalls(); }

  void traceOn() {
    call("initRtmpLiveSdk", {true});
    console();
  }
  // A login of user that the SDK has not answered yet.
  void login(const std::string& user) { call("iLiveLogin", {user, std::string("sig"), int32_t(0), std::string()}); }
  // A login of user as user id that succeeds; calls and events of the set-up are taken.
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

 private:
  bool sdkCommand(const std::string& line, std::string* error) override {
    return ilive::standin::command(line, error);
  }
};

class BrisoraInRoom : public BrisoraSession {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(BrisoraSession::SetUp());
    call("initILiveSdk", {1400, 0, 0, 0});
    loginAs("me");
    enterRoom();
  }
};

}  // namespace brisora_test
