// Requests to the framework, its answers, and the pending flags that decide
// what the caller is told once a new routine list is in place.
#include <utility>
#include <vector>

#include "IoTService.h"
#include "LibraryLog.h"
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
    if (!m_AcceptsRoutinesLocked()) {
      VARNIO_LOG(1, "routine list while signed out: dropped");
      return;
    }
    m_RoutineRow.Replace(std::move(tiles));
  }
  m_CheckCanCallCB("routine");
}

bool CIoTService::m_AcceptsRoutinesLocked() const {
  // Signed out with no sign-in pending, a list or a change can only be a
  // late one of the session that ended: kept, it would be shown to whoever
  // signs in next.
  return m_bIsLoggedIn || m_bAsEvent;
}

void CIoTService::m_OnLoginResult(const std::string& result) {
  bool needRoutines = false;
  bool signedOut = false;
  {
    // The answer is taken in and acted on in one hold: a sign-out event in
    // between would otherwise be undone by a request for its routines.
    CAutoLock lock(m_StateLock);
    const bool wasLoggedIn = m_bIsLoggedIn;
    m_UpdateLoginStatus(result);
    const bool loggedIn = GetIsLoggedIn();
    if (loggedIn && m_RoutineRow.Empty()) {
      m_bAsEvent = true;
      needRoutines = true;
    }
    // Found signed out while signed in, or while a sign-in waited for its
    // routines: as a sign-out event would have told, the session is over.
    if (!loggedIn && (wasLoggedIn || m_bAsEvent)) {
      m_EndSessionLocked();
      signedOut = wasLoggedIn;
    }
  }
  if (signedOut) m_ExecuteEventCallback(IOT_SVC_EVENT_TILES_CHANGED, "");
  if (needRoutines) m_RefreshLocationAndRequestRoutines();
}

CIoTService::PendingAction CIoTService::m_TakePendingAction() {
  // Each flag is cleared as it is taken, before its action runs: the action
  // may request the routine list again, and a synchronous answer must not
  // find the same flag still pending.
  CAutoLock lock(m_StateLock);
  if (m_bAsEvent) {
    m_bAsEvent = false;
    // In the same hold: a sign-out between taking the sign-in and marking it
    // would leave a signed-in user without routines.
    m_UpdateLoginStatus(true);
    return PendingAction::kLoginEvent;
  }
  if (m_bAsRequest) {
    m_bAsRequest = false;
    return PendingAction::kTileRequest;
  }
  if (m_nAsUpdate > 0) {
    --m_nAsUpdate;
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
    case PendingAction::kUpdateEvent:
      m_ExecuteEventCallback(IOT_SVC_EVENT_TILES_CHANGED, "");
      break;
    case PendingAction::kTileRequest:
      m_GetAfterLoginTiles();
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
