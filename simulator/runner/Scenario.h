// A scenario: JSON Lines, one action a line, that sets up the simulated
// platform, acts as the cloud, the TV and the home screen, waits, and states
// what the home screen must have received. The format is described in
// examples/scenarios/README.md.
#ifndef VARNIO_SIMULATOR_RUNNER_SCENARIO_H_
#define VARNIO_SIMULATOR_RUNNER_SCENARIO_H_

#include <json/json.h>

#include <istream>
#include <string>
#include <vector>

namespace scenario {

struct Line {
  int number = 0;      // in the file, from 1
  std::string action;  // the line's one action member
  Json::Value value;   // the whole object, its shape checked
};

struct Scenario {
  std::string name;  // the file's path, for messages
  std::vector<Line> lines;
};

// Reads every line of `in`. Blank lines and lines starting with '#' are
// skipped. Each other line must be one JSON object holding exactly one known
// action with options of the right types; every line that is not says so in
// `errors` as "NAME:LINE: what is wrong". True when there were none.
bool ParseScenario(std::istream& in, const std::string& name, Scenario& out, std::vector<std::string>& errors);

// The same for a file; a file that cannot be read is one error.
bool ReadScenarioFile(const std::string& path, Scenario& out, std::vector<std::string>& errors);

// The framework command a name or number stands for (login 102,
// routine_list 107, execute 111); 0 for anything else.
int CommandNumber(const Json::Value& nameOrNumber);
// The name of a command number, or the number as text when it has none.
std::string CommandName(int command);

}  // namespace scenario

#endif  // VARNIO_SIMULATOR_RUNNER_SCENARIO_H_
