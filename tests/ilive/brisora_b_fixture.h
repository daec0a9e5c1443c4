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

// Loaded once and kept until the process ends, as the runtime keeps an
// extension loaded while the application runs.
inline air::Extension& extension() {
  static air::Extension* const loaded = [] {
    std::string error;
    auto e = air::Extension::load(BRISORA_LIBRARY, "ANEWinExtInitializer", "ANEWinExtFinalizer", &error);
    if (!e) ADD_FAILURE() << "cannot load Brisora: " << error;
    return e.release();
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
  void traceOn(bool on = true) { call("initRtmpLiveSdk", {on}); }
  void login(const std::string& user) { call("iLiveLogin", {user, std::string("sig"), int32_t(0), std::string()}); }

  // The calls made into the SDK since the last take, without the log lines of
  // the hooks that login and the context set up.
  std::vector<std::string> calls() { return ilive::standin::takeCalls(); }
  // Only the calls of one operation.
  std::vector<std::string> callsOf(const std::string& operation) {
    std::vector<std::string> out;
    for (const auto& c : calls())
      if (c.compare(0, operation.size() + 1, operation + "(") == 0) out.push_back(c);
    return out;
  }
  std::string consoleText() { return console->take(); }
  std::vector<air::Event> events() { return context->takeEvents(); }
  std::vector<air::Event> waitEvents(size_t n) { return context->waitForEvents(n, std::chrono::seconds(5)); }

  static ilive::standin::Answer names(std::vector<std::string> list) {
    ilive::standin::Answer a;
    a.code = 0;
    a.names = std::move(list);
    return a;
  }
  static ilive::standin::Answer code(int64_t value) {
    ilive::standin::Answer a;
    a.code = value;
    return a;
  }
  static ilive::standin::Answer throws() {
    ilive::standin::Answer a;
    a.throws = true;
    return a;
  }

  std::unique_ptr<air::ConsoleCapture> console;
  std::unique_ptr<air::Context> context;
};

inline bool isNull(const air::Value& v) { return std::holds_alternative<air::Null>(v); }
inline bool isTrue(const air::Value& v) { return std::holds_alternative<bool>(v) && std::get<bool>(v); }
inline bool isFalse(const air::Value& v) { return std::holds_alternative<bool>(v) && !std::get<bool>(v); }

}  // namespace brisora_b_test
