// Loads libvarnio.so into a fresh process and starts the service, printing
// what that costs in resident memory and threads: "name value" lines for
// bench_footprint. Kept out of the benchmark binary, which has the library's
// code and its dependencies loaded already. Like the home screen that loads
// the library, this is a C++ program: the C++ runtime is there before.
#include <dlfcn.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <thread>

#include "ResidentMemory.h"
#include "ThreadCount.h"

namespace {

// Resident pages of the mappings of files whose path holds `name`.
long MappedResidentKib(const char* name) {
  long total = 0;
  if (FILE* smaps = std::fopen("/proc/self/smaps", "r")) {
    char line[512];
    bool selected = false;
    while (std::fgets(line, sizeof(line), smaps) != nullptr) {
      unsigned long from = 0;
      unsigned long to = 0;
      long kib = 0;
      if (std::sscanf(line, "%lx-%lx ", &from, &to) == 2) {
        selected = std::strstr(line, name) != nullptr;  // a mapping's first line names its file
      } else if (selected && std::sscanf(line, "Rss: %ld kB", &kib) == 1) {
        total += kib;
      }
    }
    std::fclose(smaps);
  }
  return total;
}

// iot_svc_unregister_event_cb(iot_svc_event_type_e): starts the service and
// changes nothing, and asks for no download.
constexpr char kStartSymbol[] = "_Z27iot_svc_unregister_event_cb20iot_svc_event_type_e";

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s LIBRARY\n", argv[0]);
    return 2;
  }
  const long before = ResidentKib();
  const int threadsBefore = ThreadCount();
  void* library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    std::fprintf(stderr, "%s\n", dlerror());
    return 1;
  }
  const long loaded = ResidentKib();
  auto start = reinterpret_cast<void (*)(int)>(dlsym(library, kStartSymbol));
  if (start == nullptr) {
    std::fprintf(stderr, "%s\n", dlerror());
    return 1;
  }
  start(0);
  // The sign-in answer comes back on the framework's thread; let it land.
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  const long started = ResidentKib();
  std::cout << "rss_before_kib " << before << "\n"
            << "rss_load_delta_kib " << loaded - before << "\n"
            << "rss_start_delta_kib " << started - loaded << "\n"
            << "rss_kib " << started << "\n"
            << "library_rss_kib " << MappedResidentKib("libvarnio.so") << "\n"
            << "threads_after " << ThreadCount() - threadsBefore << std::endl;
  // The service lives until the process ends; so does the library.
  return 0;
}
