// Tamvex's side of the frame path: the TRTC frame record adapted to the
// shared path in core (routing, intake, the "video" event), the bindings that
// follow remote users' video, getVideoData, and the render-callback
// registrations that feed the path. Frames arrive on the SDK's render threads.
#include <cstdio>

#include "core/args.h"
#include "core/edge.h"
#include "core/frame_path.h"
#include "core/text.h"
#include "core/results.h"
#include "core/sdk.h"
#include "trtc/callbacks.h"
#include "trtc/functions.h"
#include "trtc/video_codes.h"

namespace tamvex {

namespace {

// The SDK's frame record as the shared path reads it: I420 or BGRA, any other
// format stored as transparent black; no flag, the rotation passed on in the
// event. A missing frame is one without data.
core::Frame frameOf(const TRTCVideoFrame* f) {
  core::Frame frame;
  if (!f) return frame;
  frame.data = reinterpret_cast<const uint8_t*>(f->data);
  frame.size = f->length;
  frame.width = f->width;
  frame.height = f->height;
  frame.pixels = f->videoFormat == TRTCVideoPixelFormat_I420     ? core::FramePixels::I420
                 : f->videoFormat == TRTCVideoPixelFormat_BGRA32 ? core::FramePixels::Bgra32
                                                                 : core::FramePixels::Unreadable;
  frame.value = static_cast<int32_t>(f->rotation);
  return frame;
}

// The id as events show it: made valid UTF-8 once per id, in texts this
// thread keeps from frame to frame.
const std::string& shownId(const std::string& id) {
  thread_local std::string lastId, shown;
  if (shown.empty() || id != lastId) {
    lastId = id;
    shown = core::validUtf8(id);
  }
  return shown;
}

// A frame that finds no renderer (or came through a retired registration):
// the console says so; a local frame of a stream other than big or sub says
// nothing.
void noRenderer(bool local, int32_t code, const std::string& id) {
  if (!local) {
    std::printf("\n onRenderRemoteVideoFrame not ANEVideoRander = %s", core::utf8ToLocal(id).c_str());
  } else if (code == kBigStream) {
    std::printf("\n onRenderLocalVideoFrame  not TRTCVideoStreamTypeBig = %s", core::utf8ToLocal(id).c_str());
  } else if (code == kSubStream) {
    std::printf("\n onRenderLocalVideoFrame  not TRTCVideoStreamTypeSub = %s", core::utf8ToLocal(id).c_str());
  }
}

// The local big and sub streams have a slot each. *localId receives the local
// user's id as routing read it.
void routeLocal(RtcManager& m, int32_t code, const TRTCVideoFrame* frame, std::string* localId) {
  if (code != kBigStream && code != kSubStream) return;
  core::RendererPtr& slot = code == kBigStream ? m.localBig : m.localSub;
  if (const core::Route r = core::routeLocal(m.pool, m.context, slot, false, m.localUser, code, localId))
    core::takeFrame(r, frameOf(frame), shownId(*localId), code);
  else
    noRenderer(true, code, *localId);
}

void routeRemote(RtcManager& m, int32_t code, const TRTCVideoFrame* frame, const std::string& id) {
  const core::Route r = core::routeRemote(m.pool, m.context, id, code, m.localUser, kBigStream);
  if (r)
    core::takeFrame(r, frameOf(frame), shownId(id), code);
  else
    noRenderer(false, code, id);
}

}  // namespace

void ANEITRTCVideoRenderCallback::onRenderVideoFrame(const char* userId, TRTCVideoStreamType streamType,
                                                     TRTCVideoFrame* frame) {
  core::inHandler([&] {
    // Per-thread copies keep their storage from frame to frame.
    thread_local std::string id;
    thread_local std::string localId;
    // The local registration's frames are the local user's whatever id they
    // carry; on the remote registration a frame without an id is local too.
    const bool local = registration_ == Registration::Local || !userId || !userId[0];
    if (!local) id.assign(userId);
    const int32_t code = streamCodeOf(streamType);
    Retirement::Pass pass(retirement_);
    if (!pass) {
      if (local) manager_->localUser.copyInto(&localId);
      noRenderer(local, code, local ? localId : id);
    } else if (local) {
      routeLocal(*manager_, code, frame, &localId);
    } else {
      routeRemote(*manager_, code, frame, id);
    }
  });
}

void addVideoRender(RtcManager& manager, int32_t code, const std::string& id) {
  if (manager.localUser.is(id)) {
    // Two literals: written as one, "??!" would be the trigraph of '|' to a
    // compiler that still reads trigraphs, and the line would print a bar.
    std::printf("\n me addVideoRender ?????" "!!!!!!!!!!!!!!!!!!!");
    return;
  }
  std::lock_guard<std::mutex> lock(manager.pool.mutex());
  if (manager.pool.findLocked(id, code)) return;
  core::RendererPtr renderer = manager.pool.acquireLocked(manager.context.get());
  if (renderer) renderer->bind(id, code);
}

ANE_FUNCTION(getVideoData) {
  const core::FramePull pull = core::readFramePull(argc, argv);
  // A renderer given to another user between the lookup and the copy gives nothing.
  const core::Route renderer = core::findBound(RtcManager::instance().pool, pull.user, pull.kind);
  if (!renderer) {
    std::printf("\n getVideoData = not get videoRander  - %s", core::utf8ToLocal(pull.user).c_str());
    return nullptr;
  }
  if (core::isObjectOfType(pull.target, FRE_TYPE_BYTEARRAY)) core::copyFrame(renderer, pull.target);
  return nullptr;
}

ANE_FUNCTION(getAudioData) {
  return nullptr;
}

ANE_FUNCTION(setLocalVideoRenderCallback) {
  traceCall("setLocalVideoRenderCallback");
  core::Args args(argc, argv);
  const TRTCVideoPixelFormat format = pixelFormatOf(args.int32(0));
  const TRTCVideoBufferType bufferType = bufferTypeOf(args.int32(1));
  const int32_t enable = args.int32(2);
  ITRTCCloud* cloud = loadTrtcCloud();
  if (!cloud) return core::newBool(false);
  ITRTCVideoRenderCallback* callback =
      enable == kRenderCallbackOn ? RtcManager::instance().localRenderCallback() : nullptr;
  return core::newBool(
      core::ask([&] { return cloud->setLocalVideoRenderCallback(format, bufferType, callback) == 0; }).value_or(false));
}

ANE_FUNCTION(setRemoteVideoRenderCallback) {
  traceCall("setRemoteVideoRenderCallback");
  core::Args args(argc, argv);
  const std::string userId = args.string(0);
  const TRTCVideoPixelFormat format = pixelFormatOf(args.int32(1));
  const TRTCVideoBufferType bufferType = bufferTypeOf(args.int32(2));
  const int32_t enable = args.int32(3);
  ITRTCCloud* cloud = loadTrtcCloud();
  if (!cloud) return core::newBool(false);
  ITRTCVideoRenderCallback* callback =
      enable == kRenderCallbackOn ? RtcManager::instance().remoteRenderCallback() : nullptr;
  return core::newBool(core::ask([&] {
    cloud->setRemoteVideoRenderCallback(userId.c_str(), format, bufferType, callback);
  }));
}

}  // namespace tamvex
