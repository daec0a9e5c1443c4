// air_runtime.node: the AIR runtime stand-in for ActionScript compiled to
// JavaScript and run by Node. The ActionScript classes in as3/air/ (flash.*)
// call it; it loads an extension from its descriptor as anehost does, calls
// its functions through the runtime stand-in's host API, and delivers its
// status events on Node's main thread through the event loop.
//
// Values cross as plain JavaScript values, except ByteArray and BitmapData,
// which cross as tagged records:
//   {kind: "ByteArray", bytes: Uint8Array}
//   {kind: "BitmapData", width, height, transparent, pixels: Uint32Array (ARGB, top row first)}
// A call answers {result, out}: the result value (or {arg: i} when the
// extension handed back argument i itself) and, per argument, the new bytes
// or pixels of a ByteArray or BitmapData (null for other arguments).
#include <dlfcn.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <napi.h>

#include "air/host.h"
#include "values.h"
#include "descriptor.h"
#include "received.h"
#include "sdk_control.h"
#include "win32_standin.h"

namespace {

using as3node::bytesOf;
using as3node::pixelsOf;
using as3node::toHost;
using as3node::toScript;

namespace fs = std::filesystem;
constexpr const char* kPlatform = "Windows-x86";

// The folder of this module; the extension descriptors lie in its
// "extensions" folder and the libraries beside it, as beside anehost.
std::string moduleFolder() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&moduleFolder), &info) == 0 || !info.dli_fname) return ".";
  return fs::path(info.dli_fname).parent_path().string();
}

// The descriptor whose id is `id` (AIR matches ids exactly), searched in the
// folders of AIR_EXTENSIONS (colon-separated) and then <module>/extensions.
bool findDescriptor(const std::string& id, anehost::Descriptor* out, std::string* path, std::string* error) {
  std::vector<fs::path> folders;
  if (const char* extra = std::getenv("AIR_EXTENSIONS")) {
    std::string list = extra;
    size_t start = 0;
    while (start <= list.size()) {
      size_t end = list.find(':', start);
      if (end == std::string::npos) end = list.size();
      if (end > start) folders.emplace_back(list.substr(start, end - start));
      start = end + 1;
    }
  }
  folders.push_back(fs::path(moduleFolder()) / "extensions");
  for (const auto& folder : folders) {
    for (auto& f : anehost::descriptorsIn(folder.string(), kPlatform)) {
      if (f.descriptor.id == id) {
        *out = f.descriptor;
        *path = f.path;
        return true;
      }
    }
  }
  *error = "no extension descriptor with id \"" + id + "\" in " + folders.back().string();
  return false;
}

// The native library of a descriptor: beside the descriptor, then beside this
// module; "Brisora.dll" is libBrisora.so here.
std::string findLibrary(const anehost::Descriptor& d, const std::string& descriptorPath) {
  return anehost::findNativeLibrary(d.nativeLibrary, {fs::path(descriptorPath).parent_path().string(), moduleFolder()});
}

// One loaded extension per id for the life of the process, as the runtime
// keeps an extension loaded once any context of it was made.
struct LoadedExtension {
  anehost::Descriptor descriptor;
  std::unique_ptr<air::Extension> extension;
};
std::vector<std::unique_ptr<LoadedExtension>>& loaded() {
  static std::vector<std::unique_ptr<LoadedExtension>> list;
  return list;
}

LoadedExtension* loadExtension(const std::string& id, std::string* error) {
  for (auto& e : loaded())
    if (e->descriptor.id == id) return e.get();
  auto e = std::make_unique<LoadedExtension>();
  std::string path;
  if (!findDescriptor(id, &e->descriptor, &path, error)) return nullptr;
  const std::string library = findLibrary(e->descriptor, path);
  if (library.empty()) {
    *error = "no library file for \"" + e->descriptor.nativeLibrary + "\" beside " + path;
    return nullptr;
  }
  e->extension = air::Extension::load(library, e->descriptor.initializer, e->descriptor.finalizer, error);
  if (!e->extension) return nullptr;
  loaded().push_back(std::move(e));
  return loaded().back().get();
}

