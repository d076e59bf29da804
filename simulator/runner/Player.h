// Plays a scenario against the library and the simulated platform: the
// cloud account and its events through the framework stand-in, the TV
// through the settings and power stand-ins, the contents host through its
// process, and the home screen through the exported functions.
#ifndef VARNIO_SIMULATOR_RUNNER_PLAYER_H_
#define VARNIO_SIMULATOR_RUNNER_PLAYER_H_

#include <json/json.h>

#include <chrono>
#include <string>

#include "Caller.h"
#include "ContentsHostProcess.h"
#include "Expectations.h"
#include "Scenario.h"
#include "View.h"

namespace scenario {

class Player {
 public:
  // `host` may be null: the run then has no contents host under its control.
  // `timeout` bounds each wait of a line that gives none.
  Player(View& view, ContentsHostProcess* host, std::chrono::milliseconds timeout);

  // Plays every line, going on after a failed one; true when none failed.
  // Lines before the first that reaches the library set the platform up;
  // then both callbacks are registered, which starts the service.
  bool Play(const Scenario& scenario);

 private:
  void PlayLine(const Line& line);
  void Start();
  // Waits until idle, then shows and keeps what arrived meanwhile.
  void Settle(std::chrono::milliseconds timeout);
  void TakeWhatArrived();
  void Fail(const std::string& what);
  void Say(View::Kind kind, const std::string& text);

  void Account(const Json::Value& account);
  void Answers(const Json::Value& answers);
  void Language(const std::string& value);
  void ContentsHost(const std::string& mode);
  void Event(const Json::Value& line);
  void Answer(const Json::Value& line);
  void ReleaseOrDrop(const Json::Value& line, bool release);
  void Execute(const Json::Value& line);
  void Expect(const Json::Value& line);
  std::chrono::milliseconds TimeoutOf(const Json::Value& line) const;

  View& m_view;
  ContentsHostProcess* const m_host;
  const std::chrono::milliseconds m_timeout;
  Caller m_caller;
  std::string m_where;  // "FILE:LINE" being played
  bool m_started = false;
  bool m_held = false;
  bool m_languageSet = false;
  int m_expectations = 0;
  int m_failures = 0;

  // Where the account's routines change in the cloud: the TV's location.
  std::string m_location = "loc-home";

  Received m_received;  // since the last expectation
  size_t m_launchesSeen = 0;
  size_t m_requestsSeen = 0;
  size_t m_logLinesSeen = 0;
};

}  // namespace scenario

#endif  // VARNIO_SIMULATOR_RUNNER_PLAYER_H_
