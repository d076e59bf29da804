// The simulated account behind the framework stand-in: answers, modes, the
// request log, the registered callbacks and the callback thread.
#ifndef PLATFORM_IOTFRAMEWORK_ACCOUNT_H_
#define PLATFORM_IOTFRAMEWORK_ACCOUNT_H_

#include <chrono>
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
  // An answer waiting for the test to release it, with the text it would
  // have had when asked. Its text now is made when it is released, unless
  // Resolve made it earlier.
  struct HeldAnswer {
    int command;
    std::string argument;
    std::string textAsAsked;
    bool resolved = false;
    std::string text;
  };

  std::mutex mutex;
  std::condition_variable deliveryDone;
  int deliveriesInFlight = 0;

  std::string loginAnswer;
  std::string locationId;
  std::map<std::string, std::vector<iotfw_sim::Routine>> routines;  // per location
  std::map<std::string, std::string> rawRoutineLists;                // override `routines`
  std::string executeAnswer;
  std::map<int, iotfw_sim::AnswerMode> modes;
  std::vector<iotfw_sim::Request> requests;
  std::vector<HeldAnswer> held;
  std::vector<EventRegistration> eventCallbacks;
  std::vector<ResultRegistration> resultCallbacks;

  NotificationThread callbackThread;

  Account() { ResetAnswers(); }
  // A signed-out account with no routines; caller holds `mutex` (or is the constructor).
  void ResetAnswers();

  // The text the account answers `command` with now; caller holds `mutex`.
  std::string AnswerTextLocked(int command, const std::string& argument) const;
  // Records a request and answers it as its command's mode says.
  void Request(int command, const std::string& argument);
  void DeliverResult(int command, const std::string& text);
  void DeliverEvent(int type, const std::string& text);
  // Waits until no callback runs on another thread.
  void WaitForDeliveries(std::unique_lock<std::mutex>& lock);
};

Account& TheAccount();

#endif  // PLATFORM_IOTFRAMEWORK_ACCOUNT_H_
