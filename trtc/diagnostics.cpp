// The SDK's own logging and diagnostics: its console output, log compression,
// log folder, debug view, version text and the network speed test. These
// switch the SDK's logs only; the extension's trace lines follow debugMode.
// Main thread only; the speed test's results arrive as "speedtestevent".
#include <cstdio>
#include <string>

#include "core/args.h"
#include "core/results.h"
#include "core/text.h"
#include "trtc/functions.h"
#include "trtc/manager.h"
#include "trtc/sdk_call.h"

namespace tamvex {

using core::Args;

ANE_FUNCTION(setConsoleEnabled) {
  const bool enabled = Args(argc, argv).boolean(0);
  debugMode.print("\n%s setConsoleEnabled", kPrefix);
  return core::newBool(onCloud([&](ITRTCCloud& cloud) { cloud.setConsoleEnabled(enabled); }));
}

ANE_FUNCTION(setLogCompressEnabled) {
  const bool enabled = Args(argc, argv).boolean(0);
  debugMode.print("\n%s setLogCompressEnabled", kPrefix);
  return core::newBool(onCloud([&](ITRTCCloud& cloud) { cloud.setLogCompressEnabled(enabled); }));
}

ANE_FUNCTION(setLogPath) {
  const std::string folder = Args(argc, argv).string(0);
  debugMode.print("\n%s setLogDirPath:%s", kPrefix, folder.c_str());
  return core::newBool(onCloud([&](ITRTCCloud& cloud) { cloud.setLogDirPath(folder.c_str()); }));
}

ANE_FUNCTION(showDebugView) {
  const int32_t mode = Args(argc, argv).int32(0);
  debugMode.print("\n%s showDebugView", kPrefix);
  return core::newBool(onCloud([&](ITRTCCloud& cloud) { cloud.showDebugView(mode); }));
}

// The version text in the zero-terminated form (the length counts the zero).
ANE_FUNCTION(getSdkVersion) {
  std::string version;
  onCloud([&](ITRTCCloud& cloud) { version = fromSdkText(cloud.getSDKVersion()); });
  return core::newStringWithZero(core::validUtf8(version).c_str());
}

ANE_FUNCTION(startSpeedTest) {
  Args args(argc, argv);
  const uint32_t appId = static_cast<uint32_t>(args.int32(0));
  const std::string userId = args.string(1);
  const std::string userSig = args.string(2);
  return core::newBool(onCloud([&](ITRTCCloud& cloud) {
    cloud.startSpeedTest(appId, userId.c_str(), userSig.c_str());
  }));
}

ANE_FUNCTION(stopSpeedTest) {
  return core::newBool(onCloud([](ITRTCCloud& cloud) { cloud.stopSpeedTest(); }));
}

}  // namespace tamvex
