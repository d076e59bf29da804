#include "Lock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>

TEST(LockTest, HolderMayLockAgainAndOthersWaitForFullRelease) {
  CLockMutex lock;
  lock.Lock();
  lock.Lock();  // recursive: must not block
  std::atomic<bool> acquired{false};
  std::thread other([&] {
    lock.Lock();
    acquired = true;
    lock.Unlock();
  });
  lock.Unlock();
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_FALSE(acquired.load()) << "one unlock of two must not release";
  lock.Unlock();
  other.join();
  EXPECT_TRUE(acquired.load());
}

TEST(LockTest, AutoLockReleasesWhenLeftByException) {
  CLockMutex lock;
  try {
    CAutoLock guard(lock);
    throw std::runtime_error("leave the scope");
  } catch (const std::runtime_error&) {
  }
  std::atomic<bool> acquired{false};
  std::thread other([&] {
    CAutoLock guard(lock);
    acquired = true;
  });
  other.join();
  EXPECT_TRUE(acquired.load());
}

TEST(LockTest, GuardsWorkThroughTheInterface) {
  CLockMutex mutex;
  const ILock& lock = mutex;
  int counter = 0;
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < 10000; ++i) {
        CAutoLock outer(lock);
        CAutoLock inner(lock);
        ++counter;
      }
    });
  }
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(counter, 40000);
}
