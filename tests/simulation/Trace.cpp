#include "Trace.h"

#include <chrono>
#include <cstdio>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

namespace sim {

namespace {

struct Log {
  std::mutex mutex;
  const std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
  std::map<std::thread::id, int> threads;  // short names: t1, t2, ...
  std::vector<std::string> lines;
};

Log& TheLog() {
  static Log* log = new Log();  // a late callback may still note something
  return *log;
}

}  // namespace

void Trace(const std::string& what) {
  Log& log = TheLog();
  const auto micros =
      std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - log.start).count();
  std::lock_guard<std::mutex> lock(log.mutex);
  auto inserted = log.threads.emplace(std::this_thread::get_id(), static_cast<int>(log.threads.size()) + 1);
  char prefix[48];
  std::snprintf(prefix, sizeof(prefix), "%9lld us  t%-2d ", static_cast<long long>(micros), inserted.first->second);
  log.lines.push_back(prefix + what);
}

std::string TraceText() {
  Log& log = TheLog();
  std::lock_guard<std::mutex> lock(log.mutex);
  std::string text;
  for (const std::string& line : log.lines) text += line + "\n";
  return text;
}

}  // namespace sim
