// The resident memory of this process, as /proc/self/statm gives it.
#ifndef VARNIO_TESTS_RESIDENT_MEMORY_H_
#define VARNIO_TESTS_RESIDENT_MEMORY_H_

#include <unistd.h>

#include <cstdio>

// In KiB; 0 when it cannot be read.
inline long ResidentKib() {
  long pages = 0;
  long resident = 0;
  if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(statm);
  }
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

#endif  // VARNIO_TESTS_RESIDENT_MEMORY_H_
