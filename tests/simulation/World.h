// Plays one plan against the library and the stand-ins, keeping the account
// as the cloud has it, then lets everything go quiet and checks what the
// caller was handed.
#ifndef VARNIO_TESTS_SIMULATION_WORLD_H_
#define VARNIO_TESTS_SIMULATION_WORLD_H_

#include <IoTFrameworkSim.h>

#include <map>
#include <mutex>
#include <random>
#include <string>
#include <vector>

#include "Caller.h"
#include "ContentsHost.h"
#include "Plan.h"
#include "Workers.h"

namespace sim {

// The account as the cloud has it, and what the service was told of it.
struct AccountModel {
  bool signedIn = false;
  int session = 0;
  int nextRoutine = 0;
  size_t location = 0;  // index into kLocations
  std::map<std::string, std::vector<iotfw_sim::Routine>> routines;
  // When the service was told that a session ended; routines of it must not
  // reach the caller from any library call begun later.
  std::map<int, Clock::time_point> signedOutAt;
  // Routines created in the cloud: a creation is not notified, so the
  // caller learns of it only with its next request.
  std::vector<std::string> created;
  std::string language;
  bool contentsFailed = false;  // a download may have failed: empty contents tiles are right
  bool answerDropped = false;   // a request may be waiting for ever: no row is certain
  // The session's list was emptied: a request then goes unanswered, and a
  // creation since is not notified, so the row held may be any earlier one.
  bool emptied = false;
};

class World {
 public:
  explicit World(const Plan& plan);

  // Everything that went wrong; empty when the run was sound.
  std::vector<std::string> Run();

 private:
  void Execute(const Op& op);
  void ExecuteOp(const Op& op);
  // Waits until the platform, the framework and the caller's UI thread have
  // delivered everything queued.
  void Drain();
  // The account signs out in the cloud; false when it was not signed in.
  bool EndSession();
  void TellSignOut(int how);
  void SignIn(int how);
  void ChangeInCloud(int change, int which);
  void ReleaseHeld(int which, bool onThisThread, bool keep);
  // Releases every held answer, queued, in a random order.
  void ReleaseAllHeld();
  void Heal();
  bool Quiet();
  void Check();
  void CheckAnswers();
  void CheckIsolation();
  void CheckConvergence();
  // The row the caller must end up holding; kind kUnreadable when none is certain.
  Row Expected(bool& anyContentsTexts);
  bool Matches(const Row& row, const Row& expected, bool anyContentsTexts);
  // `row` without the routines created in the cloud.
  Row WithoutCreated(Row row);
  int Pick(int n);

  const Plan& m_plan;
  std::mutex m_mutex;      // guards m_model and m_random: racing steps share them
  std::mutex m_hostMutex;  // the host takes one change at a time
  bool m_noThreads = false;  // guarded by m_hostMutex
  AccountModel m_model;
  std::mt19937 m_random;
  std::vector<std::string> m_violations;
  ContentsHost m_host;
  Workers m_workers;
  Caller m_caller;
  int m_baseThreads = 0;
};

}  // namespace sim

#endif  // VARNIO_TESTS_SIMULATION_WORLD_H_
