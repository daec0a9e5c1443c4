// Brisora's side of the frame path: the iLive frame record adapted to the
// shared path in core (routing, intake, the "video" event), the member events
// that bind and release renderers, and the functions that pull frames.
#include <cstdio>
#include <string>

#include "core/args.h"
#include "core/edge.h"
#include "core/frame_path.h"
#include "core/results.h"
#include "core/text.h"
#include "ilive/brisora.h"
#include "ilive/functions.h"
#include "ilive/manager.h"

namespace brisora {
namespace {

const char* kindText(int32_t kind) {
  switch (kind) {
    case kCamera: return "1";
    case kScreen: return "2";
    case kMediaFile: return "3";
    default: return "0";  // kUnknownKind
  }
}

void raiseError(const std::string& user, int32_t kind, const char* message) {
  LiveManager& m = LiveManager::instance();
  m.context.raise(m.ilivesdk_error, core::joinLevel({user, kindText(kind), message}));
}

// The SDK's frame record as the shared path reads it: packed 24-bit or I420,
// the flag and the value passed on in the event.
core::Frame frameOf(const ilive::VideoFrame& f) {
  core::Frame frame;
  frame.data = f.data;
  frame.size = f.dataSize;
  frame.width = f.width;
  frame.height = f.height;
  frame.pixels = f.colorFormat == ilive::COLOR_FORMAT_RGB24 ? core::FramePixels::Rgb24 : core::FramePixels::I420;
  frame.flag = f.flag != 0;
  frame.value = f.value;
  return frame;
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
    const int32_t kind = frame->sourceKind >= kCamera && frame->sourceKind <= kMediaFile ? frame->sourceKind : kUnknownKind;
    const core::Route route = core::routeRemote(m.renderers, m.context, user, kind, m.localUser, kCamera);
    if (route) {
      core::takeFrame(route, frameOf(*frame), user, kind);
    } else if (route.ownerGone) {
      core::lateFrame();  // after the context finalizer: nothing made, nothing raised
    } else {
      std::printf("\n%s = %s  === %i", "OnRemoteVideo", user.c_str(), frame->sourceKind);
      raiseError(user, kind, "not find videoRander and doRender");
    }
  });
}

// The camera has a slot of its own; screen and media file share one.
void onLocalVideo(const ilive::VideoFrame* frame, void*) {
  core::inHandler([&] {
    if (!frame) return;
    const int32_t kind = frame->sourceKind;
    if (kind < kCamera || kind > kMediaFile) return;
    LiveManager& m = LiveManager::instance();
    thread_local std::string user;
    const bool camera = kind == kCamera;
    core::RendererPtr& slot = camera ? m.localCamera : m.localScreen;
    const core::Route route = core::routeLocal(m.renderers, m.context, slot, !camera, m.localUser, kind, &user);
    if (route)
      core::takeFrame(route, frameOf(*frame), user, kind);
    else if (route.ownerGone)
      core::lateFrame();
    else
      raiseError(user, kind, camera ? "not find local_camera" : "not find local_screen");
  });
}

