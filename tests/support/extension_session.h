// What the Brisora and the Tamvex test sessions share: the extension loaded
// with one context, the console captured, the SDK stand-in driven by its
// command lines and its call log taken, and the check at the end of every
// scenario that the runtime counted no breach of its rules.
// Each extension's session names its library and its stand-in.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstddef>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "air/host.h"
#include "extension_host.h"

namespace air {
// Events print as {"code", "level"} in failure messages.
inline void PrintTo(const Event& e, std::ostream* os) { *os << "{\"" << e.code << "\", \"" << e.level << "\"}"; }
}  // namespace air

namespace ane_test {

inline air::Event event(const std::string& code, const std::string& level) { return air::Event{code, level}; }

class ExtensionSession : public ::testing::Test, public ExtensionHost {
 protected:
  // Counting of breaches and the console capture start here.
  void load(const std::string& library, const std::string& initializer, const std::string& finalizer) {
    air::resetBreaches();
    console_ = std::make_unique<air::ConsoleCapture>();
    std::string error;
    ASSERT_TRUE(open(library, initializer, finalizer, &error)) << library << ": " << error;
  }

  void TearDown() override {
    endSession();
    expectNoBreach();
  }
  // The context and the extension finalized, the console released.
  void endSession() {
    close();
    console_.reset();
  }
  void expectNoBreach() { EXPECT_EQ(air::breaches().total(), 0u); }

  // The next count events, waiting up to five seconds for events raised on the SDK's threads.
  std::vector<air::Event> waitEvents(size_t count) { return context_->waitForEvents(count, std::chrono::seconds(5)); }
  // The console lines printed since the last look.
  std::string console() { return console_ ? console_->take() : std::string(); }

  // Runs a stand-in command; the scenario fails (and goes on) when the stand-in refuses it.
  void sdk(const std::string& line) {
    std::string error;
    EXPECT_TRUE(sdkCommand(line, &error)) << line << ": " << error;
  }
  // The SDK calls logged since the last look.
  virtual std::vector<std::string> sdkCalls() = 0;

  std::unique_ptr<air::ConsoleCapture> console_;

 private:
  virtual bool sdkCommand(const std::string& line, std::string* error) = 0;
};

}  // namespace ane_test
