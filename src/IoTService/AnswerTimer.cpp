#include "AnswerTimer.h"

#include <pthread.h>

#include <algorithm>
#include <system_error>
#include <utility>

#include "LibraryLog.h"

namespace {

constexpr int kMaxBackoff = 4;

}  // namespace

CAnswerTimer::CAnswerTimer(std::chrono::milliseconds wait, std::function<void()> overdue)
    : m_wait(wait), m_overdue(std::move(overdue)) {}

CAnswerTimer::~CAnswerTimer() { Close(); }

void CAnswerTimer::Close() {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_closing = true;
  }
  m_changed.notify_all();
  if (m_thread.joinable() && m_thread.get_id() != std::this_thread::get_id()) m_thread.join();
}

void CAnswerTimer::Start() {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (m_closing) return;
  m_deadline = std::chrono::steady_clock::now() + m_wait * m_backoff;
  m_waiting = true;
  if (m_thread.joinable()) {
    m_changed.notify_all();
    return;
  }
  try {
    m_thread = std::thread(&CAnswerTimer::Run, this);
    // Named before Start returns, so that a thread listing made after it
    // tells the timer from the contents downloads.
    pthread_setname_np(m_thread.native_handle(), kThreadName);
  } catch (const std::system_error& error) {
    VARNIO_LOG(3, "cannot start the answer timer: %s", error.what());
  }
}

void CAnswerTimer::Stop() {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_waiting = false;
  m_backoff = 1;
}

void CAnswerTimer::Run() {
  std::unique_lock<std::mutex> lock(m_mutex);
  while (!m_closing) {
    if (!m_waiting) {
      m_changed.wait(lock);
    } else if (std::chrono::steady_clock::now() < m_deadline) {
      m_changed.wait_until(lock, m_deadline);
    } else {
      m_waiting = false;
      m_backoff = std::min(m_backoff * 2, kMaxBackoff);
      // Outside the lock: the service asks the framework again, which may
      // answer at once, and starts a new wait.
      lock.unlock();
      m_overdue();
      lock.lock();
    }
  }
}
