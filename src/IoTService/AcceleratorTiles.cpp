// Answering a tile request: the contents tiles before sign-in, the routine
// tiles after it.
#include <cstdint>
#include <memory>

#include "IoTService.h"
#include "LibraryLog.h"

void CIoTService::GetAcceleratorTiles() {
  VARNIO_TRACE();
  bool loggedIn;
  std::shared_ptr<const std::string> row;
  uint64_t version = 0;
  {
    // One hold of the lock decides the road: a sign-out cannot slip in and
    // leave a request of the old session waiting for its routines, and a
    // routine list arriving meanwhile cannot answer this request a second time.
    CAutoLock lock(m_StateLock);
    loggedIn = GetIsLoggedIn();
    if (loggedIn) {
      m_bAsRequest = true;
      row = m_TakeAfterLoginTiles(version);
    }
  }
  if (!loggedIn) {
    m_Contents.RequestContentsList();
  } else if (row != nullptr) {
    m_DeliverAfterLoginTiles(*row, version);
  } else {
    VARNIO_LOG(0, "generate routine list NOT finished");
    m_RefreshLocationAndRequestRoutines();
  }
}

void CIoTService::m_GetBeforeLoginTiles(const std::string& json) {
  m_ExecuteResultCallback(IOT_SVC_CMD_GET_ACCELERATOR_TILES, json);
}

void CIoTService::m_ContentsCb(const CContentsDelivery& delivery, void* userData) {
  CIoTService* service = static_cast<CIoTService*>(userData);
  VARNIO_TRACE();
  bool drop = false;
  {
    CAutoLock lock(service->m_StateLock);
    drop = service->m_nLanguageDrops > 0;
    if (drop) --service->m_nLanguageDrops;
  }
  if (drop) return;
  service->m_GetBeforeLoginTiles(delivery.Json());
  // Still the request's one answer, but already out of date if the user
  // signed in, the TV changed language or a newer list overtook this one
  // meanwhile: asked after delivering, so that a change landing during the
  // delivery is seen too.
  if (service->GetIsLoggedIn() || delivery.OutOfDate()) {
    service->m_ExecuteEventCallback(IOT_SVC_EVENT_TILES_CHANGED, "");
  }
}

void CIoTService::m_GetAfterLoginTiles() {
  VARNIO_TRACE();
  uint64_t version = 0;
  if (const std::shared_ptr<const std::string> row = m_TakeAfterLoginTiles(version)) {
    m_DeliverAfterLoginTiles(*row, version);
    return;
  }
  VARNIO_LOG(0, "generate routine list NOT finished");
  m_RefreshLocationAndRequestRoutines();
}

std::shared_ptr<const std::string> CIoTService::m_TakeAfterLoginTiles(uint64_t& version) {
  // Checked and taken in one hold of the lock: a sign-out in between would
  // hand the caller an empty routine list.
  CAutoLock lock(m_StateLock);
  std::shared_ptr<const std::string> row = m_RoutineRow.Text();
  if (row == nullptr) return nullptr;
  m_bAsRequest = false;
  VARNIO_LOG(0, "generate routine list finished");
  version = m_RoutineRow.Version();
  return row;
}

void CIoTService::m_DeliverAfterLoginTiles(const std::string& json, uint64_t version) {
  m_ExecuteResultCallback(IOT_SVC_CMD_GET_ACCELERATOR_TILES, json);
  // The routines may have changed while the row was on its way, and their
  // own notice may have reached the caller before the row did: the row is
  // its request's answer all the same, and the caller asks again.
  bool changed;
  {
    CAutoLock lock(m_StateLock);
    changed = m_RoutineRow.Version() != version;
  }
  if (changed) m_ExecuteEventCallback(IOT_SVC_EVENT_TILES_CHANGED, "");
}
