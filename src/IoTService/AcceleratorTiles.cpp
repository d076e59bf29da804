// Answering a tile request: the contents tiles before sign-in, the routine
// tiles after it.
#include <json/json.h>
#include <libintl.h>

#include <utility>

#include "IoTService.h"
#include "JsonAccess.h"
#include "Log.h"
#include "ServiceConstants.h"

void CIoTService::GetAcceleratorTiles() {
  VARNIO_TRACE();
  bool loggedIn;
  {
    // One hold of the lock: a sign-out cannot slip in between and leave a
    // request of the old session waiting for its routines.
    CAutoLock lock(m_StateLock);
    loggedIn = GetIsLoggedIn();
    if (loggedIn) m_bAsRequest = true;
  }
  if (loggedIn) {
    m_GetAfterLoginTiles();
    return;
  }
  m_Contents.RequestContentsList();
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
  if (!drop) service->m_GetBeforeLoginTiles(json);
}

void CIoTService::m_GetAfterLoginTiles() {
  VARNIO_TRACE();
  bool haveTiles;
  std::string json;
  {
    // Checked and written in one hold of the lock: a sign-out in between
    // would hand the caller an empty routine list.
    CAutoLock lock(m_StateLock);
    haveTiles = !m_vecRoutineTiles.empty();
    if (haveTiles) {
      m_bAsRequest = false;
      VARNIO_LOG(0, "generate routine list finished");
      json = m_MakeAfterLoginJson();
    }
  }
  if (haveTiles) {
    m_ExecuteResultCallback(IOT_SVC_CMD_GET_ACCELERATOR_TILES, json);
    return;
  }
  VARNIO_LOG(0, "generate routine list NOT finished");
  m_RefreshLocationAndRequestRoutines();
}

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
