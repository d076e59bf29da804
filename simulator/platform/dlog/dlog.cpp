#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "dlog.h"
#include "dlog_sim.h"

namespace {

std::atomic<bool> g_loggingOn{true};
dlog_sim::Echo EchoAtStart() {
  const char* quiet = std::getenv("VARNIO_SIM_QUIET");
  return quiet != nullptr && std::strcmp(quiet, "1") == 0 ? dlog_sim::Echo::kNone : dlog_sim::Echo::kWarnings;
}

std::atomic<dlog_sim::Echo> g_echo{EchoAtStart()};
std::atomic<bool> g_capturing{false};
std::atomic<uint64_t> g_writes{0};
std::mutex g_mutex;
std::vector<dlog_sim::Line>* g_lines = new std::vector<dlog_sim::Line>();  // never freed: logging may outlive statics

// Jitter: each log line may yield or sleep a little, so that the library's
// own steps interleave with other threads in more orders.
std::atomic<unsigned> g_jitterSeed{0};
std::atomic<int> g_jitterPercent{0};
std::atomic<int> g_jitterMaxMicroseconds{0};
std::atomic<unsigned> g_jitterThreads{0};

void Jitter() {
  const int percent = g_jitterPercent.load(std::memory_order_relaxed);
  if (percent <= 0) return;
  thread_local std::minstd_rand random(g_jitterSeed.load() * 7919U + g_jitterThreads.fetch_add(1) + 1U);
  if (static_cast<int>(random() % 100U) >= percent) return;
  const int maxMicroseconds = g_jitterMaxMicroseconds.load(std::memory_order_relaxed);
  if (maxMicroseconds <= 0 || random() % 2U == 0) {
    std::this_thread::yield();
    return;
  }
  std::this_thread::sleep_for(std::chrono::microseconds(random() % static_cast<unsigned>(maxMicroseconds)));
}

char PriorityLetter(int prio) {
  static const char kLetters[] = "??VDIWEFS";
  return (prio >= 0 && prio < DLOG_PRIO_MAX) ? kLetters[prio] : '?';
}

}  // namespace

extern "C" int _get_logging_on(int /*level*/, const char* /*tag*/) { return g_loggingOn.load(std::memory_order_relaxed) ? 1 : 0; }

extern "C" int __dlog_vprint(log_id_t /*log_id*/, int prio, const char* tag, const char* fmt, va_list ap) {
  g_writes.fetch_add(1, std::memory_order_relaxed);
  Jitter();
  const dlog_sim::Echo echoed = g_echo.load(std::memory_order_relaxed);
  const bool echo = echoed == dlog_sim::Echo::kAll || (echoed == dlog_sim::Echo::kWarnings && prio >= DLOG_WARN);
  const bool capture = g_capturing.load(std::memory_order_relaxed);
  if (!echo && !capture) return 0;
  if (tag == nullptr) tag = "";
  if (fmt == nullptr) fmt = "";

  va_list copy;
  va_copy(copy, ap);
  const int needed = vsnprintf(nullptr, 0, fmt, copy);
  va_end(copy);
  if (needed < 0) return -1;
  std::string text(static_cast<size_t>(needed) + 1, '\0');
  vsnprintf(&text[0], text.size(), fmt, ap);
  text.resize(static_cast<size_t>(needed));

  std::lock_guard<std::mutex> lock(g_mutex);
  if (echo) fprintf(stderr, "%c/%s: %s\n", PriorityLetter(prio), tag, text.c_str());
  if (capture) g_lines->push_back({prio, tag, std::move(text)});
  return needed;
}

namespace dlog_sim {

void SetLoggingOn(bool on) { g_loggingOn = on; }
void SetEcho(Echo echo) { g_echo = echo; }

void StartCapture() {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_lines->clear();
  g_capturing = true;
}

void StopCapture() { g_capturing = false; }

std::vector<Line> Captured() {
  std::lock_guard<std::mutex> lock(g_mutex);
  return *g_lines;
}

uint64_t WriteCount() { return g_writes.load(); }

void SetJitter(unsigned seed, int percent, int maxMicroseconds) {
  g_jitterSeed = seed;
  g_jitterMaxMicroseconds = maxMicroseconds;
  g_jitterPercent = percent;
}

}  // namespace dlog_sim
