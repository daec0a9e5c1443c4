// The thread that delivers the stand-ins' callbacks.
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

#include "standin_common/task_thread.h"

namespace {

using standin_common::TaskThread;

TEST(StandinTaskThread, RunsTasksInOrderOnItsOwnThread) {
  TaskThread worker;
  std::vector<int> order;  // written only on the worker
  std::thread::id seen;
  for (int i = 0; i < 50; ++i) worker.post([&order, i] { order.push_back(i); });
  worker.run([&] {
    seen = std::this_thread::get_id();
    // A task that waits for another from the worker runs it at once instead
    // of waiting for itself.
    bool inner = false;
    worker.run([&] { inner = worker.onThread(); });
    EXPECT_TRUE(inner);
  });
  EXPECT_NE(seen, std::this_thread::get_id());
  EXPECT_FALSE(worker.onThread());
  ASSERT_EQ(order.size(), 50u);
  for (int i = 0; i < 50; ++i) EXPECT_EQ(order[i], i);
}

TEST(StandinTaskThread, ATaskThatThrowsReleasesItsCallerAndTheThreadGoesOn) {
  TaskThread worker;
  worker.post([] { throw std::runtime_error("posted"); });
  worker.run([] { throw 7; });  // returns instead of waiting for ever
  bool ran = false;
  worker.run([&] { ran = true; });
  EXPECT_TRUE(ran);
}

TEST(StandinTaskThread, TasksQueuedAtTheEndStillRun) {
  std::atomic<int> count{0};
  {
    TaskThread worker;
    for (int i = 0; i < 100; ++i) worker.post([&] { ++count; });
  }
  EXPECT_EQ(count.load(), 100);
}

}  // namespace
