// On wake-up from standby the account may have changed while the TV slept:
// ask again, and refresh the routines when still signed in.
#include <device/power.h>

#include "IoTService.h"
#include "LibraryLog.h"

void CIoTService::m_RegisterPowerCb() {
  VARNIO_TRACE();
  if (device_power_subscribe_wakeup(m_PowerWakeUpCb, this) != 0) {
    VARNIO_LOG(0, "Fail to subscribe wake-up callback");
    return;
  }
  m_bPowerSubscribed = true;
}

int CIoTService::m_PowerWakeUpCb(int, void* userData) {
  CIoTService* service = static_cast<CIoTService*>(userData);
  VARNIO_TRACE();
  const bool before = service->GetIsLoggedIn();
  {
    // The account may have changed while the TV slept: what was asked
    // before may be answered with what no longer holds.
    CAutoLock lock(service->m_StateLock);
    service->m_LoginAnswers.AccountChanged();
    service->m_ListAnswers.AccountChanged();
  }
  service->m_RequestLoginStatus();
  const bool after = service->GetIsLoggedIn();
  if (before != after) {
    VARNIO_LOG(0, "login status changed!");
    // The answer that signed the user out has cleared the routines and told
    // the caller already, whenever it arrives.
    if (!after) return 0;
  }
  bool routinesWanted;
  {
    CAutoLock lock(service->m_StateLock);
    if (after) ++service->m_nAsUpdate;
    // A sign-in that waits for its routines needs a list asked for now.
    routinesWanted = after || service->m_bAsEvent;
  }
  if (routinesWanted) service->m_RefreshLocationAndRequestRoutines();
  return 0;
}
