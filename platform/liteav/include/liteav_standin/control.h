// Test and host controls of the LiteAV stand-in (LiteAV/liteav.dll beside the
// executable). The extension loads that file itself; these helpers open the
// same file, so they reach the very instance the extension talks to.
//
//   liteav_standin::command("frame local 640x360", &error);   // see docs/standin-liteav.md
//   std::vector<std::string> calls = liteav_standin::takeCalls();
#pragma once

#include <string>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#include <limits.h>
#include <unistd.h>
#endif

namespace liteav_standin {

namespace detail {
using CommandFn = int (*)(const char*, char**);
using TakeCallsFn = char* (*)();
using FreeFn = void (*)(char*);
using SetListenerFn = void (*)(void (*)(void*), void*);

struct Api {
  CommandFn command = nullptr;
  TakeCallsFn takeCalls = nullptr;
  FreeFn free = nullptr;
  SetListenerFn setListener = nullptr;
  std::string error;
};

// The folder of the running executable, with a trailing separator.
inline std::string executableFolder() {
#if defined(_WIN32)
  char path[MAX_PATH * 2] = {0};
  DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string p(path, n);
  size_t slash = p.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : p.substr(0, slash + 1);
#else
  char path[PATH_MAX] = {0};
  ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  std::string p(path, n > 0 ? size_t(n) : 0);
  size_t slash = p.find_last_of('/');
  return slash == std::string::npos ? std::string() : p.substr(0, slash + 1);
#endif
}

inline Api load() {
  Api api;
#if defined(_WIN32)
  std::string file = executableFolder() + "LiteAV\\liteav.dll";
  HMODULE module = LoadLibraryA(file.c_str());
  if (!module) {
    api.error = "cannot load " + file;
    return api;
  }
  // Through void(*)(), the generic function pointer type: no cast warning.
  api.command = reinterpret_cast<CommandFn>(reinterpret_cast<void (*)()>(GetProcAddress(module, "liteav_standin_command")));
  api.takeCalls =
      reinterpret_cast<TakeCallsFn>(reinterpret_cast<void (*)()>(GetProcAddress(module, "liteav_standin_take_calls")));
  api.free = reinterpret_cast<FreeFn>(reinterpret_cast<void (*)()>(GetProcAddress(module, "liteav_standin_free")));
  api.setListener = reinterpret_cast<SetListenerFn>(
      reinterpret_cast<void (*)()>(GetProcAddress(module, "liteav_standin_set_call_listener")));
#else
  std::string file = executableFolder() + "LiteAV/liteav.dll";
  void* module = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!module) {
    api.error = "cannot load " + file + ": " + dlerror();
    return api;
  }
  api.command = reinterpret_cast<CommandFn>(dlsym(module, "liteav_standin_command"));
  api.takeCalls = reinterpret_cast<TakeCallsFn>(dlsym(module, "liteav_standin_take_calls"));
  api.free = reinterpret_cast<FreeFn>(dlsym(module, "liteav_standin_free"));
  api.setListener = reinterpret_cast<SetListenerFn>(dlsym(module, "liteav_standin_set_call_listener"));
#endif
  if (!api.command || !api.takeCalls || !api.free || !api.setListener) api.error = file + " is not the LiteAV stand-in";
  return api;
}

// Opened on first use; while the file cannot be opened, every use tries
// again, so the stand-in is reached once the library has appeared.
inline const Api& api() {
  static Api instance = load();
  if (!instance.error.empty()) instance = load();
  return instance;
}
}  // namespace detail

// True when the stand-in could be opened; otherwise *error says why.
inline bool available(std::string* error = nullptr) {
  const detail::Api& a = detail::api();
  if (error) *error = a.error;
  return a.error.empty();
}

// Runs one command line (docs/standin-liteav.md). A callback it fires has returned by the
// time this returns (unless the line starts with "async").
inline bool command(const std::string& line, std::string* error = nullptr) {
  const detail::Api& a = detail::api();
  if (!a.error.empty()) {
    if (error) *error = a.error;
    return false;
  }
  char* message = nullptr;
  const bool ok = a.command(line.c_str(), &message) != 0;
  if (error) *error = message ? message : "";
  if (message) a.free(message);
  return ok;
}

// listener(data) runs on the logging thread right after each call is logged
// (the host tool places the calls among the console output by it); null
// stops it.
inline void setCallListener(void (*listener)(void*), void* data) {
  const detail::Api& a = detail::api();
  if (a.error.empty()) a.setListener(listener, data);
}

// The calls the extension made into the SDK since the last take, one a line.
inline std::vector<std::string> takeCalls() {
  std::vector<std::string> lines;
  const detail::Api& a = detail::api();
  if (!a.error.empty()) return lines;
  char* text = a.takeCalls();
  if (!text) return lines;
  std::string all(text);
  a.free(text);
  size_t start = 0;
  while (start < all.size()) {
    size_t end = all.find('\n', start);
    if (end == std::string::npos) end = all.size();
    lines.push_back(all.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

}  // namespace liteav_standin
