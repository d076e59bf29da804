// The home screen as a caller of the library: it registers its two callbacks
// through the exported API and queues what arrives, whatever thread it
// arrives on, for the demo's main thread to take in order.
#ifndef VARNIO_TOOLS_DEMO_HOME_SCREEN_H_
#define VARNIO_TOOLS_DEMO_HOME_SCREEN_H_

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

namespace demo {

struct Arrival {
  std::string text;
  bool onCallerThread = false;  // delivered inside the caller's own call
};

class HomeScreen {
 public:
  HomeScreen() : m_mainThread(std::this_thread::get_id()) {}
  ~HomeScreen();
  HomeScreen(const HomeScreen&) = delete;
  HomeScreen& operator=(const HomeScreen&) = delete;

  // Registers both callbacks; the first exported call starts the service.
  bool Connect();
  void Disconnect();

  void RequestTiles();

  // The next tile list, or false when none arrived within `timeout`.
  bool NextTileList(Arrival& out, std::chrono::milliseconds timeout);
  // The next TILES_CHANGED notice; `text` is what the event carried.
  bool NextTilesChanged(Arrival& out, std::chrono::milliseconds timeout);

  size_t PendingTileLists();
  size_t PendingTilesChanged();

 private:
  static void OnResult(std::string text, void* userData);
  static void OnEvent(std::string text, void* userData);
  void Push(std::deque<Arrival>& queue, std::string text);
  bool Pop(std::deque<Arrival>& queue, Arrival& out, std::chrono::milliseconds timeout);

  const std::thread::id m_mainThread;
  bool m_connected = false;
  std::mutex m_mutex;
  std::condition_variable m_arrived;
  std::deque<Arrival> m_tileLists;
  std::deque<Arrival> m_tilesChanged;
};

// Waits until the platform stand-ins have delivered everything queued so
// far; a notification may cause framework traffic and the other way round.
void SettlePlatform();

}  // namespace demo

#endif  // VARNIO_TOOLS_DEMO_HOME_SCREEN_H_
