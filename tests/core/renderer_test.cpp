#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>

#include "core/renderer.h"

namespace {

FREContext fakeContext() { return reinterpret_cast<FREContext>(static_cast<intptr_t>(0x1000)); }

TEST(CoreFrameStore, ReadersNeverSeeATornOrMissizedFrame) {
  core::FrameStore store;
  std::atomic<bool> done{false};
  // Every frame is one byte value throughout, and its size alternates.
  std::thread writer([&] {
    for (uint32_t n = 1; n <= 3000; ++n) {
      const uint32_t w = n % 2 ? 16 : 8, h = n % 2 ? 8 : 4;
      store.write(w, h, [&](uint8_t* dst) {
        std::memset(dst, static_cast<int>(n & 0xFF), w * h * 4);
        return true;
      });
    }
    done = true;
  });
  uint32_t reads = 0, bad = 0;
  while (!done || reads == 0) {
    store.read([&](const uint8_t* data, uint32_t size, uint32_t w, uint32_t h) {
      if (!data) return;
      ++reads;
      if (size != w * h * 4) ++bad;
      for (uint32_t i = 1; i < size; ++i)
        if (data[i] != data[0]) {
          ++bad;
          break;
        }
    });
  }
  writer.join();
  EXPECT_EQ(0u, bad);
  EXPECT_GT(reads, 0u);
}

TEST(CoreFrameStore, RefusedFramesKeepTheLastOneAndClearEmptiesTheStore) {
  core::FrameStore store;
  EXPECT_TRUE(store.write(2, 1, [](uint8_t* dst) {
    std::memset(dst, 7, 8);
    return true;
  }));
  EXPECT_FALSE(store.write(0, 1, [](uint8_t*) { return true; }));
  EXPECT_FALSE(store.write(65536, 16384, [](uint8_t*) { return true; }));
  EXPECT_FALSE(store.write(2, 1, [](uint8_t* dst) {
    dst[0] = 99;  // a refusing conversion may have scribbled on the back buffer
    return false;
  }));
  store.read([](const uint8_t* data, uint32_t size, uint32_t w, uint32_t h) {
    ASSERT_NE(nullptr, data);
    EXPECT_EQ(8u, size);
    EXPECT_EQ(2u, w);
    EXPECT_EQ(1u, h);
    EXPECT_EQ(7, data[0]);
  });
  store.clear();
  store.read([](const uint8_t* data, uint32_t size, uint32_t, uint32_t) {
    EXPECT_EQ(nullptr, data);
    EXPECT_EQ(0u, size);
  });
}

TEST(CoreRendererPool, AcquireReusesFreeRenderersAndRemovedOnesLoseTheirContext) {
  core::RendererPool pool;
  std::lock_guard<std::mutex> lock(pool.mutex());
  pool.growLocked(1, fakeContext());
  core::RendererPtr first = pool.acquireLocked(nullptr);
  first->bind("alice", 1);
  core::RendererPtr second = pool.acquireLocked(fakeContext());  // none free: a new one
  EXPECT_NE(first, second);
  EXPECT_EQ(2u, pool.sizeLocked());
  EXPECT_EQ(first, pool.findLocked("alice", 1));
  first->release();
  EXPECT_EQ(first, pool.acquireLocked(nullptr));
  for (auto& r : pool.takeAllLocked()) r->remove();
  EXPECT_TRUE(second->context.null());  // still alive here, and inert
}

}  // namespace
