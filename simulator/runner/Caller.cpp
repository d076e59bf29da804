#include "Caller.h"

#include <utility>

#include "varnio.h"

namespace scenario {
namespace {

// Set while this thread is inside the caller's own tile request, so that a
// list delivered within it can be told from one delivered later.
thread_local bool t_insideRequest = false;

}  // namespace

Caller::~Caller() { Stop(); }

bool Caller::Start() {
  // The event callback first: the start's own notice may come at once.
  m_started = iot_svc_register_event_cb(IOT_SVC_EVENT_TILES_CHANGED, &Caller::OnEvent, this) &&
              iot_svc_register_result_cb(IOT_SVC_CMD_GET_ACCELERATOR_TILES, &Caller::OnResult, this);
  return m_started;
}

void Caller::Stop() {
  if (!m_started) return;
  iot_svc_unregister_result_cb(IOT_SVC_CMD_GET_ACCELERATOR_TILES);
  iot_svc_unregister_event_cb(IOT_SVC_EVENT_TILES_CHANGED);
  m_started = false;
}

void Caller::RequestTiles() {
  const bool outer = t_insideRequest;
  t_insideRequest = true;
  iot_svc_get_accelerator_tiles();
  t_insideRequest = outer;
}

std::vector<Arrival> Caller::TakeArrivals() {
  std::lock_guard<std::mutex> lock(m_mutex);
  return std::exchange(m_arrivals, {});
}

void Caller::OnResult(std::string text, void* userData) {
  static_cast<Caller*>(userData)->Record(Arrival::Kind::kRow, std::move(text));
}

void Caller::OnEvent(std::string text, void* userData) {
  Caller* caller = static_cast<Caller*>(userData);
  caller->Record(Arrival::Kind::kNotice, std::move(text));
  if (!caller->m_askOnNotice) return;
  caller->Record(Arrival::Kind::kAsked, std::string());
  caller->RequestTiles();
}

void Caller::Record(Arrival::Kind kind, std::string text) {
  Arrival arrival;
  arrival.kind = kind;
  arrival.text = std::move(text);
  arrival.insideRequest = t_insideRequest;
  arrival.at = std::chrono::steady_clock::now();
  arrival.thread = std::this_thread::get_id();
  std::lock_guard<std::mutex> lock(m_mutex);
  m_arrivals.push_back(std::move(arrival));
}

}  // namespace scenario
