// Control of the IoT framework stand-in: a simulated cloud account for tests
// and the demo.
#ifndef PLATFORM_IOTFRAMEWORK_SIM_H_
#define PLATFORM_IOTFRAMEWORK_SIM_H_

#include <chrono>
#include <cstddef>
#include <string>
#include <thread>
#include <vector>

namespace iotfw_sim {

enum class AnswerMode {
  kAsync,  // later, on the framework's callback thread (the default)
  kSync,   // inside the request call, on the requesting thread
  kNever,  // not at all
  kHeld,   // when the test releases it (ReleaseHeldAnswer), in any order
};

struct Routine {
  std::string id;
  std::string label;
};

struct Request {
  int command;
  std::string argument;
  std::thread::id thread;  // the thread that made it
};

// Back to a signed-out account with no routines, every command async, no
// requests recorded. Registrations are kept.
void Reset();

// Answer texts. The sign-in answer is sent for 102, the routine list of the
// requested location for 107, the execute answer for 111.
void SetLoginAnswer(const std::string& text);
void SetSignedIn(bool signedIn);  // shorthand for the two usual sign-in answers
void SetCurrentLocation(const std::string& locationId);
// The routine-list answer of `locationId`, as raw text or as routines.
void SetRoutineListAnswer(const std::string& locationId, const std::string& text);
void SetRoutines(const std::string& locationId, const std::vector<Routine>& routines);
// One routine of `locationId` created (appended), renamed or deleted in the
// cloud: the account changes and the matching cloud event (1004) is queued
// for the callback thread in one step, so no answer queued later misses the
// change and none queued earlier already has it.
void CreateRoutine(const std::string& locationId, const Routine& routine);
void RenameRoutine(const std::string& locationId, const Routine& routine);
void DeleteRoutine(const std::string& locationId, const std::string& routineId);
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

// What a released held answer says: the account as it is at the release
// (or as ResolveHeldAnswers fixed it), or as it was when the request was
// made, as a cloud that answered at once and was slow to deliver would.
enum class HeldText { kNow, kAsAsked };

// Answers held by AnswerMode::kHeld, oldest first. Releasing one delivers it
// queued for the callback thread, or at once on the calling thread. With
// `keep` a copy stays held, for a framework that answers twice.
size_t HeldAnswerCount();
int HeldAnswerCommand(size_t index);  // 0 when there is no such answer
bool ReleaseHeldAnswer(size_t index, bool onCallingThread, bool keep = false, HeldText text = HeldText::kNow);
bool DropHeldAnswer(size_t index);
// Fixes the text of every held answer to `command` as the account would
// answer now: what a cloud that has already answered still has in flight.
void ResolveHeldAnswers(int command);

// When the outermost framework delivery running on this thread began; the
// zero time point outside of one.
std::chrono::steady_clock::time_point DeliveryStartedAt();

// Requests in the order they were made.
std::vector<Request> Requests();
int CountRequests(int command);
void ClearRequests();

// While held, nothing is delivered on the callback thread (WaitIdle would
// wait for the release); releasing delivers what queued up, in order.
void HoldCallbacks(bool held);

// Returns once everything queued for the callback thread so far has been delivered.
void WaitIdle();
// The same, giving up at `deadline`: false when something was still queued.
bool WaitIdleUntil(std::chrono::steady_clock::time_point deadline);
std::thread::id CallbackThreadId();
int RegisteredCallbackCount();

}  // namespace iotfw_sim

#endif  // PLATFORM_IOTFRAMEWORK_SIM_H_
