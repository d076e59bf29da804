#include "IoTFrameworkSim.h"

#include <json/json.h>

#include <algorithm>
#include <memory>

#include "Account.h"

namespace iotfw_sim {


const char kSignedInAnswer[] = R"({"result":"Success","data":"{\"userId\":\"u-7f3a\",\"countryCode\":\"GB\"}"})";
const char kSignedOutAnswer[] = R"({"result":"Fail","data":"{\"errorCode\":\"NOT_SIGNED_IN\"}"})";
const char kExecuteSuccess[] = R"({"result":"Success","data":"{\"status\":\"executed\"}"})";

static std::string Compact(const Json::Value& value) {
  Json::StreamWriterBuilder builder;
  builder["indentation"] = "";
  return Json::writeString(builder, value);
}

}  // namespace iotfw_sim

void Account::ResetAnswers() {
  loginAnswer = iotfw_sim::kSignedOutAnswer;
  locationId = "loc-home";
  routines.clear();
  rawRoutineLists.clear();
  held.clear();
  executeAnswer = iotfw_sim::kExecuteSuccess;
  modes.clear();
  requests.clear();
}

namespace iotfw_sim {

void Reset() {
  Account& a = TheAccount();
  std::lock_guard<std::mutex> lock(a.mutex);
  a.ResetAnswers();
}

void SetLoginAnswer(const std::string& text) {
  Account& a = TheAccount();
  std::lock_guard<std::mutex> lock(a.mutex);
  a.loginAnswer = text;
}

void SetSignedIn(bool signedIn) { SetLoginAnswer(signedIn ? kSignedInAnswer : kSignedOutAnswer); }

void SetCurrentLocation(const std::string& locationId) {
  Account& a = TheAccount();
  std::lock_guard<std::mutex> lock(a.mutex);
  a.locationId = locationId;
}

void SetRoutineListAnswer(const std::string& locationId, const std::string& text) {
  Account& a = TheAccount();
  std::lock_guard<std::mutex> lock(a.mutex);
  a.rawRoutineLists[locationId] = text;
}

void SetRoutines(const std::string& locationId, const std::vector<Routine>& routines) {
  Account& a = TheAccount();
  std::lock_guard<std::mutex> lock(a.mutex);
  a.rawRoutineLists.erase(locationId);
  a.routines[locationId] = routines;
}

namespace {

// Applies `change` to the routines of `locationId` and queues `event`, in
// one hold of the account.
template <typename Change>
void ChangeRoutines(const std::string& locationId, Change change, const std::string& event) {
  Account& a = TheAccount();
  std::lock_guard<std::mutex> lock(a.mutex);
  a.rawRoutineLists.erase(locationId);
  change(a.routines[locationId]);
  a.callbackThread.Post([&a, event] { a.DeliverEvent(EIFW_EVENT_CLOUD, event); });
}

}  // namespace

void CreateRoutine(const std::string& locationId, const Routine& routine) {
  ChangeRoutines(locationId, [&](std::vector<Routine>& list) { list.push_back(routine); },
                 MakeCloudEvent("InstalledVelkapCreated", routine.id, routine.label));
}

void RenameRoutine(const std::string& locationId, const Routine& routine) {
  ChangeRoutines(locationId,
                 [&](std::vector<Routine>& list) {
                   for (Routine& r : list) {
                     if (r.id == routine.id) r.label = routine.label;
                   }
                 },
                 MakeCloudEvent("InstalledVelkapUpdated", routine.id, routine.label));
}

void DeleteRoutine(const std::string& locationId, const std::string& routineId) {
  ChangeRoutines(locationId,
                 [&](std::vector<Routine>& list) {
                   auto it = std::find_if(list.begin(), list.end(),
                                          [&](const Routine& r) { return r.id == routineId; });
                   if (it != list.end()) list.erase(it);
                 },
                 MakeCloudEvent("InstalledVelkapDeleted", routineId, ""));
}

void SetExecuteAnswer(const std::string& text) {
  Account& a = TheAccount();
  std::lock_guard<std::mutex> lock(a.mutex);
  a.executeAnswer = text;
}

void SetAnswerMode(int command, AnswerMode mode) {
  Account& a = TheAccount();
  std::lock_guard<std::mutex> lock(a.mutex);
  a.modes[command] = mode;
}

std::string MakeRoutineListAnswer(const std::vector<Routine>& routines) {
  Json::Value phrases(Json::arrayValue);
  for (const Routine& r : routines) {
    Json::Value phrase;
    phrase["id"] = r.id;
    phrase["label"] = r.label;
    phrase["type"] = "scene";
    phrase["enabled"] = true;
    phrases.append(phrase);
  }
  Json::Value inner;
  inner["phrases"] = phrases;
  inner["count"] = static_cast<Json::UInt>(routines.size());
  Json::Value outer;
  outer["result"] = "Success";
  outer["data"] = Compact(inner);
  return Compact(outer);
}

std::string MakeCloudEvent(const std::string& name, const std::string& routineId, const std::string& label) {
  Json::Value data;
  data["label"] = label;
  data["locationId"] = "loc-home";
  Json::Value event;
  event["name"] = name;
  event["installedVelkapId"] = routineId;
  event["data"] = label.empty() ? std::string() : Compact(data);
  Json::Value root;
  root["eventType"] = "INSTALLED_VELKAP_LIFECYCLE_EVENT";
  root["event"] = event;
  return Compact(root);
}

void InjectEvent(int type, const std::string& text) {
  Account& a = TheAccount();
  a.callbackThread.Post([&a, type, text] { a.DeliverEvent(type, text); });
}

void InjectResult(int command, const std::string& text) {
  Account& a = TheAccount();
  a.callbackThread.Post([&a, command, text] { a.DeliverResult(command, text); });
}

void DeliverEventNow(int type, const std::string& text) { TheAccount().DeliverEvent(type, text); }

size_t HeldAnswerCount() {
  Account& a = TheAccount();
  std::lock_guard<std::mutex> lock(a.mutex);
  return a.held.size();
}

int HeldAnswerCommand(size_t index) {
  Account& a = TheAccount();
  std::lock_guard<std::mutex> lock(a.mutex);
  return index < a.held.size() ? a.held[index].command : 0;
}

bool ReleaseHeldAnswer(size_t index, bool onCallingThread, bool keep, HeldText asWhen) {
  Account& a = TheAccount();
  int command = 0;
  std::string text;
  {
    std::lock_guard<std::mutex> lock(a.mutex);
    if (index >= a.held.size()) return false;
    const Account::HeldAnswer& answer = a.held[index];
    command = answer.command;
    if (asWhen == HeldText::kAsAsked) {
      text = answer.textAsAsked;
    } else {
      text = answer.resolved ? answer.text : a.AnswerTextLocked(answer.command, answer.argument);
    }
    if (!keep) a.held.erase(a.held.begin() + static_cast<std::ptrdiff_t>(index));
    if (!onCallingThread) {
      a.callbackThread.Post([&a, command, text] { a.DeliverResult(command, text); });
      return true;
    }
  }
  a.DeliverResult(command, text);
  return true;
}

bool DropHeldAnswer(size_t index) {
  Account& a = TheAccount();
  std::lock_guard<std::mutex> lock(a.mutex);
  if (index >= a.held.size()) return false;
  a.held.erase(a.held.begin() + static_cast<std::ptrdiff_t>(index));
  return true;
}

void ResolveHeldAnswers(int command) {
  Account& a = TheAccount();
  std::lock_guard<std::mutex> lock(a.mutex);
  for (Account::HeldAnswer& answer : a.held) {
    if (answer.command != command || answer.resolved) continue;
    answer.text = a.AnswerTextLocked(answer.command, answer.argument);
    answer.resolved = true;
  }
}

void DeliverResultNow(int command, const std::string& text) { TheAccount().DeliverResult(command, text); }

std::vector<Request> Requests() {
  Account& a = TheAccount();
  std::lock_guard<std::mutex> lock(a.mutex);
  return a.requests;
}

int CountRequests(int command) {
  Account& a = TheAccount();
  std::lock_guard<std::mutex> lock(a.mutex);
  return static_cast<int>(std::count_if(a.requests.begin(), a.requests.end(),
                                        [command](const Request& r) { return r.command == command; }));
}

void ClearRequests() {
  Account& a = TheAccount();
  std::lock_guard<std::mutex> lock(a.mutex);
  a.requests.clear();
}

void HoldCallbacks(bool held) { TheAccount().callbackThread.SetHeld(held); }

void WaitIdle() { TheAccount().callbackThread.WaitIdle(); }

bool WaitIdleUntil(std::chrono::steady_clock::time_point deadline) {
  return TheAccount().callbackThread.WaitIdleUntil(deadline);
}

std::thread::id CallbackThreadId() { return TheAccount().callbackThread.Id(); }

int RegisteredCallbackCount() {
  Account& a = TheAccount();
  std::lock_guard<std::mutex> lock(a.mutex);
  return static_cast<int>(a.eventCallbacks.size() + a.resultCallbacks.size());
}

}  // namespace iotfw_sim
