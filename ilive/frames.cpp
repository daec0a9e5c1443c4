// The video frame store: the three SDK handlers that route frames and member
// events to renderers, the frame intake, and the functions that pull frames.
//
// Routing (which renderer belongs to whom) happens under the pool lock; the
// pixel conversion happens outside it, into the renderer's FrameStore, whose
// buffer is kept while the frame size stays the same.
#include <cstdio>
#include <string>

#include "core/args.h"
#include "core/context.h"
#include "core/edge.h"
#include "core/frame_event.h"
#include "core/pixels.h"
#include "core/results.h"
#include "core/text.h"
#include "ilive/brisora.h"
#include "ilive/functions.h"
#include "ilive/live_manager.h"

namespace brisora {
namespace {

const char* kindText(int32_t kind) {
  switch (kind) {
    case 1: return "1";
    case 2: return "2";
    case 3: return "3";
    default: return "0";
  }
}

void raise(const std::string& code, const std::string& level) {
  core::dispatchStatus(LiveManager::instance().context.get(), code, level);
}

void raiseError(const std::string& user, int32_t kind, const char* message) {
  LiveManager& m = LiveManager::instance();
  raise(m.ilivesdk_error, core::joinLevel({user, kindText(kind), message}));
}

// Whether the frame carries the bytes its format needs for width x height:
// 3 bytes a pixel for packed 24-bit, Y plus two quarter-size chroma planes
// (odd sizes rounded up) for I420.
bool frameComplete(const ilive::VideoFrame& f) {
  if (!f.data) return false;
  const uint64_t needed = f.colorFormat == ilive::COLOR_FORMAT_RGB24
                              ? static_cast<uint64_t>(f.width) * f.height * 3
                              : core::i420FrameBytes(f.width, f.height);
  return static_cast<uint64_t>(f.dataSize) >= needed;
}

// The intake of one frame into renderer r, bound to (user, kind) by the caller.
// A frame that is empty, shorter than its size needs, or whose BGRA size does
// not fit in 32 bits is dropped; the renderer keeps its previous frame.
void takeFrame(const core::RendererPtr& r, const ilive::VideoFrame* f, const std::string& user, int32_t kind) {
  if (!core::contextReady(r->context)) return;
  if (!f || f->dataSize == 0) return;
  if (!frameComplete(*f) || core::bgraFrameBytes(f->width, f->height) == 0) return;
  const bool packed24 = f->colorFormat == ilive::COLOR_FORMAT_RGB24;
  const bool stored = r->frame.write(f->width, f->height, [f, packed24](uint8_t* dst) {
    return packed24 ? core::rgb24ToBgra(f->data, f->dataSize, f->width, f->height, dst)
                    : core::i420ToBgra(f->data, f->dataSize, f->width, f->height, dst);
  });
  if (!stored) return;
  thread_local std::string level;
  core::LevelBuilder(level).field(user).field(f->width).field(f->height).field(f->flag ? "1" : "0").field(f->value).field(
      kind);
  core::dispatchStatusKept(r->context.get(), LiveManager::instance().video, level);
}

// The identifier of a frame as text, in a buffer this thread reuses.
const std::string& frameUser(const ilive::VideoFrame& f) {
  thread_local std::string user;
  user.assign(f.identifier.c_str(), f.identifier.size());
  return user;
}

}  // namespace

void onRemoteVideo(const ilive::VideoFrame* frame, void*) {
  core::inHandler([&] {
    if (!frame) return;
    LiveManager& m = LiveManager::instance();
    const std::string& user = frameUser(*frame);
    const int32_t kind = frame->sourceKind >= 1 && frame->sourceKind <= 3 ? frame->sourceKind : 0;
    core::RendererPtr r;
    bool created = false;
    {
      std::lock_guard<std::mutex> lock(m.renderers.mutex());
      r = m.renderers.findLocked(user, kind);
      if (!r && user != m.localUserLocked && kind != 1) {
        r = m.acquireRendererLocked();
        created = true;
      }
      if (r) r->bind(user, kind);
    }
    if (created) std::printf("\n%s === %i", "no Video - init Create", kind);
    if (r) {
      takeFrame(r, frame, user, kind);
      return;
    }
    std::printf("\n%s = %s  === %i", "OnRemoteVideo", user.c_str(), frame->sourceKind);
    raiseError(user, kind, "not find videoRander and doRender");
  });
}

void onLocalVideo(const ilive::VideoFrame* frame, void*) {
  core::inHandler([&] {
    if (!frame) return;
    const int32_t kind = frame->sourceKind;
    if (kind < 1 || kind > 3) return;
    LiveManager& m = LiveManager::instance();
    thread_local std::string user;
    core::RendererPtr r;
    {
      std::lock_guard<std::mutex> lock(m.renderers.mutex());
      user = m.localUserLocked;
      if (kind == 1) {
        r = m.renderers.findLocked(user, 1);
        if (!r) r = m.acquireRendererLocked();
        m.localCamera = r;
      } else {
        if (core::RendererPtr found = m.renderers.findLocked(user, kind)) m.localScreen = found;
        if (!m.localScreen) m.localScreen = m.acquireRendererLocked();
        r = m.localScreen;
      }
      if (r) r->bind(user, kind);
    }
    if (r)
      takeFrame(r, frame, user, kind);
    else
      raiseError(user, kind, kind == 1 ? "not find local_camera" : "not find local_screen");
  });
}

void onMemberEvent(int32_t event, const ilive::SdkVector<ilive::SdkString>& userIds, void*) {
  core::inHandler([&] {
    LiveManager& m = LiveManager::instance();
    switch (event) {
      case ilive::EVENT_CAMERA_ON:
        for (const ilive::SdkString& id : userIds) {
          const std::string user(id.c_str(), id.size());
          core::RendererPtr r;
          {
            std::lock_guard<std::mutex> lock(m.renderers.mutex());
            if (user == m.localUserLocked) {
              if (!m.localCamera) {
                m.localCamera = m.renderers.findLocked(user, 1);
                if (!m.localCamera) m.localCamera = m.acquireRendererLocked();
              }
              r = m.localCamera;
            } else {
              r = m.acquireRendererLocked();
            }
            // Bound before the event goes out, so that ActionScript finds
            // the renderer as soon as it hears of it.
            if (r) r->bind(user, 1);
          }
          if (r)
            raise(m.addvideo, core::joinLevel({user, "1"}));
          else
            raiseError(user, 1, "not find videoRander");
        }
        break;
      case ilive::EVENT_CAMERA_OFF:
        for (const ilive::SdkString& id : userIds) {
          const std::string user(id.c_str(), id.size());
          bool released = false;
          {
            std::lock_guard<std::mutex> lock(m.renderers.mutex());
            core::RendererPtr r = user == m.localUserLocked ? m.localCamera : m.renderers.findLocked(user, 1);
            if (r) {
              r->release();
              if (r == m.localCamera) m.localCamera.reset();
              released = true;
            }
          }
          if (released)
            raise(m.novideo, core::joinLevel({user, "1"}));
          else
            raiseError(user, 1, "not remove videoRander");
        }
        break;
      case ilive::EVENT_SCREEN_ON:
      case ilive::EVENT_MEDIA_ON: {
        // Only the first user counts; an empty list names nobody.
        if (userIds.empty()) break;
        const int32_t kind = event == ilive::EVENT_SCREEN_ON ? 2 : 3;
        const std::string user(userIds[0].c_str(), userIds[0].size());
        {
          std::lock_guard<std::mutex> lock(m.renderers.mutex());
          if (!m.localScreen) m.localScreen = m.acquireRendererLocked();
          m.localScreen->bind(user, kind);
        }
        raise(m.addvideo, core::joinLevel({user, kindText(kind)}));
        break;
      }
      case ilive::EVENT_SCREEN_OFF:
      case ilive::EVENT_MEDIA_OFF: {
        if (userIds.empty()) break;
        const int32_t kind = event == ilive::EVENT_SCREEN_OFF ? 2 : 3;
        const std::string user(userIds[0].c_str(), userIds[0].size());
        {
          std::lock_guard<std::mutex> lock(m.renderers.mutex());
          if (m.localScreen) {
            m.localScreen->release();
            m.localScreen.reset();
          }
        }
        raise(m.removevideo, core::joinLevel({user, kindText(kind)}));
        break;
      }
      default:
        break;
    }
  });
}

namespace {

// The renderer bound to (user, kind); raises "not get videoRander" when none is.
core::RendererPtr rendererFor(const std::string& user, int32_t kind) {
  LiveManager& m = LiveManager::instance();
  core::RendererPtr r = m.renderers.find(user, kind);
  if (!r) raiseError(user, kind, "not get videoRander");
  return r;
}

FREObject copyFrame(uint32_t argc, FREObject argv[]) {
  core::Args args(argc, argv);
  thread_local std::string user;  // kept from call to call: a pull allocates nothing
  args.stringInto(1, &user);
  const int32_t kind = args.int32(2);
  core::RendererPtr r = rendererFor(user, kind);
  FREObject destination = args.object(0);
  if (!r || !destination) return nullptr;
  r->frame.read([destination](const uint8_t* data, uint32_t size, uint32_t, uint32_t) {
    core::fillByteArray(destination, data, size);
  });
  return nullptr;
}

}  // namespace

BRISORA_FUNCTION(getVideoData) {
  (void)ctx;
  (void)functionData;
  return copyFrame(argc, argv);
}

BRISORA_FUNCTION(getVideoVector) {
  (void)ctx;
  (void)functionData;
  return copyFrame(argc, argv);
}

BRISORA_FUNCTION(getVideoBitmapData) {
  (void)ctx;
  (void)functionData;
  core::Args args(argc, argv);
  thread_local std::string user;  // kept from call to call
  args.stringInto(1, &user);
  const int32_t kind = args.int32(2);
  core::RendererPtr r = rendererFor(user, kind);
  if (!r) return nullptr;
  FREObject bitmap = nullptr;
  r->frame.read([&bitmap](const uint8_t* data, uint32_t size, uint32_t width, uint32_t height) {
    // A renderer that has stored no frame yet has no picture to give.
    if (data && size) bitmap = core::newBitmapData(width, height, data);
  });
  return bitmap;
}

}  // namespace brisora
