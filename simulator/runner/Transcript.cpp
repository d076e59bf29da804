#include "Transcript.h"

#include <utility>

#include "TileTable.h"

namespace scenario {

void Transcript::Step(const std::string& title) {
  EndStep();
  m_step = title;
  std::fprintf(m_out, "\n== %d. %s\n", ++m_stepNumber, title.c_str());
}

void Transcript::Say(Kind kind, const std::string& /*where*/, const std::string& text) {
  Line(kind == Kind::kWarning ? "! simulator: " + text : text);
}

void Transcript::Row(const Arrival& row) {
  demo::ShownRow shown;
  shown.step = m_step;
  shown.arrival = row.insideRequest ? "delivered inside iot_svc_get_accelerator_tiles()"
                                    : "delivered later on a library thread";
  shown.list = demo::ParseTileList(row.text);
  Line("< tile row, " + shown.arrival + ":");
  std::fputs(demo::RenderTileTable(shown.list, "     ").c_str(), m_out);
  m_rows.push_back(std::move(shown));
}

void Transcript::Failure(const std::string& where, const std::string& what) {
  m_stepFailed = true;
  Line("FAILED: " + what + " (" + where + ")");
}

void Transcript::Finish(int /*expectations*/, int failures) {
  EndStep();
  std::fprintf(m_out, "\n== %s: %s\n", m_ending.c_str(),
               failures == 0 ? "every step ok" : (std::to_string(failures) + " check(s) FAILED").c_str());
  std::fflush(m_out);
}

void Transcript::EndStep() {
  if (m_stepNumber > 0) Line(m_stepFailed ? "step FAILED" : "ok");
  m_stepFailed = false;
  std::fflush(m_out);
}

void Transcript::Line(const std::string& text) { std::fprintf(m_out, "   %s\n", text.c_str()); }

}  // namespace scenario
