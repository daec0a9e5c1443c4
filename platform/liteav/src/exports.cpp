// The control exports that tests and the host tool reach with dlsym /
// GetProcAddress (see include/liteav_standin/control.h).
#include <cstdlib>
#include <cstring>

#include "state.h"

namespace {
char* copyText(const std::string& text) {
  char* p = static_cast<char*>(std::malloc(text.size() + 1));
  if (p) std::memcpy(p, text.c_str(), text.size() + 1);
  return p;
}
}  // namespace

LITEAV_EXPORT int liteav_standin_command(const char* line, char** error) {
  std::string message;
  bool ok = false;
  try {
    ok = liteav_standin::command(line ? line : "", &message);
  } catch (const std::exception& e) {
    message = e.what();
  } catch (...) {
    message = "command failed";
  }
  if (error) *error = ok ? nullptr : copyText(message);
  return ok ? 1 : 0;
}

LITEAV_EXPORT char* liteav_standin_take_calls() {
  liteav_standin::State& s = liteav_standin::State::get();
  std::vector<std::string> calls;
  {
    std::lock_guard<std::mutex> lock(s.mutex);
    calls.swap(s.calls);
  }
  std::string joined;
  for (const auto& c : calls) joined += c + "\n";
  return copyText(joined);
}

LITEAV_EXPORT void liteav_standin_free(char* text) { std::free(text); }

LITEAV_EXPORT void liteav_standin_set_call_listener(void (*listener)(void*), void* data) {
  liteav_standin::State& s = liteav_standin::State::get();
  std::lock_guard<std::mutex> lock(s.mutex);
  s.callListener = listener;
  s.callListenerData = data;
}

// The render callback registered for a remote user, or for the local frames
// when userId is null or empty; null when none is. The benchmark calls it
// directly with frames of its own, so that the stand-in's frame drawing does
// not count; it must not change registrations while it does.
LITEAV_EXPORT void* liteav_standin_render_callback(const char* userId) {
  liteav_standin::State& s = liteav_standin::State::get();
  std::shared_lock<std::shared_mutex> lock(s.delivery);
  if (!userId || !userId[0]) return s.localRender.callback;
  auto it = s.remoteRenders.find(userId);
  return it == s.remoteRenders.end() ? nullptr : it->second.callback;
}