namespace {

std::string userText(const ilive::SdkString& id) { return std::string(id.c_str(), id.size()); }

// Camera on: the local user's camera takes the local camera slot (kept when
// set, else the renderer bound to it, else a free one); a remote user keeps
// the renderer it has when announced again, else takes a free one. Bound
// before "addvideo" goes out, so that ActionScript finds the renderer as soon
// as it hears of it.
void cameraOn(LiveManager& m, const std::string& user) {
  core::RendererPtr r;
  {
    std::lock_guard<std::mutex> lock(m.renderers.mutex());
    if (m.localUser.is(user)) {
      if (!m.localCamera) {
        m.localCamera = m.renderers.findLocked(user, kCamera);
        if (!m.localCamera) m.localCamera = m.acquireRendererLocked();
      }
      r = m.localCamera;
    } else {
      r = m.renderers.findLocked(user, kCamera);
      if (!r) r = m.acquireRendererLocked();
    }
    if (r) r->bind(user, kCamera);
  }
  if (r)
    m.context.raise(m.addvideo, core::joinLevel({user, kindText(kCamera)}));
  else
    raiseError(user, kCamera, "not find videoRander");
}

// Camera off: the user's camera renderer (the local camera slot for the local
// user) is released.
void cameraOff(LiveManager& m, const std::string& user) {
  bool released = false;
  {
    std::lock_guard<std::mutex> lock(m.renderers.mutex());
    core::RendererPtr r = m.localUser.is(user) ? m.localCamera : m.renderers.findLocked(user, kCamera);
    if (r) {
      r->release();
      if (r == m.localCamera) m.localCamera.reset();
      released = true;
    }
  }
  if (released)
    m.context.raise(m.novideo, core::joinLevel({user, kindText(kCamera)}));
  else
    raiseError(user, kCamera, "not remove videoRander");
}

// Screen or media file on (kScreen or kMediaFile): the one screen slot is bound to the
// user; given to another user, it starts empty.
void screenOn(LiveManager& m, const std::string& user, int32_t kind) {
  {
    std::lock_guard<std::mutex> lock(m.renderers.mutex());
    if (!m.localScreen) m.localScreen = m.acquireRendererLocked();
    if (m.localScreen) m.localScreen->bind(user, kind);
  }
  m.context.raise(m.addvideo, core::joinLevel({user, kindText(kind)}));
}

// Screen or media file off: the screen slot, if set, is released; the event
// goes out either way.
void screenOff(LiveManager& m, const std::string& user, int32_t kind) {
  {
    std::lock_guard<std::mutex> lock(m.renderers.mutex());
    if (m.localScreen) {
      m.localScreen->release();
      m.localScreen.reset();
    }
  }
  m.context.raise(m.removevideo, core::joinLevel({user, kindText(kind)}));
}

}  // namespace

// Camera events name every user of the list in order; screen and media events
// only the first (an empty list names nobody).
void onMemberEvent(int32_t event, const ilive::SdkVector<ilive::SdkString>& userIds, void*) {
  core::inHandler([&] {
    LiveManager& m = LiveManager::instance();
    switch (event) {
      case ilive::EVENT_CAMERA_ON:
        for (const ilive::SdkString& id : userIds) cameraOn(m, userText(id));
        break;
      case ilive::EVENT_CAMERA_OFF:
        for (const ilive::SdkString& id : userIds) cameraOff(m, userText(id));
        break;
      case ilive::EVENT_SCREEN_ON:
      case ilive::EVENT_MEDIA_ON:
        if (!userIds.empty()) screenOn(m, userText(userIds[0]), event == ilive::EVENT_SCREEN_ON ? kScreen : kMediaFile);
        break;
      case ilive::EVENT_SCREEN_OFF:
      case ilive::EVENT_MEDIA_OFF:
        if (!userIds.empty()) screenOff(m, userText(userIds[0]), event == ilive::EVENT_SCREEN_OFF ? kScreen : kMediaFile);
        break;
      default:
        break;
    }
  });
}

namespace {

// The renderer bound to (user, kind) with its binding; raises "not get
// videoRander" when none is.
core::Route rendererFor(const std::string& user, int32_t kind) {
  LiveManager& m = LiveManager::instance();
  core::Route r = core::findBound(m.renderers, user, kind);
  if (!r) raiseError(user, kind, "not get videoRander");
  return r;
}

FREObject copyFrameTo(uint32_t argc, FREObject argv[]) {
  const core::FramePull pull = core::readFramePull(argc, argv);
  const core::Route r = rendererFor(pull.user, pull.kind);
  if (r && pull.target) core::copyFrame(r, pull.target);
  return nullptr;
}

}  // namespace

ANE_FUNCTION(getVideoData) { return copyFrameTo(argc, argv); }

ANE_FUNCTION(getVideoVector) { return copyFrameTo(argc, argv); }

ANE_FUNCTION(getVideoBitmapData) {
  const core::FramePull pull = core::readFramePull(argc, argv);
  const core::Route r = rendererFor(pull.user, pull.kind);
  if (!r) return nullptr;
  FREObject bitmap = nullptr;
  core::readFrame(r, [&bitmap](const uint8_t* data, uint32_t size, uint32_t width, uint32_t height) {
    // A renderer that has stored no frame yet has no picture to give.
    if (data && size) bitmap = core::newBitmapData(width, height, data);
  });
  return bitmap;
}

}  // namespace brisora
