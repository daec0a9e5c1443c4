// One thread that runs posted tasks in order: the thread on which an SDK
// stand-in delivers its callbacks, as the real SDK has threads of its own.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace standin_common {

class TaskThread {
 public:
  // A task that throws does not take the thread down; with `reportAs` set,
  // "<reportAs>: a callback threw" goes to stderr.
  explicit TaskThread(const char* reportAs = nullptr);
  // Runs the tasks still queued, then ends the thread.
  ~TaskThread();
  TaskThread(const TaskThread&) = delete;
  TaskThread& operator=(const TaskThread&) = delete;

  void post(std::function<void()> task);
  // Runs the task on the thread and returns once it has run; on the thread
  // itself it runs at once.
  void run(const std::function<void()>& task);
  bool onThread() const { return std::this_thread::get_id() == thread_.get_id(); }

 private:
  void loop();
  const char* reportAs_;
  std::mutex mutex_;  // guards tasks_ and stop_
  std::condition_variable wake_;
  std::deque<std::function<void()>> tasks_;
  bool stop_ = false;
  std::thread thread_;  // started last, once every member above exists
};

}  // namespace standin_common
