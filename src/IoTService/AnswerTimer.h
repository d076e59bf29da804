// Wakes the service when a framework answer it waits for is overdue, so
// that an answer that never comes is asked for again.
//
// The wait runs on a library thread of its own, started by the first Start
// and kept until Close or the library's stop at exit, so that no wait
// depends on a thread to be had when it begins. When none can be had, the
// next Start tries again. While answers keep failing to come, each wait is
// twice the last, up to four times the first.
#ifndef VARNIO_IOTSERVICE_ANSWERTIMER_H_
#define VARNIO_IOTSERVICE_ANSWERTIMER_H_

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

class CAnswerTimer {
 public:
  static constexpr char kThreadName[] = "varnio-answers";

  // `overdue` is called on the timer's thread, with no lock of the timer's
  // held, `wait` after the last Start unless Stop came first.
  CAnswerTimer(std::chrono::milliseconds wait, std::function<void()> overdue);
  ~CAnswerTimer();
  CAnswerTimer(const CAnswerTimer&) = delete;
  CAnswerTimer& operator=(const CAnswerTimer&) = delete;

  // The first wait.
  std::chrono::milliseconds Wait() const { return m_wait; }
  // Waits from now, replacing any wait begun earlier.
  void Start();
  // Nothing is waited for any more, and the next wait is the first again.
  void Stop();
  // No wait begins any more; returns once `overdue` can no longer be
  // called, unless called from the timer's thread.
  void Close();

 private:
  // What the thread and the library's stop share with the timer; it lives
  // as long as the longest of them.
  struct Shared {
    std::mutex mutex;
    std::condition_variable changed;
    bool waiting = false;
    bool closing = false;
    bool running = false;  // the thread is in Run, or about to be
    std::thread::id thread;
    int backoff = 1;       // the next wait in m_wait
    std::chrono::steady_clock::time_point deadline;
  };

  static void Run(const std::shared_ptr<Shared>& shared, const std::function<void()>& overdue);

  const std::chrono::milliseconds m_wait;
  const std::function<void()> m_overdue;
  const std::shared_ptr<Shared> m_shared = std::make_shared<Shared>();
};

#endif  // VARNIO_IOTSERVICE_ANSWERTIMER_H_
