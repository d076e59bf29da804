// The simulated account behind the framework stand-in: answers, modes, the
// request log, the registered callbacks and the callback thread.
#ifndef PLATFORM_IOTFRAMEWORK_ACCOUNT_H_
#define PLATFORM_IOTFRAMEWORK_ACCOUNT_H_

#include <condition_variable>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "IoTFramework.h"
#include "IoTFrameworkSim.h"
#include "NotificationThread.h"

struct Account {
  struct EventRegistration {
    CIoTFramework::EventCallback callback;
    void* userData;
  };
  struct ResultRegistration {
    CIoTFramework::ResultCallback callback;
    void* userData;
  };

  std::mutex mutex;
  std::condition_variable deliveryDone;
  int deliveriesInFlight = 0;

  std::string loginAnswer;
  std::string locationId;
  std::map<std::string, std::string> routineLists;
  std::string executeAnswer;
  std::map<int, iotfw_sim::AnswerMode> modes;
  std::vector<iotfw_sim::Request> requests;
  std::vector<EventRegistration> eventCallbacks;
  std::vector<ResultRegistration> resultCallbacks;

  NotificationThread callbackThread;

  Account() { ResetAnswers(); }
  // A signed-out account with no routines; caller holds `mutex` (or is the constructor).
  void ResetAnswers();

  // Answers `command` as its mode says.
  void Answer(int command, const std::string& text);
  void DeliverResult(int command, const std::string& text);
  void DeliverEvent(int type, const std::string& text);
  // Waits until no callback runs on another thread.
  void WaitForDeliveries(std::unique_lock<std::mutex>& lock);
};

Account& TheAccount();

#endif  // PLATFORM_IOTFRAMEWORK_ACCOUNT_H_
