// The caller's callbacks: one per result type and one per event type.
// Entries are copied under the lock and called after it is released, so a
// callback may register, unregister or ask for tiles itself.
#include "IoTService.h"
#include "Log.h"

namespace {

template <typename Map, typename Key>
stCallBack FindCallback(const ILock& lock, const Map& map, Key key) {
  CAutoLock guard(lock);
  auto it = map.find(key);
  return it == map.end() ? stCallBack() : it->second;
}

}  // namespace

bool CIoTService::RegisterResultCallback(iot_svc_cmd_type_e type, void (*callback)(std::string, void*),
                                         void* userData) {
  VARNIO_TRACE();
  if (static_cast<unsigned int>(type) > 1U) {
    VARNIO_LOG(1, "RegisterCallback() is failed.");
    return false;
  }
  CAutoLock lock(m_RegistryLock);
  stCallBack& entry = m_mapResultCallback[type];
  entry.pfnCallBack = callback;
  entry.pUserData = userData;
  return true;
}

void CIoTService::UnregisterResultCallback(iot_svc_cmd_type_e type) {
  VARNIO_TRACE();
  CAutoLock lock(m_RegistryLock);
  m_mapResultCallback.erase(type);
}

bool CIoTService::RegisterEventCallback(iot_svc_event_type_e type, void (*callback)(std::string, void*),
                                        void* userData) {
  VARNIO_LOG(0, "CIoTService::RegisterEvent : event_type : %d", static_cast<int>(type));
  if (type != IOT_SVC_EVENT_TILES_CHANGED) {
    VARNIO_LOG(0, "Undefined Event Type !!!");
    return false;
  }
  CAutoLock lock(m_RegistryLock);
  stCallBack& entry = m_mapEventCallback[type];
  entry.pfnCallBack = callback;
  entry.pUserData = userData;
  return true;
}

void CIoTService::UnregisterEventCallback(iot_svc_event_type_e type) {
  if (type != IOT_SVC_EVENT_TILES_CHANGED) return;
  CAutoLock lock(m_RegistryLock);
  m_mapEventCallback.erase(type);
}

void CIoTService::m_ExecuteResultCallback(iot_svc_cmd_type_e type, const std::string& msg) {
  VARNIO_LOG(0, "[m_ExecuteResultCallback] msgType : %d", static_cast<int>(type));
  const stCallBack entry = FindCallback(m_RegistryLock, m_mapResultCallback, type);
  if (entry.pfnCallBack != nullptr) entry.pfnCallBack(msg, entry.pUserData);
  VARNIO_LOG(0, "msg : %s", msg.c_str());
}

void CIoTService::m_ExecuteEventCallback(iot_svc_event_type_e type, const std::string& msg) {
  VARNIO_LOG(0, "[m_ExecuteEventCallback] eventType : %d", static_cast<int>(type));
  const stCallBack entry = FindCallback(m_RegistryLock, m_mapEventCallback, type);
  if (entry.pfnCallBack != nullptr) entry.pfnCallBack(msg, entry.pUserData);
}
