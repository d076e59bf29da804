// The number of threads of this process, as /proc/self/task lists them, a
// bounded wait for it to come down, and a way to make new ones impossible.
#ifndef VARNIO_TESTS_THREAD_COUNT_H_
#define VARNIO_TESTS_THREAD_COUNT_H_

#include <dirent.h>
#include <pthread.h>

#include <chrono>
#include <cstddef>
#include <limits>
#include <thread>

inline int ThreadCount() {
  int count = 0;
  if (DIR* dir = opendir("/proc/self/task")) {
    while (dirent* entry = readdir(dir)) count += entry->d_name[0] != '.' ? 1 : 0;
    closedir(dir);
  }
  return count;
}

// Waits until the process has at most `count` threads; false when it still
// has more after `timeout`.
inline bool WaitForThreadCount(int count, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (ThreadCount() > count) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

// With `allowed` false, every thread created from now on needs more stack
// than the address space has, so none can be; true restores the usual size.
// Half the space is not enough: a 32-bit process under an emulator may get it.
inline void AllowNewThreads(bool allowed) {
  pthread_attr_t attr;
  pthread_attr_init(&attr);
  const size_t huge = std::numeric_limits<size_t>::max() & ~size_t{0xFFFFF};
  pthread_attr_setstacksize(&attr, allowed ? size_t{8} << 20 : huge);
  pthread_setattr_default_np(&attr);
  pthread_attr_destroy(&attr);
}

#endif  // VARNIO_TESTS_THREAD_COUNT_H_
