// Requests to the framework, its answers, and the pending flags that decide
// what the caller is told once a new routine list is in place.
#include <utility>
#include <vector>

#include "IoTService.h"
#include "Log.h"
#include "ServiceConstants.h"

void CIoTService::m_RequestLoginStatus() {
  VARNIO_LOG(0, "RequestLoginStatus()");
  m_pIoTFramework->RequestLoginInfo();
}

void CIoTService::m_RequestRoutineList() {
  VARNIO_TRACE();
  std::string locationId;
  {
    CAutoLock lock(m_StateLock);
    locationId = m_strLocationId;
  }
  m_pIoTFramework->RequestData(static_cast<_EIFW_REQUEST_COMMAND>(kCommandRoutineList), locationId);
}

void CIoTService::m_RefreshLocationAndRequestRoutines() {
  // Asked outside the lock: the framework may call straight back.
  std::string locationId = m_pIoTFramework->GetCurrentLocation();
  {
    CAutoLock lock(m_StateLock);
    m_strLocationId = std::move(locationId);
  }
  m_RequestRoutineList();
}

void CIoTService::m_OnFwkResult(_EIFW_REQUEST_COMMAND command, const std::string& result, void* userData) {
  CIoTService* service = static_cast<CIoTService*>(userData);
  const int commandNumber = static_cast<int>(command);
  VARNIO_LOG(0, "msgType : %d", commandNumber);
  switch (commandNumber) {
    case kCommandRoutineList:
      service->m_OnRoutineListResult(result);
      break;
    case kCommandExecuteRoutine:
      service->m_CheckExecuteResult(result);
      break;
    case kCommandLoginInfo:
      service->m_OnLoginResult(result);
      break;
    default:
      break;
  }
}

void CIoTService::m_OnRoutineListResult(const std::string& result) {
  // Parsed outside the lock; only the swap of the finished list is guarded.
  std::vector<stTileItem> tiles;
  m_JsonParseUtil.ParseRoutineList(result, tiles);
  {
    CAutoLock lock(m_StateLock);
    m_vecRoutineTiles.swap(tiles);
  }
  m_CheckCanCallCB("routine");
}

void CIoTService::m_OnLoginResult(const std::string& result) {
  m_UpdateLoginStatus(result);
  const bool loggedIn = GetIsLoggedIn();
  bool needRoutines = false;
  {
    CAutoLock lock(m_StateLock);
    if (loggedIn && m_vecRoutineTiles.empty()) {
      m_bAsEvent = true;
      needRoutines = true;
    }
  }
  if (needRoutines) m_RefreshLocationAndRequestRoutines();
}

CIoTService::PendingAction CIoTService::m_TakePendingAction() {
  // Each flag is cleared as it is taken, before its action runs: the action
  // may request the routine list again, and a synchronous answer must not
  // find the same flag still pending.
  CAutoLock lock(m_StateLock);
  if (m_bAsEvent) {
    m_bAsEvent = false;
    return PendingAction::kLoginEvent;
  }
  if (m_bAsRequest) {
    m_bAsRequest = false;
    return PendingAction::kTileRequest;
  }
  if (m_bAsUpdate) {
    m_bAsUpdate = false;
    return PendingAction::kUpdateEvent;
  }
  return PendingAction::kNone;
}

// cppcheck-suppress passedByValue ; the class's published signature takes texts by value
void CIoTService::m_CheckCanCallCB(std::string kind) {
  VARNIO_TRACE();
  if (kind != "routine") return;
  switch (m_TakePendingAction()) {
    case PendingAction::kLoginEvent:
      m_UpdateLoginStatus(true);
      m_ExecuteEventCallback(IOT_SVC_EVENT_TILES_CHANGED, "");
      break;
    case PendingAction::kTileRequest:
      m_GetAfterLoginTiles();
      break;
    case PendingAction::kUpdateEvent:
      m_ExecuteEventCallback(IOT_SVC_EVENT_TILES_CHANGED, "");
      break;
    case PendingAction::kNone:
      break;
  }
}

// cppcheck-suppress passedByValue ; the class's published signature takes texts by value
void CIoTService::m_CheckExecuteResult(std::string result) {
  VARNIO_TRACE();
  std::string detail;
  if (m_JsonParseUtil.ParseExecuteResult(result, detail)) {
    VARNIO_LOG(0, "Execute success!");
  } else {
    VARNIO_LOG(0, "Execute Fail!");
  }
}
