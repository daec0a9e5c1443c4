// Tamvex sessions for every Tamvex test program: the extension loaded through
// the runtime stand-in, talking to the LiteAV stand-in, with the console
// captured (support/extension_session.h). Every scenario ends by checking that
// the runtime counted no breach of its rules.
//   TamvexLoaded    loaded with one context, nothing else done (the programs
//                   whose LiteAV folder lacks a part)
//   TamvexSession   the LiteAV stand-in reset, then initialised without tracing
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "air/host.h"
#include "extension_session.h"
#include "stderr_failures.h"
#include "liteav_standin/control.h"

namespace tamvex_test {

using S = std::string;
using V = std::vector<std::string>;

// The folder of the running program, without a trailing separator.
inline std::string executableFolder() {
  std::string path = liteav_standin::detail::executableFolder();
  if (!path.empty()) path.pop_back();
  return path;
}

// The extension library, found from the program's folder (TAMVEX_LIBRARY is
// its path relative to that folder), unless TAMVEX_LIBRARY_PATH names it.
inline std::string tamvexLibrary() {
  if (const char* path = std::getenv("TAMVEX_LIBRARY_PATH")) return path;
  return executableFolder() + "/" + TAMVEX_LIBRARY;
}

inline int count(const std::string& text, const std::string& part) {
  int n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++n;
  return n;
}

// Failure messages also go to stderr: stdout is captured while a scenario runs.
using ane_test::reportFailuresOnStderr;

// Tamvex loaded and one context created, with the console captured. The
// scenario ends by checking that the runtime counted no breach of its rules.
class TamvexLoaded : public ane_test::ExtensionSession {
 protected:
  // Counting of breaches starts here.
  void loadExtension() { load(tamvexLibrary(), "ANEWinRTCExtInitializer", "ANEWinRTCExtFinalizer"); }

  std::vector<std::string> sdkCalls() override { return liteav_standin::takeCalls(); }

 private:
  bool sdkCommand(const std::string& line, std::string* error) override {
    return liteav_standin::command(line, error);
  }
};

// The same, with the LiteAV stand-in reset first and the SDK initialised
// without tracing.
class TamvexSession : public TamvexLoaded {
 protected:
  void SetUp() override {
    reportFailuresOnStderr();
    std::string error;
    ASSERT_TRUE(liteav_standin::command("reset", &error)) << error;
    ASSERT_NO_FATAL_FAILURE(loadExtension());
    // Earlier scenarios in this process may have left tracing on.
    call("initTRTCSdk", {false});
    console();
    sdkCalls();
  }

  void enterRoom(const std::string& userId) {
    call("enterRoom", {1400000001, 1234, userId, std::string("sig"), std::string("")});
  }
  // Registers the render callback for local frames and for the given remote users.
  void renderCallbacks(int format, const std::vector<std::string>& users) {
    EXPECT_EQ(call("setLocalVideoRenderCallback", {format, 1, 1}), air::Value(true));
    for (const auto& u : users) call("setRemoteVideoRenderCallback", {u, format, 1, 1});
    sdkCalls();
  }
  std::shared_ptr<air::ByteArray> pull(const std::string& id, int code) {
    auto bytes = std::make_shared<air::ByteArray>();
    bytes->bytes.assign(3, 0xEE);  // a marker that shows whether the array was touched
    call("getVideoData", {bytes, id, code});
    return bytes;
  }
};

// A session in a room as "me", with the set-up's console lines, SDK calls and
// events taken.
class TamvexInRoom : public TamvexSession {
 protected:
  void SetUp() override {
    TamvexSession::SetUp();
    if (HasFatalFailure()) return;
    enterRoom("me");
    console();
    sdkCalls();
    events();
  }
};

using ane_test::event;

}  // namespace tamvex_test
