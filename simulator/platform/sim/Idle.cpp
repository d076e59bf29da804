#include <IoTFrameworkSim.h>
#include <device/power_sim.h>
#include <dlog.h>
#include <unistd.h>
#include <vconf_sim.h>

#include <cstdarg>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <set>
#include <string>
#include <system_error>
#include <thread>

#include "varnio_sim.h"

namespace varnio_sim {
namespace {

using Clock = std::chrono::steady_clock;

std::mutex g_mutex;
bool g_baselineTaken = false;
std::set<pid_t>* g_baseline = new std::set<pid_t>();  // never freed: a wait may run while the process exits

__attribute__((format(printf, 1, 2))) void Error(const char* format, ...) {
  va_list args;
  va_start(args, format);
  __dlog_vprint(LOG_ID_MAIN, DLOG_ERROR, "varnio-sim", format, args);
  va_end(args);
}

// The thread on which the library waits for a framework answer that may
// never come: no download, and it may wait long.
constexpr char kAnswerWaitThread[] = "varnio-answers";

// A thread that is ending has no name left to read: whatever it did is done.
bool MayBeDownload(const std::filesystem::path& task) {
  std::ifstream comm(task / "comm");
  std::string name;
  std::getline(comm, name);
  return !name.empty() && name != kAnswerWaitThread;
}

// The process's threads but the library's answer wait. The library starts
// threads for contents downloads besides, each ending once its list is
// delivered, so a thread not in the baseline means one still runs.
std::set<pid_t> Threads() {
  std::set<pid_t> threads;
  std::error_code error;
  for (std::filesystem::directory_iterator it("/proc/self/task", error), end; !error && it != end;
       it.increment(error)) {
    if (MayBeDownload(it->path())) threads.insert(static_cast<pid_t>(std::stoi(it->path().filename().string())));
  }
  return threads;
}

bool ServiceStarted() { return iotfw_sim::RegisteredCallbackCount() > 0; }

// On a thread a stand-in delivers on, or inside a framework answer delivered
// at once on this thread: whatever is waited for may be waiting for us.
bool InsideStandInDelivery() {
  const std::thread::id self = std::this_thread::get_id();
  return self == iotfw_sim::CallbackThreadId() || self == vconf_sim::NotificationThreadId() ||
         self == power_sim::NotificationThreadId() || iotfw_sim::DeliveryStartedAt() != Clock::time_point();
}

// Empty when a wait may start here, else what to do instead.
const char* WhyNotHere(bool needsBaseline) {
  if (!ServiceStarted()) {
    return "the library's service has not started: make an exported call first (registering the callbacks "
           "starts it)";
  }
  if (InsideStandInDelivery()) {
    return "called from inside a callback would wait for itself: wait on the program's own thread once the "
           "callback has returned";
  }
  std::lock_guard<std::mutex> lock(g_mutex);
  if (!needsBaseline) return nullptr;
  if (!g_baselineTaken) {
    return "no thread baseline: call varnio_sim::TakeThreadBaseline() once the service has started, before the "
           "first tile request";
  }
  if (g_baseline->count(static_cast<pid_t>(gettid())) == 0) {
    return "called from a thread started after TakeThreadBaseline (a contents download inside a callback, or "
           "one of the program's own, which counts as a download) would wait for itself: wait on a thread "
           "that existed at the baseline";
  }
  return nullptr;
}

// Waits for the stand-ins in the order in which each causes work for the
// next: a language change or a wake-up makes framework requests, never the
// other way round.
bool WaitStandIns(bool framework, Clock::time_point deadline) {
  return vconf_sim::WaitIdleUntil(deadline) && power_sim::WaitIdleUntil(deadline) &&
         (!framework || iotfw_sim::WaitIdleUntil(deadline));
}

bool DownloadsRunning() {
  const std::set<pid_t> now = Threads();
  std::lock_guard<std::mutex> lock(g_mutex);
  for (pid_t thread : now) {
    if (g_baseline->count(thread) == 0) return true;
  }
  return false;
}

bool WaitAll(const char* name, std::chrono::milliseconds timeout, bool framework) {
  if (const char* why = WhyNotHere(true)) {
    Error("%s: %s", name, why);
    return false;
  }
  const Clock::time_point deadline = Clock::now() + timeout;
  for (;;) {
    if (!WaitStandIns(framework, deadline)) return false;
    if (!DownloadsRunning()) return true;
    // A download's delivery may ask again: after the downloads, another pass.
    while (DownloadsRunning()) {
      if (Clock::now() >= deadline) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }
}

}  // namespace

bool TakeThreadBaseline() {
  if (const char* why = WhyNotHere(false)) {
    Error("TakeThreadBaseline: %s", why);
    return false;
  }
  std::set<pid_t> threads = Threads();
  std::lock_guard<std::mutex> lock(g_mutex);
  *g_baseline = std::move(threads);
  g_baselineTaken = true;
  return true;
}

bool WaitIdle(std::chrono::milliseconds timeout) { return WaitAll("WaitIdle", timeout, true); }

bool WaitIdleExceptFramework(std::chrono::milliseconds timeout) {
  return WaitAll("WaitIdleExceptFramework", timeout, false);
}

}  // namespace varnio_sim
