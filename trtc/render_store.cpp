// The video render store: frames from the SDK's render threads routed into
// the renderer pool and converted to BGRA, "video" events, getVideoData, and
// the render-callback registrations that feed the store.
//
// The pool's mutex guards the pool list, every renderer's binding and the
// local stream pointers; it is held for lookups and binds only. Each
// renderer's FrameStore guards its pixels: the SDK thread converts into a back
// buffer and publishes it, getVideoData copies the published one.
#include <cstdio>
#include <cstring>
#include <exception>

#include "core/args.h"
#include "core/context.h"
#include "core/edge.h"
#include "core/frame_event.h"
#include "core/pixels.h"
#include "core/results.h"
#include "core/text.h"
#include "trtc/callbacks.h"
#include "trtc/functions.h"

namespace tamvex {

namespace {

constexpr const char* kVideoEvent = "video";

int32_t codeOfStreamType(int streamType) {
  switch (streamType) {
    case TRTCVideoStreamTypeBig: return 1;
    case TRTCVideoStreamTypeSmall: return 10;
    case TRTCVideoStreamTypeSub: return 2;
    default: return 0;
  }
}

// The frame intake of one renderer. Frames whose data is missing, shorter
// than their format needs, or whose BGRA size overflows 32 bits are dropped
// like empty ones: nothing stored, no event.
void takeFrame(core::ANEVideoRander& renderer, const TRTCVideoFrame* frame, const std::string& id, int32_t code) {
  if (!core::contextReady(renderer.context)) return;
  if (!frame || frame->length == 0 || !frame->data) return;
  const uint32_t width = frame->width;
  const uint32_t height = frame->height;
  const uint8_t* data = reinterpret_cast<const uint8_t*>(frame->data);
  const size_t length = frame->length;
  const int format = frame->videoFormat;
  const bool stored = renderer.frame.write(width, height, [&](uint8_t* dst) {
    if (format == TRTCVideoPixelFormat_I420) return core::i420ToBgra(data, length, width, height, dst);
    const uint32_t bytes = core::bgraFrameBytes(width, height);
    if (format == TRTCVideoPixelFormat_BGRA32) {
      if (length < bytes) return false;
      std::memcpy(dst, data, bytes);
      return true;
    }
    std::memset(dst, 0, bytes);  // a format we cannot read: transparent black
    return true;
  });
  if (!stored) return;
  // Texts this thread keeps from frame to frame: once they have grown, a
  // frame's event allocates nothing. The id is made valid UTF-8 once per id.
  thread_local std::string lastId, shownId, level;
  if (shownId.empty() || id != lastId) {
    lastId = id;
    shownId = forActionScript(id);
  }
  core::LevelBuilder(level).field(shownId).field(width).field(height).field("0").field(
      static_cast<int32_t>(frame->rotation)).field(code);
  static const std::string videoEvent = kVideoEvent;
  core::dispatchStatusKept(renderer.context.get(), videoEvent, level);
}

void routeLocal(RtcManager& m, int streamType, TRTCVideoFrame* frame, const std::string& id) {
  int32_t code;
  if (streamType == TRTCVideoStreamTypeBig)
    code = 1;
  else if (streamType == TRTCVideoStreamTypeSub)
    code = 2;
  else
    return;
  core::RendererPtr renderer;
  {
    std::lock_guard<std::mutex> lock(m.pool.mutex());
    renderer = m.pool.findLocked(id, code);
    if (!renderer) renderer = m.pool.acquireLocked(m.context.get());
    (code == 1 ? m.localBig : m.localSub) = renderer;
    if (renderer) renderer->bind(id, code);
  }
  if (renderer) {
    takeFrame(*renderer, frame, id, code);
  } else if (code == 1) {
    std::printf("\n onRenderLocalVideoFrame  not TRTCVideoStreamTypeBig = %s", id.c_str());
  } else {
    std::printf("\n onRenderLocalVideoFrame  not TRTCVideoStreamTypeSub = %s", id.c_str());
  }
}

void routeRemote(RtcManager& m, int streamType, TRTCVideoFrame* frame, const std::string& id,
                 const std::string& localId) {
  const int32_t code = codeOfStreamType(streamType);
  core::RendererPtr renderer;
  bool created = false;
  {
    std::lock_guard<std::mutex> lock(m.pool.mutex());
    renderer = m.pool.findLocked(id, code);
    if (!renderer && id != localId && code != 1) {
      renderer = m.pool.acquireLocked(m.context.get());
      created = true;
    }
    if (renderer) renderer->bind(id, code);
  }
  if (created) std::printf("\n%s === %i", "no Video - init Create", code);
  if (!renderer) {
    std::printf("\n onRenderRemoteVideoFrame not ANEVideoRander = %s", id.c_str());
    return;
  }
  takeFrame(*renderer, frame, id, code);
}

}  // namespace

void ANEITRTCVideoRenderCallback::onRenderVideoFrame(const char* userId, TRTCVideoStreamType streamType,
                                                     TRTCVideoFrame* frame) {
  core::inHandler([&] {
    // Per-thread copies keep their storage from frame to frame.
    thread_local std::string id;
    thread_local std::string localId;
    manager_->copyLocalUserId(&localId);
    if (userId && userId[0]) {
      id.assign(userId);
      routeRemote(*manager_, streamType, frame, id, localId);
    } else {
      routeLocal(*manager_, streamType, frame, localId);
    }
  });
}

void addVideoRender(RtcManager& manager, int32_t code, const std::string& id) {
  if (id == manager.localUserId()) {
    std::printf("\n me addVideoRender ?????" "!!!!!!!!!!!!!!!!!!!");
    return;
  }
  std::lock_guard<std::mutex> lock(manager.pool.mutex());
  if (manager.pool.findLocked(id, code)) return;
  core::RendererPtr renderer = manager.pool.acquireLocked(manager.context.get());
  renderer->bind(id, code);
}

TAMVEX_FUNCTION(getVideoData) {
  (void)ctx, (void)functionData;
  core::Args args(argc, argv);
  thread_local std::string id;  // kept from call to call: a pull allocates nothing
  args.stringInto(1, &id);
  const int32_t code = args.int32(2);
  core::RendererPtr renderer = RtcManager::instance().pool.find(id, code);
  if (!renderer) {
    std::printf("\n getVideoData = not get videoRander  - %s", id.c_str());
    return nullptr;
  }
  FREObject target = args.object(0);
  if (!core::isObjectOfType(target, FRE_TYPE_BYTEARRAY)) return nullptr;
  renderer->frame.read([&](const uint8_t* data, uint32_t size, uint32_t, uint32_t) {
    core::fillByteArray(target, data, size);
  });
  return nullptr;
}

TAMVEX_FUNCTION(getAudioData) {
  (void)ctx, (void)functionData, (void)argc, (void)argv;
  return nullptr;
}

namespace {

TRTCVideoPixelFormat pixelFormatOf(int32_t value) {
  return (value == 1 || value == 2 || value == 3) ? static_cast<TRTCVideoPixelFormat>(value)
                                                   : TRTCVideoPixelFormat_Unknown;
}

TRTCVideoBufferType bufferTypeOf(int32_t value) {
  return (value == 1 || value == 3) ? static_cast<TRTCVideoBufferType>(value) : TRTCVideoBufferType_Unknown;
}

}  // namespace

TAMVEX_FUNCTION(setLocalVideoRenderCallback) {
  (void)ctx, (void)functionData;
  traceName("setLocalVideoRenderCallback");
  core::Args args(argc, argv);
  const TRTCVideoPixelFormat format = pixelFormatOf(args.int32(0));
  const TRTCVideoBufferType bufferType = bufferTypeOf(args.int32(1));
  const int32_t enable = args.int32(2);
  ITRTCCloud* cloud = loadTrtcCloud();
  if (!cloud) return core::newBool(false);
  ITRTCVideoRenderCallback* callback = enable == 1 ? RtcManager::instance().renderCallback() : nullptr;
  try {
    return core::newBool(cloud->setLocalVideoRenderCallback(format, bufferType, callback) == 0);
  } catch (const std::exception&) {
    return core::newBool(false);
  }
}

TAMVEX_FUNCTION(setRemoteVideoRenderCallback) {
  (void)ctx, (void)functionData;
  traceName("setRemoteVideoRenderCallback");
  core::Args args(argc, argv);
  const std::string userId = args.string(0);
  const TRTCVideoPixelFormat format = pixelFormatOf(args.int32(1));
  const TRTCVideoBufferType bufferType = bufferTypeOf(args.int32(2));
  const int32_t enable = args.int32(3);
  ITRTCCloud* cloud = loadTrtcCloud();
  if (!cloud) return core::newBool(false);
  ITRTCVideoRenderCallback* callback = enable == 1 ? RtcManager::instance().renderCallback() : nullptr;
  try {
    cloud->setRemoteVideoRenderCallback(userId.c_str(), format, bufferType, callback);
  } catch (const std::exception&) {
    return core::newBool(false);
  }
  return core::newBool(true);
}

}  // namespace tamvex