// ---- contexts ----
//
// A context lives as long as ActionScript references it, as in AIR: nothing
// here holds its JavaScript object (or anything that reaches it) strongly.
// The object keeps its event callback in a property of its own; the
// thread-safe function that carries events to the main thread holds no
// JavaScript function, and finds the object through the wrapper's weak
// reference. When the garbage collector takes an object nobody references,
// the wrapper's finalizer (on the main thread; it calls nothing in
// JavaScript) runs the extension's context finalizer, and batches still on
// their way are dropped, as the runtime drops events for a finalized context.
//
// Who owns what:
// - ContextWrap (but stop_), its Delivery and the list of live contexts: the
//   main thread, which makes, disposes, finalizes and delivers. No lock.
// - The watcher thread of a context uses only context_'s event queue (guarded
//   by the runtime stand-in), stop_ (atomic) and tsfn_ (thread-safe); the
//   main thread joins it before it lets go of either.
// - The SDK controls (sdkOf's list) and the console capture: the main thread.
//   What they read of the stand-ins (the call logs, the buffers the SDK was
//   handed, the Win32 stand-in's removed libraries and call lines) is guarded
//   by each stand-in's own lock, since the SDK threads write it too.

class ContextWrap;
std::vector<ContextWrap*>& liveContexts() {
  static std::vector<ContextWrap*> list;
  return list;
}

struct EventBatch {
  std::vector<air::Event> events;
};

// What the thread-safe function of one context delivers to: its wrapper, null
// once the context is finalized. The thread-safe function owns it.
struct Delivery {
  ContextWrap* wrap = nullptr;
};

// The property of a context's object that holds its event callback.
constexpr const char* kOnEvents = "onEvents";

// One extension context. A watcher thread waits for the runtime's event
// queue and hands each batch to the main thread through a thread-safe
// function; the JavaScript listener runs there, between calls, as in AIR.
class ContextWrap : public Napi::ObjectWrap<ContextWrap> {
 public:
  static Napi::Function Define(Napi::Env env) {
    return DefineClass(env, "Context",
                       {InstanceMethod("call", &ContextWrap::Call), InstanceMethod("dispose", &ContextWrap::Dispose),
                        InstanceMethod("functionNames", &ContextWrap::FunctionNames),
                        InstanceMethod("keepAlive", &ContextWrap::KeepAlive)});
  }

  explicit ContextWrap(const Napi::CallbackInfo& info) : Napi::ObjectWrap<ContextWrap>(info) {}

  // Called once, right after construction, by createContext. False (and the
  // context disposed) when Node gives no thread-safe function.
  bool start(Napi::Env env, std::unique_ptr<air::Context> context, Napi::Function onEvents) {
    context_ = std::move(context);
    Value().DefineProperty(Napi::PropertyDescriptor::Value(kOnEvents, onEvents, napi_default));
    auto delivery = std::make_unique<Delivery>(Delivery{this});
    if (napi_create_threadsafe_function(env, nullptr, nullptr, Napi::String::New(env, "air status events"), 0, 1,
                                        delivery.get(), &ContextWrap::finishDelivery, delivery.get(),
                                        &ContextWrap::deliver, &tsfn_) != napi_ok) {
      tsfn_ = nullptr;
      context_->dispose();
      context_.reset();
      return false;
    }
    delivery_ = delivery.release();
    // Events alone do not keep the program running; a listener does (KeepAlive).
    napi_unref_threadsafe_function(env, tsfn_);
    liveContexts().push_back(this);
    watcher_ = std::thread([this] { watch(); });
    return true;
  }

  // The garbage collector took the object, or Node is ending.
  ~ContextWrap() override { shutDown(); }

  // Stops the watcher and runs the context finalizer (once).
  void shutDown() {
    if (!context_) return;
    stop_ = true;
    context_->dispose();  // wakes the watcher
    if (watcher_.joinable()) watcher_.join();
    if (delivery_) {
      delivery_->wrap = nullptr;  // batches still queued are dropped
      napi_release_threadsafe_function(tsfn_, napi_tsfn_release);
    }
    delivery_ = nullptr;
    tsfn_ = nullptr;
    context_.reset();
    std::fflush(stdout);
    auto& list = liveContexts();
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
  }

 private:
  void watch() {
    while (!stop_) {
      std::vector<air::Event> events = context_->waitForEvents(1, std::chrono::milliseconds(200));
      if (events.empty() || stop_) continue;
      auto* batch = new EventBatch{std::move(events)};
      if (napi_call_threadsafe_function(tsfn_, batch, napi_tsfn_blocking) != napi_ok) delete batch;
    }
  }

