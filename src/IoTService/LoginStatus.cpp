// Whether the user is signed in: kept in one flag, set from the framework's
// sign-in answer.
#include <json/json.h>

#include "IoTService.h"
#include "JsonAccess.h"
#include "LibraryLog.h"

bool CIoTService::GetIsLoggedIn() {
  bool loggedIn;
  {
    CAutoLock lock(m_StateLock);
    loggedIn = m_bIsLoggedIn;
  }
  VARNIO_LOG(0, "GetIsLoggedIn() : %d", loggedIn ? 1 : 0);
  return loggedIn;
}

void CIoTService::m_UpdateLoginStatus(bool loggedIn) {
  VARNIO_TRACE();
  CAutoLock lock(m_StateLock);
  m_bIsLoggedIn = loggedIn;
}

void CIoTService::m_UpdateLoginStatus(const std::string& answer) {
  VARNIO_TRACE();
  VARNIO_LOG(0, "string : %s", answer.c_str());
  Json::Value root;
  varnio_json::Parse(answer, root);
  // Anything but an object whose "result" is the text "Success" means signed out.
  const std::string result = varnio_json::MemberString(root, "result");
  VARNIO_LOG(0, "result : %s", result.c_str());
  const bool loggedIn = result == "Success";
  {
    CAutoLock lock(m_StateLock);
    m_bIsLoggedIn = loggedIn;
  }
  if (loggedIn) VARNIO_LOG(0, "m_UpdateLoginStatus : %d", 1);
}
