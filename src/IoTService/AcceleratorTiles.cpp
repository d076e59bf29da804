// Answering a tile request: the contents tiles before sign-in, the routine
// tiles after it.
#include <json/json.h>
#include <libintl.h>

#include <cstdint>
#include <utility>

#include "IoTService.h"
#include "JsonAccess.h"
#include "Log.h"
#include "ServiceConstants.h"

void CIoTService::GetAcceleratorTiles() {
  VARNIO_TRACE();
  bool loggedIn;
  bool haveTiles = false;
  std::string json;
  uint64_t version = 0;
  {
    // One hold of the lock decides the road: a sign-out cannot slip in and
    // leave a request of the old session waiting for its routines, and a
    // routine list arriving meanwhile cannot answer this request a second time.
    CAutoLock lock(m_StateLock);
    loggedIn = GetIsLoggedIn();
    if (loggedIn) {
      m_bAsRequest = true;
      haveTiles = m_TakeAfterLoginTiles(json, version);
    }
  }
  if (!loggedIn) {
    m_Contents.RequestContentsList();
  } else if (haveTiles) {
    m_DeliverAfterLoginTiles(json, version);
  } else {
    VARNIO_LOG(0, "generate routine list NOT finished");
    m_RefreshLocationAndRequestRoutines();
  }
}

void CIoTService::m_GetBeforeLoginTiles(const std::string& json) {
  m_ExecuteResultCallback(IOT_SVC_CMD_GET_ACCELERATOR_TILES, json);
}

// cppcheck-suppress passedByValue ; the contents callback type passes the text by value
void CIoTService::m_ContentsCb(std::string json, void* userData) {
  CIoTService* service = static_cast<CIoTService*>(userData);
  VARNIO_TRACE();
  bool drop = false;
  {
    CAutoLock lock(service->m_StateLock);
    drop = service->m_nLanguageDrops > 0;
    if (drop) --service->m_nLanguageDrops;
  }
  if (drop) return;
  service->m_GetBeforeLoginTiles(json);
  // Still the request's one answer, but already out of date if the user
  // signed in or the TV changed language meanwhile: asked after delivering,
  // so that a change landing during the delivery is seen too.
  if (service->GetIsLoggedIn() || !CContents::DeliveryMatchesLanguage()) {
    service->m_ExecuteEventCallback(IOT_SVC_EVENT_TILES_CHANGED, "");
  }
}

void CIoTService::m_GetAfterLoginTiles() {
  VARNIO_TRACE();
  std::string json;
  uint64_t version = 0;
  if (m_TakeAfterLoginTiles(json, version)) {
    m_DeliverAfterLoginTiles(json, version);
    return;
  }
  VARNIO_LOG(0, "generate routine list NOT finished");
  m_RefreshLocationAndRequestRoutines();
}

bool CIoTService::m_TakeAfterLoginTiles(std::string& json, uint64_t& version) {
  // Checked and written in one hold of the lock: a sign-out in between
  // would hand the caller an empty routine list.
  CAutoLock lock(m_StateLock);
  if (m_vecRoutineTiles.empty()) return false;
  m_bAsRequest = false;
  VARNIO_LOG(0, "generate routine list finished");
  json = m_MakeAfterLoginJson();
  version = m_nTilesVersion;
  return true;
}

void CIoTService::m_DeliverAfterLoginTiles(const std::string& json, uint64_t version) {
  m_ExecuteResultCallback(IOT_SVC_CMD_GET_ACCELERATOR_TILES, json);
  // The routines may have changed while the row was on its way, and their
  // own notice may have reached the caller before the row did: the row is
  // its request's answer all the same, and the caller asks again.
  bool changed;
  {
    CAutoLock lock(m_StateLock);
    changed = m_nTilesVersion != version;
  }
  if (changed) m_ExecuteEventCallback(IOT_SVC_EVENT_TILES_CHANGED, "");
}

void CIoTService::m_TilesChangedLocked() { ++m_nTilesVersion; }

// Takes the (recursive) state lock itself; callers may hold it already.
std::string CIoTService::m_MakeAfterLoginJson() {
  VARNIO_TRACE();
  Json::Value data(Json::arrayValue);
  {
    CAutoLock lock(m_StateLock);
    VARNIO_LOG(0, "routines.size() : %d", static_cast<int>(m_vecRoutineTiles.size()));
    for (const stTileItem& tile : m_vecRoutineTiles) {
      Json::Value item(Json::objectValue);
      item["type"] = "IOT_TILE_ROUTINE";
      item["id"] = tile.strID;
      item["name"] = tile.strName;
      item["image"] = tile.strImage;
      item["width"] = tile.strWidth;
      item["finish_image"] = tile.strFinishImage;
      item["timeout"] = tile.strTimeout;
      data.append(std::move(item));
    }
  }
  Json::Value section(Json::objectValue);
  section["title"] = dgettext(kTextDomain, kRoutinesTitleId);
  section["data"] = std::move(data);
  Json::Value root(Json::arrayValue);
  root.append(std::move(section));
  return varnio_json::ToStyledText(root);
}
