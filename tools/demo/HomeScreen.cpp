#include "HomeScreen.h"

#include <IoTFrameworkSim.h>
#include <device/power_sim.h>
#include <vconf_sim.h>

#include <utility>

#include "varnio.h"

namespace demo {

HomeScreen::~HomeScreen() { Disconnect(); }

bool HomeScreen::Connect() {
  m_connected = iot_svc_register_result_cb(IOT_SVC_CMD_GET_ACCELERATOR_TILES, &HomeScreen::OnResult, this) &&
                iot_svc_register_event_cb(IOT_SVC_EVENT_TILES_CHANGED, &HomeScreen::OnEvent, this);
  return m_connected;
}

void HomeScreen::Disconnect() {
  if (!m_connected) return;
  iot_svc_unregister_result_cb(IOT_SVC_CMD_GET_ACCELERATOR_TILES);
  iot_svc_unregister_event_cb(IOT_SVC_EVENT_TILES_CHANGED);
  m_connected = false;
}

void HomeScreen::RequestTiles() { iot_svc_get_accelerator_tiles(); }

bool HomeScreen::NextTileList(Arrival& out, std::chrono::milliseconds timeout) {
  return Pop(m_tileLists, out, timeout);
}

bool HomeScreen::NextTilesChanged(Arrival& out, std::chrono::milliseconds timeout) {
  return Pop(m_tilesChanged, out, timeout);
}

size_t HomeScreen::PendingTileLists() {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_tileLists.size();
}

size_t HomeScreen::PendingTilesChanged() {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_tilesChanged.size();
}

void HomeScreen::OnResult(std::string text, void* userData) {
  HomeScreen* screen = static_cast<HomeScreen*>(userData);
  screen->Push(screen->m_tileLists, std::move(text));
}

void HomeScreen::OnEvent(std::string text, void* userData) {
  HomeScreen* screen = static_cast<HomeScreen*>(userData);
  screen->Push(screen->m_tilesChanged, std::move(text));
}

void HomeScreen::Push(std::deque<Arrival>& queue, std::string text) {
  Arrival arrival;
  arrival.text = std::move(text);
  arrival.onCallerThread = std::this_thread::get_id() == m_mainThread;
  std::lock_guard<std::mutex> lock(m_mutex);
  queue.push_back(std::move(arrival));
  m_arrived.notify_all();
}

bool HomeScreen::Pop(std::deque<Arrival>& queue, Arrival& out, std::chrono::milliseconds timeout) {
  std::unique_lock<std::mutex> lock(m_mutex);
  if (!m_arrived.wait_for(lock, timeout, [&queue] { return !queue.empty(); })) return false;
  out = std::move(queue.front());
  queue.pop_front();
  return true;
}

void SettlePlatform() {
  for (int round = 0; round < 2; ++round) {
    vconf_sim::WaitIdle();
    power_sim::WaitIdle();
    iotfw_sim::WaitIdle();
  }
}

}  // namespace demo
