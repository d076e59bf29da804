// One worker thread that runs posted tasks in order: how the stand-ins
// deliver notifications on a thread that is not the caller's.
#ifndef PLATFORM_NOTIFICATION_THREAD_H_
#define PLATFORM_NOTIFICATION_THREAD_H_

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

class NotificationThread {
 public:
  NotificationThread();
  ~NotificationThread();
  NotificationThread(const NotificationThread&) = delete;
  NotificationThread& operator=(const NotificationThread&) = delete;

  void Post(std::function<void()> task);
  // Returns once every task posted before the call has run. Must not be
  // called from a task.
  void WaitIdle();
  // The same, giving up at `deadline`: false when tasks were still left.
  bool WaitIdleUntil(std::chrono::steady_clock::time_point deadline);
  // While held, posted tasks wait; releasing runs them in order.
  void SetHeld(bool held);
  bool IsCurrentThread() const { return std::this_thread::get_id() == m_thread.get_id(); }
  std::thread::id Id() const { return m_thread.get_id(); }

 private:
  void Run();

  std::mutex m_mutex;
  std::condition_variable m_wake;
  std::condition_variable m_idle;
  std::deque<std::function<void()>> m_tasks;
  bool m_running = false;
  bool m_held = false;
  bool m_stop = false;
  std::thread m_thread;
};

#endif  // PLATFORM_NOTIFICATION_THREAD_H_
