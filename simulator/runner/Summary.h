// A test run's view: each failure, and unless quiet each warning and note,
// on stderr as "FILE:LINE: ...", and one line of totals.
#ifndef VARNIO_SIMULATOR_RUNNER_SUMMARY_H_
#define VARNIO_SIMULATOR_RUNNER_SUMMARY_H_

#include <set>
#include <string>

#include "View.h"

namespace scenario {

class Summary : public View {
 public:
  Summary(std::string name, bool quiet) : m_name(std::move(name)), m_quiet(quiet) {}

  void Step(const std::string& /*title*/) override {}
  void Say(Kind kind, const std::string& where, const std::string& text) override;
  void Arrived(const Arrival& /*arrival*/) override {}
  void Failure(const std::string& where, const std::string& what) override;
  void Finish(int expectations, int failures) override;

 private:
  const std::string m_name;
  const bool m_quiet;
  std::set<std::string> m_warningsShown;  // each once
};

}  // namespace scenario

#endif  // VARNIO_SIMULATOR_RUNNER_SUMMARY_H_
