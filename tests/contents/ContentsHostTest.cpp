// Downloads from the local HTTPS host, verified against the build's own CA:
// every way the host can misbehave, stalls, and versions overlapping. Each
// misbehaviour must end in exactly one delivery, within the download limits,
// with no thread left behind: of the four fixed tiles while no good list
// came, of the last good list once one did. The next request must be served
// normally again.
#include <dlog_sim.h>
#include <gmock/gmock.h>
#include <vconf_sim.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "Contents.h"
#include "ContentsConnection.h"
#include "ContentsHost.h"
#include "ContentsTestUtil.h"
#include "LogCapture.h"
#include "Recorder.h"
#include "ResidentMemory.h"

namespace {

using Mode = ContentsHost::Mode;
using ::testing::AnyOfArray;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::Pair;

class ContentsHostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    vconf_sim::SetStr("db/menu_widget/language", "en_US.utf8");
    // Tight enough that a stalled host costs a test about a second.
    settings_.connectTimeoutSeconds = 5;
    settings_.lowSpeedSeconds = 1;
    settings_.totalTimeoutSeconds = 20;
    SetDownloadSettings(settings_);
    ASSERT_TRUE(host_.Start());
    contents_.RegisterCallback(Recorder::Callback, &deliveries_);
  }

  std::string RequestOnce() { return ::RequestOnce(contents_, deliveries_); }

  // Four downloads, as many as may run at once, all held by the host.
  void TakeEveryPlaceWithStalledDownloads() {
    host_.SetMode(Mode::kStall);
    for (int i = 0; i < 4; ++i) contents_.RequestContentsList();
    while (host_.Requests() < 4) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }

  ContentsDownloadSettings settings_;
  ContentsHost host_{{VARNIO_CONTENTS_HOST_PORT, DefaultContentsRoot(), DefaultTlsDir()}};
  Recorder deliveries_;
  CContents contents_;
};

struct FaultCase {
  const char* name;
  Mode mode;
  long lowSpeedBytesPerSecond;
  long totalTimeoutSeconds;
  std::vector<std::string> logged;  // one of these messages
  bool keepsWhatWasRead;            // part of the file got through
};

void PrintTo(const FaultCase& fault, std::ostream* out) { *out << fault.name; }

class ContentsHostFaultTest : public ContentsHostTest, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(ContentsHostFaultTest, EndsInOneDeliveryOfTheFixedTiles) {
  const FaultCase& fault = GetParam();
  settings_.lowSpeedBytesPerSecond = fault.lowSpeedBytesPerSecond;
  settings_.totalTimeoutSeconds = fault.totalTimeoutSeconds;
  SetDownloadSettings(settings_);
  host_.SetMode(fault.mode);
  LogCapture capture;
  const std::string delivered = RequestOnce();
  EXPECT_EQ(ContentsIds(delivered), kContentsIds);
  EXPECT_THAT(capture.Messages(), Contains(AnyOfArray(fault.logged)));
  if (!fault.keepsWhatWasRead) {
    EXPECT_EQ(delivered, ExpectedTiles("empty"));
  }

  host_.SetMode(Mode::kServe);
  EXPECT_EQ(RequestOnce(), ExpectedTiles("general"));

  host_.SetMode(fault.mode);
  LogCapture again;
  EXPECT_EQ(RequestOnce(), ExpectedTiles("general"));
  EXPECT_TRUE(AnsweredWithLastGoodList(again));
}

// libcurl codes: 18 partial file, 23 write error (body cap), 28 timed out,
// 56 receive error.
INSTANTIATE_TEST_SUITE_P(
    Faults, ContentsHostFaultTest,
    ::testing::Values(
        FaultCase{"NotFound", Mode::kNotFound, 64, 20, {"get json success"}, false},
        FaultCase{"Malformed", Mode::kMalformed, 64, 20, {"get json success"}, true},
        FaultCase{"Stall", Mode::kStall, 64, 20, {"[ErrorCode = 28]"}, false},
        FaultCase{"CutMidBody", Mode::kCutMidBody, 64, 20, {"[ErrorCode = 18]"}, true},
        FaultCase{"ResetMidBody", Mode::kReset, 64, 20, {"[ErrorCode = 18]", "[ErrorCode = 56]"}, true},
        FaultCase{"TrickleBelowTheRate", Mode::kTrickle, 64, 20, {"[ErrorCode = 28]"}, false},
        FaultCase{"TrickleBeyondTheTotalTime", Mode::kTrickle, 1, 2, {"[ErrorCode = 28]"}, false},
        FaultCase{"HugeChunkedBody", Mode::kHuge, 64, 20, {"[ErrorCode = 23]"}, false}),
    [](const ::testing::TestParamInfo<FaultCase>& param) { return std::string(param.param.name); });

