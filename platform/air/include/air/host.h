// The host side of the AIR runtime stand-in: what the real runtime does when an
// application loads a native extension, creates its context and calls its
// functions. Tests and the anehost tool drive extensions through this API only.
//
// The thread that calls Context::call is the main thread for the length of the
// call; extension code that calls the C API from any other thread, while an
// object is acquired, after an object's call has returned, or with a null
// pointer is refused exactly as the runtime refuses it, and the breach counted.
//
// How the stand-in answers where extension code may not expect it:
// - A null FREObject is ActionScript null, not a breach: FREGetObjectType gives
//   FRE_TYPE_NULL, FREGetObjectAs* and the acquires FRE_TYPE_MISMATCH, a
//   property of it FRE_ACTIONSCRIPT_ERROR. The host passes a Null argument as
//   a (non-null) handle of type FRE_TYPE_NULL.
// - new BitmapData with a width or height below 1 (or absurdly large) throws,
//   as ActionScript does: FRENewObject answers FRE_ACTIONSCRIPT_ERROR.
// - A ByteArray "length" above 1 GiB answers FRE_INSUFFICIENT_MEMORY.
// - An object still acquired when its call returns is released by the
//   runtime and counted as an illegal-state breach.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "FlashRuntimeExtensions.h"

namespace air {

// An ActionScript ByteArray owned by the host; extension calls see its bytes.
struct ByteArray {
  std::vector<uint8_t> bytes;
};

// An ActionScript BitmapData owned by the host. Rows are stored as the runtime
// chose: bottom row first when invertedY, each row stride32 words apart.
struct Bitmap {
  uint32_t width = 0;
  uint32_t height = 0;
  bool transparent = true;
  bool invertedY = false;
  uint32_t stride32 = 0;
  std::vector<uint32_t> words;
  // FREInvalidateBitmapDataRect calls the runtime accepted for this bitmap.
  uint32_t invalidations = 0;
  // The ARGB word of the pixel at column x of image row y (0 = top row).
  uint32_t pixel(uint32_t x, uint32_t y) const;
  // Writes the pixel at column x of image row y (0 = top row).
  void setPixel(uint32_t x, uint32_t y, uint32_t argb);
};

// The word that fills the extra words at the end of each row of a new bitmap;
// a changed padding word means something wrote past the end of a row.
constexpr uint32_t kBitmapPadding = 0xA5A5A5A5u;
// A bitmap as ActionScript's `new BitmapData(width, height, transparent, fill)`
// makes it, laid out as setBitmapLayout chose (an opaque bitmap's alpha is FF).
std::shared_ptr<Bitmap> newBitmap(uint32_t width, uint32_t height, bool transparent = true,
                                  uint32_t fill = 0xFFFFFFFFu);
// True when no padding word of the bitmap was changed.
bool paddingIntact(const Bitmap& bitmap);

// A plain ActionScript Object (no properties the extensions use).
struct PlainObject {};

struct Null {
  bool operator==(const Null&) const { return true; }
};

using Value = std::variant<Null, bool, int32_t, uint32_t, double, std::string, std::shared_ptr<ByteArray>,
                           std::shared_ptr<Bitmap>, std::shared_ptr<PlainObject>>;

// A StatusEvent as ActionScript receives it on the main thread.
struct Event {
  std::string code;
  std::string level;
  bool operator==(const Event& o) const { return code == o.code && level == o.level; }
};

// Counts of calls that the runtime refused because they broke one of its rules.
struct Breaches {
  uint64_t wrongThread = 0;      // FRE_WRONG_THREAD: off the thread that has a call outstanding
  uint64_t illegalState = 0;     // FRE_ILLEGAL_STATE: while a ByteArray or BitmapData is acquired
  uint64_t invalidObject = 0;    // FRE_INVALID_OBJECT: an object used after its call returned
  uint64_t invalidArgument = 0;  // FRE_INVALID_ARGUMENT: a null pointer
  uint64_t total() const { return wrongThread + illegalState + invalidObject + invalidArgument; }
};

// Runtime-wide state and switches.
Breaches breaches();
void resetBreaches();
// Events dispatched to a context after its finalizer ran, for every context
// since the last resetBreaches (the runtime refuses them; ActionScript never
// sees them). A context's own count is Context::droppedEvents().
uint64_t eventsAfterFinalize();
// One line per breach since the last reset ("FREGetObjectAsInt32: FRE_WRONG_THREAD: ..."), at most 256.
std::vector<std::string> breachLog();
// Whether each breach is also written to stderr as it happens (on by default).
void setBreachEcho(bool on);
// When true, Extension's destructor leaves the library loaded (no dlclose /
// FreeLibrary); for libraries whose threads may outlive their finalizer.
void setKeepLibrariesLoaded(bool keep);
// How new bitmaps lay out their rows: bottom row first, and extra words per row.
void setBitmapLayout(bool invertedY, uint32_t extraStride32);

class Context;

namespace detail {
struct DispatchHoldState;
}

// A test seam for the window between an extension reading the context it
// raises an event on and the runtime queuing that event: while a DispatchHold
// of `code` lives, the next FREDispatchStatusEventAsync of exactly that code,
// from any thread, is held inside the call, after its arguments were checked
// and before the runtime looks at whether its context was retired. It stays
// there until that context has been retired (its finalizer returned; see
// Context::dispose) or `limit` has passed, whichever comes first, and then
// goes on as every dispatch does: queued to a live context, dropped and
// counted (eventsAfterFinalize) for a retired one.
//
// Strict by design: one hold exists at a time (a second DispatchHold while
// one lives throws std::logic_error), it takes one dispatch only, dispatches
// of other codes pass untouched, and a hold nobody took is withdrawn by its
// destructor. A dispatch already held keeps waiting to its own end after the
// hold is destroyed.
class DispatchHold {
 public:
  enum class Stage {
    Armed,           // no dispatch of the code has come yet
    Holding,         // a dispatch is held now
    ContextRetired,  // let go because its context was retired
    TimedOut,        // let go because the limit passed while its context lived
  };
  explicit DispatchHold(const std::string& code, std::chrono::milliseconds limit = std::chrono::milliseconds(400));
  ~DispatchHold();
  DispatchHold(const DispatchHold&) = delete;
  DispatchHold& operator=(const DispatchHold&) = delete;
  // Waits until a dispatch is held (or was held and let go); false when none
  // came within `timeout`.
  bool waitUntilHeld(std::chrono::milliseconds timeout);
  // Waits until the held dispatch was let go; false when that did not happen
  // within `timeout`.
  bool waitUntilLetGo(std::chrono::milliseconds timeout);
  Stage stage() const;

