#include "IoTService.h"

#include <device/power.h>

#include <chrono>
#include <mutex>

#include "LibraryLog.h"
#include "ServiceConstants.h"

CIoTService* CIoTService::m_pInstance = nullptr;

namespace {

// Serialises the first creation only; later calls see the published pointer.
std::mutex& CreationMutex() {
  static std::mutex* mutex = new std::mutex();
  return *mutex;
}

}  // namespace

CIoTService* CIoTService::GetInstance() {
  CIoTService* instance = __atomic_load_n(&m_pInstance, __ATOMIC_ACQUIRE);
  if (instance != nullptr) return instance;
  std::lock_guard<std::mutex> lock(CreationMutex());
  instance = __atomic_load_n(&m_pInstance, __ATOMIC_ACQUIRE);
  if (instance == nullptr) {
    // A throwing constructor frees the storage and leaves the pointer null,
    // so the next call tries again.
    instance = new CIoTService();
    __atomic_store_n(&m_pInstance, instance, __ATOMIC_RELEASE);
  }
  return instance;
}

CIoTService::CIoTService()
    : m_AnswerTimer(std::chrono::milliseconds(VARNIO_FRAMEWORK_ANSWER_WAIT_MS), [this] { m_OnAnswerOverdue(); }) {
  VARNIO_LOG(0, "CIoTService");
  m_Initialize();
}

CIoTService::~CIoTService() {
  VARNIO_LOG(0, "~CIoTService");
  m_Deinitialize();
}

void CIoTService::m_Initialize() {
  VARNIO_TRACE();
  m_pIoTFramework = CIoTFramework::GetInstance();
  m_pIoTFramework->RegisterEventCallback(m_OnFwkEvent, this);
  m_pIoTFramework->RegisterResultCallback(m_OnFwkResult, this);
  m_Contents.RegisterCallback(m_ContentsCb, this);
  m_RequestLoginStatus();
  m_SetLanguage();
  m_RegisterPowerCb();
}

void CIoTService::m_Deinitialize() {
  VARNIO_TRACE();
  {
    CAutoLock lock(m_StateLock);
    m_RoutineRow.Clear();
  }
  m_pIoTFramework->UnregisterEventCallback(m_OnFwkEvent);
  m_pIoTFramework->UnregisterResultCallback(m_OnFwkResult);
  m_AnswerTimer.Close();
  m_Contents.UnregisterCallback();
  // The platform would otherwise go on calling a destroyed object.
  if (m_bLanguageSubscribed) vconf_ignore_key_changed(kLanguageKey, m_LanguageChangedCb);
  if (m_bPowerSubscribed) device_power_unsubscribe_wakeup(m_PowerWakeUpCb);
}
