// The service singleton behind the exported functions: callback registries,
// sign-in state, the routine tiles and every source that feeds them (IoT
// framework, contents downloads, TV language, power wake-up).
//
// Callbacks reach the service on the caller's thread, contents threads, the
// framework's threads, the platform's notification threads and the answer
// timer's thread. `m_StateLock` guards the flags, the sign-in state, the
// location, the routine tiles and the answer books; `m_RegistryMutex` guards
// the two registries and the count of their calls in flight. Neither is held
// while the framework or a caller's callback is called: both may call
// straight back.
#ifndef VARNIO_IOTSERVICE_H_
#define VARNIO_IOTSERVICE_H_

#include <IoTFramework.h>
#include <vconf.h>

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "AnswerBook.h"
#include "AnswerTimer.h"
#include "CallBack.h"
#include "Contents.h"
#include "JsonParseUtil.h"
#include "Lock.h"
#include "RoutineRow.h"
#include "varnio.h"

class CIoTService {
 public:
  static CIoTService* GetInstance();

  CIoTService();
  ~CIoTService();
  CIoTService(const CIoTService&) = delete;
  CIoTService& operator=(const CIoTService&) = delete;

  bool RegisterResultCallback(iot_svc_cmd_type_e type, void (*callback)(std::string, void*), void* userData);
  void UnregisterResultCallback(iot_svc_cmd_type_e type);
  bool RegisterEventCallback(iot_svc_event_type_e type, void (*callback)(std::string, void*), void* userData);
  void UnregisterEventCallback(iot_svc_event_type_e type);

  void GetAcceleratorTiles();
  void RequestExecuteTile(iot_svc_tile_type_e type, std::string info);
  bool GetIsLoggedIn();

 private:
  // Reaches the internals from benchmarks and white-box tests.
  friend class CIoTServiceTestPeer;

  // What a pending flag asks for once the routine list has changed.
  enum class PendingAction { kNone, kLoginEvent, kTileRequest, kUpdateEvent };

  void m_Initialize();
  void m_Deinitialize();

  // Dispatch to the caller (registry).
  void m_ExecuteResultCallback(iot_svc_cmd_type_e type, const std::string& msg);
  void m_ExecuteEventCallback(iot_svc_event_type_e type, const std::string& msg);

  // Framework requests and results.
  void m_RequestLoginStatus();
  void m_RequestRoutineList();
  void m_RefreshLocationAndRequestRoutines();
  static void m_OnFwkResult(_EIFW_REQUEST_COMMAND command, const std::string& result, void* userData);
  void m_OnLoginResult(const std::string& result);
  void m_OnRoutineListResult(const std::string& result);
  // Serves one pending flag; true when the caller was told something.
  bool m_CheckCanCallCB(std::string kind);
  PendingAction m_TakePendingAction();
  // The timer's: asks again for what was not answered in time.
  void m_OnAnswerOverdue();
  // Ends the timer's wait once no answer is wanted.
  void m_StopTimerIfNothingWanted();
  void m_CheckExecuteResult(std::string result);

  // Framework events.
  static void m_OnFwkEvent(_EIFW_EVENT_TYPE type, const std::string& text, void* userData);
  void m_OnSignedIn();
  void m_OnSignedOut();
  // Forgets the session that ended: its routines, what waited for them and
  // the answers still out for it. Caller holds m_StateLock.
  void m_EndSessionLocked();
  // Whether a routine list or change may be taken in now. Caller holds m_StateLock.
  bool m_AcceptsRoutinesLocked() const;
  void m_OnRefresh();
  void m_ClassifyEvent(std::string text);
  void m_AddRoutine(std::string id, std::string data);
  void m_UpdateRoutine(std::string id, std::string data);
  void m_DeleteRoutine(std::string id, std::string data);
  // Applies `edit` (none for a creation) to the routines held, tells the
  // caller, and reads the list again.
  void m_ChangeRoutines(const std::function<void(std::vector<stTileItem>&)>& edit);

  // Sign-in state, wake-up and language.
  void m_UpdateLoginStatus(bool loggedIn);
  void m_UpdateLoginStatus(const std::string& answer);
  void m_RegisterPowerCb();
  static int m_PowerWakeUpCb(int, void* userData);
  void m_SetLanguage();
  static void m_LanguageChangedCb(keynode_t* node, void* userData);

  // Tile execution.
  bool m_LaunchWebApp(iot_svc_tile_type_e type, std::string info);

  // Tile assembly.
  void m_GetBeforeLoginTiles(const std::string& json);
  static void m_ContentsCb(const CContentsDelivery& delivery, void* userData);
  void m_GetAfterLoginTiles();
  // The after-sign-in row and the version of the tiles it shows when routine
  // tiles are held, clearing the tile request it answers; null when none
  // are. Takes m_StateLock itself.
  std::shared_ptr<const std::string> m_TakeAfterLoginTiles(uint64_t& version);
  // Hands the row to the caller; a notice follows when the tiles changed
  // since `version`.
  void m_DeliverAfterLoginTiles(const std::string& json, uint64_t version);

  std::mutex m_RegistryMutex;
  std::condition_variable m_RegistryIdle;  // a call of a caller's callback ended
  CLockMutex m_StateLock;

  std::map<iot_svc_cmd_type_e, stCallBack> m_mapResultCallback;
  std::map<iot_svc_event_type_e, stCallBack> m_mapEventCallback;
  // Calls in flight per type, for unregistering to wait for.
  std::map<iot_svc_cmd_type_e, int> m_mapResultCalls;
  std::map<iot_svc_event_type_e, int> m_mapEventCalls;
  bool m_bIsLoggedIn = false;
  bool m_bAsEvent = false;
  bool m_bAsRequest = false;
  // Notices owed at the next changes of the routine list, one per refresh
  // or routine change: a flag would let a routine change take the notice a
  // refresh's own list still owes, and that list would arrive unannounced.
  int m_nAsUpdate = 0;
  // Contents results still to be dropped, one per language change: a single
  // flag would let the second of two quick changes through to the caller.
  int m_nLanguageDrops = 0;
  std::string m_strLocationId;
  // The routine tiles and their rendered row; every change goes through it.
  CRoutineRow m_RoutineRow;
  CContents m_Contents;
  CJsonParseUtil m_JsonParseUtil;
  CIoTFramework* m_pIoTFramework = nullptr;
  // Which sign-in answers and routine lists may be used.
  CAnswerBook m_LoginAnswers;
  CAnswerBook m_ListAnswers;

  bool m_bLanguageSubscribed = false;
  bool m_bPowerSubscribed = false;

  // Last: its thread calls into the members above until it is destroyed.
  CAnswerTimer m_AnswerTimer;

  static CIoTService* m_pInstance;
};

#endif  // VARNIO_IOTSERVICE_H_