  // On the main thread: one batch to the context's callback, unless the
  // context was finalized or its object collected meanwhile. No env when Node
  // empties the queue at its end.
  static void deliver(napi_env rawEnv, napi_value, void* context, void* data) {
    std::unique_ptr<EventBatch> batch(static_cast<EventBatch*>(data));
    std::fflush(stdout);
    ContextWrap* wrap = static_cast<Delivery*>(context)->wrap;
    if (!rawEnv || !wrap) return;
    Napi::Env env(rawEnv);
    try {
      Napi::Object self = wrap->Value();
      if (self.IsEmpty()) return;  // collected; its finalizer is on its way
      Napi::Value onEvents = self.Get(kOnEvents);
      if (!onEvents.IsFunction()) return;
      Napi::Array list = Napi::Array::New(env, batch->events.size() * 2);
      for (size_t i = 0; i < batch->events.size(); ++i) {
        list.Set(uint32_t(i * 2), Napi::String::New(env, batch->events[i].code));
        list.Set(uint32_t(i * 2 + 1), Napi::String::New(env, batch->events[i].level));
      }
      onEvents.As<Napi::Function>().Call({list});
    } catch (const Napi::Error& e) {
      e.ThrowAsJavaScriptException();
    }
  }

  // The thread-safe function has ended. Before its context only when Node
  // ends without shutdown(): the context goes with it, the watcher first.
  static void finishDelivery(napi_env, void* data, void*) {
    std::unique_ptr<Delivery> delivery(static_cast<Delivery*>(data));
    if (ContextWrap* wrap = delivery->wrap) {
      wrap->delivery_ = nullptr;
      wrap->shutDown();
    }
  }

  // call(name, args) -> {result, out}, or {refused: "disposed" | "name"} when
  // the context was disposed or its table has no function of that name (the
  // ActionScript side throws AIR's errors for those).
  Napi::Value Call(const Napi::CallbackInfo& info) {
    Napi::Env env = info.Env();
    Napi::Object answer = Napi::Object::New(env);
    if (!context_) {
      answer.Set("refused", "disposed");
      return answer;
    }
    const std::string name = info.Length() > 0 && info[0].IsString() ? info[0].As<Napi::String>().Utf8Value() : std::string();
    if (name.empty() || !context_->hasFunction(name)) {
      answer.Set("refused", "name");
      return answer;
    }
    std::vector<air::Value> args;
    if (info.Length() > 1 && info[1].IsArray()) {
      Napi::Array a = info[1].As<Napi::Array>();
      for (uint32_t i = 0; i < a.Length(); ++i) args.push_back(toHost(a.Get(i)));
    }
    const air::Value result = context_->call(name, args);
    std::fflush(stdout);
    answer.Set("result", toScript(env, result, args));
    Napi::Array out = Napi::Array::New(env, args.size());
    for (uint32_t i = 0; i < args.size(); ++i) {
      if (auto b = std::get_if<std::shared_ptr<air::ByteArray>>(&args[i]))
        out.Set(i, bytesOf(env, **b));
      else if (auto p = std::get_if<std::shared_ptr<air::Bitmap>>(&args[i]))
        out.Set(i, pixelsOf(env, **p));
      else
        out.Set(i, env.Null());
    }
    answer.Set("out", out);
    return answer;
  }

  Napi::Value Dispose(const Napi::CallbackInfo& info) {
    shutDown();
    return info.Env().Undefined();
  }

  Napi::Value FunctionNames(const Napi::CallbackInfo& info) {
    Napi::Env env = info.Env();
    Napi::Array a = Napi::Array::New(env);
    if (context_) {
      const auto names = context_->functionNames();
      for (uint32_t i = 0; i < names.size(); ++i) a.Set(i, names[i]);
    }
    return a;
  }

  // While true the process does not end by itself: events may still come.
  Napi::Value KeepAlive(const Napi::CallbackInfo& info) {
    if (tsfn_ && info.Length() > 0) {
      if (info[0].ToBoolean().Value())
        napi_ref_threadsafe_function(info.Env(), tsfn_);
      else
        napi_unref_threadsafe_function(info.Env(), tsfn_);
    }
    return info.Env().Undefined();
  }

  std::unique_ptr<air::Context> context_;
  napi_threadsafe_function tsfn_ = nullptr;
  Delivery* delivery_ = nullptr;  // the thread-safe function's, while it lasts
  std::thread watcher_;
  std::atomic<bool> stop_{false};
};

Napi::FunctionReference* gContextClass = nullptr;

