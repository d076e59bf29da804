#include <IoTFrameworkSim.h>
#include <device/power_sim.h>
#include <dlog.h>
#include <vconf_sim.h>

#include <atomic>
#include <cstdarg>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <thread>

#include "varnio_sim.h"

namespace varnio_sim {
namespace {

constexpr int kNoBaseline = -1;
std::atomic<int> g_baseline{kNoBaseline};
std::atomic<bool> g_warnedNoBaseline{false};

__attribute__((format(printf, 1, 2))) void Warn(const char* format, ...) {
  va_list args;
  va_start(args, format);
  __dlog_vprint(LOG_ID_MAIN, DLOG_WARN, "varnio-sim", format, args);
  va_end(args);
}

// The thread on which the library waits for a framework answer that may
// never come; it is no download, and may wait long.
constexpr char kAnswerWaitThread[] = "varnio-answers";

// A thread that is ending has no name left to read: whatever it did is done.
bool Counts(const std::filesystem::path& task) {
  std::ifstream comm(task / "comm");
  std::string name;
  std::getline(comm, name);
  return !name.empty() && name != kAnswerWaitThread;
}

// Besides the thread that waits for answers, the library starts threads for
// contents downloads only, each ending once its list is delivered, so a
// count above the baseline means one still runs.
int ThreadCount() {
  std::error_code error;
  int count = 0;
  for (std::filesystem::directory_iterator it("/proc/self/task", error), end; !error && it != end;
       it.increment(error)) {
    if (Counts(it->path())) ++count;
  }
  return count;
}

void WaitStandIns(bool framework) {
  // In this order one pass covers what each causes in the next: a language
  // change or a wake-up makes framework requests, never the other way round.
  vconf_sim::WaitIdle();
  power_sim::WaitIdle();
  if (framework) iotfw_sim::WaitIdle();
}

bool WaitAll(std::chrono::milliseconds timeout, bool framework) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  const int baseline = g_baseline.load();
  if (baseline == kNoBaseline && !g_warnedNoBaseline.exchange(true)) {
    Warn("WaitIdle before TakeThreadBaseline: contents downloads are not waited for");
  }
  for (;;) {
    WaitStandIns(framework);
    if (baseline == kNoBaseline || ThreadCount() <= baseline) return true;
    // A download's delivery may ask again: after the downloads, another pass.
    while (ThreadCount() > baseline) {
      if (std::chrono::steady_clock::now() >= deadline) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }
}

}  // namespace

void TakeThreadBaseline() { g_baseline = ThreadCount(); }

bool WaitIdle(std::chrono::milliseconds timeout) { return WaitAll(timeout, true); }

bool WaitIdleExceptFramework(std::chrono::milliseconds timeout) { return WaitAll(timeout, false); }

}  // namespace varnio_sim
