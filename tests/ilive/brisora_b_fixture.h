// A Brisora context on the runtime and iLive stand-ins, for the tests of the
// room, device, audio, media and host functions. Each test gets a fresh
// context, a clean stand-in, an empty console and no breach counted yet; the
// tear-down checks that the whole scenario broke none of the runtime's rules.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "air/host.h"
#include "ilive_standin/standin.h"

namespace brisora_b_test {

// Loaded once, as the runtime keeps an extension loaded while the application
// runs, and unloaded when the test program ends.
inline air::Extension& extension() {
  static std::unique_ptr<air::Extension> loaded = [] {
    std::string error;
    auto e = air::Extension::load(BRISORA_LIBRARY, "ANEWinExtInitializer", "ANEWinExtFinalizer", &error);
    if (!e) ADD_FAILURE() << "cannot load Brisora: " << error;
    return e;
  }();
  return *loaded;
}

class BrisoraSession : public ::testing::Test {
 protected:
  void SetUp() override {
    ilive::standin::reset();
    console = std::make_unique<air::ConsoleCapture>();
    context = extension().createContext();
    call("initRtmpLiveSdk", {false});  // the trace switch outlives contexts
    console->take();
    air::resetBreaches();
    ilive::standin::takeCalls();
  }

  void TearDown() override {
    if (context) context->dispose();
    context.reset();
    console.reset();
    EXPECT_EQ(air::breaches().total(), 0u);
    ilive::standin::reset();
  }

  air::Value call(const std::string& name, const std::vector<air::Value>& args = {}) {
    return context->call(name, args);
  }
  void traceOn() {
    call("initRtmpLiveSdk", {true});
    console->take();
  }
  void login(const std::string& user) { call("iLiveLogin", {user, std::string("sig"), int32_t(0), std::string()}); }
  std::vector<std::string> calls() { return ilive::standin::takeCalls(); }
  std::string consoleText() { return console->take(); }
  std::vector<air::Event> events() { return context->takeEvents(); }
  std::vector<air::Event> waitEvents(size_t n) { return context->waitForEvents(n, std::chrono::seconds(5)); }

  std::unique_ptr<air::ConsoleCapture> console;
  std::unique_ptr<air::Context> context;
};

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
// Whether an exception thrown inside the SDK library can be caught in
// Brisora's. Not in the Windows build: every DLL there carries its own static
// copy of the C++ runtime and unwinder, so a throw cannot cross from
// iLiveSDK.dll into Brisora.dll (nor can the real SDK's, built with another
// compiler); the scenarios that script a throw run on the other builds only.
#ifdef _WIN32
constexpr bool kSdkThrowsReachBrisora = false;
#else
constexpr bool kSdkThrowsReachBrisora = true;
#endif
inline ilive::standin::Answer throws() {
  ilive::standin::Answer a;
  a.throws = true;
  return a;
}

const air::Value kTrue{true};
const air::Value kFalse{false};
const air::Value kNull{air::Null{}};
inline air::Value text(const char* s) { return air::Value(std::string(s)); }

}  // namespace brisora_b_test
