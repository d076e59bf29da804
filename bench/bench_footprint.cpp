// What the library costs a process that loads it: the shared object's file
// and its loadable segments (as the ELF program headers lay them out, the
// way `size` sums sections), and the resident memory and threads of a fresh
// process before and after loading the library and starting the service.
#include <benchmark/benchmark.h>
#include <elf.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

namespace {

struct Segments {
  double text = 0;    // executable
  double rodata = 0;  // read-only: constants, symbol tables, unwind data
  double data = 0;    // writable, from the file
  double bss = 0;     // writable, zero-filled
};

template <typename Header, typename ProgramHeader>
bool ReadSegments(const std::string& file, Segments& out) {
  Header header;
  if (file.size() < sizeof(header)) return false;
  std::memcpy(&header, file.data(), sizeof(header));
  if (header.e_phentsize != sizeof(ProgramHeader)) return false;
  for (size_t i = 0; i < header.e_phnum; ++i) {
    const size_t offset = header.e_phoff + i * sizeof(ProgramHeader);
    ProgramHeader segment;
    if (offset + sizeof(segment) > file.size()) return false;
    std::memcpy(&segment, file.data() + offset, sizeof(segment));
    if (segment.p_type != PT_LOAD) continue;
    if (segment.p_flags & PF_X) {
      out.text += static_cast<double>(segment.p_memsz);
    } else if (segment.p_flags & PF_W) {
      out.data += static_cast<double>(segment.p_filesz);
      out.bss += static_cast<double>(segment.p_memsz - segment.p_filesz);
    } else {
      out.rodata += static_cast<double>(segment.p_memsz);
    }
  }
  return true;
}

// Either word size, so that a 32-bit ARM build reads the same way.
bool ReadElf(const std::string& file, Segments& out) {
  if (file.size() < EI_NIDENT || std::memcmp(file.data(), ELFMAG, SELFMAG) != 0) return false;
  switch (file[EI_CLASS]) {
    case ELFCLASS32: return ReadSegments<Elf32_Ehdr, Elf32_Phdr>(file, out);
    case ELFCLASS64: return ReadSegments<Elf64_Ehdr, Elf64_Phdr>(file, out);
    default: return false;
  }
}

void BM_LibraryFileAndSegments(benchmark::State& state) {
  std::string file;
  Segments segments;
  for (auto _ : state) {
    std::ifstream in(VARNIO_LIBRARY_FILE, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    file = bytes.str();
    segments = Segments();
    if (!ReadElf(file, segments)) state.SkipWithError("not an ELF shared object: " VARNIO_LIBRARY_FILE);
  }
  // The file includes debug information in RelWithDebInfo builds; the
  // segments are what is mapped.
  state.counters["library_bytes"] = static_cast<double>(file.size());
  state.counters["text_bytes"] = segments.text;
  state.counters["rodata_bytes"] = segments.rodata;
  state.counters["data_bytes"] = segments.data;
  state.counters["bss_bytes"] = segments.bss;
}
BENCHMARK(BM_LibraryFileAndSegments)->Iterations(1)->Unit(benchmark::kMillisecond);

// "name value" lines of the probe.
std::map<std::string, double> RunProbe() {
  std::map<std::string, double> values;
  const std::string command = std::string("'") + VARNIO_FOOTPRINT_PROBE + "' '" + VARNIO_LIBRARY_FILE + "'";
  if (FILE* probe = popen(command.c_str(), "r")) {
    char name[64];
    double value;
    while (std::fscanf(probe, "%63s %lf", name, &value) == 2) values[name] = value;
    if (pclose(probe) != 0) values.clear();
  }
  return values;
}

// A fresh process each time: before anything of the library is mapped,
// after dlopen (the library and what it needs beyond the C++ runtime), and
// once the first exported call has started the service.
void BM_ResidentAfterStart(benchmark::State& state) {
  std::map<std::string, double> values;
  for (auto _ : state) values = RunProbe();
  if (values.empty()) {
    state.SkipWithError("the footprint probe failed");
    return;
  }
  for (const char* name :
       {"rss_before_kib", "rss_load_delta_kib", "rss_start_delta_kib", "rss_kib", "library_rss_kib", "threads_after"}) {
    state.counters[name] = values[name];
  }
  state.counters["rss_total_delta_kib"] = values["rss_load_delta_kib"] + values["rss_start_delta_kib"];
}
BENCHMARK(BM_ResidentAfterStart)->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
