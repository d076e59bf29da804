// Account changes the framework reports without being asked: sign-in,
// sign-out, refresh, and cloud events about single routines.
#include <json/json.h>

#include <functional>
#include <vector>

#include "IoTService.h"
#include "JsonAccess.h"
#include "LibraryLog.h"
#include "ServiceConstants.h"

void CIoTService::m_OnFwkEvent(_EIFW_EVENT_TYPE type, const std::string& text, void* userData) {
  CIoTService* service = static_cast<CIoTService*>(userData);
  const int eventType = static_cast<int>(type);
  VARNIO_LOG(0, "[m_OnFwkEvent] eventType %d", eventType);
  switch (eventType) {
    case kEventSignedIn:
      service->m_OnSignedIn();
      break;
    case kEventSignedOut:
      service->m_OnSignedOut();
      break;
    case kEventNone:
      break;
    case kEventCloud:
      service->m_ClassifyEvent(text);
      break;
    case kEventRefresh:
      service->m_OnRefresh();
      break;
    default:
      VARNIO_LOG(0, "[m_OnFwkEvent] undefined event type!!!");
      break;
  }
}

// Events may come on several threads at once, so the order in which a
// sign-out and the next sign-in reach the service need not be the
// account's: each is followed by a sign-in state asked after it, which
// settles it.
void CIoTService::m_OnSignedIn() {
  bool wasLoggedIn;
  {
    CAutoLock lock(m_StateLock);
    // Whoever was signed in before is gone: the new account may be another.
    wasLoggedIn = m_bIsLoggedIn;
    m_EndSessionLocked();
    m_LoginAnswers.AccountChanged();
    m_bAsEvent = true;
  }
  if (wasLoggedIn) m_ExecuteEventCallback(IOT_SVC_EVENT_TILES_CHANGED, "");
  m_RefreshLocationAndRequestRoutines();
  m_RequestLoginStatus();
}

void CIoTService::m_OnSignedOut() {
  {
    CAutoLock lock(m_StateLock);
    m_EndSessionLocked();
    m_LoginAnswers.AccountChanged();
  }
  m_ExecuteEventCallback(IOT_SVC_EVENT_TILES_CHANGED, "");
  m_RequestLoginStatus();
}

void CIoTService::m_EndSessionLocked() {
  m_RoutineRow.Clear();
  // Both belong to the session that just ended: a routine list or routine
  // change arriving late for it must neither mark the user signed in again
  // nor hand that account's routines to a signed-out caller.
  m_bAsEvent = false;
  m_bAsRequest = false;
  m_ListAnswers.AccountChanged();
  m_ListAnswers.Unwanted();
  // Signed out in the same hold (the lock is recursive), so no tile request
  // sees a signed-in user without tiles and waits for a list of the old
  // session.
  m_UpdateLoginStatus(false);
}

void CIoTService::m_OnRefresh() {
  {
    CAutoLock lock(m_StateLock);
    ++m_nAsUpdate;
    m_ListAnswers.AccountChanged();
  }
  m_RefreshLocationAndRequestRoutines();
}

void CIoTService::m_ClassifyEvent(std::string text) {
  VARNIO_LOG(0, "strResult : %s", text.c_str());
  Json::Value root;
  varnio_json::Parse(text, root);
  // An "event" that is not an object reads as one without members.
  const Json::Value event = varnio_json::Member(root, "event");
  const std::string name = varnio_json::MemberString(event, "name");
  const std::string id = varnio_json::MemberString(event, "installedVelkapId");
  const std::string data = varnio_json::MemberString(event, "data");

  if (name == "InstalledVelkapUpdated") {
    VARNIO_LOG(0, "routine updated");
    m_UpdateRoutine(id, data);
  } else if (name == "InstalledVelkapCreated") {
    VARNIO_LOG(0, "routine created");
    m_AddRoutine(id, data);
  } else if (name == "InstalledVelkapDeleted") {
    VARNIO_LOG(0, "routine deleted");
    m_DeleteRoutine(id, data);
  }
}

// A routine change is applied at once only where it can touch nothing but
// the routines held: a rename or a deletion of one of them. Events name no
// account either, so a creation could be a late one of an account that
// signed out; and several may come at once in another order than the
// cloud's. Every change is therefore also confirmed by reading the list
// again, and a creation shows with that list.
// cppcheck-suppress passedByValue ; the class's published signature takes texts by value
void CIoTService::m_UpdateRoutine(std::string id, std::string data) {
  VARNIO_LOG(0, "strData : %s", data.c_str());
  m_ChangeRoutines([&](std::vector<stTileItem>& tiles) { m_JsonParseUtil.UpdateRoutine(id, data, tiles); });
}

// cppcheck-suppress passedByValue ; the class's published signature takes texts by value
void CIoTService::m_DeleteRoutine(std::string id, std::string data) {
  VARNIO_LOG(0, "strData : %s", data.c_str());
  m_ChangeRoutines([&](std::vector<stTileItem>& tiles) { m_JsonParseUtil.DeleteRoutine(id, tiles); });
}

// The new routine itself comes with the list read again.
// cppcheck-suppress passedByValue ; the class's published signature takes texts by value
void CIoTService::m_AddRoutine(std::string /*id*/, std::string data) {
  VARNIO_LOG(0, "strData : %s", data.c_str());
  m_ChangeRoutines(nullptr);
}

void CIoTService::m_ChangeRoutines(const std::function<void(std::vector<stTileItem>&)>& edit) {
  bool applied = false;
  {
    CAutoLock lock(m_StateLock);
    if (!m_AcceptsRoutinesLocked()) {
      VARNIO_LOG(1, "routine change while signed out: dropped");
      return;
    }
    m_ListAnswers.AccountChanged();
    if (edit && m_RoutineRow.Held()) {
      m_RoutineRow.Change(edit);
      ++m_nAsUpdate;
      applied = true;
    }
  }
  if (applied) m_CheckCanCallCB("routine");
  m_RefreshLocationAndRequestRoutines();
}
