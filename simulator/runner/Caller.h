// The home screen a scenario plays: it registers both callbacks before its
// first request, as callers should, answers a notice by asking again (unless
// told not to), and records everything that reaches it, in order, whatever
// thread it arrives on.
#ifndef VARNIO_SIMULATOR_RUNNER_CALLER_H_
#define VARNIO_SIMULATOR_RUNNER_CALLER_H_

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace scenario {

struct Arrival {
  enum class Kind {
    kRow,     // a tile list at the result callback
    kNotice,  // IOT_SVC_EVENT_TILES_CHANGED
    kAsked,   // the caller asked again, answering a notice
  };
  Kind kind = Kind::kRow;
  std::string text;
  bool insideRequest = false;  // delivered inside the caller's own tile request
  std::chrono::steady_clock::time_point at;
  std::thread::id thread;  // it arrived on
};

class Caller {
 public:
  Caller() = default;
  ~Caller();
  Caller(const Caller&) = delete;
  Caller& operator=(const Caller&) = delete;

  // Registers both callbacks; the first registration starts the service.
  bool Start();
  void Stop();

  void RequestTiles();
  void SetAskOnNotice(bool ask) { m_askOnNotice = ask; }

  // What arrived since the last call, in order.
  std::vector<Arrival> TakeArrivals();

 private:
  static void OnResult(std::string text, void* userData);
  static void OnEvent(std::string text, void* userData);
  void Record(Arrival::Kind kind, std::string text);

  bool m_started = false;
  std::atomic<bool> m_askOnNotice{true};
  std::mutex m_mutex;
  std::vector<Arrival> m_arrivals;
};

}  // namespace scenario

#endif  // VARNIO_SIMULATOR_RUNNER_CALLER_H_
