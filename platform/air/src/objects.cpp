// Object handles, call frames, bitmaps and the breach counters.
#include <cstdio>

#include "runtime_state.h"

namespace air {
namespace detail {

namespace {
// Handles are tagged serial numbers, never addresses: a handle whose call has
// returned is simply absent from the table, so it is detected and never
// dereferenced. The low bits keep object and context handles apart.
constexpr uintptr_t kObjectTag = 0x1;
constexpr uintptr_t kContextTag = 0x9;
constexpr unsigned kTagBits = 4;
constexpr size_t kBreachLogLimit = 256;
}  // namespace

Runtime& runtime() {
  static Runtime* r = new Runtime;  // never destroyed: SDK threads may call in at exit
  return *r;
}

ContextRegistry& contexts() {
  static ContextRegistry* c = new ContextRegistry;
  return *c;
}

void countBreach(Runtime& r, Breach kind, const char* function, const std::string& why) {
  const char* code = "";
  switch (kind) {
    case Breach::WrongThread:
      ++r.breaches.wrongThread;
      code = "FRE_WRONG_THREAD";
      break;
    case Breach::IllegalState:
      ++r.breaches.illegalState;
      code = "FRE_ILLEGAL_STATE";
      break;
    case Breach::InvalidObject:
      ++r.breaches.invalidObject;
      code = "FRE_INVALID_OBJECT";
      break;
    case Breach::InvalidArgument:
      ++r.breaches.invalidArgument;
      code = "FRE_INVALID_ARGUMENT";
      break;
  }
  std::string line = std::string(function) + ": " + code + ": " + why;
  if (r.breachLog.size() < kBreachLogLimit) r.breachLog.push_back(line);
  if (r.echoBreaches) std::fprintf(stderr, "[air runtime] %s\n", line.c_str());
}

FREObject adopt(Runtime& r, Value value) {
  uintptr_t id = (r.nextObject++ << kTagBits) | kObjectTag;
  r.objects.emplace(id, std::move(value));
  if (!r.frames.empty()) r.frames.back().objects.push_back(id);
  return reinterpret_cast<FREObject>(id);
}

Value* find(Runtime& r, FREObject object) {
  auto it = r.objects.find(reinterpret_cast<uintptr_t>(object));
  return it == r.objects.end() ? nullptr : &it->second;
}

void pushFrame(Runtime& r) { r.frames.push_back(Frame{std::this_thread::get_id(), {}}); }

void popFrame(Runtime& r) {
  if (r.frames.empty()) return;
  Frame& top = r.frames.back();
  for (uintptr_t id : top.objects) {
    if (id == r.acquired) {
      countBreach(r, Breach::IllegalState, r.acquiredIsBitmap ? "FREAcquireBitmapData" : "FREAcquireByteArray",
                  "still acquired when the call returned");
      r.acquired = 0;
    }
    r.objects.erase(id);
  }
  r.frames.pop_back();
}

std::shared_ptr<Bitmap> makeBitmap(const Runtime& r, uint32_t width, uint32_t height, bool transparent,
                                   uint32_t fill) {
  auto b = std::make_shared<Bitmap>();
  b->width = width;
  b->height = height;
  b->transparent = transparent;
  b->invertedY = r.bitmapInvertedY;
  b->stride32 = width + r.bitmapExtraStride32;
  b->words.assign(size_t(b->stride32) * height, kBitmapPadding);
  uint32_t word = transparent ? fill : (fill | 0xFF000000u);
  for (uint32_t y = 0; y < height; ++y)
    for (uint32_t x = 0; x < width; ++x) b->words[size_t(y) * b->stride32 + x] = word;
  return b;
}

void normaliseBitmap(Bitmap& b) {
  if (b.stride32 < b.width) b.stride32 = b.width;
  size_t need = size_t(b.stride32) * b.height;
  if (b.words.size() < need) b.words.resize(need, 0);
}

std::shared_ptr<ContextState> registerContext() {
  ContextRegistry& c = contexts();
  auto state = std::make_shared<ContextState>();
  std::lock_guard<std::mutex> g(c.lock);
  state->id = (c.next++ << kTagBits) | kContextTag;
  c.contexts.emplace(state->id, state);
  return state;
}

std::shared_ptr<ContextState> findContext(FREContext ctx) {
  ContextRegistry& c = contexts();
  std::lock_guard<std::mutex> g(c.lock);
  auto it = c.contexts.find(reinterpret_cast<uintptr_t>(ctx));
  return it == c.contexts.end() ? nullptr : it->second;
}

void retireContext(const std::shared_ptr<ContextState>& state) {
  // The state stays registered (marked disposed) so that late events are
  // recognised and counted as dropped rather than taken for a bad handle.
  std::lock_guard<std::mutex> g(state->eventLock);
  state->disposed = true;
  state->events.clear();
  state->eventReady.notify_all();
}

}  // namespace detail

uint32_t Bitmap::pixel(uint32_t x, uint32_t y) const {
  if (x >= width || y >= height) return 0;
  uint32_t row = invertedY ? height - 1 - y : y;
  size_t i = size_t(row) * stride32 + x;
  return i < words.size() ? words[i] : 0;
}

void Bitmap::setPixel(uint32_t x, uint32_t y, uint32_t argb) {
  if (x >= width || y >= height) return;
  uint32_t row = invertedY ? height - 1 - y : y;
  size_t i = size_t(row) * stride32 + x;
  if (i < words.size()) words[i] = argb;
}

std::shared_ptr<Bitmap> newBitmap(uint32_t width, uint32_t height, bool transparent, uint32_t fill) {
  detail::Runtime& r = detail::runtime();
  std::lock_guard<std::mutex> g(r.lock);
  return detail::makeBitmap(r, width, height, transparent, fill);
}

bool paddingIntact(const Bitmap& b) {
  for (uint32_t y = 0; y < b.height; ++y)
    for (uint32_t x = b.width; x < b.stride32; ++x) {
      size_t i = size_t(y) * b.stride32 + x;
      if (i < b.words.size() && b.words[i] != kBitmapPadding) return false;
    }
  return true;
}

Breaches breaches() {
  detail::Runtime& r = detail::runtime();
  std::lock_guard<std::mutex> g(r.lock);
  return r.breaches;
}

std::vector<std::string> breachLog() {
  detail::Runtime& r = detail::runtime();
  std::lock_guard<std::mutex> g(r.lock);
  return r.breachLog;
}

void resetBreaches() {
  detail::Runtime& r = detail::runtime();
  std::lock_guard<std::mutex> g(r.lock);
  r.breaches = Breaches{};
  r.breachLog.clear();
  r.eventsAfterFinalize = 0;
}

uint64_t eventsAfterFinalize() { return detail::runtime().eventsAfterFinalize.load(); }

void setBreachEcho(bool on) {
  detail::Runtime& r = detail::runtime();
  std::lock_guard<std::mutex> g(r.lock);
  r.echoBreaches = on;
}

void setBitmapLayout(bool invertedY, uint32_t extraStride32) {
  detail::Runtime& r = detail::runtime();
  std::lock_guard<std::mutex> g(r.lock);
  r.bitmapInvertedY = invertedY;
  r.bitmapExtraStride32 = extraStride32;
}

}  // namespace air
