// The notification receivers of live pushers and VOD players. They write each
// notification to the console and touch no state of the extension, so the SDK
// may call them on any thread.
#pragma once

#include "trtc/sdk/liteav.h"

namespace tamvex {

class RtcManager;

class ANEITXLivePusherCallback : public ITXLivePusherCallback {
 public:
  explicit ANEITXLivePusherCallback(RtcManager* manager) : manager_(manager) {}
  // pUserData carries the pusher's handle.
  void onEventCallback(int eventId, const int paramCount, const char** paramKeys, const char** paramValues,
                       void* pUserData) override;

 private:
  RtcManager* manager_;
};

class ANEITXVodPlayerCallback : public ITXVodPlayerCallback {
 public:
  explicit ANEITXVodPlayerCallback(RtcManager* manager) : manager_(manager) {}
  void onVodPlayerStarted(uint64_t msLength) override;
  void onVodPlayerProgress(uint64_t msPos) override;
  void onVodPlayerPaused() override;
  void onVodPlayerResumed() override;
  void onVodPlayerStoped(int reason) override;
  void onVodPlayerError(int error) override;

 private:
  RtcManager* manager_;
};

}  // namespace tamvex
