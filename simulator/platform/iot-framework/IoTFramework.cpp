#include "IoTFramework.h"

#include <algorithm>
#include <cstdarg>

#include "Account.h"
#include "dlog.h"

namespace {

// How deep the current thread is inside framework callbacks: a callback that
// unregisters must not wait for itself.
thread_local int t_deliveryDepth = 0;
// When the outermost delivery on this thread began.
thread_local std::chrono::steady_clock::time_point t_deliveryStart;

template <typename Registration, typename Callback>
bool StillRegistered(const std::vector<Registration>& registrations, Callback callback, void* userData) {
  return std::any_of(registrations.begin(), registrations.end(), [&](const Registration& r) {
    return r.callback == callback && r.userData == userData;
  });
}

// Calls each registration that is still registered at the moment of its call.
template <typename Registration, typename Invoke>
void DeliverToEach(Account& a, std::vector<Registration> Account::*list, Invoke invoke) {
  std::vector<Registration> snapshot;
  {
    std::lock_guard<std::mutex> lock(a.mutex);
    snapshot = a.*list;
  }
  for (const Registration& r : snapshot) {
    {
      std::lock_guard<std::mutex> lock(a.mutex);
      if (!StillRegistered(a.*list, r.callback, r.userData)) continue;
      ++a.deliveriesInFlight;
    }
    if (t_deliveryDepth++ == 0) t_deliveryStart = std::chrono::steady_clock::now();
    invoke(r);
    --t_deliveryDepth;
    {
      std::lock_guard<std::mutex> lock(a.mutex);
      --a.deliveriesInFlight;
    }
    a.deliveryDone.notify_all();
  }
}

// The simulator's own diagnostics go to the platform log under their own tag,
// so that they stand apart from the library's lines.
__attribute__((format(printf, 1, 2))) void Warn(const char* format, ...) {
  va_list args;
  va_start(args, format);
  __dlog_vprint(LOG_ID_MAIN, DLOG_WARN, "varnio-sim", format, args);
  va_end(args);
}

}  // namespace

namespace iotfw_sim {

std::chrono::steady_clock::time_point DeliveryStartedAt() {
  return t_deliveryDepth > 0 ? t_deliveryStart : std::chrono::steady_clock::time_point();
}

}  // namespace iotfw_sim

Account& TheAccount() {
  static Account* account = new Account();  // lives as long as any client may call
  return *account;
}

void Account::DeliverResult(int command, const std::string& text) {
  DeliverToEach(*this, &Account::resultCallbacks, [&](const ResultRegistration& r) {
    r.callback(static_cast<_EIFW_REQUEST_COMMAND>(command), text, r.userData);
  });
}

void Account::DeliverEvent(int type, const std::string& text) {
  DeliverToEach(*this, &Account::eventCallbacks, [&](const EventRegistration& r) {
    r.callback(static_cast<_EIFW_EVENT_TYPE>(type), text, r.userData);
  });
}

std::string Account::AnswerTextLocked(int command, const std::string& argument) const {
  switch (command) {
    case EIFW_REQUEST_LOGIN_INFO:
      return loginAnswer;
    case EIFW_REQUEST_ROUTINE_LIST: {
      auto raw = rawRoutineLists.find(argument);
      if (raw != rawRoutineLists.end()) return raw->second;
      auto list = routines.find(argument);
      return iotfw_sim::MakeRoutineListAnswer(list != routines.end() ? list->second
                                                                     : std::vector<iotfw_sim::Routine>());
    }
    case EIFW_REQUEST_EXECUTE_ROUTINE:
      return executeAnswer;
    default:
      return R"({"result":"Fail","data":""})";
  }
}

