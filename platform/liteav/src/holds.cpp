// Held deliveries: `hold NAME <frame or cloud notification>` starts a
// delivery on a thread of its own that looks up its callback, then waits just
// before calling it until `release NAME`. Meanwhile a test can let go of the
// callback, destroy the instance or make a new one, and see what an SDK thread
// that was already on its way does afterwards.
//
// Threads: the table of holds and every hold's phase are guarded by
// holdsMutex(); each held delivery runs on its own thread, joined by
// holdRelease (or holdReleaseAll).
#include <condition_variable>
#include <map>
#include <memory>
#include <thread>

#include "commands.h"

namespace liteav_standin {
namespace {

struct Hold {
  enum class Phase { Starting, Held, Released, Done };
  Phase phase = Phase::Starting;  // guarded by holdsMutex()
  bool ok = false;                // guarded by holdsMutex()
  std::string error;              // guarded by holdsMutex()
  std::thread thread;             // joined by whoever erases the hold
};

// Never destroyed: a delivery still held when the process ends just stops.
std::mutex& holdsMutex() {
  static std::mutex* m = new std::mutex();
  return *m;
}
std::condition_variable& holdsChanged() {
  static std::condition_variable* c = new std::condition_variable();
  return *c;
}
std::map<std::string, std::shared_ptr<Hold>>& holds() {
  static auto* table = new std::map<std::string, std::shared_ptr<Hold>>();
  return *table;
}

}  // namespace

bool holdRun(const std::string& name, std::function<bool(std::string*)> deliver, std::string* error) {
  std::string ignored;
  if (!error) error = &ignored;
  auto hold = std::make_shared<Hold>();
  std::unique_lock<std::mutex> lock(holdsMutex());
  if (holds().count(name)) {
    *error = "hold " + name + " is already held";
    return false;
  }
  holds()[name] = hold;
  hold->thread = std::thread([hold, deliver] {
    std::string message;
    bool ok = false;
    try {
      ok = deliver(&message);
    } catch (...) {
      message = "the held delivery threw";
    }
    std::lock_guard<std::mutex> done(holdsMutex());
    hold->ok = ok;
    hold->error = message;
    hold->phase = Hold::Phase::Done;
    holdsChanged().notify_all();
  });
  holdsChanged().wait(lock, [&] { return hold->phase == Hold::Phase::Held || hold->phase == Hold::Phase::Done; });
  if (hold->phase == Hold::Phase::Held) return true;
  // Over before it reached a callback (nothing registered, a bad picture).
  holds().erase(name);
  std::thread thread = std::move(hold->thread);
  *error = hold->error.empty() ? "the delivery reached no callback" : hold->error;
  lock.unlock();
  thread.join();
  return false;
}

void holdPoint(const std::string& name) {
  std::unique_lock<std::mutex> lock(holdsMutex());
  auto it = holds().find(name);
  if (it == holds().end()) return;
  std::shared_ptr<Hold> hold = it->second;
  hold->phase = Hold::Phase::Held;
  holdsChanged().notify_all();
  holdsChanged().wait(lock, [&] { return hold->phase == Hold::Phase::Released; });
}

bool holdRelease(const std::string& name, std::string* error) {
  std::unique_lock<std::mutex> lock(holdsMutex());
  auto it = holds().find(name);
  if (it == holds().end()) {
    if (error) *error = "nothing is held as " + name;
    return false;
  }
  std::shared_ptr<Hold> hold = it->second;
  holds().erase(it);
  hold->phase = Hold::Phase::Released;
  holdsChanged().notify_all();
  holdsChanged().wait(lock, [&] { return hold->phase == Hold::Phase::Done; });
  std::thread thread = std::move(hold->thread);
  lock.unlock();
  thread.join();
  return true;
}

void holdReleaseAll() {
  std::vector<std::string> names;
  {
    std::lock_guard<std::mutex> lock(holdsMutex());
    for (const auto& entry : holds()) names.push_back(entry.first);
  }
  for (const std::string& name : names) holdRelease(name, nullptr);
}

}  // namespace liteav_standin
