// Console capture: file descriptor 1 goes into a pipe that a reader thread
// drains. To know that everything written before text() has arrived, text()
// writes a unique marker through descriptor 1 and waits until the reader has
// seen it; a write of that size to a pipe is atomic, so the marker is never
// split by another thread's output.
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>

#include "air/host.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
namespace {
int pipeOpen(int fds[2]) { return _pipe(fds, 1 << 16, _O_BINARY); }
int fdDup(int fd) { return _dup(fd); }
int fdDup2(int from, int to) { return _dup2(from, to); }
int fdClose(int fd) { return _close(fd); }
long fdRead(int fd, char* buf, unsigned n) { return _read(fd, buf, n); }
long fdWrite(int fd, const char* buf, unsigned n) { return _write(fd, buf, n); }
}  // namespace
#else
#include <unistd.h>
namespace {
int pipeOpen(int fds[2]) { return pipe(fds); }
int fdDup(int fd) { return dup(fd); }
int fdDup2(int from, int to) { return dup2(from, to); }
int fdClose(int fd) { return close(fd); }
long fdRead(int fd, char* buf, unsigned n) { return long(read(fd, buf, n)); }
long fdWrite(int fd, const char* buf, unsigned n) { return long(write(fd, buf, n)); }
}  // namespace
#endif

namespace air {

struct ConsoleCapture::Impl {
  int saved = -1;     // the original descriptor 1
  int readEnd = -1;
  int writeEnd = -1;  // kept open until the end, so the reader sees no early EOF
  std::thread reader;
  std::mutex syncLock;  // one text() at a time
  std::mutex lock;      // the fields below
  std::condition_variable seen;
  std::string text;
  std::string awaited;  // the marker text() waits for, empty when none
  bool found = false;
  bool closed = false;
  unsigned serial = 0;

  void run() {
    char buf[4096];
    for (;;) {
      long n = fdRead(readEnd, buf, sizeof buf);
      if (n <= 0) break;
      std::lock_guard<std::mutex> g(lock);
      size_t scanFrom = text.size();
      text.append(buf, size_t(n));
      if (!awaited.empty()) {
        scanFrom = scanFrom >= awaited.size() ? scanFrom - awaited.size() + 1 : 0;
        size_t at = text.find(awaited, scanFrom);
        if (at != std::string::npos) {
          text.erase(at, awaited.size());
          awaited.clear();
          found = true;
          seen.notify_all();
        }
      }
    }
    std::lock_guard<std::mutex> g(lock);
    closed = true;
    seen.notify_all();
  }

  // Everything written to descriptor 1 before this call is in `text` after it.
  void sync() {
    std::lock_guard<std::mutex> one(syncLock);
    std::fflush(stdout);
    if (writeEnd < 0) return;
    std::string marker;
    {
      std::lock_guard<std::mutex> g(lock);
      marker = "\x01[air console marker " + std::to_string(++serial) + "]\x02";
      awaited = marker;
      found = false;
    }
    fdWrite(1, marker.data(), unsigned(marker.size()));
    std::unique_lock<std::mutex> lk(lock);
    seen.wait(lk, [&] { return found || closed; });
  }
};

ConsoleCapture::ConsoleCapture() : impl_(std::make_unique<Impl>()) {
  std::fflush(stdout);
  int fds[2];
  if (pipeOpen(fds) != 0) return;  // nothing captured; text() stays empty
  impl_->saved = fdDup(1);
  if (impl_->saved < 0 || fdDup2(fds[1], 1) < 0) {
    if (impl_->saved >= 0) fdClose(impl_->saved);
    impl_->saved = -1;
    fdClose(fds[0]);
    fdClose(fds[1]);
    return;
  }
  impl_->readEnd = fds[0];
  impl_->writeEnd = fds[1];
  impl_->reader = std::thread([impl = impl_.get()] { impl->run(); });
}

ConsoleCapture::~ConsoleCapture() {
  if (impl_->saved < 0) return;
  impl_->sync();
  fdDup2(impl_->saved, 1);  // descriptor 1 no longer feeds the pipe
  fdClose(impl_->saved);
  fdClose(impl_->writeEnd);  // the last write end: the reader sees EOF
  impl_->reader.join();
  fdClose(impl_->readEnd);
}

std::string ConsoleCapture::text() {
  impl_->sync();
  std::lock_guard<std::mutex> g(impl_->lock);
  return impl_->text;
}

std::string ConsoleCapture::take() {
  impl_->sync();
  std::lock_guard<std::mutex> g(impl_->lock);
  std::string out;
  out.swap(impl_->text);
  return out;
}

}  // namespace air
