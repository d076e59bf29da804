// How a scenario run is shown: as a transcript with a table per tile row
// (the demo, --verbose), or as its failures alone (a test run).
#ifndef VARNIO_SIMULATOR_RUNNER_VIEW_H_
#define VARNIO_SIMULATOR_RUNNER_VIEW_H_

#include <string>

#include "Caller.h"

namespace scenario {

class View {
 public:
  enum class Kind {
    kAction,   // what the scenario did, "> ..."
    kArrival,  // what reached the platform, "< ..."
    kRemark,   // the scenario's own words
    kWarning,  // a warning of the library's or the simulator's log
    kNote,     // the runner's word on a line that may not do what it seems to
  };

  virtual ~View() = default;
  virtual void Step(const std::string& title) = 0;
  // `where` is "FILE:LINE" of the line being played.
  virtual void Say(Kind kind, const std::string& where, const std::string& text) = 0;
  // A row, a notice or a request the home screen made on a notice.
  virtual void Arrived(const Arrival& arrival) = 0;
  virtual void Failure(const std::string& where, const std::string& what) = 0;
  virtual void Finish(int expectations, int failures) = 0;
};

}  // namespace scenario

#endif  // VARNIO_SIMULATOR_RUNNER_VIEW_H_
