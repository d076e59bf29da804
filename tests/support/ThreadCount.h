// The number of threads of this process, as /proc/self/task lists them.
#ifndef VARNIO_TESTS_THREAD_COUNT_H_
#define VARNIO_TESTS_THREAD_COUNT_H_

#include <dirent.h>

inline int ThreadCount() {
  int count = 0;
  if (DIR* dir = opendir("/proc/self/task")) {
    while (dirent* entry = readdir(dir)) count += entry->d_name[0] != '.' ? 1 : 0;
    closedir(dir);
  }
  return count;
}

#endif  // VARNIO_TESTS_THREAD_COUNT_H_