void Account::Request(int command, const std::string& argument) {
  std::string text;
  {
    std::lock_guard<std::mutex> lock(mutex);
    requests.push_back({command, argument, std::this_thread::get_id()});
    auto it = modes.find(command);
    const iotfw_sim::AnswerMode mode = it == modes.end() ? iotfw_sim::AnswerMode::kAsync : it->second;
    switch (mode) {
      case iotfw_sim::AnswerMode::kSync:
        text = AnswerTextLocked(command, argument);
        break;
      case iotfw_sim::AnswerMode::kAsync:
        // Queued in the same hold that reads the account, so an answer never
        // overtakes a change of the account whose event was queued before it.
        text = AnswerTextLocked(command, argument);
        callbackThread.Post([this, command, text] { DeliverResult(command, text); });
        return;
      case iotfw_sim::AnswerMode::kHeld:
        held.push_back({command, argument, AnswerTextLocked(command, argument), false, std::string()});
        return;
      case iotfw_sim::AnswerMode::kNever:
        return;
    }
  }
  DeliverResult(command, text);
}

void Account::WaitForDeliveries(std::unique_lock<std::mutex>& lock) {
  // Only the current thread's own deliveries can be in flight while it is
  // inside a callback; waiting for them would never end.
  const int own = t_deliveryDepth;
  deliveryDone.wait(lock, [&] { return deliveriesInFlight <= own; });
}

CIoTFramework* CIoTFramework::GetInstance() {
  static CIoTFramework* instance = new CIoTFramework();
  return instance;
}

bool CIoTFramework::RegisterEventCallback(EventCallback callback, void* userData) {
  if (callback == nullptr) return false;
  Account& a = TheAccount();
  std::lock_guard<std::mutex> lock(a.mutex);
  a.eventCallbacks.push_back({callback, userData});
  return true;
}

bool CIoTFramework::RegisterResultCallback(ResultCallback callback, void* userData) {
  if (callback == nullptr) return false;
  Account& a = TheAccount();
  std::lock_guard<std::mutex> lock(a.mutex);
  a.resultCallbacks.push_back({callback, userData});
  return true;
}

bool CIoTFramework::UnregisterEventCallback(EventCallback callback) {
  Account& a = TheAccount();
  std::unique_lock<std::mutex> lock(a.mutex);
  auto& list = a.eventCallbacks;
  const size_t before = list.size();
  list.erase(std::remove_if(list.begin(), list.end(),
                            [&](const Account::EventRegistration& r) { return r.callback == callback; }),
             list.end());
  a.WaitForDeliveries(lock);
  return list.size() != before;
}

bool CIoTFramework::UnregisterResultCallback(ResultCallback callback) {
  Account& a = TheAccount();
  std::unique_lock<std::mutex> lock(a.mutex);
  auto& list = a.resultCallbacks;
  const size_t before = list.size();
  list.erase(std::remove_if(list.begin(), list.end(),
                            [&](const Account::ResultRegistration& r) { return r.callback == callback; }),
             list.end());
  a.WaitForDeliveries(lock);
  return list.size() != before;
}

bool CIoTFramework::RequestLoginInfo() {
  TheAccount().Request(EIFW_REQUEST_LOGIN_INFO, "");
  return true;
}

bool CIoTFramework::RequestData(_EIFW_REQUEST_COMMAND command, const std::string& argument) {
  Account& a = TheAccount();
  bool unknownLocation = false;
  if (command == EIFW_REQUEST_ROUTINE_LIST) {
    std::lock_guard<std::mutex> lock(a.mutex);
    unknownLocation = a.rawRoutineLists.count(argument) == 0 && a.routines.count(argument) == 0;
  }
  // An empty list leaves a tile request unanswered; say why, since nothing else will.
  if (unknownLocation) {
    Warn("routine list asked for location \"%s\", which the simulated account has no list for; "
         "answering an empty one (iotfw_sim::SetRoutines gives it one)",
         argument.c_str());
  }
  a.Request(static_cast<int>(command), argument);
  return true;
}

std::string CIoTFramework::GetCurrentLocation() {
  Account& a = TheAccount();
  std::lock_guard<std::mutex> lock(a.mutex);
  return a.locationId;
}
