// The demo's view of a run, and --verbose's: a heading per step, a line per
// action and arrival, each tile row as a table, each step ending in "ok" or
// "FAILED"; the rows are kept for the HTML page. Failures also go to stderr
// as "FILE:LINE: ...". With stamps, each line starts with the seconds since
// the run began and the thread it happened on.
#ifndef VARNIO_SIMULATOR_RUNNER_TRANSCRIPT_H_
#define VARNIO_SIMULATOR_RUNNER_TRANSCRIPT_H_

#include <chrono>
#include <cstdio>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "HtmlPage.h"
#include "View.h"

namespace scenario {

class Transcript : public View {
 public:
  // Prints to `out`; `ending` heads the last line, e.g. "The day is over".
  // `quiet` leaves warnings and notes out.
  Transcript(std::FILE* out, std::string ending, bool stamps = false, bool quiet = false);

  void Step(const std::string& title) override;
  void Say(Kind kind, const std::string& where, const std::string& text) override;
  void Arrived(const Arrival& arrival) override;
  void Failure(const std::string& where, const std::string& what) override;
  void Finish(int expectations, int failures) override;

  const std::vector<demo::ShownRow>& Rows() const { return m_rows; }

 private:
  void EndStep();
  void Line(const std::string& text);
  void Line(const std::string& text, std::chrono::steady_clock::time_point at, std::thread::id thread);
  std::string ThreadName(std::thread::id thread);

  std::FILE* m_out;
  const std::string m_ending;
  const bool m_stamps;
  const bool m_quiet;
  const std::chrono::steady_clock::time_point m_start;
  const std::thread::id m_runner;
  std::map<std::thread::id, std::string> m_threadNames;
  std::vector<demo::ShownRow> m_rows;
  std::string m_step;
  int m_stepNumber = 0;
  bool m_stepFailed = false;
};

}  // namespace scenario

#endif  // VARNIO_SIMULATOR_RUNNER_TRANSCRIPT_H_
