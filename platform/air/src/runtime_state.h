// The runtime's own state, shared by the C interface (runtime.cpp, buffers.cpp,
// and calls.h, the front every call makes), the objects' table (objects.cpp)
// and the host side (host.cpp). Not installed; extensions never see it.
//
// Ownership and protection:
// - Objects, call frames, the acquired object, context native data and the
//   breach counters belong to the Runtime and are touched only under its
//   `lock`. The C interface takes the lock for the length of one call and
//   never calls out while holding it.
// - A context's event queue belongs to its ContextState and is guarded by the
//   state's own `eventLock`, because FREDispatchStatusEventAsync runs on any
//   thread. The registry of contexts has its own `lock`.
// - The armed DispatchHold (Runtime::armedHold) is the Runtime's, under its
//   `lock`; a hold's stage is guarded by the hold's own `lock` (a leaf: taken
//   last, nothing is called while it is held).
// - The main thread is whichever thread has a call outstanding (the top call
//   frame); the host serialises calls with `mainLock`, so at most one thread
//   is the main thread at a time.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "air/host.h"

namespace air::detail {

enum class Breach { WrongThread, IllegalState, InvalidObject, InvalidArgument };

// One outstanding call into the extension (a function, the context
// initializer or finalizer). Objects made or received during it die with it.
struct Frame {
  std::thread::id thread;
  std::vector<uintptr_t> objects;
};

// One DispatchHold: armed by the host, taken by the first dispatch of its code.
struct DispatchHoldState {
  std::string code;
  std::chrono::milliseconds limit{0};
  std::mutex lock;
  std::condition_variable changed;
  DispatchHold::Stage stage = DispatchHold::Stage::Armed;  // guarded by lock
  void moveTo(DispatchHold::Stage next) {
    std::lock_guard<std::mutex> g(lock);
    stage = next;
    changed.notify_all();
  }
};

struct Runtime {
  std::mutex lock;
  std::shared_ptr<DispatchHoldState> armedHold;  // the hold no dispatch has taken yet
  std::atomic<uint64_t> eventsAfterFinalize{0};  // every context's, since the last reset
  std::recursive_mutex mainLock;  // held by the host for the length of each call
  std::unordered_map<uintptr_t, Value> objects;
  std::vector<Frame> frames;
  uintptr_t nextObject = 1;
  uintptr_t acquired = 0;  // the acquired ByteArray or BitmapData, 0 when none
  bool acquiredIsBitmap = false;
  Breaches breaches;
  std::vector<std::string> breachLog;
  bool echoBreaches = true;
  bool bitmapInvertedY = false;
  uint32_t bitmapExtraStride32 = 0;
};

Runtime& runtime();

// Under runtime().lock:
void countBreach(Runtime& r, Breach kind, const char* function, const std::string& why);
FREObject adopt(Runtime& r, Value value);           // a new handle in the top frame
Value* find(Runtime& r, FREObject object);           // null for a handle that is not alive
void pushFrame(Runtime& r);
void popFrame(Runtime& r);                           // releases a forgotten acquire (a breach)

// A new bitmap laid out as the runtime currently lays out bitmaps.
std::shared_ptr<Bitmap> makeBitmap(const Runtime& r, uint32_t width, uint32_t height, bool transparent,
                                   uint32_t fill);
// Gives a host-made bitmap a consistent stride and word count.
void normaliseBitmap(Bitmap& b);

struct ContextState {
  uintptr_t id = 0;
  // Main-thread data, under runtime().lock.
  void* nativeData = nullptr;
  Value actionScriptData;
  // The event queue, any thread.
  std::mutex eventLock;
  std::condition_variable eventReady;
  std::deque<Event> events;
  bool disposed = false;
  uint64_t dropped = 0;
};

struct ContextRegistry {
  std::mutex lock;
  std::unordered_map<uintptr_t, std::shared_ptr<ContextState>> contexts;
  uintptr_t next = 1;
};

ContextRegistry& contexts();
std::shared_ptr<ContextState> findContext(FREContext ctx);
std::shared_ptr<ContextState> registerContext();
void retireContext(const std::shared_ptr<ContextState>& state);

}  // namespace air::detail
