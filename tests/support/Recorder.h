// Records what the library hands to the caller's callbacks, with the thread
// it arrived on, and lets a test wait for a number of deliveries.
#ifndef VARNIO_TESTS_RECORDER_H_
#define VARNIO_TESTS_RECORDER_H_

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct Delivery {
  std::string text;
  void* userData;
  std::thread::id thread;
};

class Recorder {
 public:
  // Matches the library's callback type; `userData` must be a Recorder.
  static void Callback(std::string text, void* userData) {
    auto* self = static_cast<Recorder*>(userData);
    std::lock_guard<std::mutex> lock(self->m_mutex);
    self->m_deliveries.push_back({std::move(text), userData, std::this_thread::get_id()});
    self->m_changed.notify_all();
  }

  // True once at least `count` deliveries arrived within `timeout`.
  bool WaitFor(size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_changed.wait_for(lock, timeout, [&] { return m_deliveries.size() >= count; });
  }

  std::vector<Delivery> Deliveries() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_deliveries;
  }

  size_t Count() { return Deliveries().size(); }

  std::string Last() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_deliveries.empty() ? std::string() : m_deliveries.back().text;
  }

  void Clear() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_deliveries.clear();
  }

 private:
  std::mutex m_mutex;
  std::condition_variable m_changed;
  std::vector<Delivery> m_deliveries;
};

#endif  // VARNIO_TESTS_RECORDER_H_
