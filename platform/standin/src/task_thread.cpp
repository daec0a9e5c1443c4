#include "standin_common/task_thread.h"

#include <cstdio>
#include <exception>
#include <future>

namespace standin_common {

TaskThread::TaskThread(const char* reportAs) : reportAs_(reportAs), thread_([this] { loop(); }) {}

TaskThread::~TaskThread() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
}

void TaskThread::post(std::function<void()> task) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    tasks_.push_back(std::move(task));
  }
  wake_.notify_all();
}

void TaskThread::run(const std::function<void()>& task) {
  if (onThread()) {
    task();
    return;
  }
  std::promise<void> done;
  auto finished = done.get_future();
  post([&] {
    // The caller is released even when the task throws.
    struct Release {
      std::promise<void>& done;
      ~Release() { done.set_value(); }
    } release{done};
    task();
  });
  finished.wait();
}

void TaskThread::loop() {
  for (;;) {
    std::function<void()> task;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      wake_.wait(lock, [this] { return stop_ || !tasks_.empty(); });
      if (tasks_.empty()) return;
      task = std::move(tasks_.front());
      tasks_.pop_front();
    }
    try {
      task();
    } catch (const std::exception& e) {
      if (reportAs_) std::fprintf(stderr, "%s: a callback threw: %s\n", reportAs_, e.what());
    } catch (...) {
      if (reportAs_) std::fprintf(stderr, "%s: a callback threw\n", reportAs_);
    }
  }
}

}  // namespace standin_common
