// Control of the IoT framework stand-in: a simulated cloud account for tests
// and the demo.
#ifndef PLATFORM_IOTFRAMEWORK_SIM_H_
#define PLATFORM_IOTFRAMEWORK_SIM_H_

#include <string>
#include <thread>
#include <vector>

namespace iotfw_sim {

enum class AnswerMode {
  kAsync,  // later, on the framework's callback thread (the default)
  kSync,   // inside the request call, on the requesting thread
  kNever,  // not at all
};

struct Routine {
  std::string id;
  std::string label;
};

struct Request {
  int command;
  std::string argument;
};

// Back to a signed-out account with no routines, every command async, no
// requests recorded. Registrations are kept.
void Reset();

// Answer texts. The sign-in answer is sent for 102, the routine list of the
// requested location for 107, the execute answer for 111.
void SetLoginAnswer(const std::string& text);
void SetSignedIn(bool signedIn);  // shorthand for the two usual sign-in answers
void SetCurrentLocation(const std::string& locationId);
void SetRoutineListAnswer(const std::string& locationId, const std::string& text);
void SetRoutines(const std::string& locationId, const std::vector<Routine>& routines);
void SetExecuteAnswer(const std::string& text);
void SetAnswerMode(int command, AnswerMode mode);

// The routine-list answer the framework sends for `routines`.
std::string MakeRoutineListAnswer(const std::vector<Routine>& routines);
// A cloud event (1004) text about one routine.
std::string MakeCloudEvent(const std::string& name, const std::string& routineId, const std::string& label);

// Delivers on the framework's callback thread.
void InjectEvent(int type, const std::string& text);
void InjectResult(int command, const std::string& text);
// Delivers at once on the calling thread, as a framework that calls back
// from threads of its own may: several threads can deliver at the same time.
void DeliverEventNow(int type, const std::string& text);
void DeliverResultNow(int command, const std::string& text);

// Requests in the order they were made.
std::vector<Request> Requests();
int CountRequests(int command);
void ClearRequests();

// While held, nothing is delivered on the callback thread (WaitIdle would
// wait for the release); releasing delivers what queued up, in order.
void HoldCallbacks(bool held);

// Returns once everything queued for the callback thread so far has been delivered.
void WaitIdle();
std::thread::id CallbackThreadId();
int RegisteredCallbackCount();

}  // namespace iotfw_sim

#endif  // PLATFORM_IOTFRAMEWORK_SIM_H_
