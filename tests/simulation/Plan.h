// What one simulated run does, made from its seed alone: a profile and a
// list of steps. Each step is one operation, or a few that start together on
// different threads to race. Plan.cpp opens with the table of the platform's
// freedoms and the operations that play them.
#ifndef VARNIO_TESTS_SIMULATION_PLAN_H_
#define VARNIO_TESTS_SIMULATION_PLAN_H_

#include <cstdint>
#include <string>
#include <vector>

namespace sim {

enum class OpKind {
  kAsk,           // the caller asks for its tiles
  kReRegister,    // a: 0 result, 1 event, 2 both: unregister, register anew, ask
  kExecute,       // a: tile type 0 page, 1 intro, 2 routine
  kAnswerMode,    // a: 102 or 107; b: 0 async, 1 sync, 2 held, 3 never
  kRelease,       // a: which held answer (< 0 from the newest); b: 1 on this thread, else queued;
                  // c: 1 as the account was when asked, else as it is now; d: of command d only (0 any)
  kDrop,          // a: which held answer, never to be answered; d: of command d only (0 any)
  kSignOut,       // a: 0 event on this thread, 1 event queued, 2 found at a wake-up; b: us to wait first
  kSignIn,        // a: 0 event on this thread, 1 event queued, 2 found at a wake-up
  kRefresh,       // a: 0 event on this thread, 1 queued
  kCloudChange,   // a: 0 create, 1 rename, 2 delete; b: which routine; c: 1 event on this thread, else queued
  kWakeUp,        // a: 1 on this thread, else queued
  kLanguage,      // a: which language
  kMoveLocation,  // the account moves to its other location; a: the refresh event 1 on this thread, else queued
  kHostMode,      // a: a contents host mode
  kHostRelease,   // the host ends its stalled answers
  kNoThreads,     // a: 1 no thread can be created from now on, 0 threads again
  kPause,         // a: microseconds
  kJitter,        // a: percent of log lines that yield or sleep from now on; -1 the run's own
};

struct Op {
  OpKind kind;
  int a = 0;
  int b = 0;
  int c = 0;
  int d = 0;
};

struct Step {
  std::vector<Op> ops;  // more than one: started together on different threads
};

struct Profile {
  bool cloudChanges = false;       // routines change in the cloud
  bool registrationChurn = false;  // callbacks unregistered and registered again
  bool drops = false;              // the framework may never answer a request
  bool reentrant = false;          // notices are answered inside the callback
  bool startSignedIn = false;
  int jitterPercent = 0;  // log lines that yield or sleep
};

struct Plan {
  uint64_t seed = 0;
  Profile profile;
  std::vector<Step> steps;
};

Plan MakePlan(uint64_t seed);

std::string Describe(const Op& op);
std::string Describe(const Plan& plan);

extern const std::vector<std::string> kLanguages;

}  // namespace sim

#endif  // VARNIO_TESTS_SIMULATION_PLAN_H_
