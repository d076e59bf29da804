// What the contents tests share: thread accounting and one request's
// delivery (tile ids and the expected lists are in ContentsTiles.h).
#ifndef VARNIO_TESTS_CONTENTS_TEST_UTIL_H_
#define VARNIO_TESTS_CONTENTS_TEST_UTIL_H_

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "Contents.h"
#include "ContentsTiles.h"
#include "LogCapture.h"
#include "Recorder.h"
#include "ThreadCount.h"

// Threads of this process once the stand-ins' own threads run: they start
// their notification threads on first use.
inline int ThreadsNow() {
  CContents::GetURL();
  return ThreadCount();
}

// Waits (bounded) until no more than `count` threads are left.
inline bool WaitForThreads(int count) { return WaitForThreadCount(count, std::chrono::seconds(15)); }

// One request through `contents`, whose callback records into `deliveries`:
// its single delivery, once the request's thread is gone again.
inline std::string RequestOnce(CContents& contents, Recorder& deliveries) {
  const int threadsBefore = ThreadsNow();
  const size_t before = deliveries.Count();
  contents.RequestContentsList();
  EXPECT_TRUE(deliveries.WaitFor(before + 1, std::chrono::seconds(30)));
  EXPECT_TRUE(WaitForThreads(threadsBefore));
  EXPECT_EQ(deliveries.Count(), before + 1);
  return deliveries.Last();
}

// A failed download was answered with the last good list, and said so at
// level 1 (dlog's INFO).
inline bool AnsweredWithLastGoodList(const LogCapture& capture) {
  const std::vector<LogLine> lines = capture.Lines();
  return std::any_of(lines.begin(), lines.end(), [](const LogLine& line) {
    return line.priority == 4 && line.message.find("answering with the last good list") != std::string::npos;
  });
}

#endif  // VARNIO_TESTS_CONTENTS_TEST_UTIL_H_