// createContext(extensionId, contextType, onEvents) -> Context, or a text
// saying why there is none.
Napi::Value CreateContext(const Napi::CallbackInfo& info) {
  Napi::Env env = info.Env();
  if (info.Length() < 3 || !info[0].IsString() || !info[2].IsFunction())
    return Napi::String::New(env, "createContext(extensionId, contextType, onEvents)");
  std::string error;
  LoadedExtension* e = loadExtension(info[0].As<Napi::String>().Utf8Value(), &error);
  if (!e) return Napi::String::New(env, error);
  const std::string type = info[1].IsString() ? info[1].As<Napi::String>().Utf8Value() : std::string();
  std::unique_ptr<air::Context> context = e->extension->createContext(type);
  std::fflush(stdout);
  if (!context) return Napi::String::New(env, "the context initializer of " + e->descriptor.id + " gave no context");
  Napi::Object object = gContextClass->New({});
  if (!ContextWrap::Unwrap(object)->start(env, std::move(context), info[2].As<Napi::Function>()))
    return Napi::String::New(env, "no thread-safe function for the events of " + e->descriptor.id);
  return object;
}

// The simulated SDK behind an extension, connected on first use.
anehost::SdkControl* sdkOf(const std::string& id, std::string* error) {
  static std::vector<std::pair<std::string, std::unique_ptr<anehost::SdkControl>>> controls;
  for (auto& c : controls)
    if (c.first == id) return c.second.get();
  anehost::Descriptor d;
  std::string path;
  if (!findDescriptor(id, &d, &path, error)) return nullptr;
  std::unique_ptr<anehost::SdkControl> control = anehost::connectSdk(d.nativeLibrary, error);
  if (!control) return nullptr;
  controls.emplace_back(id, std::move(control));
  return controls.back().second.get();
}

// sdkCommand(extensionId, line) -> "" when done, else the reason.
Napi::Value SdkCommand(const Napi::CallbackInfo& info) {
  Napi::Env env = info.Env();
  if (info.Length() < 2 || !info[0].IsString() || !info[1].IsString())
    return Napi::String::New(env, "sdkCommand(extensionId, line)");
  std::string error;
  anehost::SdkControl* sdk = sdkOf(info[0].As<Napi::String>().Utf8Value(), &error);
  if (sdk && sdk->command(info[1].As<Napi::String>().Utf8Value(), &error)) error.clear();
  else if (error.empty()) error = "not understood";
  std::fflush(stdout);
  return Napi::String::New(env, error);
}

// sdkTakeCalls(extensionId) -> the calls made into the simulated SDK since the last take.
Napi::Value SdkTakeCalls(const Napi::CallbackInfo& info) {
  Napi::Env env = info.Env();
  Napi::Array a = Napi::Array::New(env);
  std::string error;
  anehost::SdkControl* sdk = info.Length() > 0 && info[0].IsString()
                                 ? sdkOf(info[0].As<Napi::String>().Utf8Value(), &error)
                                 : nullptr;
  if (!sdk) return a;
  const auto calls = sdk->takeCalls();
  for (uint32_t i = 0; i < calls.size(); ++i) a.Set(i, calls[i]);
  return a;
}

// The text argument i, or "" (with *ok false) when it is not a text.
std::string textArg(const Napi::CallbackInfo& info, size_t i, bool* ok) {
  if (info.Length() > i && info[i].IsString()) return info[i].As<Napi::String>().Utf8Value();
  *ok = false;
  return std::string();
}

// What the extension's most recent call of an SDK operation handed the
// simulated SDK in a buffer, as anehost's `sdk bytes` reads it, from the SDK of
// the extension; false with *error saying why there is nothing.
bool receivedBy(const Napi::CallbackInfo& info, anehost::SdkControl::Received* out, std::string* error) {
  bool ok = true;
  const std::string id = textArg(info, 0, &ok);
  const std::string operation = textArg(info, 1, &ok);
  if (!ok) {
    *error = "expected (extensionId, operation)";
    return false;
  }
  anehost::SdkControl* sdk = sdkOf(id, error);
  return sdk && sdk->received(operation, out, error);
}

const char* formatName(const anehost::SdkControl::Received& r) {
  if (!r.frame) return "";
  return r.i420 ? "I420" : "BGR24";
}

