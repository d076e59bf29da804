// The demo's view of a run: a heading per step, a line per action and
// arrival, each tile row as a table, each step ending in "ok" or "FAILED";
// the rows are kept for the HTML page.
#ifndef VARNIO_SIMULATOR_RUNNER_TRANSCRIPT_H_
#define VARNIO_SIMULATOR_RUNNER_TRANSCRIPT_H_

#include <cstdio>
#include <string>
#include <vector>

#include "HtmlPage.h"
#include "View.h"

namespace scenario {

class Transcript : public View {
 public:
  // Prints to `out`; `ending` heads the last line, e.g. "The day is over".
  Transcript(std::FILE* out, std::string ending) : m_out(out), m_ending(std::move(ending)) {}

  void Step(const std::string& title) override;
  void Say(Kind kind, const std::string& where, const std::string& text) override;
  void Row(const Arrival& row) override;
  void Failure(const std::string& where, const std::string& what) override;
  void Finish(int expectations, int failures) override;

  const std::vector<demo::ShownRow>& Rows() const { return m_rows; }

 private:
  void EndStep();
  void Line(const std::string& text);

  std::FILE* m_out;
  const std::string m_ending;
  std::vector<demo::ShownRow> m_rows;
  std::string m_step;
  int m_stepNumber = 0;
  bool m_stepFailed = false;
};

}  // namespace scenario

#endif  // VARNIO_SIMULATOR_RUNNER_TRANSCRIPT_H_
