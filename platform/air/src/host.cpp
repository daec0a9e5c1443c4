// The host side: loading an extension, its contexts, and calls into it, done
// the way the runtime does them. Every call into extension code runs on the
// calling thread, which is the main thread for its length, inside a call
// frame whose objects die when it returns.
#include <atomic>
#include <cstdio>
#include <exception>
#include <stdexcept>

#include "runtime_state.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace air {

using namespace detail;

namespace {

std::atomic<bool> gKeepLoaded{false};

void report(const std::string& text) { std::fprintf(stderr, "[air host] %s\n", text.c_str()); }

struct ContextCore;

// The loaded library and what its initializer handed back; shared by the
// Extension and its contexts so that a context outliving its Extension can
// tell that the library is gone.
struct Library {
  void* handle = nullptr;
  void* extData = nullptr;
  FREContextInitializer contextInitializer = nullptr;
  FREContextFinalizer contextFinalizer = nullptr;
  FREFinalizer finalizer = nullptr;
  bool finalized = false;
  std::vector<std::weak_ptr<ContextCore>> contexts;
};

struct NamedFunction {
  std::string name;
  void* data;
  FREFunction function;
};

struct ContextCore {
  std::shared_ptr<Library> library;
  std::shared_ptr<ContextState> state;
  std::vector<NamedFunction> functions;
  bool disposed = false;
};

// Runs `body` as one outstanding call on this thread (main lock held).
template <typename F>
void asCall(const char* what, F&& body) {
  Runtime& r = runtime();
  std::lock_guard<std::recursive_mutex> main(r.mainLock);
  {
    std::lock_guard<std::mutex> g(r.lock);
    pushFrame(r);
  }
  try {
    body();
  } catch (const std::exception& e) {
    report(std::string(what) + " threw: " + e.what());
  } catch (...) {
    report(std::string(what) + " threw");
  }
  std::lock_guard<std::mutex> g(r.lock);
  popFrame(r);
}

void disposeCore(ContextCore& c) {
  Runtime& r = runtime();
  std::lock_guard<std::recursive_mutex> main(r.mainLock);
  if (c.disposed) return;
  c.disposed = true;
  if (c.library && !c.library->finalized && c.library->contextFinalizer) {
    FREContext ctx = reinterpret_cast<FREContext>(c.state->id);
    asCall("the context finalizer", [&] { c.library->contextFinalizer(ctx); });
  }
  retireContext(c.state);
}

void closeLibrary(void* handle) {
  if (!handle || gKeepLoaded) return;
#ifdef _WIN32
  FreeLibrary(static_cast<HMODULE>(handle));
#else
  dlclose(handle);
#endif
}

}  // namespace

void setKeepLibrariesLoaded(bool keep) { gKeepLoaded = keep; }

struct Extension::Impl {
  std::shared_ptr<Library> library;
};

struct Context::Impl {
  std::shared_ptr<ContextCore> core;
};

