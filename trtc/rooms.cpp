// Room and media controls: entering and leaving a room, local preview and
// remote views, encoder, network and view settings, the small stream, remote
// stream selection, audio, volume evaluation, the beauty filter and the remote
// sub-stream view. Each function runs on the AIR main thread: trace line, read
// the arguments, refuse a code outside its set, make one SDK call, answer a
// Boolean. No view operation gets a window: video reaches ActionScript through
// the render callback. Texts go to the SDK as the UTF-8 that ActionScript gave.
#include <cstdio>
#include <string>

#include "core/args.h"
#include "core/results.h"
#include "core/text.h"
#include "trtc/functions.h"
#include "trtc/manager.h"
#include "trtc/sdk_call.h"
#include "trtc/video_codes.h"

namespace tamvex {

using core::Args;

ANE_FUNCTION(enterRoom) {
  traceCall("enterRoom");
  Args args(argc, argv);
  const int32_t appId = args.int32(0);
  const int32_t roomId = args.int32(1);
  const std::string userId = args.string(2);
  const std::string userSig = args.string(3);
  const std::string privateMapKey = args.string(4);

  // The role word keeps the record's default; the texts live until we return.
  TRTCParams params;
  params.sdkAppId = static_cast<uint32_t>(appId);
  params.userId = userId.c_str();
  params.userSig = userSig.c_str();
  params.roomId = static_cast<uint32_t>(roomId);
  params.privateMapKey = privateMapKey.c_str();
  params.businessInfo = nullptr;

  if (debugMode.on()) {
    std::printf("\n%s%s,%d,%d,%s\n", kPrefix, "enterRoom", appId, roomId, core::utf8ToLocal(userId).c_str());
    std::printf("\n%s - userSig===%s\n", kPrefix, userSig.c_str());
    std::printf("\n%s - privateMapKey===%s\n", kPrefix, privateMapKey.c_str());
  }
  std::printf("\n%s - TRTCAppSceneVideoCall \n", kPrefix);

  const bool asked = onCloud([&](ITRTCCloud& c) { c.enterRoom(params, TRTCAppSceneVideoCall); });
  if (asked) RtcManager::instance().localUser.set(userId);
  return core::newBool(asked);
}

ANE_FUNCTION(exitRoom) {
  traceCall("exitRoom");
  return core::newBool(onCloud([](ITRTCCloud& c) { c.exitRoom(); }));
}

ANE_FUNCTION(startLocalPreview) {
  traceCall("startLocalPreview");
  return core::newBool(onCloud([](ITRTCCloud& c) { c.startLocalPreview(nullptr); }));
}

ANE_FUNCTION(stopLocalPreview) {
  traceCall("stopLocalPreview");
  RtcManager& m = RtcManager::instance();
  m.pool.trim(m.localUser.get(), kBigStream);
  return core::newBool(onCloud([](ITRTCCloud& c) { c.stopLocalPreview(); }));
}

ANE_FUNCTION(startRemoteView) {
  traceCall("startRemoteView");
  const std::string userId = Args(argc, argv).string(0);
  return core::newBool(onCloud([&](ITRTCCloud& c) { c.startRemoteView(userId.c_str(), nullptr); }));
}

ANE_FUNCTION(stopRemoteView) {
  traceCall("stopRemoteView");
  const std::string userId = Args(argc, argv).string(0);
  RtcManager::instance().pool.trim(userId, kBigStream);
  return core::newBool(onCloud([&](ITRTCCloud& c) { c.stopRemoteView(userId.c_str()); }));
}

ANE_FUNCTION(stopAllRemoteView) {
  traceCall("stopAllRemoteView");
  return core::newBool(onCloud([](ITRTCCloud& c) { c.stopAllRemoteView(); }));
}

ANE_FUNCTION(muteLocalVideo) {
  traceCall("muteLocalVideo");
  const bool mute = Args(argc, argv).boolean(0);
  return core::newBool(onCloud([&](ITRTCCloud& c) { c.muteLocalVideo(mute); }));
}

ANE_FUNCTION(setVideoEncoderParam) {
  traceCall("setVideoEncoderParam");
  Args args(argc, argv);
  TRTCVideoEncParam param;
  if (!makeEncoderParam(args.int32(0), args.int32(1), args.int32(2), args.int32(3), &param))
    return core::newBool(false);
  return core::newBool(onCloud([&](ITRTCCloud& c) { c.setVideoEncoderParam(param); }));
}

ANE_FUNCTION(setNetworkQosParam) {
  traceCall("setNetworkQosParam");
  Args args(argc, argv);
  TRTCNetworkQosParam param;
  param.preference = args.int32(0) == kQosSmooth ? TRTCVideoQosPreferenceSmooth : TRTCVideoQosPreferenceClear;
  param.controlMode = args.int32(1) != kQosControlClient ? TRTCQosControlModeServer : TRTCQosControlModeClient;
  return core::newBool(onCloud([&](ITRTCCloud& c) { c.setNetworkQosParam(param); }));
}

ANE_FUNCTION(setLocalViewFillMode) {
  traceCall("setLocalViewFillMode");
  const TRTCVideoFillMode mode = fillModeOf(Args(argc, argv).int32(0));
  return core::newBool(onCloud([&](ITRTCCloud& c) { c.setLocalViewFillMode(mode); }));
}

ANE_FUNCTION(setRemoteViewFillMode) {
  traceCall("setRemoteViewFillMode");
  Args args(argc, argv);
  const std::string userId = args.string(0);
  const TRTCVideoFillMode mode = fillModeOf(args.int32(1));
  return core::newBool(onCloud([&](ITRTCCloud& c) { c.setRemoteViewFillMode(userId.c_str(), mode); }));
}

ANE_FUNCTION(setLocalViewRotation) {
  traceCall("setLocalViewRotation");
  const int32_t rotation = Args(argc, argv).int32(0);
  if (!acceptedViewRotation(rotation)) return core::newBool(false);
  return core::newBool(onCloud([&](ITRTCCloud& c) {
    c.setLocalViewRotation(static_cast<TRTCVideoRotation>(rotation));
  }));
}

ANE_FUNCTION(setRemoteViewRotation) {
  traceCall("setRemoteViewRotation");
  Args args(argc, argv);
  const std::string userId = args.string(0);
  const int32_t rotation = args.int32(1);
  if (!acceptedViewRotation(rotation)) return core::newBool(false);
  return core::newBool(onCloud(
      [&](ITRTCCloud& c) { c.setRemoteViewRotation(userId.c_str(), static_cast<TRTCVideoRotation>(rotation)); }));
}

ANE_FUNCTION(setVideoEncoderRotation) {
  traceCall("setVideoEncoderRotation");
  const int32_t rotation = Args(argc, argv).int32(0);
  if (!acceptedEncoderRotation(rotation)) return core::newBool(false);
  return core::newBool(onCloud([&](ITRTCCloud& c) {
    c.setVideoEncoderRotation(static_cast<TRTCVideoRotation>(rotation));
  }));
}

ANE_FUNCTION(setLocalViewMirror) {
  traceCall("setLocalViewMirror");
  const bool mirror = Args(argc, argv).boolean(0);
  return core::newBool(onCloud([&](ITRTCCloud& c) { c.setLocalViewMirror(mirror); }));
}

ANE_FUNCTION(setVideoEncoderMirror) {
  traceCall("setVideoEncoderMirror");
  const bool mirror = Args(argc, argv).boolean(0);
  return core::newBool(onCloud([&](ITRTCCloud& c) { c.setVideoEncoderMirror(mirror); }));
}

ANE_FUNCTION(enableSmallVideoStream) {
  traceCall("enableSmallVideoStream");
  Args args(argc, argv);
  const bool enable = args.boolean(0);
  TRTCVideoEncParam param;
  if (!makeEncoderParam(args.int32(1), args.int32(2), args.int32(3), args.int32(4), &param))
    return core::newBool(false);
  return core::newBool(onCloud([&](ITRTCCloud& c) { c.enableSmallVideoStream(enable, param); }));
}

ANE_FUNCTION(setRemoteVideoStreamType) {
  traceCall("setRemoteVideoStreamType");
  Args args(argc, argv);
  const std::string userId = args.string(0);
  const int32_t type = args.int32(1);
  if (!acceptedStreamType(type)) return core::newBool(false);
  return core::newBool(onCloud(
      [&](ITRTCCloud& c) { c.setRemoteVideoStreamType(userId.c_str(), static_cast<TRTCVideoStreamType>(type)); }));
}

ANE_FUNCTION(setPriorRemoteVideoStreamType) {
  traceCall("setPriorRemoteVideoStreamType");
  const int32_t type = Args(argc, argv).int32(0);
  if (!acceptedStreamType(type)) return core::newBool(false);
  return core::newBool(onCloud([&](ITRTCCloud& c) {
    c.setPriorRemoteVideoStreamType(static_cast<TRTCVideoStreamType>(type));
  }));
}

ANE_FUNCTION(startLocalAudio) {
  traceCall("startLocalAudio");
  return core::newBool(onCloud([](ITRTCCloud& c) { c.startLocalAudio(); }));
}

ANE_FUNCTION(stopLocalAudio) {
  traceCall("stopLocalAudio");
  return core::newBool(onCloud([](ITRTCCloud& c) { c.stopLocalAudio(); }));
}

ANE_FUNCTION(muteLocalAudio) {
  traceCall("muteLocalAudio");
  const bool mute = Args(argc, argv).boolean(0);
  return core::newBool(onCloud([&](ITRTCCloud& c) { c.muteLocalAudio(mute); }));
}

ANE_FUNCTION(muteRemoteAudio) {
  traceCall("muteRemoteAudio");
  Args args(argc, argv);
  const std::string userId = args.string(0);
  const bool mute = args.boolean(1);
  return core::newBool(onCloud([&](ITRTCCloud& c) { c.muteRemoteAudio(userId.c_str(), mute); }));
}

ANE_FUNCTION(muteAllRemoteAudio) {
  traceCall("muteAllRemoteAudio");
  const bool mute = Args(argc, argv).boolean(0);
  return core::newBool(onCloud([&](ITRTCCloud& c) { c.muteAllRemoteAudio(mute); }));
}

ANE_FUNCTION(enableAudioVolumeEvaluation) {
  traceCall("enableAudioVolumeEvaluation");
  const uint32_t interval = static_cast<uint32_t>(Args(argc, argv).int32(0));
  return core::newBool(onCloud([&](ITRTCCloud& c) { c.enableAudioVolumeEvaluation(interval); }));
}

ANE_FUNCTION(setBeautyStyle) {
  Args args(argc, argv);
  const int32_t style = args.int32(0);
  const int32_t beauty = args.int32(1);
  const int32_t white = args.int32(2);
  const int32_t fourth = args.int32(3);
  debugMode.print("\n setBeautyStyle style:%i    beauty:%i     white:%i", style, beauty, white);
  const TRTCBeautyStyle sdkStyle = style != kBeautySmooth ? TRTCBeautyStyleNature : TRTCBeautyStyleSmooth;
  return core::newBool(onCloud([&](ITRTCCloud& c) {
    c.setBeautyStyle(sdkStyle, static_cast<uint32_t>(beauty), static_cast<uint32_t>(white),
                     static_cast<uint32_t>(fourth));
  }));
}

ANE_FUNCTION(startRemoteSubStreamView) {
  const std::string userId = Args(argc, argv).string(0);
  debugMode.print("\n startRemoteSubStreamView:userId=%s", core::utf8ToLocal(userId).c_str());
  return core::newBool(onCloud([&](ITRTCCloud& c) { c.startRemoteSubStreamView(userId.c_str(), nullptr); }));
}

ANE_FUNCTION(stopRemoteSubStreamView) {
  const std::string userId = Args(argc, argv).string(0);
  debugMode.print("\n stopRemoteSubStreamView:userId=%s", core::utf8ToLocal(userId).c_str());
  RtcManager::instance().pool.trim(userId, kSubStream);
  return core::newBool(onCloud([&](ITRTCCloud& c) { c.stopRemoteSubStreamView(userId.c_str()); }));
}

}  // namespace tamvex
