// A lock file that exists only while it is held: it goes with its holder, and a waiter that
// gets the lock of the file just removed locks the name afresh, so two never hold it at once.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include "platform/FileLock.h"
#include "support/TestSupport.h"

namespace lumicrate {
namespace {

TEST(FileLockTest, ALockRemovedOnReleaseIsNeverHeldTwice) {
  test::TempDir dir;
  const auto lockFile = dir / ".run.lock";
  std::atomic<int> holders = 0;
  std::atomic<int> most = 0;
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < 200; ++i) {
        FileLock lock;
        ASSERT_EQ(lock.Acquire(lockFile, FileLock::Mode::Wait, true), S_OK);
        const int now = ++holders;
        most = std::max(most.load(), now);
        EXPECT_TRUE(std::filesystem::exists(lockFile));
        --holders;
      }
    });
  }
  for (std::thread& thread : threads) {
    thread.join();
  }
  EXPECT_EQ(most, 1);
  EXPECT_FALSE(std::filesystem::exists(lockFile)) << "gone with the last holder";

  FileLock kept;
  ASSERT_EQ(kept.Acquire(lockFile, FileLock::Mode::TryOnce), S_OK);
  kept.Release();
  EXPECT_TRUE(std::filesystem::exists(lockFile)) << "a lock file that is not removed on release stays";
}

} // namespace
} // namespace lumicrate
