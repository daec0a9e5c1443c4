// The shared frame path (see frame_path.h).
#include "core/frame_path.h"

#include <cstdio>
#include <cstring>
#include <mutex>

#include "core/args.h"
#include "core/pixels.h"
#include "core/results.h"
#include "core/text.h"

namespace core {
namespace {

// The frame event code as a text made once, so raising it copies nothing.
const std::string kVideoEventText = kVideoEvent;

// Whether the frame carries the bytes its format needs for width x height:
// 3 a pixel for packed 24-bit, 4 for BGRA, Y and two quarter-size chroma
// planes (odd sizes rounded up) for I420; an unreadable frame needs none.
bool carriesPixels(const Frame& f) {
  const uint64_t pixels = static_cast<uint64_t>(f.width) * f.height;
  uint64_t needed = 0;
  switch (f.pixels) {
    case FramePixels::I420: needed = i420FrameBytes(f.width, f.height); break;
    case FramePixels::Rgb24: needed = pixels * 3; break;
    case FramePixels::Bgra32: needed = pixels * 4; break;
    case FramePixels::Unreadable: break;
  }
  return static_cast<uint64_t>(f.size) >= needed;
}

bool toBgra(const Frame& f, uint8_t* dst) {
  switch (f.pixels) {
    case FramePixels::I420: return i420ToBgra(f.data, f.size, f.width, f.height, dst);
    case FramePixels::Rgb24: return rgb24ToBgra(f.data, f.size, f.width, f.height, dst);
    case FramePixels::Bgra32: std::memcpy(dst, f.data, bgraFrameBytes(f.width, f.height)); return true;
    case FramePixels::Unreadable: std::memset(dst, 0, bgraFrameBytes(f.width, f.height)); return true;
  }
  return false;
}

}  // namespace

bool takeFrame(const Route& route, const Frame& frame, const std::string& user, int32_t kind) {
  if (!route) return false;
  ANEVideoRander& renderer = *route.renderer;
  if (!contextReady(renderer.context)) return false;
  if (!frame.data || frame.size == 0 || !carriesPixels(frame)) return false;
  const auto convert = [&frame](uint8_t* dst) { return toBgra(frame, dst); };
  const auto stillBound = [&route, &renderer] { return renderer.binding() == route.binding; };
  if (!renderer.frame.write(frame.width, frame.height, convert, stillBound)) return false;
  thread_local std::string level;
  LevelBuilder(level)
      .field(user)
      .number(frame.width)
      .number(frame.height)
      .field(frame.flag ? "1" : "0")
      .number(frame.value)
      .number(kind);
  renderer.context.raise(kVideoEventText, level);
  return true;
}

void lateFrame() { contextReady(AneContext()); }

namespace {

// Binds the routed renderer (pool lock held) and notes its binding.
Route routedLocked(RendererPtr renderer, const AneContext& owner, const std::string& user, int32_t kind) {
  Route route;
  if (renderer) {
    renderer->bind(user, kind);
    route.binding = renderer->binding();
    route.renderer = std::move(renderer);
  } else {
    route.ownerGone = owner.null();
  }
  return route;
}

}  // namespace

Route routeRemote(RendererPool& pool, const AneContext& owner, const std::string& user, int32_t kind,
                  const LocalUser& localUser, int32_t announcedKind) {
  Route route;
  bool created = false;
  {
    std::lock_guard<std::mutex> lock(pool.mutex());
    RendererPtr renderer = pool.findLocked(user, kind);
    if (!renderer && kind != announcedKind && !localUser.is(user)) {
      renderer = pool.acquireLocked(owner.get());
      created = renderer != nullptr;
    }
    route = routedLocked(std::move(renderer), owner, user, kind);
  }
  if (created) std::printf("\n%s === %i", "no Video - init Create", kind);
  return route;
}

Route routeLocal(RendererPool& pool, const AneContext& owner, RendererPtr& slot, bool keepSlot,
                 const LocalUser& localUser, int32_t kind, std::string* userCopy) {
  thread_local std::string copy;
  std::string& user = userCopy ? *userCopy : copy;
  std::lock_guard<std::mutex> lock(pool.mutex());
  localUser.copyInto(&user);
  RendererPtr renderer = pool.findLocked(user, kind);
  if (!renderer) renderer = keepSlot && slot ? slot : pool.acquireLocked(owner.get());
  slot = renderer;
  return routedLocked(std::move(renderer), owner, user, kind);
}

FramePull readFramePull(uint32_t argc, FREObject argv[]) {
  const Args args(argc, argv);
  thread_local std::string user;
  args.stringInto(1, &user);
  return FramePull{args.object(0), user, args.int32(2)};
}

Route findBound(RendererPool& pool, const std::string& user, int32_t kind) {
  Route route;
  std::lock_guard<std::mutex> lock(pool.mutex());
  route.renderer = pool.findLocked(user, kind);
  if (route.renderer) route.binding = route.renderer->binding();
  return route;
}

void copyFrame(const Route& route, FREObject byteArray) {
  readFrame(route, [byteArray](const uint8_t* data, uint32_t size, uint32_t, uint32_t) {
    fillByteArray(byteArray, data, size);
  });
}

}  // namespace core
