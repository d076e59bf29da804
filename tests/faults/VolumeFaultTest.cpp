// A caller asking for tiles 10,000 times in a loop, signed in and signed
// out: every request answered, memory and threads bounded meanwhile and
// afterwards.
#include <gmock/gmock.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

#include "ContentsHost.h"
#include "FaultTest.h"
#include "ResidentMemory.h"
#include "TestData.h"
#include "ThreadCount.h"

namespace {

constexpr int kRequests = 10000;

// Counts the lists equal to the expected one without keeping any of them.
struct Tally {
  std::string expected;
  std::atomic<int> matching{0};
  std::atomic<int> other{0};

  static void Callback(std::string text, void* userData) {
    Tally* self = static_cast<Tally*>(userData);
    (text == self->expected ? self->matching : self->other).fetch_add(1);
  }

  bool WaitFor(int count, std::chrono::seconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (matching.load() + other.load() < count) {
      if (std::chrono::steady_clock::now() >= deadline) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
  }
};

// Growth allowed for allocator caches. Under the sanitizers freed memory
// sits in quarantine or shadow memory grows, so resident size says nothing;
// LeakSanitizer checks for leaks there instead.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr long kRssSlackKib = -1;
#else
constexpr long kRssSlackKib = 64 * 1024;
#endif

void ExpectBoundedGrowth(long beforeKib) {
  if (kRssSlackKib < 0) return;
  EXPECT_LT(ResidentKib() - beforeKib, kRssSlackKib);
}

}  // namespace

TEST_F(FaultTest, TenThousandRequestsSignedIn) {
  StartSignedIn({{"a1", "Good Morning"}, {"b2", "Movie"}, {"c3", "Goodbye"}});
  Tally tally;
  iot_svc_get_accelerator_tiles();
  tally.expected = results_.Last();
  ASSERT_EQ(RoutineIds(tally.expected), (std::vector<std::string>{"a1", "b2", "c3"}));
  ASSERT_TRUE(iot_svc_register_result_cb(IOT_SVC_CMD_GET_ACCELERATOR_TILES, Tally::Callback, &tally));
  iotfw_sim::ClearRequests();
  const long rssBefore = ResidentKib();
  ThreadPeak peak;

  for (int i = 0; i < kRequests; ++i) iot_svc_get_accelerator_tiles();

  EXPECT_LE(peak.Stop(), baseThreads_);  // answered on this thread, nothing started
  EXPECT_EQ(tally.matching.load(), kRequests);  // each within its call
  EXPECT_EQ(tally.other.load(), 0);
  EXPECT_TRUE(iotfw_sim::Requests().empty());
  ExpectBoundedGrowth(rssBefore);
  ASSERT_TRUE(iot_svc_register_result_cb(IOT_SVC_CMD_GET_ACCELERATOR_TILES, Recorder::Callback, &results_));
  ExpectRoutineTiles({"a1", "b2", "c3"});
}

TEST_F(FaultTest, TenThousandRequestsSignedOut) {
  ContentsHost host({VARNIO_CONTENTS_HOST_PORT, DefaultContentsRoot(), DefaultTlsDir()});
  ASSERT_TRUE(host.Start());
  StartService();
  Tally tally;
  ASSERT_TRUE(ReadFileBytes(TestDataPath("contents/expected/general-tiles.json"), tally.expected));
  ASSERT_TRUE(iot_svc_register_result_cb(IOT_SVC_CMD_GET_ACCELERATOR_TILES, Tally::Callback, &tally));
  const long rssBefore = ResidentKib();
  ThreadPeak peak;

  for (int i = 0; i < kRequests; ++i) iot_svc_get_accelerator_tiles();
  ASSERT_TRUE(tally.WaitFor(kRequests, std::chrono::seconds(60)));

  // One thread per request would be thousands, each with its own TLS session.
  EXPECT_LE(peak.Stop(), baseThreads_ + kDownloadThreadSlack);
  ExpectNoThreadLeft();
  EXPECT_EQ(tally.matching.load(), kRequests);  // every one a good download, none lost
  EXPECT_EQ(tally.other.load(), 0);
  EXPECT_LT(host.Requests(), kRequests / 10);
  ExpectBoundedGrowth(rssBefore);
  ASSERT_TRUE(iot_svc_register_result_cb(IOT_SVC_CMD_GET_ACCELERATOR_TILES, Recorder::Callback, &results_));
  ExpectContentsTiles();
  EXPECT_EQ(results_.Last(), tally.expected);
}