// sdkReceived(extensionId, operation) -> {bytes: Uint8Array, frame, format
// ("I420", "BGR24", "" for no frame), width, height}, or a text saying why not.
Napi::Value SdkReceived(const Napi::CallbackInfo& info) {
  Napi::Env env = info.Env();
  anehost::SdkControl::Received r;
  std::string error;
  if (!receivedBy(info, &r, &error)) return Napi::String::New(env, error.empty() ? "nothing received" : error);
  Napi::Object o = Napi::Object::New(env);
  Napi::Uint8Array bytes = Napi::Uint8Array::New(env, r.bytes.size());
  if (!r.bytes.empty()) std::memcpy(bytes.Data(), r.bytes.data(), r.bytes.size());
  o.Set("bytes", bytes);
  o.Set("frame", Napi::Boolean::New(env, r.frame));
  o.Set("format", formatName(r));
  o.Set("width", Napi::Number::New(env, r.width));
  o.Set("height", Napi::Number::New(env, r.height));
  return o;
}

// sdkReceivedPicture(extensionId, operation) -> {width, height, format,
// pixels: Uint32Array (opaque ARGB, top row first), bgra: Uint8Array (blue,
// green, red, alpha a pixel, top row first)}: the frame as anehost's
// `sdk picture` makes it (anehost::receivedPicture, I420 turned into RGB). A
// text when there is no frame, or too few bytes for its size.
Napi::Value SdkReceivedPicture(const Napi::CallbackInfo& info) {
  Napi::Env env = info.Env();
  anehost::SdkControl::Received r;
  std::string error;
  if (!receivedBy(info, &r, &error)) return Napi::String::New(env, error.empty() ? "nothing received" : error);
  const std::string operation = info[1].As<Napi::String>().Utf8Value();
  const std::shared_ptr<air::Bitmap> picture = anehost::receivedPicture(r, operation, false, &error);
  if (!picture) return Napi::String::New(env, error);
  Napi::Uint8Array bgra = Napi::Uint8Array::New(env, size_t(picture->width) * picture->height * 4);
  uint8_t* out = bgra.Data();
  for (uint32_t y = 0; y < picture->height; ++y)
    for (uint32_t x = 0; x < picture->width; ++x, out += 4) {
      const uint32_t argb = picture->pixel(x, y);
      out[0] = uint8_t(argb), out[1] = uint8_t(argb >> 8), out[2] = uint8_t(argb >> 16), out[3] = uint8_t(argb >> 24);
    }
  Napi::Object o = Napi::Object::New(env);
  o.Set("width", Napi::Number::New(env, picture->width));
  o.Set("height", Napi::Number::New(env, picture->height));
  o.Set("format", formatName(r));
  o.Set("pixels", pixelsOf(env, *picture));
  o.Set("bgra", bgra);
  return o;
}

// One library change, made by `change` (the Win32 stand-in's remove or restore);
// the usage text is the answer when the path is missing.
Napi::Value changeLibrary(const Napi::CallbackInfo& info, const char* usage,
                          void (*change)(const std::string&, const std::string&)) {
  bool ok = true;
  const std::string path = textArg(info, 0, &ok);
  const std::string exportName = info.Length() > 1 && info[1].IsString() ? info[1].As<Napi::String>().Utf8Value() : "";
  if (!ok || path.empty()) return Napi::String::New(info.Env(), usage);
  change(path, exportName);
  return Napi::String::New(info.Env(), "");
}

// libraryRemove(path, exportName) / libraryRestore(path, exportName): from now
// on the extensions' LoadLibraryW finds no file at path (relative to the
// folder of the node program, or absolute), or with a non-empty exportName
// their GetProcAddress finds no such export in a library loaded from path,
// as anehost's `library remove` / `library restore`. libraryRestoreAll()
// brings everything back; so does the end of the program.
Napi::Value LibraryRemove(const Napi::CallbackInfo& info) {
  return changeLibrary(info, "libraryRemove(path, exportName)", &win32::removeLibrary);
}

Napi::Value LibraryRestore(const Napi::CallbackInfo& info) {
  return changeLibrary(info, "libraryRestore(path, exportName)", &win32::restoreLibrary);
}

Napi::Value LibraryRestoreAll(const Napi::CallbackInfo& info) {
  win32::restoreAllLibraries();
  return info.Env().Undefined();
}

// win32TakeCalls() -> the Win32 calls the extensions made since the last take,
// as anehost's "win32" lines show them (LoadLibraryW("liteav.dll") -> null 126).
Napi::Value Win32TakeCalls(const Napi::CallbackInfo& info) {
  Napi::Env env = info.Env();
  const auto calls = win32::takeCalls();
  Napi::Array a = Napi::Array::New(env, calls.size());
  for (uint32_t i = 0; i < calls.size(); ++i) a.Set(i, calls[i]);
  return a;
}

