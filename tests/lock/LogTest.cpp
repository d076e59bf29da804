#include "Log.h"

#include <dlog.h>
#include <dlog_sim.h>
#include <gtest/gtest.h>

#include "LogCapture.h"

TEST(LogTest, LevelsMapToPlatformPriorities) {
  struct Case {
    int level;
    int priority;  // 0: nothing written
  };
  const Case cases[] = {{0, DLOG_DEBUG}, {1, DLOG_INFO}, {2, DLOG_WARN}, {3, DLOG_ERROR},
                        {4, DLOG_FATAL}, {5, 0},          {-1, 0},        {100, 0}};
  for (const Case& c : cases) {
    LogCapture capture;
    ext_log_base_print(c.level, "varnio", "level %d", c.level);
    const std::vector<LogLine> lines = capture.Lines();
    if (c.priority == 0) {
      EXPECT_TRUE(lines.empty()) << c.level;
      continue;
    }
    ASSERT_EQ(lines.size(), 1U) << c.level;
    EXPECT_EQ(lines[0].priority, c.priority);
    EXPECT_EQ(lines[0].tag, "varnio");
    EXPECT_EQ(lines[0].text, "level " + std::to_string(c.level));
  }
}

TEST(LogTest, MacroWritesFileFunctionAndLinePrefix) {
  LogCapture capture;
  const int line = __LINE__ + 1;
  VARNIO_LOG(0, "routines.size() : %d", 3);
  VARNIO_TRACE();
  const std::vector<LogLine> lines = capture.Lines();
  ASSERT_EQ(lines.size(), 2U);
  EXPECT_EQ(lines[0].text, "LogTest.cpp:TestBody(" + std::to_string(line) + ")>routines.size() : 3");
  EXPECT_EQ(lines[0].tag, "varnio");
  // The trace line ends right after the ">".
  EXPECT_EQ(lines[1].text, "LogTest.cpp:TestBody(" + std::to_string(line + 1) + ")>");
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
