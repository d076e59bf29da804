#include "LibraryLife.h"

#include <curl/curl.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <iterator>
#include <list>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "LibraryLog.h"

namespace library_life {
namespace {

// How long the stop waits for woken threads. A woken download ends within
// milliseconds; only a thread inside a caller's callback takes longer.
constexpr std::chrono::seconds kStopWait{1};

struct Thread {
  std::thread thread;
  std::function<void()> wake;  // dropped once the thread has ended
  bool ended = false;
};

// Never destroyed: threads and the exit handler use it while statics go.
struct Registry {
  std::mutex mutex;
  std::condition_variable threadEnded;
  std::list<Thread> threads;
  std::atomic<bool> stopping{false};
};

Registry& TheRegistry() {
  static Registry* registry = new Registry();
  return *registry;
}

// Takes the threads that have ended out of the registry; the caller holds
// its mutex and joins them after letting go of it.
std::list<Thread> TakeEndedLocked(Registry& r) {
  std::list<Thread> ended;
  for (auto it = r.threads.begin(); it != r.threads.end();) {
    const auto next = std::next(it);
    if (it->ended) ended.splice(ended.end(), r.threads, it);
    it = next;
  }
  return ended;
}

void JoinAll(std::list<Thread>& ended) {
  for (Thread& t : ended) t.thread.join();
}

void MarkEnded(std::list<Thread>::iterator self) {
  Registry& r = TheRegistry();
  std::function<void()> wake;
  {
    std::lock_guard<std::mutex> lock(r.mutex);
    self->ended = true;
    wake.swap(self->wake);
  }
  r.threadEnded.notify_all();
  // `wake` and what it holds go here, on the ending thread, unlocked.
}

void Stop() {
  Registry& r = TheRegistry();
  const std::thread::id me = std::this_thread::get_id();
  std::vector<std::function<void()>> wakes;
  {
    std::lock_guard<std::mutex> lock(r.mutex);
    r.stopping = true;
    for (const Thread& t : r.threads) {
      if (!t.ended) wakes.push_back(t.wake);
    }
  }
  for (const std::function<void()>& wake : wakes) wake();
  wakes.clear();
  std::list<Thread> ended;
  {
    std::unique_lock<std::mutex> lock(r.mutex);
    // A library thread that called exit() itself cannot be waited for.
    const bool allEnded = r.threadEnded.wait_for(lock, kStopWait, [&] {
      for (const Thread& t : r.threads) {
        if (!t.ended && t.thread.get_id() != me) return false;
      }
      return true;
    });
    if (!allEnded) VARNIO_LOG(2, "a library thread is still running at exit");
    ended = TakeEndedLocked(r);
  }
  // Joined, not just ended: a thread's exit still runs the TLS library's
  // per-thread clean-up, which must be over before its exit handlers run.
  JoinAll(ended);
}

void SetUp() {
  curl_global_init(CURL_GLOBAL_DEFAULT);
  // Exit handlers run last registered first: this one before the TLS
  // library's, which curl_global_init has just registered.
  if (std::atexit(Stop) != 0) VARNIO_LOG(3, "cannot install the library's stop at exit");
}

}  // namespace

void Start() {
  static std::once_flag once;
  std::call_once(once, SetUp);
}

StartResult StartThread(std::function<void()> body, std::function<void()> wake) {
  Registry& r = TheRegistry();
  std::lock_guard<std::mutex> lock(r.mutex);
  if (r.stopping) return StartResult::kStopping;
  // Threads that ended earlier are joined by the new one, not here on the
  // caller's thread.
  auto ended = std::make_shared<std::list<Thread>>(TakeEndedLocked(r));
  r.threads.emplace_back();
  const auto self = std::prev(r.threads.end());
  self->wake = std::move(wake);
  try {
    self->thread = std::thread([self, ended, body = std::move(body)]() mutable {
      JoinAll(*ended);
      ended.reset();
      body();
      body = nullptr;  // what it holds goes before the thread counts as ended
      MarkEnded(self);
    });
  } catch (const std::system_error& error) {
    r.threads.erase(self);
    r.threads.splice(r.threads.end(), *ended);
    VARNIO_LOG(3, "cannot start a library thread: %s", error.what());
    return StartResult::kNoThread;
  }
  return StartResult::kStarted;
}

bool Stopping() { return TheRegistry().stopping.load(); }

}  // namespace library_life
