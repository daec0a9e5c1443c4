// The local user's identifier as both extensions share it between the main
// thread (which sets it at login or room entry) and the SDK threads (which
// route frames and raise events by it).
//
// Protection: the identifier is guarded by the LocalUser's own mutex, which is
// a leaf lock: nothing else is taken while it is held, so it may be taken
// under any other lock (routing takes it under the renderer pool's mutex).
// Readers copy the text out (copyInto reuses the caller's storage, so a frame
// path that keeps its buffer allocates nothing once the id's size settles).
#pragma once

#include <cstddef>
#include <cstring>
#include <mutex>
#include <string>
#include <utility>

namespace core {

class LocalUser {
 public:
  LocalUser() = default;
  // A local user known from the start; a fixed id converts, so routing can be
  // asked for a given user without a shared object.
  LocalUser(std::string id) : id_(std::move(id)) {}  // NOLINT(google-explicit-constructor)
  LocalUser(const char* id) : id_(id ? id : "") {}   // NOLINT(google-explicit-constructor)
  LocalUser(const LocalUser&) = delete;
  LocalUser& operator=(const LocalUser&) = delete;

  void set(const std::string& id) {
    std::lock_guard<std::mutex> lock(mutex_);
    id_ = id;
  }
  std::string get() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return id_;
  }
  // The identifier into *out, reusing out's storage.
  void copyInto(std::string* out) const {
    std::lock_guard<std::mutex> lock(mutex_);
    out->assign(id_);
  }
  // Whether id (length bytes, zero bytes included) is the local user's.
  bool is(const char* id, size_t length) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return id_.size() == length && (length == 0 || std::memcmp(id_.data(), id, length) == 0);
  }
  bool is(const std::string& id) const { return is(id.data(), id.size()); }

 private:
  mutable std::mutex mutex_;
  std::string id_;  // guarded by mutex_
};

}  // namespace core
