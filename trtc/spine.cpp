// Entry points, context lifecycle, the SDK loader, initTRTCSdk and dispose.
#include "trtc/functions.h"
#include "trtc/rtc_manager.h"

namespace tamvex {

uint32_t debugMode = 0;

TAMVEX_FUNCTION(initTRTCSdk) {
  (void)ctx, (void)functionData, (void)argc, (void)argv;
  return nullptr;
}
TAMVEX_FUNCTION(dispose) {
  (void)ctx, (void)functionData, (void)argc, (void)argv;
  return nullptr;
}
TAMVEX_FUNCTION(getVideoData) {
  (void)ctx, (void)functionData, (void)argc, (void)argv;
  return nullptr;
}
TAMVEX_FUNCTION(getAudioData) {
  (void)ctx, (void)functionData, (void)argc, (void)argv;
  return nullptr;
}
TAMVEX_FUNCTION(setLocalVideoRenderCallback) {
  (void)ctx, (void)functionData, (void)argc, (void)argv;
  return nullptr;
}
TAMVEX_FUNCTION(setRemoteVideoRenderCallback) {
  (void)ctx, (void)functionData, (void)argc, (void)argv;
  return nullptr;
}

}  // namespace tamvex