Extension::Extension(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

static std::unique_ptr<Extension::Impl> initialise(std::shared_ptr<Library> lib, FREInitializer initializer) {
  asCall("the extension initializer",
         [&] { initializer(&lib->extData, &lib->contextInitializer, &lib->contextFinalizer); });
  auto impl = std::make_unique<Extension::Impl>();
  impl->library = std::move(lib);
  return impl;
}

std::unique_ptr<Extension> Extension::load(const std::string& libraryPath, const std::string& initializerName,
                                           const std::string& finalizerName, std::string* error) {
  auto fail = [&](const std::string& why, void* handle) -> std::unique_ptr<Extension> {
    if (error) *error = why;
    report(why);
    if (handle) {
#ifdef _WIN32
      FreeLibrary(static_cast<HMODULE>(handle));
#else
      dlclose(handle);
#endif
    }
    return nullptr;
  };
  auto lib = std::make_shared<Library>();
  void* initializer = nullptr;
  void* finalizer = nullptr;
#ifdef _WIN32
  HMODULE h = LoadLibraryA(libraryPath.c_str());
  if (!h) return fail("cannot load " + libraryPath + " (error " + std::to_string(GetLastError()) + ")", nullptr);
  lib->handle = h;
  initializer = reinterpret_cast<void*>(GetProcAddress(h, initializerName.c_str()));
  if (!finalizerName.empty()) finalizer = reinterpret_cast<void*>(GetProcAddress(h, finalizerName.c_str()));
#else
  void* h = dlopen(libraryPath.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!h) {
    const char* e = dlerror();
    return fail("cannot load " + libraryPath + ": " + (e ? e : "unknown error"), nullptr);
  }
  lib->handle = h;
  initializer = dlsym(h, initializerName.c_str());
  if (!finalizerName.empty()) finalizer = dlsym(h, finalizerName.c_str());
#endif
  if (!initializer) return fail(libraryPath + " exports no initializer named " + initializerName, h);
  if (!finalizerName.empty() && !finalizer)
    return fail(libraryPath + " exports no finalizer named " + finalizerName, h);
  lib->finalizer = reinterpret_cast<FREFinalizer>(finalizer);
  return std::unique_ptr<Extension>(
      new Extension(initialise(std::move(lib), reinterpret_cast<FREInitializer>(initializer))));
}

std::unique_ptr<Extension> Extension::fromInitializer(FREInitializer initializer, FREFinalizer finalizer) {
  if (!initializer) return nullptr;
  auto lib = std::make_shared<Library>();
  lib->finalizer = finalizer;
  return std::unique_ptr<Extension>(new Extension(initialise(std::move(lib), initializer)));
}

Extension::~Extension() {
  Library& lib = *impl_->library;
  Runtime& r = runtime();
  std::lock_guard<std::recursive_mutex> main(r.mainLock);
  // Contexts still alive are disposed first, as when the application exits.
  for (auto& weak : lib.contexts)
    if (auto c = weak.lock()) disposeCore(*c);
  if (lib.finalizer) asCall("the extension finalizer", [&] { lib.finalizer(lib.extData); });
  lib.finalized = true;
  closeLibrary(lib.handle);
  lib.handle = nullptr;
}

std::unique_ptr<Context> Extension::createContext(const std::string& contextType) {
  std::shared_ptr<Library> lib = impl_->library;
  if (!lib->contextInitializer) {
    report("the extension handed back no context initializer");
    return nullptr;
  }
  auto core = std::make_shared<ContextCore>();
  core->library = lib;
  core->state = registerContext();
  FREContext ctx = reinterpret_cast<FREContext>(core->state->id);
  uint32_t count = 0;
  const FRENamedFunction* table = nullptr;
  asCall("the context initializer", [&] {
    lib->contextInitializer(lib->extData, reinterpret_cast<const uint8_t*>(contextType.c_str()), ctx, &count,
                            &table);
  });
  for (uint32_t i = 0; table && i < count; ++i) {
    if (!table[i].name || !table[i].function) continue;
    core->functions.push_back(
        NamedFunction{reinterpret_cast<const char*>(table[i].name), table[i].functionData, table[i].function});
  }
  {
    std::lock_guard<std::recursive_mutex> main(runtime().mainLock);
    lib->contexts.push_back(core);
  }
  auto impl = std::make_unique<Context::Impl>();
  impl->core = std::move(core);
  return std::make_unique<Context>(std::move(impl));
}

Context::Context(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

Context::~Context() {
  if (impl_ && impl_->core) disposeCore(*impl_->core);
}

std::vector<std::string> Context::functionNames() const {
  std::vector<std::string> names;
  for (const auto& f : impl_->core->functions) names.push_back(f.name);
  return names;
}

bool Context::hasFunction(const std::string& name) const {
  for (const auto& f : impl_->core->functions)
    if (f.name == name) return true;
  return false;
}

const void* Context::functionData(const std::string& name) const {
  for (const auto& f : impl_->core->functions)
    if (f.name == name) return f.data;
  return nullptr;
}

Value Context::call(const std::string& name, const std::vector<Value>& args) {
  ContextCore& c = *impl_->core;
  Runtime& r = runtime();
  std::lock_guard<std::recursive_mutex> main(r.mainLock);
  if (c.disposed) {
    report("call to " + name + " on a disposed context");
    return Null{};
  }
  const NamedFunction* fn = nullptr;
  for (const auto& f : c.functions)
    if (f.name == name) fn = &f;
  if (!fn) {
    report("the context has no function named " + name);
    return Null{};
  }
  std::vector<FREObject> argv;
  argv.reserve(args.size() + 1);  // never a null array, even without arguments
  {
    std::lock_guard<std::mutex> g(r.lock);
    pushFrame(r);
    for (const Value& v : args) {
      if (auto b = std::get_if<std::shared_ptr<Bitmap>>(&v); b && *b) normaliseBitmap(**b);
      argv.push_back(adopt(r, v));
    }
  }
  FREObject result = nullptr;
  try {
    result = fn->function(reinterpret_cast<FREContext>(c.state->id), fn->data, uint32_t(argv.size()), argv.data());
  } catch (const std::exception& e) {
    report(name + " threw: " + e.what());
  } catch (...) {
    report(name + " threw");
  }
  Value out = Null{};
  std::lock_guard<std::mutex> g(r.lock);
  if (result) {
    if (Value* v = find(r, result))
      out = *v;
    else
      countBreach(r, Breach::InvalidObject, name.c_str(), "returned an object whose call has returned");
  }
  popFrame(r);
  return out;
}

std::vector<Event> Context::takeEvents() {
  ContextState& s = *impl_->core->state;
  std::lock_guard<std::mutex> g(s.eventLock);
  std::vector<Event> out(std::make_move_iterator(s.events.begin()), std::make_move_iterator(s.events.end()));
  s.events.clear();
  return out;
}

std::vector<Event> Context::waitForEvents(size_t count, std::chrono::milliseconds timeout) {
  ContextState& s = *impl_->core->state;
  std::unique_lock<std::mutex> lk(s.eventLock);
  s.eventReady.wait_for(lk, timeout, [&] { return s.disposed || s.events.size() >= count; });
  std::vector<Event> out(std::make_move_iterator(s.events.begin()), std::make_move_iterator(s.events.end()));
  s.events.clear();
  return out;
}

void Context::dispose() { disposeCore(*impl_->core); }

bool Context::disposed() const {
  std::lock_guard<std::recursive_mutex> main(runtime().mainLock);
  return impl_->core->disposed;
}

FREContext Context::handle() const { return reinterpret_cast<FREContext>(impl_->core->state->id); }

uint64_t Context::droppedEvents() const {
  ContextState& s = *impl_->core->state;
  std::lock_guard<std::mutex> g(s.eventLock);
  return s.dropped;
}

DispatchHold::DispatchHold(const std::string& code, std::chrono::milliseconds limit)
    : state_(std::make_shared<DispatchHoldState>()) {
  state_->code = code;
  state_->limit = limit;
  Runtime& r = runtime();
  std::lock_guard<std::mutex> g(r.lock);
  if (r.armedHold) throw std::logic_error("a DispatchHold exists already; one dispatch is held at a time");
  r.armedHold = state_;
}

DispatchHold::~DispatchHold() {
  Runtime& r = runtime();
  std::lock_guard<std::mutex> g(r.lock);
  if (r.armedHold == state_) r.armedHold.reset();  // nobody took it
}

bool DispatchHold::waitUntilHeld(std::chrono::milliseconds timeout) {
  std::unique_lock<std::mutex> lk(state_->lock);
  return state_->changed.wait_for(lk, timeout, [&] { return state_->stage != Stage::Armed; });
}

bool DispatchHold::waitUntilLetGo(std::chrono::milliseconds timeout) {
  std::unique_lock<std::mutex> lk(state_->lock);
  return state_->changed.wait_for(
      lk, timeout, [&] { return state_->stage == Stage::ContextRetired || state_->stage == Stage::TimedOut; });
}

DispatchHold::Stage DispatchHold::stage() const {
  std::lock_guard<std::mutex> g(state_->lock);
  return state_->stage;
}

CallScope::CallScope() {
  Runtime& r = runtime();
  r.mainLock.lock();
  std::lock_guard<std::mutex> g(r.lock);
  pushFrame(r);
}

CallScope::~CallScope() {
  Runtime& r = runtime();
  {
    std::lock_guard<std::mutex> g(r.lock);
    popFrame(r);
  }
  r.mainLock.unlock();
}

FREObject CallScope::object(const Value& value) {
  Runtime& r = runtime();
  std::lock_guard<std::mutex> g(r.lock);
  if (auto b = std::get_if<std::shared_ptr<Bitmap>>(&value); b && *b) normaliseBitmap(**b);
  return adopt(r, value);
}

Value CallScope::value(FREObject object) {
  Runtime& r = runtime();
  std::lock_guard<std::mutex> g(r.lock);
  Value* v = object ? find(r, object) : nullptr;
  return v ? *v : Value{Null{}};
}

}  // namespace air
