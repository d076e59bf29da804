// The contents host misbehaving while the user is signed out, seen through
// the exported functions: every tile request still gets exactly one list of
// the four fixed tiles, a burst of requests during the fault keeps threads
// bounded, and once the host behaves the next request gets the real file.
#include <gmock/gmock.h>

#include "ContentsDownload.h"
#include "ContentsHost.h"
#include "FaultTest.h"
#include "TestData.h"

namespace {

using Mode = ContentsHost::Mode;

struct HostFault {
  const char* name;
  Mode mode;
  bool refused;  // no host listening at all
};

void PrintTo(const HostFault& fault, std::ostream* out) { *out << fault.name; }

// More than the downloads allowed at once, so some requests wait behind the
// faulty ones.
constexpr size_t kBurst = 7;

}  // namespace

class ContentsFaultTest : public FaultTest, public ::testing::WithParamInterface<HostFault> {
 protected:
  void SetUp() override {
    FaultTest::SetUp();
    // A stalled host then costs about a second, not the production half minute.
    ContentsDownloadSettings settings;
    settings.connectTimeoutSeconds = 5;
    settings.lowSpeedSeconds = 1;
    settings.totalTimeoutSeconds = 20;
    settings.lowSpeedBytesPerSecond = 64;
    SetDownloadSettings(settings);
    ASSERT_TRUE(host_.Start());
    StartService();
  }

  ContentsHost host_{{VARNIO_CONTENTS_HOST_PORT, DefaultContentsRoot(), DefaultTlsDir()}};
};

TEST_P(ContentsFaultTest, EveryRequestGetsTheFixedTilesAndTheServiceRecovers) {
  const HostFault& fault = GetParam();
  if (fault.refused) {
    host_.Stop();
  } else {
    host_.SetMode(fault.mode);
  }
  ThreadPeak peak;
  for (size_t i = 0; i < kBurst; ++i) iot_svc_get_accelerator_tiles();
  ASSERT_TRUE(results_.WaitFor(kBurst, std::chrono::seconds(30)));
  EXPECT_LE(peak.Stop(), baseThreads_ + kDownloadThreadSlack);
  ExpectNoThreadLeft();
  ASSERT_EQ(results_.Count(), kBurst);
  for (const Delivery& d : results_.Deliveries()) EXPECT_EQ(ContentsIds(d.text), kContentsIds);

  if (fault.refused) {
    ASSERT_TRUE(host_.Start());
  } else {
    host_.SetMode(Mode::kServe);
  }
  ExpectContentsTiles();
  std::string general;
  ASSERT_TRUE(ReadFileBytes(TestDataPath("contents/expected/general-tiles.json"), general));
  EXPECT_EQ(results_.Last(), general);
}

INSTANTIATE_TEST_SUITE_P(Faults, ContentsFaultTest,
                         ::testing::Values(HostFault{"NotFound", Mode::kNotFound, false},
                                           HostFault{"Malformed", Mode::kMalformed, false},
                                           HostFault{"Stall", Mode::kStall, false},
                                           HostFault{"CutMidBody", Mode::kCutMidBody, false},
                                           HostFault{"ResetMidBody", Mode::kReset, false},
                                           HostFault{"Trickle", Mode::kTrickle, false},
                                           HostFault{"HugeBody", Mode::kHuge, false},
                                           HostFault{"Refused", Mode::kServe, true}),
                         [](const ::testing::TestParamInfo<HostFault>& param) {
                           return std::string(param.param.name);
                         });
