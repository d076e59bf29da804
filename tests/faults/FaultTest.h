// Fixture of the fault suite. Each test provokes one fault through the
// exported functions and the stand-ins' controls, then ends with the same
// checks: nothing hung (a watchdog ends a stuck test with a message instead of
// letting it run into the harness timeout), no thread the fault started is
// left, and the service still answers the next tile request correctly.
#ifndef VARNIO_TESTS_FAULT_TEST_H_
#define VARNIO_TESTS_FAULT_TEST_H_

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "ContentsTiles.h"
#include "ServiceTest.h"
#include "ThreadCount.h"

// Ends the process if not disarmed in time: a deadlocked test cannot be
// unwound, and every wait below it would block for ever.
class Watchdog {
 public:
  explicit Watchdog(std::chrono::seconds limit);
  ~Watchdog();  // disarms
  Watchdog(const Watchdog&) = delete;
  Watchdog& operator=(const Watchdog&) = delete;

 private:
  std::mutex m_mutex;
  std::condition_variable m_disarmed;
  bool m_done = false;
  std::thread m_thread;
};

class FaultTest : public ServiceTest {
 protected:
  void TearDown() override;

  // Signed in: a tile request yields the after-sign-in list with `ids`. A
  // caller that hears its tiles changed asks once more, as a home screen does.
  void ExpectRoutineTiles(const std::vector<std::string>& ids);
  // Signed out: a tile request yields exactly one before-sign-in list, whose
  // tile ids are the four fixed ones.
  void ExpectContentsTiles();
  // Every thread started since the service settled has ended (bounded wait).
  void ExpectNoThreadLeft();

 private:
  Watchdog watchdog_{std::chrono::seconds(90)};
};

// The most threads the process had while it ran, itself not counted.
class ThreadPeak {
 public:
  ThreadPeak();
  ~ThreadPeak();
  ThreadPeak(const ThreadPeak&) = delete;
  ThreadPeak& operator=(const ThreadPeak&) = delete;
  int Stop();

 private:
  std::atomic<bool> m_stop{false};
  std::atomic<int> m_peak{0};
  std::thread m_thread;
};

// Framework command and event ids the tests answer or inject.
constexpr int kLogin = 102;
constexpr int kRoutineList = 107;
constexpr int kExecute = 111;
constexpr int kSignedIn = 1000;
constexpr int kSignedOut = 1001;
constexpr int kCloud = 1004;
constexpr int kRefresh = 1005;

inline constexpr char kSuccess[] = R"({"result":"Success"})";
// An account with two routines, and their ids in tile order.
inline const std::vector<iotfw_sim::Routine> kTwo = {{"a1", "Good Morning"}, {"b2", "Movie"}};
inline const std::vector<std::string> kTwoIds = {"a1", "b2"};

// Threads that contents downloads may add at most: the few request threads
// and their resolver threads.
constexpr int kDownloadThreadSlack = 12;

// How long a fault test waits for the threads a fault started to end.
constexpr std::chrono::seconds kThreadsEndWithin{20};

#endif  // VARNIO_TESTS_FAULT_TEST_H_
