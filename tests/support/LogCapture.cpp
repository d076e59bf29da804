#include "LogCapture.h"

#include <dlog_sim.h>

#include <algorithm>
#include <regex>

LogCapture::LogCapture() { dlog_sim::StartCapture(); }

LogCapture::~LogCapture() { dlog_sim::StopCapture(); }

// Splits a formatted line; false when it lacks the prefix.
static bool ParseLogLine(const std::string& text, LogLine& out) {
  static const std::regex kPrefix(R"(^([^:/]+):([^(]+)\([0-9]+\)>)");
  std::smatch m;
  if (!std::regex_search(text, m, kPrefix)) return false;
  out.file = m[1];
  out.function = m[2];
  out.message = text.substr(static_cast<size_t>(m.length(0)));
  out.text = text;
  return true;
}

std::vector<LogLine> LogCapture::Lines() const {
  std::vector<LogLine> lines;
  for (const dlog_sim::Line& raw : dlog_sim::Captured()) {
    LogLine line;
    if (!ParseLogLine(raw.text, line)) line.text = line.message = raw.text;
    line.priority = raw.priority;
    line.tag = raw.tag;
    lines.push_back(line);
  }
  return lines;
}

std::vector<std::string> LogCapture::Messages(const std::string& function) const {
  std::vector<std::string> messages;
  for (const LogLine& line : Lines()) {
    if (function.empty() || line.function == function) messages.push_back(line.message);
  }
  return messages;
}

bool LogCapture::Contains(const std::string& message) const {
  const std::vector<std::string> messages = Messages();
  return std::find(messages.begin(), messages.end(), message) != messages.end();
}
