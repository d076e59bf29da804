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
  std::string language;
  bool contentsFailed = false;  // a download may have failed: empty contents tiles are right
  // The last language change, and the session signed in then (-1: none):
  // the routines title changed, so the caller must have been told.
  Clock::time_point languageChangedAt;
  int languageSession = -1;
};

class World {
 public:
  explicit World(const Plan& plan);

  // Everything that went wrong; empty when the run was sound.
  std::vector<std::string> Run();

 private:
  void Execute(const Op& op);
  void ExecuteOp(const Op& op);
  // A failing host or no threads: empty contents tiles become right.
  void DownloadsMayFail();
  // Waits until the platform, the framework and the caller's UI thread have
  // delivered everything queued.
  void Drain();
  // The account signs out in the cloud; the session that ended, or -1 when
  // it was not signed in.
  int EndSession();
  void TellSignOut(int session, int how);
  // The account signs in in the cloud, as a new session; false when it was
  // signed in already.
  bool BeginSession();
  void TellSignIn(int how);
  // A routine of the current session with a random label; m_mutex held.
  iotfw_sim::Routine NewRoutine();
  void ChangeInCloud(int change, int which, bool eventNow);
  // The held answer `which` counts among those of `command` (0: all); -1
  // when there is none.
  int HeldIndex(int which, int command);
  void Release(const Op& op);
  void Heal();
  bool Quiet();
  void Check();
  void CheckAnswers();
  void CheckIsolation();
  void CheckConvergence();
  // The row the caller must end up holding; kind kUnreadable when none is certain.
  Row Expected(bool& anyContentsTexts);
  bool Matches(const Row& row, const Row& expected, bool anyContentsTexts);
  // The caller's latest row, and whether it is the account's; waits for it
  // as long as the service may wait for an answer that never comes.
  bool HoldsExpected(Row& held, Row& expected);
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
