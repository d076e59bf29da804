// Requests to the framework, its answers, and the pending flags that decide
// what the caller is told once a new routine list is in place.
#include <json/json.h>

#include <memory>
#include <utility>
#include <vector>

#include "IoTService.h"
#include "JsonAccess.h"
#include "LibraryLog.h"
#include "ServiceConstants.h"

void CIoTService::m_RequestLoginStatus() {
  VARNIO_LOG(0, "RequestLoginStatus()");
  {
    // Counted before the call: the answer may come within it.
    CAutoLock lock(m_StateLock);
    m_LoginAnswers.Asked(CAnswerBook::Clock::now());
  }
  m_AnswerTimer.Start();
  m_pIoTFramework->RequestLoginInfo();
}

void CIoTService::m_RequestRoutineList() {
  VARNIO_TRACE();
  std::string locationId;
  {
    CAutoLock lock(m_StateLock);
    locationId = m_strLocationId;
    m_ListAnswers.Asked(CAnswerBook::Clock::now());
  }
  m_AnswerTimer.Start();
  m_pIoTFramework->RequestData(static_cast<_EIFW_REQUEST_COMMAND>(kCommandRoutineList), locationId);
}

void CIoTService::m_RefreshLocationAndRequestRoutines() {
  // Asked outside the lock: the framework may call straight back.
  std::string locationId = m_pIoTFramework->GetCurrentLocation();
  {
    CAutoLock lock(m_StateLock);
    // Lists asked for another location may still come, and name none.
    if (locationId != m_strLocationId && !m_strLocationId.empty()) m_ListAnswers.AccountChanged();
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
  // Parsed outside the lock; only taking the finished list in is guarded.
  std::vector<stTileItem> tiles;
  m_JsonParseUtil.ParseRoutineList(result, tiles);
  bool askAgain = false;
  bool taken = false;
  bool changed = false;
  {
    CAutoLock lock(m_StateLock);
    const CAnswerBook::Verdict verdict = m_ListAnswers.Take(result);
    if (verdict != CAnswerBook::Verdict::kUse) {
      VARNIO_LOG(1, "routine list not used: it may answer a request made before the account changed, or none");
      askAgain = verdict == CAnswerBook::Verdict::kAskAgain;
    } else if (!m_AcceptsRoutinesLocked()) {
      VARNIO_LOG(1, "routine list while signed out: dropped");
    } else {
      const std::shared_ptr<const std::string> before = m_RoutineRow.Text();
      m_RoutineRow.Replace(std::move(tiles));
      changed = before == nullptr || *before != *m_RoutineRow.Text();
      taken = true;
    }
  }
  if (askAgain) m_RefreshLocationAndRequestRoutines();
  m_StopTimerIfNothingWanted();
  if (!taken) return;
  // A list that changes the row is news even when nothing waited for it.
  if (!m_CheckCanCallCB("routine") && changed) m_ExecuteEventCallback(IOT_SVC_EVENT_TILES_CHANGED, "");
}

bool CIoTService::m_AcceptsRoutinesLocked() const {
  // Signed out with no sign-in pending, a list or a change can only be a
  // late one of the session that ended: kept, it would be shown to whoever
  // signs in next.
  return m_bIsLoggedIn || m_bAsEvent;
}

namespace {

// What a sign-in answer says, without the log lines of taking it in.
bool SaysSignedIn(const std::string& answer) {
  Json::Value root;
  varnio_json::Parse(answer, root);
  return varnio_json::MemberString(root, "result") == "Success";
}

}  // namespace

void CIoTService::m_OnLoginResult(const std::string& result) {
  bool needRoutines = false;
  bool signedOut = false;
  bool askAgain = false;
  {
    // The answer is taken in and acted on in one hold: a sign-out event in
    // between would otherwise be undone by a request for its routines.
    CAutoLock lock(m_StateLock);
    const bool signedIn = SaysSignedIn(result);
    const CAnswerBook::Verdict verdict = m_LoginAnswers.Take(signedIn ? "signed in" : "signed out");
    if (verdict != CAnswerBook::Verdict::kUse) {
      VARNIO_LOG(1, "sign-in answer not used: it may answer a request made before the account changed, or none");
      askAgain = verdict == CAnswerBook::Verdict::kAskAgain;
    } else if (m_bAsEvent && signedIn) {
      // A sign-in the framework told of is complete when its routines come.
    } else {
      const bool wasLoggedIn = m_bIsLoggedIn;
      m_UpdateLoginStatus(result);
      const bool loggedIn = GetIsLoggedIn();
      if (loggedIn && !m_RoutineRow.Held() && !m_bAsEvent) {
        m_bAsEvent = true;
        m_ListAnswers.AccountChanged();
        m_LoginAnswers.AccountChanged();
        needRoutines = true;
      }
      // Found signed out while signed in, or while a sign-in waited for its
      // routines: as a sign-out event would have told, the session is over.
      if (!loggedIn && (wasLoggedIn || m_bAsEvent)) {
        m_EndSessionLocked();
        m_LoginAnswers.AccountChanged();
        signedOut = wasLoggedIn;
      }
    }
  }
  if (askAgain) m_RequestLoginStatus();
  if (signedOut) m_ExecuteEventCallback(IOT_SVC_EVENT_TILES_CHANGED, "");
  if (needRoutines) m_RefreshLocationAndRequestRoutines();
  m_StopTimerIfNothingWanted();
}

void CIoTService::m_OnAnswerOverdue() {
  bool login = false;
  bool list = false;
  {
    CAutoLock lock(m_StateLock);
    const CAnswerBook::Clock::time_point now = CAnswerBook::Clock::now();
    login = m_LoginAnswers.Overdue(now, m_AnswerTimer.Wait());
    list = m_ListAnswers.Overdue(now, m_AnswerTimer.Wait());
  }
  if (login) {
    VARNIO_LOG(1, "no sign-in answer came in time: asked again");
    m_RequestLoginStatus();
  }
  if (list) {
    VARNIO_LOG(1, "no routine list came in time: asked again");
    m_RefreshLocationAndRequestRoutines();
  }
}

void CIoTService::m_StopTimerIfNothingWanted() {
  bool wanted;
  {
    CAutoLock lock(m_StateLock);
    wanted = m_LoginAnswers.Wanted() || m_ListAnswers.Wanted();
  }
  if (!wanted) m_AnswerTimer.Stop();
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
bool CIoTService::m_CheckCanCallCB(std::string kind) {
  VARNIO_TRACE();
  if (kind != "routine") return false;
  switch (m_TakePendingAction()) {
    case PendingAction::kLoginEvent:
    case PendingAction::kUpdateEvent:
      m_ExecuteEventCallback(IOT_SVC_EVENT_TILES_CHANGED, "");
      return true;
    case PendingAction::kTileRequest:
      m_GetAfterLoginTiles();
      return true;
    case PendingAction::kNone:
      break;
  }
  return false;
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