// Requests made while every place is taken and no thread can be had are
// served by the next download to finish, on its own thread; one made when
// nothing runs is answered at once with the list kept.
TEST_F(ContentsHostTest, WithoutThreadsEveryRequestIsStillAnsweredOnce) {
  const int threadsBefore = ThreadsNow();
  TakeEveryPlaceWithStalledDownloads();
  AllowNewThreads(false);
  for (int i = 0; i < 3; ++i) contents_.RequestContentsList();
  host_.SetMode(Mode::kServe);
  host_.ReleaseStalled();
  EXPECT_TRUE(deliveries_.WaitFor(7, std::chrono::seconds(30)));
  EXPECT_TRUE(WaitForThreads(threadsBefore));
  contents_.RequestContentsList();
  AllowNewThreads(true);
  ASSERT_EQ(deliveries_.Count(), 8U);
  EXPECT_EQ(deliveries_.Last(), ExpectedTiles("general"));
  for (const Delivery& delivery : deliveries_.Deliveries()) EXPECT_EQ(ContentsIds(delivery.text), kContentsIds);
}

// A caller asking in a loop while every download stalls: its requests are
// counted, not kept one by one, and each still gets its answer.
TEST_F(ContentsHostTest, RequestsWaitingForStalledDownloadsTakeNoMemoryEach) {
  constexpr int kRequests = 500000;
  std::atomic<int> answered{0};
  contents_.RegisterCallback([](std::string, void* count) { ++*static_cast<std::atomic<int>*>(count); }, &answered);
  TakeEveryPlaceWithStalledDownloads();
  dlog_sim::SetLoggingOn(false);
  const long before = ResidentKib();
  for (int i = 0; i < kRequests; ++i) contents_.RequestContentsList();
  EXPECT_LT(ResidentKib() - before, 1024);
  dlog_sim::SetLoggingOn(true);
  host_.SetMode(Mode::kServe);
  host_.ReleaseStalled();
  for (int waited = 0; answered < kRequests + 4 && waited < 3000; ++waited) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_EQ(answered, kRequests + 4);
}

// Two downloads overlap, and the one begun first, of the file's older
// version, ends last. Its receiver is told that its list may be out of date,
// and the last good list stays the newer version.
TEST_F(ContentsHostTest, AnOlderVersionEndingLastIsOutOfDateAndNotKept) {
  struct Answers {
    std::mutex mutex;
    std::condition_variable arrived;
    std::vector<std::pair<std::string, bool>> list;  // the list, and whether it may be out of date
  } answers;
  const int threadsBefore = ThreadsNow();
  contents_.RegisterCallback(
      [](const CContentsDelivery& delivery, void* userData) {
        auto* to = static_cast<Answers*>(userData);
        std::lock_guard<std::mutex> lock(to->mutex);
        to->list.emplace_back(delivery.Json(), delivery.OutOfDate());
        to->arrived.notify_all();
      },
      &answers);
  const std::filesystem::path root = std::filesystem::path(testing::TempDir()) / "versions";
  std::filesystem::remove_all(root);
  std::filesystem::copy(DefaultContentsRoot(), root, std::filesystem::copy_options::recursive);
  host_.Stop();
  ContentsHost host({VARNIO_CONTENTS_HOST_PORT, root.string(), DefaultTlsDir()});
  ASSERT_TRUE(host.Start());

  host.SetMode(Mode::kDelayed);
  contents_.RequestContentsList();  // the general file, held back
  while (host.Requests() < 1) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  std::filesystem::copy_file(root / "kr/service-quorvel-app.json", root / "service-quorvel-app.json",
                             std::filesystem::copy_options::overwrite_existing);
  host.SetMode(Mode::kServe);
  contents_.RequestContentsList();  // the newer version, at once
  {
    // The older version ends only once the newer one is in.
    std::unique_lock<std::mutex> lock(answers.mutex);
    ASSERT_TRUE(answers.arrived.wait_for(lock, std::chrono::seconds(10), [&] { return !answers.list.empty(); }));
  }
  host.ReleaseStalled();
  ASSERT_TRUE(WaitForThreads(threadsBefore));
  host.SetMode(Mode::kNotFound);
  contents_.RegisterCallback(Recorder::Callback, &deliveries_);
  EXPECT_EQ(RequestOnce(), ExpectedTiles("kr"));

  std::lock_guard<std::mutex> lock(answers.mutex);
  EXPECT_THAT(answers.list, ElementsAre(Pair(ExpectedTiles("kr"), false), Pair(ExpectedTiles("general"), true)));
}

}  // namespace
