// A watchdog for programs that drive the extensions from several threads (the
// stress tests, the fuzz targets): an operation that does not end within its
// limit is a stall. The watchdog then prints what the operation was and every
// thread's stack to stderr, and aborts the process, so a stall ends the run
// with its evidence instead of hanging it until some outer time-out.
//
//   StallWatchdog watchdog(std::chrono::seconds(2));
//   { StallWatchdog::Watch w(watchdog, "getVideoData"); context->call(...); }
//
// Stacks come from gdb when it is installed (every thread, with file and
// line); otherwise each thread is signalled and prints its own backtrace.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

#if defined(__linux__)
#include <dirent.h>
#include <execinfo.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace stall {

#if defined(__linux__)
namespace detail {

inline void writeText(const char* text) {
  size_t n = 0;
  while (text[n]) ++n;
  while (n > 0) {
    const ssize_t w = ::write(2, text, n);
    if (w <= 0) return;
    text += w;
    n -= size_t(w);
  }
}

// Prints the calling thread's stack: run by each thread in its signal handler.
inline void onStackSignal(int) {
  void* frames[64];
  const int n = ::backtrace(frames, 64);
  char head[64];
  std::snprintf(head, sizeof head, "--- thread %ld ---\n", long(::syscall(SYS_gettid)));
  writeText(head);
  ::backtrace_symbols_fd(frames, n, 2);
}

// gdb attached to this process: "thread apply all bt". False when gdb is not
// installed or could not attach within its time.
inline bool stacksByGdb() {
  const char* gdb = nullptr;
  for (const char* path : {"/usr/bin/gdb", "/usr/local/bin/gdb"})
    if (::access(path, X_OK) == 0) gdb = path;
  if (!gdb) return false;
  ::prctl(PR_SET_PTRACER, PR_SET_PTRACER_ANY, 0, 0, 0);
  char pid[32];
  std::snprintf(pid, sizeof pid, "%ld", long(::getpid()));
  const pid_t child = ::fork();
  if (child < 0) return false;
  if (child == 0) {
    ::dup2(2, 1);
    const int devnull = ::open("/dev/null", O_RDONLY);
    if (devnull >= 0) ::dup2(devnull, 0);
    ::execl(gdb, gdb, "-batch", "-nx", "-p", pid, "-ex", "set pagination off", "-ex", "thread apply all bt",
            static_cast<char*>(nullptr));
    ::_exit(127);
  }
  int status = 0;
  for (int i = 0; i < 600; ++i) {  // up to 60 s
    if (::waitpid(child, &status, WNOHANG) == child) return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    ::usleep(100 * 1000);
  }
  ::kill(child, SIGKILL);
  ::waitpid(child, &status, 0);
  return false;
}

// Every thread prints its own backtrace (function names where exported).
inline void stacksBySignal() {
  struct sigaction action {};
  action.sa_handler = onStackSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  ::sigaction(SIGURG, &action, nullptr);
  const long self = long(::syscall(SYS_gettid));
  if (DIR* dir = ::opendir("/proc/self/task")) {
    while (dirent* entry = ::readdir(dir)) {
      const long tid = std::atol(entry->d_name);
      if (tid <= 0 || tid == self) continue;
      ::syscall(SYS_tgkill, long(::getpid()), tid, SIGURG);
      ::usleep(200 * 1000);
    }
    ::closedir(dir);
  }
  onStackSignal(0);
}

}  // namespace detail
#endif

// Prints every thread's stack to stderr.
inline void printAllThreadStacks() {
#if defined(__linux__)
  std::fflush(stdout);
  detail::writeText("=== stacks of every thread ===\n");
  if (!detail::stacksByGdb()) detail::stacksBySignal();
  detail::writeText("=== end of stacks ===\n");
#else
  std::fputs("(thread stacks are not available on this platform)\n", stderr);
#endif
}

class StallWatchdog {
 public:
  explicit StallWatchdog(std::chrono::milliseconds limit) : limit_(limit), thread_([this] { run(); }) {
#if defined(__linux__)
    void* warm[1];
    ::backtrace(warm, 1);  // loads the unwinder now, not inside a signal handler
#endif
  }
  ~StallWatchdog() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stop_ = true;
    }
    wake_.notify_all();
    thread_.join();
  }
  StallWatchdog(const StallWatchdog&) = delete;
  StallWatchdog& operator=(const StallWatchdog&) = delete;

  // Arms the watchdog for one operation; what names it in the report.
  void begin(std::string what) {
    std::lock_guard<std::mutex> lock(mutex_);
    what_ = std::move(what);
    started_ = std::chrono::steady_clock::now();
    armed_ = true;
    wake_.notify_all();
  }
  void end() {
    std::lock_guard<std::mutex> lock(mutex_);
    armed_ = false;
  }

  // Watches one operation for the length of a scope.
  class Watch {
   public:
    Watch(StallWatchdog& dog, std::string what) : dog_(dog) { dog_.begin(std::move(what)); }
    ~Watch() { dog_.end(); }
    Watch(const Watch&) = delete;
    Watch& operator=(const Watch&) = delete;

   private:
    StallWatchdog& dog_;
  };

 private:
  void run() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (!stop_) {
      wake_.wait_for(lock, std::chrono::milliseconds(50));
      if (!armed_ || std::chrono::steady_clock::now() - started_ < limit_) continue;
      std::fprintf(stderr, "\nSTALL: \"%s\" has not ended after %lld ms\n", what_.c_str(),
                   static_cast<long long>(limit_.count()));
      printAllThreadStacks();
      std::abort();
    }
  }

  const std::chrono::milliseconds limit_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool stop_ = false;
  bool armed_ = false;
  std::string what_;
  std::chrono::steady_clock::time_point started_;
  std::thread thread_;  // last: starts once the rest is set up
};

}  // namespace stall
