#include "ContentsTestUtil.h"

#include <gtest/gtest.h>

#include <chrono>

#include "Contents.h"
#include "LogCapture.h"
#include "Recorder.h"
#include "ThreadCount.h"

// The stand-ins start their notification threads on first use; count
// after that.
int ThreadsNow() {
  CContents::GetURL();
  return ThreadCount();
}

bool WaitForThreads(int count) {
  return WaitForThreadCount(count, std::chrono::seconds(15));
}

std::string RequestOnce(CContents& contents, Recorder& deliveries) {
  const int threadsBefore = ThreadsNow();
  const size_t before = deliveries.Count();
  contents.RequestContentsList();
  EXPECT_TRUE(deliveries.WaitFor(before + 1, std::chrono::seconds(30)));
  EXPECT_TRUE(WaitForThreads(threadsBefore));
  EXPECT_EQ(deliveries.Count(), before + 1);
  return deliveries.Last();
}

bool AnsweredWithLastGoodList(const LogCapture& capture) {
  for (const LogLine& line : capture.Lines()) {
    if (line.priority == 4 && line.message.find("answering with the last good list") != std::string::npos) return true;
  }
  return false;
}

