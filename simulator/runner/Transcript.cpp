#include "Transcript.h"

#include <IoTFrameworkSim.h>
#include <device/power_sim.h>
#include <vconf_sim.h>

#include <utility>

#include "TileTable.h"

namespace scenario {

Transcript::Transcript(std::FILE* out, std::string ending, bool stamps, bool quiet)
    : m_out(out),
      m_ending(std::move(ending)),
      m_stamps(stamps),
      m_quiet(quiet),
      m_start(std::chrono::steady_clock::now()),
      m_runner(std::this_thread::get_id()) {}

void Transcript::Step(const std::string& title) {
  EndStep();
  m_step = title;
  std::fprintf(m_out, "\n== %d. %s\n", ++m_stepNumber, title.c_str());
}

void Transcript::Say(Kind kind, const std::string& /*where*/, const std::string& text) {
  if (m_quiet && (kind == Kind::kWarning || kind == Kind::kNote)) return;
  const char* prefix = kind == Kind::kWarning ? "! warning: " : kind == Kind::kNote ? "! note: " : "";
  Line(prefix + text);
}

void Transcript::Arrived(const Arrival& arrival) {
  switch (arrival.kind) {
    case Arrival::Kind::kNotice:
      Line("< IOT_SVC_EVENT_TILES_CHANGED", arrival.at, arrival.thread);
      return;
    case Arrival::Kind::kAsked:
      Line("> iot_svc_get_accelerator_tiles(), asking again on the notice", arrival.at, arrival.thread);
      return;
    case Arrival::Kind::kRow:
      break;
  }
  demo::ShownRow shown;
  shown.step = m_step;
  shown.arrival = arrival.insideRequest ? "delivered inside iot_svc_get_accelerator_tiles()"
                                        : "delivered later on a library thread";
  shown.list = demo::ParseTileList(arrival.text);
  Line("< tile row, " + shown.arrival + ":", arrival.at, arrival.thread);
  std::fputs(demo::RenderTileTable(shown.list, m_stamps ? "                         " : "     ").c_str(), m_out);
  m_rows.push_back(std::move(shown));
}

void Transcript::Failure(const std::string& where, const std::string& what) {
  m_stepFailed = true;
  Line("FAILED: " + what + " (" + where + ")");
  std::fflush(m_out);
  std::fprintf(stderr, "%s: %s\n", where.c_str(), what.c_str());
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

void Transcript::Line(const std::string& text) {
  Line(text, std::chrono::steady_clock::now(), std::this_thread::get_id());
}

void Transcript::Line(const std::string& text, std::chrono::steady_clock::time_point at, std::thread::id thread) {
  if (!m_stamps) {
    std::fprintf(m_out, "   %s\n", text.c_str());
    return;
  }
  const double seconds = std::chrono::duration<double>(at - m_start).count();
  std::fprintf(m_out, "%9.3f %-12s %s\n", seconds, ThreadName(thread).c_str(), text.c_str());
}

std::string Transcript::ThreadName(std::thread::id thread) {
  if (thread == m_runner) return "runner";
  if (thread == iotfw_sim::CallbackThreadId()) return "framework";
  if (thread == vconf_sim::NotificationThreadId()) return "settings";
  if (thread == power_sim::NotificationThreadId()) return "power";
  auto it = m_threadNames.find(thread);
  if (it == m_threadNames.end()) {
    it = m_threadNames.emplace(thread, "thread-" + std::to_string(m_threadNames.size() + 1)).first;
  }
  return it->second;
}

}  // namespace scenario