 private:
  std::shared_ptr<detail::DispatchHoldState> state_;
};

// A loaded extension library (dlopen / LoadLibrary), initialized through its
// exported initializer; the destructor calls the finalizer and unloads it.
class Extension {
 public:
  static std::unique_ptr<Extension> load(const std::string& libraryPath, const std::string& initializerName,
                                         const std::string& finalizerName, std::string* error = nullptr);
  ~Extension();
  // Runs the context initializer (on the calling thread, as the main thread).
  // Null when the extension's initializer handed back no context initializer.
  std::unique_ptr<Context> createContext(const std::string& contextType = "");
  // An extension linked into the calling program: its initializer and
  // finalizer are given directly instead of being looked up in a library.
  static std::unique_ptr<Extension> fromInitializer(FREInitializer initializer, FREFinalizer finalizer);

  struct Impl;

 private:
  explicit Extension(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

// An extension context: the function table and the event queue.
class Context {
 public:
  ~Context();  // disposes the context when still alive
  std::vector<std::string> functionNames() const;
  bool hasFunction(const std::string& name) const;
  // The function data the extension's table gave with a function (null when
  // it gave none or has no such function).
  const void* functionData(const std::string& name) const;
  // Calls a function of the table by name. Host values become FREObjects that
  // live until the call returns; the result is read back as a host value
  // (a ByteArray or Bitmap made by the extension comes back as a new host object).
  Value call(const std::string& name, const std::vector<Value>& args = {});
  // Events queued so far (from any thread), in order, as delivered on the main thread.
  std::vector<Event> takeEvents();
  // Waits until at least `count` events are queued or the time is up; then takes them all.
  std::vector<Event> waitForEvents(size_t count, std::chrono::milliseconds timeout);
  // Runs the context finalizer; events not yet taken, and those queued
  // afterwards, are dropped (ActionScript never sees them).
  void dispose();
  bool disposed() const;
  FREContext handle() const;
  // Events dispatched to this context after its finalizer ran (dropped).
  uint64_t droppedEvents() const;

  struct Impl;
  explicit Context(std::unique_ptr<Impl> impl);

 private:
  std::unique_ptr<Impl> impl_;
};

// Makes the calling thread the main thread with a call outstanding, as if
// inside an extension function, so that code meant to run inside calls can be
// driven directly (tests of shared helpers). Objects made while the scope
// lives die with it. Scopes nest; the host's calls nest inside them.
class CallScope {
 public:
  CallScope();
  ~CallScope();
  CallScope(const CallScope&) = delete;
  CallScope& operator=(const CallScope&) = delete;
  // A handle for a host value, alive until the scope ends (ByteArrays and
  // Bitmaps are shared with the caller).
  FREObject object(const Value& value);
  // The host value of a live handle; Null for a null or dead handle.
  Value value(FREObject object);
};

// Captures what the process writes to its console (file descriptor 1, where
// the extensions' printf goes) while it exists. text() flushes stdout first and
// returns everything written so far, from any thread.
class ConsoleCapture {
 public:
  ConsoleCapture();
  ~ConsoleCapture();  // restores file descriptor 1
  std::string text();
  std::string take();  // text() and clear

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace air
