#include "AnswerTimer.h"

#include <pthread.h>

#include <algorithm>
#include <thread>
#include <utility>

#include "LibraryLife.h"
#include "LibraryLog.h"

namespace {

constexpr int kMaxBackoff = 4;

}  // namespace

CAnswerTimer::CAnswerTimer(std::chrono::milliseconds wait, std::function<void()> overdue)
    : m_wait(wait), m_overdue(std::move(overdue)) {}

CAnswerTimer::~CAnswerTimer() { Close(); }

void CAnswerTimer::Close() {
  std::unique_lock<std::mutex> lock(m_shared->mutex);
  m_shared->closing = true;
  m_shared->changed.notify_all();
  // From inside `overdue` the thread leaves Run once it returns.
  if (m_shared->thread == std::this_thread::get_id()) return;
  m_shared->changed.wait(lock, [&] { return !m_shared->running; });
}

void CAnswerTimer::Start() {
  std::lock_guard<std::mutex> lock(m_shared->mutex);
  Shared& s = *m_shared;
  if (s.closing) return;
  s.deadline = std::chrono::steady_clock::now() + m_wait * s.backoff;
  s.waiting = true;
  if (s.running) {
    s.changed.notify_all();
    return;
  }
  std::shared_ptr<Shared> shared = m_shared;
  const library_life::StartResult started = library_life::StartThread(
      [shared, overdue = m_overdue] { Run(shared, overdue); },
      [shared] {
        std::lock_guard<std::mutex> stopping(shared->mutex);
        shared->closing = true;
        shared->changed.notify_all();
      });
  s.running = started == library_life::StartResult::kStarted;
}

void CAnswerTimer::Stop() {
  std::lock_guard<std::mutex> lock(m_shared->mutex);
  m_shared->waiting = false;
  m_shared->backoff = 1;
}

void CAnswerTimer::Run(const std::shared_ptr<Shared>& shared, const std::function<void()>& overdue) {
  // Named, so that a thread listing tells it from the contents downloads.
  pthread_setname_np(pthread_self(), kThreadName);
  Shared& s = *shared;
  std::unique_lock<std::mutex> lock(s.mutex);
  s.thread = std::this_thread::get_id();
  while (!s.closing) {
    if (!s.waiting) {
      s.changed.wait(lock);
    } else if (std::chrono::steady_clock::now() < s.deadline) {
      s.changed.wait_until(lock, s.deadline);
    } else {
      s.waiting = false;
      s.backoff = std::min(s.backoff * 2, kMaxBackoff);
      // Outside the lock: the service asks the framework again, which may
      // answer at once, and starts a new wait.
      lock.unlock();
      overdue();
      lock.lock();
    }
  }
  s.running = false;
  s.changed.notify_all();
}
