// Start-up and release: initTRTCSdk (the trace switch, the SDK loaded, the
// renderer pool prepared) and dispose. Main thread only.
#include <cstdio>
#include <string>

#include "core/args.h"
#include "core/results.h"
#include "trtc/functions.h"
#include "trtc/manager.h"
#include "trtc/sdk_call.h"
#include "trtc/tamvex.h"

namespace tamvex {

ANE_FUNCTION(initTRTCSdk) {
  debugMode.setFrom(core::Args(argc, argv), 0);

  const std::string version =
      onCloud([](ITRTCCloud& cloud) { return fromSdkText(cloud.getSDKVersion()); }).value_or(std::string());
  std::printf("\n%s%s - %s", kPrefix, "TRTCSDK Version :", version.c_str());
  RtcManager::instance().prepareRendererPool(ctx);
  std::printf("\n%s%s - %s", kPrefix, "initTRTCSdk Mode:", debugMode.on() ? "debug" : "release");
  return core::newBool(true);
}

ANE_FUNCTION(dispose) {
  releaseCloud();
  forgetHandles();
  return core::newBool(true);
}

}  // namespace tamvex
