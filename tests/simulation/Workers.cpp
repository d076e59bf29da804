#include "Workers.h"

#include <atomic>
#include <thread>

namespace sim {

Workers::Workers(size_t count) {
  for (size_t i = 0; i < count; ++i) m_threads.push_back(std::make_unique<NotificationThread>());
}

void Workers::RunTogether(const std::vector<std::function<void()>>& tasks, size_t first) {
  auto ready = std::make_shared<std::atomic<size_t>>(0);
  const size_t count = tasks.size();
  for (size_t i = 0; i < count; ++i) {
    const std::function<void()>& task = tasks[i];
    m_threads[(first + i) % m_threads.size()]->Post([ready, count, &task] {
      // Spinning, not sleeping: the racers must start within the same microsecond.
      ++*ready;
      while (ready->load() < count) std::this_thread::yield();
      task();
    });
  }
  for (size_t i = 0; i < count; ++i) m_threads[(first + i) % m_threads.size()]->WaitIdle();
}

}  // namespace sim
