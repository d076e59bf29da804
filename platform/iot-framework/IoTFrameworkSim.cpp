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
  routineLists.clear();
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
  a.routineLists[locationId] = text;
}

void SetRoutines(const std::string& locationId, const std::vector<Routine>& routines) {
  SetRoutineListAnswer(locationId, MakeRoutineListAnswer(routines));
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

std::thread::id CallbackThreadId() { return TheAccount().callbackThread.Id(); }

int RegisteredCallbackCount() {
  Account& a = TheAccount();
  std::lock_guard<std::mutex> lock(a.mutex);
  return static_cast<int>(a.eventCallbacks.size() + a.resultCallbacks.size());
}

}  // namespace iotfw_sim
