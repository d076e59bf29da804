// A test run's view: each failure and each simulator warning on stderr as
// "FILE:LINE: ...", and one line of totals.
#ifndef VARNIO_SIMULATOR_RUNNER_SUMMARY_H_
#define VARNIO_SIMULATOR_RUNNER_SUMMARY_H_

#include <set>
#include <string>

#include "View.h"

namespace scenario {

class Summary : public View {
 public:
  explicit Summary(std::string name) : m_name(std::move(name)) {}

  void Step(const std::string& /*title*/) override {}
  void Say(Kind kind, const std::string& where, const std::string& text) override;
  void Row(const Arrival& /*row*/) override {}
  void Failure(const std::string& where, const std::string& what) override;
  void Finish(int expectations, int failures) override;

 private:
  const std::string m_name;
  std::set<std::string> m_warningsShown;  // each once
};

}  // namespace scenario

#endif  // VARNIO_SIMULATOR_RUNNER_SUMMARY_H_
