// What a scenario's expectation lines check: what reached the home screen
// and the platform since the previous expectation.
#ifndef VARNIO_SIMULATOR_RUNNER_EXPECTATIONS_H_
#define VARNIO_SIMULATOR_RUNNER_EXPECTATIONS_H_

#include <json/json.h>

#include <string>
#include <vector>

#include "Caller.h"
#include "TileList.h"

namespace scenario {

struct Received {
  std::vector<Arrival> arrivals;
  std::vector<std::string> deepLinks;  // web-app launches
  std::vector<std::string> executed;   // routines the framework was asked to run
  std::vector<std::string> requests;   // every framework request, by command name
  std::vector<std::string> warnings;   // the library's and the simulator's, "function>message"
  std::vector<std::string> log;        // the library's log lines, "function>message"
};

// "intro" (two sections, the four introduction tiles, with or without their
// texts), "routines" (one section of routine tiles), or a description of
// what else the list is.
std::string RowKind(const demo::TileList& list);

// The "type" of a web-app deep link: "page" or "intro".
std::string DeepLinkType(const std::string& deepLink);

// One message for each way `received` differs from the expect object; none
// when it holds.
std::vector<std::string> Check(const Json::Value& expect, const Received& received);

}  // namespace scenario

#endif  // VARNIO_SIMULATOR_RUNNER_EXPECTATIONS_H_
