#include "Lock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

TEST(LockTest, HolderMayLockAgainAndOthersWaitForFullRelease) {
  CLockMutex lock;
  lock.Lock();
  lock.Lock();  // recursive: must not block
  std::atomic<bool> acquired{false};
  std::thread other([&] {
    CAutoLock guard(lock);
    acquired = true;
  });
  lock.Unlock();
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_FALSE(acquired.load()) << "one unlock of two must not release";
  lock.Unlock();
  other.join();
  EXPECT_TRUE(acquired.load());
}

TEST(LockTest, NestedGuardsThroughTheInterfaceReleaseWhenLeftByException) {
  CLockMutex mutex;
  const ILock& lock = mutex;
  try {
    CAutoLock outer(lock);
    CAutoLock inner(lock);
    throw std::runtime_error("leave the scope");
  } catch (const std::runtime_error&) {
  }
  std::thread([&] { CAutoLock guard(lock); }).join();  // hangs, and times out, while still held
}