Napi::Object breachObject(Napi::Env env) {
  const air::Breaches b = air::breaches();
  Napi::Object o = Napi::Object::New(env);
  o.Set("total", Napi::Number::New(env, double(b.total())));
  o.Set("wrongThread", Napi::Number::New(env, double(b.wrongThread)));
  o.Set("illegalState", Napi::Number::New(env, double(b.illegalState)));
  o.Set("invalidObject", Napi::Number::New(env, double(b.invalidObject)));
  o.Set("invalidArgument", Napi::Number::New(env, double(b.invalidArgument)));
  Napi::Array log = Napi::Array::New(env);
  const auto lines = air::breachLog();
  for (uint32_t i = 0; i < lines.size(); ++i) log.Set(i, lines[i]);
  o.Set("log", log);
  return o;
}

// breaches() -> {total, wrongThread, illegalState, invalidObject, invalidArgument, log}
Napi::Value Breaches(const Napi::CallbackInfo& info) { return breachObject(info.Env()); }

// shutdown() -> breaches: what the runtime does when the application exits:
// every live context is disposed and every extension finalized and unloaded.
Napi::Value Shutdown(const Napi::CallbackInfo& info) {
  while (!liveContexts().empty()) liveContexts().back()->shutDown();
  loaded().clear();
  win32::restoreAllLibraries();
  std::fflush(stdout);
  return breachObject(info.Env());
}

// What the process prints to its console (file descriptor 1, where the
// extensions' printf goes) between captureConsole() and releaseConsole(), for
// tests that look for an extension's console line. Main thread only.
std::unique_ptr<air::ConsoleCapture>& consoleCapture() {
  static std::unique_ptr<air::ConsoleCapture> capture;
  return capture;
}

// captureConsole(): the console goes into the capture until releaseConsole().
Napi::Value CaptureConsole(const Napi::CallbackInfo& info) {
  if (!consoleCapture()) consoleCapture() = std::make_unique<air::ConsoleCapture>();
  return info.Env().Undefined();
}

// releaseConsole() -> what was printed since captureConsole() ("" when not
// capturing); it is printed again on the console, so the output keeps it.
Napi::Value ReleaseConsole(const Napi::CallbackInfo& info) {
  std::string text;
  if (consoleCapture()) {
    text = consoleCapture()->text();
    consoleCapture().reset();
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
  }
  return Napi::String::New(info.Env(), text);
}

// setBitmapLayout(invertedY, extraWordsPerRow): how new bitmaps store their rows.
Napi::Value SetBitmapLayout(const Napi::CallbackInfo& info) {
  const bool inverted = info.Length() > 0 && info[0].ToBoolean().Value();
  const uint32_t extra = info.Length() > 1 && info[1].IsNumber() ? info[1].As<Napi::Number>().Uint32Value() : 0;
  air::setBitmapLayout(inverted, extra);
  return info.Env().Undefined();
}

Napi::Object Init(Napi::Env env, Napi::Object exports) {
  // SDK threads may outlive a finalizer; the libraries stay mapped until exit.
  air::setKeepLibrariesLoaded(true);
  gContextClass = new Napi::FunctionReference(Napi::Persistent(ContextWrap::Define(env)));
  exports.Set("createContext", Napi::Function::New(env, CreateContext));
  exports.Set("sdkCommand", Napi::Function::New(env, SdkCommand));
  exports.Set("sdkTakeCalls", Napi::Function::New(env, SdkTakeCalls));
  exports.Set("sdkReceived", Napi::Function::New(env, SdkReceived));
  exports.Set("sdkReceivedPicture", Napi::Function::New(env, SdkReceivedPicture));
  exports.Set("libraryRemove", Napi::Function::New(env, LibraryRemove));
  exports.Set("libraryRestore", Napi::Function::New(env, LibraryRestore));
  exports.Set("libraryRestoreAll", Napi::Function::New(env, LibraryRestoreAll));
  exports.Set("win32TakeCalls", Napi::Function::New(env, Win32TakeCalls));
  exports.Set("breaches", Napi::Function::New(env, Breaches));
  exports.Set("shutdown", Napi::Function::New(env, Shutdown));
  exports.Set("setBitmapLayout", Napi::Function::New(env, SetBitmapLayout));
  exports.Set("captureConsole", Napi::Function::New(env, CaptureConsole));
  exports.Set("releaseConsole", Napi::Function::New(env, ReleaseConsole));
  return exports;
}

}  // namespace

NODE_API_MODULE(air_runtime, Init)
