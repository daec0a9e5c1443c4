// The frame path both extensions share, from an SDK thread's frame to the
// ActionScript pull: routing a frame to its renderer, the intake into that
// renderer's store, the "video" event with its level text, and the copy into
// a ByteArray. Each extension adapts its SDK's frame record to Frame and keeps
// its own console texts for a frame that finds no renderer.
//
// Threads: routing takes the pool's mutex for the lookup and the bind only
// (and, under it, the local user's leaf lock to read the id),
// and hands back the renderer with its binding's generation as they were
// under that lock (a Route); the conversion runs outside it, into the
// renderer's FrameStore, which publishes the frame only while that binding
// still holds (see renderer.h). So the events thread may release or rebind a
// renderer between a frame's routing and its intake: the late intake is
// dropped, never shown in the view of the renderer's next user. Level texts
// live in buffers of the calling thread, so a steady stream of frames
// allocates nothing once they have grown.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

#include "FlashRuntimeExtensions.h"
#include "core/local_user.h"
#include "core/renderer.h"

namespace core {

// The code of the event that announces a stored frame.
inline constexpr char kVideoEvent[] = "video";

// The kind whose remote renderer is bound when the SDK announces the stream
// (Brisora's camera, Tamvex's big stream), never by its first frame; each
// extension passes its own named kind, which is this one in both.
constexpr int32_t kAnnouncedKind = 1;

// How a frame's pixels are laid out. Unreadable stores transparent black.
enum class FramePixels { I420, Rgb24, Bgra32, Unreadable };

// One frame as the SDK handed it, with the two numbers its event carries.
struct Frame {
  const uint8_t* data = nullptr;
  size_t size = 0;  // bytes at data
  uint32_t width = 0;
  uint32_t height = 0;
  FramePixels pixels = FramePixels::I420;
  bool flag = false;  // the event's fourth field, "1" or "0"
  int64_t value = 0;  // the event's fifth field
};

// Where routing sent a frame: the renderer and the generation of the binding
// it was routed under, both read under the pool lock. Empty when the frame has
// no renderer; ownerGone then says that the owner had no context there (the
// context finalizer has run: the frame came late).
struct Route {
  RendererPtr renderer;
  uint32_t binding = 0;
  bool ownerGone = false;
  explicit operator bool() const { return renderer != nullptr; }
};

// The intake: the frame converted to BGRA into the routed renderer's store,
// then "video" raised on the renderer's context with the level
// user||width||height||flag||value||kind. Dropped (nothing stored, no event,
// the previous frame kept): an empty route, a renderer without a context
// (after "ANE CTX Context Error" on the console), a frame without data, one
// shorter than its format needs, one whose BGRA size does not fit in 32 bits,
// and one whose renderer's binding changed since it was routed (the frame
// belongs to a view that is gone). True when stored.
bool takeFrame(const Route& route, const Frame& frame, const std::string& user, int32_t kind);

// A frame that came after the context finalizer: prints the renderers' guard
// line, "ANE CTX Context Error", and nothing else.
void lateFrame();

// A remote user's frame: the renderer bound to (user, kind); without one, for
// a kind other than announcedKind (bound when the SDK announces it) and a user
// other than the local one, the first free renderer, bound now, after which
// the console says "no Video - init Create". The local user is read under the
// pool lock (its own lock taken inside), and so is owner, the context a new
// renderer takes. Empty when the frame has no renderer.
Route routeRemote(RendererPool& pool, const AneContext& owner, const std::string& user, int32_t kind,
                  const LocalUser& localUser, int32_t announcedKind = kAnnouncedKind);

// A local frame of `kind`: the renderer bound to (local user, kind), else the
// one `slot` names when keepSlot (a slot shared by several kinds), else the
// first free one; slot then names it, and it is bound to (local user, kind).
// The local user and slot are read under the pool lock; *userCopy, when given,
// receives the local user's id as it was there (into its own storage; without
// it a buffer of the calling thread is used, so routing allocates nothing
// once the id's size settles).
Route routeLocal(RendererPool& pool, const AneContext& owner, RendererPtr& slot, bool keepSlot,
                 const LocalUser& localUser, int32_t kind, std::string* userCopy);

// The arguments of a frame pull: the target, the user id (read into a text
// this thread keeps, so a pull allocates nothing) and the kind.
struct FramePull {
  FREObject target;
  const std::string& user;
  int32_t kind;
};
FramePull readFramePull(uint32_t argc, FREObject argv[]);

// The renderer bound to (user, kind) for a pull, with its binding (the pool
// lock held for the lookup only); empty when none is.
Route findBound(RendererPool& pool, const std::string& user, int32_t kind);

// The found renderer's newest frame, shown to read(const uint8_t* data,
// uint32_t size, uint32_t width, uint32_t height) under the publish lock; no
// frame (null data, size 0) when the binding changed since the lookup.
template <class Read>
void readFrame(const Route& route, Read&& read) {
  if (!route) return;
  const ANEVideoRander& renderer = *route.renderer;
  renderer.frame.read(std::forward<Read>(read), [&] { return renderer.binding() == route.binding; });
}

// The found renderer's newest frame into a ByteArray (length 0 before the
// first frame, and once its binding changed since the lookup).
void copyFrame(const Route& route, FREObject byteArray);

}  // namespace core
