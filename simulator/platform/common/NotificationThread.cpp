#include "NotificationThread.h"

#include <utility>

NotificationThread::NotificationThread() : m_thread([this] { Run(); }) {}

NotificationThread::~NotificationThread() {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_stop = true;
  }
  m_wake.notify_all();
  m_thread.join();
}

void NotificationThread::Post(std::function<void()> task) {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_tasks.push_back(std::move(task));
  }
  m_wake.notify_all();
}

void NotificationThread::SetHeld(bool held) {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_held = held;
  }
  m_wake.notify_all();
}

void NotificationThread::WaitIdle() {
  std::unique_lock<std::mutex> lock(m_mutex);
  m_idle.wait(lock, [this] { return m_tasks.empty() && !m_running; });
}

bool NotificationThread::WaitIdleUntil(std::chrono::steady_clock::time_point deadline) {
  std::unique_lock<std::mutex> lock(m_mutex);
  return m_idle.wait_until(lock, deadline, [this] { return m_tasks.empty() && !m_running; });
}

void NotificationThread::Run() {
  std::unique_lock<std::mutex> lock(m_mutex);
  for (;;) {
    m_wake.wait(lock, [this] { return m_stop || (!m_held && !m_tasks.empty()); });
    if (m_tasks.empty()) return;  // stopping, nothing left to deliver
    std::function<void()> task = std::move(m_tasks.front());
    m_tasks.pop_front();
    m_running = true;
    lock.unlock();
    task();
    lock.lock();
    m_running = false;
    if (m_tasks.empty()) m_idle.notify_all();
  }
}
