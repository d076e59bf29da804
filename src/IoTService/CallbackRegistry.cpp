// The caller's callbacks: one per result type and one per event type.
// Entries are copied under the lock and called after it is released, so a
// callback may register, unregister or ask for tiles itself. Each call is
// counted while it runs, so that unregistering can wait for it.
#include "IoTService.h"
#include "LibraryLog.h"

namespace {

// Calls of the caller's callbacks running on this thread.
thread_local int t_callbacksRunning = 0;

// Copies the entry for `key` and counts a call of it in flight.
template <typename Map, typename Counts, typename Key>
stCallBack FindCallback(std::mutex& mutex, const Map& map, Counts& inFlight, Key key) {
  std::lock_guard<std::mutex> guard(mutex);
  auto it = map.find(key);
  if (it == map.end() || it->second.pfnCallBack == nullptr) return stCallBack();
  ++inFlight[key];
  return it->second;
}

// Calls `entry` outside the lock; the count drops even if the callback throws.
template <typename Counts, typename Key>
void Call(const stCallBack& entry, const std::string& msg, std::mutex& mutex, std::condition_variable& idle,
          Counts& inFlight, Key key) {
  struct Done {
    std::mutex& mutex;
    std::condition_variable& idle;
    Counts& inFlight;
    Key key;
    ~Done() {
      --t_callbacksRunning;
      {
        std::lock_guard<std::mutex> guard(mutex);
        --inFlight[key];
      }
      idle.notify_all();
    }
  } done{mutex, idle, inFlight, key};
  ++t_callbacksRunning;
  entry.pfnCallBack(msg, entry.pUserData);
}

// Returns once no call for `key` runs on another thread. A thread inside a
// callback does not wait: the call it would wait for may be waiting for it.
template <typename Counts, typename Key>
void WaitForCalls(std::unique_lock<std::mutex>& lock, std::condition_variable& idle, Counts& inFlight, Key key) {
  if (t_callbacksRunning > 0) return;
  idle.wait(lock, [&] { return inFlight[key] == 0; });
}

}  // namespace

bool CIoTService::RegisterResultCallback(iot_svc_cmd_type_e type, void (*callback)(std::string, void*),
                                         void* userData) {
  VARNIO_TRACE();
  if (static_cast<unsigned int>(type) > 1U) {
    VARNIO_LOG(1, "RegisterCallback() is failed.");
    return false;
  }
  std::lock_guard<std::mutex> lock(m_RegistryMutex);
  stCallBack& entry = m_mapResultCallback[type];
  entry.pfnCallBack = callback;
  entry.pUserData = userData;
  return true;
}

void CIoTService::UnregisterResultCallback(iot_svc_cmd_type_e type) {
  VARNIO_TRACE();
  std::unique_lock<std::mutex> lock(m_RegistryMutex);
  m_mapResultCallback.erase(type);
  WaitForCalls(lock, m_RegistryIdle, m_mapResultCalls, type);
}

bool CIoTService::RegisterEventCallback(iot_svc_event_type_e type, void (*callback)(std::string, void*),
                                        void* userData) {
  VARNIO_LOG(0, "CIoTService::RegisterEvent : event_type : %d", static_cast<int>(type));
  if (type != IOT_SVC_EVENT_TILES_CHANGED) {
    VARNIO_LOG(0, "Undefined Event Type !!!");
    return false;
  }
  std::lock_guard<std::mutex> lock(m_RegistryMutex);
  stCallBack& entry = m_mapEventCallback[type];
  entry.pfnCallBack = callback;
  entry.pUserData = userData;
  return true;
}

void CIoTService::UnregisterEventCallback(iot_svc_event_type_e type) {
  if (type != IOT_SVC_EVENT_TILES_CHANGED) return;
  std::unique_lock<std::mutex> lock(m_RegistryMutex);
  m_mapEventCallback.erase(type);
  WaitForCalls(lock, m_RegistryIdle, m_mapEventCalls, type);
}

void CIoTService::m_ExecuteResultCallback(iot_svc_cmd_type_e type, const std::string& msg) {
  VARNIO_LOG(0, "[m_ExecuteResultCallback] msgType : %d", static_cast<int>(type));
  const stCallBack entry = FindCallback(m_RegistryMutex, m_mapResultCallback, m_mapResultCalls, type);
  if (entry.pfnCallBack != nullptr) {
    Call(entry, msg, m_RegistryMutex, m_RegistryIdle, m_mapResultCalls, type);
  } else {
    VARNIO_LOG(2, "no result callback of type %d: the answer is lost (register it before asking)",
               static_cast<int>(type));
  }
  VARNIO_LOG(0, "msg : %s", msg.c_str());
}

void CIoTService::m_ExecuteEventCallback(iot_svc_event_type_e type, const std::string& msg) {
  VARNIO_LOG(0, "[m_ExecuteEventCallback] eventType : %d", static_cast<int>(type));
  const stCallBack entry = FindCallback(m_RegistryMutex, m_mapEventCallback, m_mapEventCalls, type);
  if (entry.pfnCallBack != nullptr) {
    Call(entry, msg, m_RegistryMutex, m_RegistryIdle, m_mapEventCalls, type);
  } else {
    VARNIO_LOG(2, "no event callback of type %d: the notice is lost (register it, then ask for the row)",
               static_cast<int>(type));
  }
}
