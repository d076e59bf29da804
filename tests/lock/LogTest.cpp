#include "LibraryLog.h"

#include <dlog.h>
#include <dlog_sim.h>
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "LogCapture.h"

namespace {

// "priority tag text" of each captured line.
std::vector<std::string> Written(const LogCapture& capture) {
  std::vector<std::string> written;
  for (const LogLine& line : capture.Lines()) {
    written.push_back(std::to_string(line.priority) + " " + line.tag + " " + line.text);
  }
  return written;
}

}  // namespace

TEST(LogTest, LevelsMapToPlatformPrioritiesAndOthersWriteNothing) {
  const std::pair<int, int> cases[] = {{0, DLOG_DEBUG}, {1, DLOG_INFO}, {2, DLOG_WARN}, {3, DLOG_ERROR},
                                       {4, DLOG_FATAL}, {5, 0},          {-1, 0},        {100, 0}};
  for (const auto& [level, priority] : cases) {
    LogCapture capture;
    ext_log_base_print(level, "some-tag", "level %d", level);
    const std::vector<std::string> expected = {std::to_string(priority) + " some-tag level " + std::to_string(level)};
    EXPECT_EQ(Written(capture), priority ? expected : std::vector<std::string>{}) << level;
  }
}

TEST(LogTest, MacroWritesFileFunctionAndLinePrefix) {
  LogCapture capture;
  const int line = __LINE__ + 1;
  VARNIO_LOG(0, "routines.size() : %d", 3);
  VARNIO_TRACE();  // ends right after the ">"
  const std::string prefix = std::to_string(DLOG_DEBUG) + " varnio LogTest.cpp:TestBody(";
  EXPECT_EQ(Written(capture), (std::vector<std::string>{prefix + std::to_string(line) + ")>routines.size() : 3",
                                                        prefix + std::to_string(line + 1) + ")>"}));
}

TEST(LogTest, DisabledLogFormatsNothing) {
  LogCapture capture;
  dlog_sim::SetLoggingOn(false);
  const uint64_t writes = dlog_sim::WriteCount();
  for (int level = -1; level <= 5; ++level) VARNIO_LOG(level, "%s", "never formatted");
  EXPECT_EQ(dlog_sim::WriteCount(), writes);
  dlog_sim::SetLoggingOn(true);
  EXPECT_TRUE(capture.Lines().empty());
}
