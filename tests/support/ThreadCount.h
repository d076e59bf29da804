// The number of threads of this process, as /proc/self/task lists them, and
// a bounded wait for it to come down.
#ifndef VARNIO_TESTS_THREAD_COUNT_H_
#define VARNIO_TESTS_THREAD_COUNT_H_

#include <dirent.h>

#include <chrono>
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

#endif  // VARNIO_TESTS_THREAD_COUNT_H_
