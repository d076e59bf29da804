// The home screen as the simulation plays it: registers both callbacks and
// then asks, asks again on every notice (on its UI thread, or inside the
// notice's callback), and keeps a record of everything it was handed.
#ifndef VARNIO_TESTS_SIMULATION_CALLER_H_
#define VARNIO_TESTS_SIMULATION_CALLER_H_

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "NotificationThread.h"
#include "TileList.h"

namespace sim {

using Clock = std::chrono::steady_clock;

// A tile list as the caller reads it: the four introduction tiles, the
// routines, or neither.
struct Row {
  enum Kind { kContents, kRoutines, kUnreadable } kind = kUnreadable;
  demo::TileList list;
  std::string json;
};

Row ReadRow(const std::string& json);

struct Delivery {
  uint64_t order;  // among every callback call, results and notices alike
  Row row;
  // When the library entry that produced it began on its thread (a call of
  // the caller's, a framework delivery); zero when not known.
  Clock::time_point origin;
};

// What the caller was handed and did.
struct Record {
  std::vector<Delivery> results;
  size_t notices = 0;
  // Requests that went the signed-out and the signed-in way, as seen from
  // outside; the requests made inside another request's callback are not
  // told apart from it and counted with it.
  int contentsCalls = 0;
  int routineCalls = 0;
  bool resultGap = false;  // a result could have been lost for want of a callback
  std::vector<std::string> violations;

  int Rows(Row::Kind kind) const {
    return static_cast<int>(
        std::count_if(results.begin(), results.end(), [kind](const Delivery& d) { return d.row.kind == kind; }));
  }
};

class Caller {
 public:
  // A `reentrant` caller answers notices inside the callback, and now and
  // then calls back in, dawdles or re-registers inside any callback.
  Caller(bool reentrant, uint64_t seed);
  ~Caller();
  Caller(const Caller&) = delete;
  Caller& operator=(const Caller&) = delete;

  // Registers the result callback, then the event callback.
  void Register();
  // Unregisters the result (0), event (1) or both (2) callbacks, checks that
  // no call of them runs or starts afterwards, registers anew and asks.
  void ReRegister(int which);
  void Ask();
  void WaitUiIdle() { m_ui.WaitIdle(); }
  // From now on the caller does nothing inside a callback but take note.
  void Calm() { m_calm = true; }

  Record Snapshot();
  void Violation(const std::string& what);

 private:
  struct Slot;
  class InCallback;
  static void OnResult(std::string text, void* userData);
  static void OnEvent(std::string text, void* userData);
  Slot* NewSlot(bool result);
  void Register(bool result);
  std::vector<Slot*> RegisteredSlots(bool result);
  void Unregistered(const std::vector<Slot*>& slots);
  void ActInside(bool result);

  const bool m_reentrant;
  const uint64_t m_seed;
  std::atomic<bool> m_calm{false};
  std::mutex m_mutex;
  std::deque<std::unique_ptr<Slot>> m_slots;  // kept for the whole run: late calls must find them
  Record m_record;
  uint64_t m_order = 0;
  NotificationThread m_ui;  // last: its tasks use the members above
};

}  // namespace sim

#endif  // VARNIO_TESTS_SIMULATION_CALLER_H_
