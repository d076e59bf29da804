#include "ContentsThreads.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <iterator>
#include <list>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

#include "LibraryLog.h"

namespace contents_threads {
namespace {

// How long exit waits for downloads to notice that they must stop.
constexpr std::chrono::seconds kExitWait{1};

// How long a thread waits for more work once its own is done: requests in a
// burst share threads, an idle process keeps none.
constexpr std::chrono::milliseconds kLinger{50};

struct Worker {
  std::thread thread;
  bool finished = false;
};

// Never destroyed: threads and the exit handler use it while statics go.
struct Registry {
  std::mutex mutex;
  std::condition_variable finished;
  std::condition_variable workArrived;
  std::list<Worker> workers;
  // Work handed to threads that linger; never more than there are of them.
  std::deque<std::function<void()>> work;
  size_t lingering = 0;
  std::atomic<bool> exiting{false};
};

Registry& TheRegistry() {
  static Registry* registry = new Registry();
  return *registry;
}

// Takes the finished workers out of `workers`; the caller holds the mutex.
std::list<Worker> TakeFinishedLocked(std::list<Worker>& workers) {
  std::list<Worker> done;
  for (auto it = workers.begin(); it != workers.end();) {
    auto next = std::next(it);
    if (it->finished) done.splice(done.end(), workers, it);
    it = next;
  }
  return done;
}

void JoinAll(std::list<Worker>& done) {
  for (Worker& worker : done) worker.thread.join();
}

// The last step of a thread's work. Threads that finished before it are
// joined here, so that an idle process keeps at most one stack unjoined.
void MarkFinished(std::list<Worker>::iterator self) {
  Registry& r = TheRegistry();
  std::list<Worker> earlier;
  {
    std::lock_guard<std::mutex> lock(r.mutex);
    earlier = TakeFinishedLocked(r.workers);
    self->finished = true;
  }
  r.finished.notify_all();
  JoinAll(earlier);
}

// More work for a thread whose own is done, once it arrives within kLinger;
// nothing once exit has begun.
std::function<void()> AwaitWork() {
  Registry& r = TheRegistry();
  std::unique_lock<std::mutex> lock(r.mutex);
  ++r.lingering;
  r.workArrived.wait_for(lock, kLinger, [&] { return r.exiting || !r.work.empty(); });
  --r.lingering;
  if (r.exiting || r.work.empty()) return nullptr;
  std::function<void()> next = std::move(r.work.front());
  r.work.pop_front();
  return next;
}

void StopAll() {
  Registry& r = TheRegistry();
  const std::thread::id me = std::this_thread::get_id();
  std::list<Worker> done;
  {
    std::unique_lock<std::mutex> lock(r.mutex);
    r.exiting = true;
    r.workArrived.notify_all();
    // A thread of ours that calls exit() itself cannot be waited for.
    r.finished.wait_for(lock, kExitWait, [&] {
      for (const Worker& w : r.workers) {
        if (!w.finished && w.thread.get_id() != me) return false;
      }
      return true;
    });
    done = TakeFinishedLocked(r.workers);
  }
  // Joined, not just finished: a thread's exit still runs the TLS library's
  // per-thread clean-up. Threads that did not finish in time are left.
  JoinAll(done);
}

}  // namespace

StartResult Start(std::function<void()> work) {
  Registry& r = TheRegistry();
  std::unique_lock<std::mutex> lock(r.mutex);
  if (r.exiting) return StartResult::kExiting;
  if (r.lingering > r.work.size()) {
    r.work.push_back(std::move(work));
    r.workArrived.notify_one();
    return StartResult::kStarted;
  }
  // Threads that finished earlier are joined by the new one, not here on the
  // requesting thread.
  auto reaped = std::make_shared<std::list<Worker>>(TakeFinishedLocked(r.workers));
  r.workers.emplace_back();
  const auto self = std::prev(r.workers.end());
  try {
    self->thread = std::thread([self, reaped, work = std::move(work)]() mutable {
      JoinAll(*reaped);
      while (work) {
        work();
        work = nullptr;  // what it holds goes now, not after the wait
        work = AwaitWork();
      }
      MarkFinished(self);
    });
  } catch (const std::system_error& error) {
    r.workers.erase(self);
    r.workers.splice(r.workers.end(), *reaped);
    VARNIO_LOG(3, "cannot start a contents request thread: %s", error.what());
    return StartResult::kNoThread;
  }
  return StartResult::kStarted;
}

bool Exiting() { return TheRegistry().exiting.load(std::memory_order_relaxed); }

void StopAtExit() {
  if (std::atexit(StopAll) != 0) VARNIO_LOG(3, "cannot install the exit-time stop of contents downloads");
}

}  // namespace contents_threads
