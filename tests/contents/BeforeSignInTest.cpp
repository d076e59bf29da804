// The signed-out road through the exported functions only: a tile request
// downloads the contents file from the local HTTPS host and the caller's
// result callback receives its tile list, byte for byte.
#include <gtest/gtest.h>
#include <vconf_sim.h>

#include <chrono>
#include <string>

#include "ContentsHost.h"
#include "ContentsTiles.h"
#include "ServiceTest.h"
#include "ThreadCount.h"
#include "varnio.h"

namespace {

class BeforeSignInTest : public ServiceTest {
 protected:
  void SetUp() override {
    ServiceTest::SetUp();
    ASSERT_TRUE(host_.Start());
    StartService();
  }

  // Every download thread has ended, so no delivery is still on its way.
  bool DownloadsDone() {
    return WaitForThreadCount(baseThreads_, std::chrono::seconds(30));
  }

  ContentsHost host_{{VARNIO_CONTENTS_HOST_PORT, DefaultContentsRoot(), DefaultTlsDir()}};
};

TEST_F(BeforeSignInTest, TileRequestDeliversTheContentsList) {
  iot_svc_get_accelerator_tiles();
  ASSERT_TRUE(results_.WaitFor(1, std::chrono::seconds(30)));
  EXPECT_EQ(results_.Last(), ExpectedTiles("general"));
  ASSERT_TRUE(DownloadsDone());
  EXPECT_EQ(results_.Count(), 1U);
  EXPECT_EQ(host_.Requests(), 1);
}

TEST_F(BeforeSignInTest, LanguageChangeDropsOneListAndTheNextIsKorean) {
  vconf_sim::SetStr("db/menu_widget/language", "ko_KR.utf8");
  Settle();
  iot_svc_get_accelerator_tiles();
  ASSERT_TRUE(results_.WaitFor(1, std::chrono::seconds(30)));
  ASSERT_TRUE(DownloadsDone());
  EXPECT_EQ(host_.Requests(), 2);
  EXPECT_EQ(results_.Count(), 1U);
  EXPECT_EQ(results_.Last(), ExpectedTiles("kr"));

  iot_svc_get_accelerator_tiles();
  ASSERT_TRUE(results_.WaitFor(2, std::chrono::seconds(30)));
  EXPECT_EQ(results_.Last(), ExpectedTiles("kr"));
}

// Each change starts a download of its own; none of them was asked for, so
// none may reach the caller, however quickly the changes follow each other.
TEST_F(BeforeSignInTest, QuickLanguageChangesSendNoListUnasked) {
  for (const char* language : {"ko_KR.utf8", "en_US.utf8", "ko_KR.utf8"}) {
    vconf_sim::SetStr("db/menu_widget/language", language);
  }
  Settle();
  ASSERT_TRUE(DownloadsDone());
  EXPECT_EQ(host_.Requests(), 3);
  EXPECT_EQ(results_.Count(), 0U);

  iot_svc_get_accelerator_tiles();
  ASSERT_TRUE(results_.WaitFor(1, std::chrono::seconds(30)));
  ASSERT_TRUE(DownloadsDone());
  EXPECT_EQ(results_.Count(), 1U);
  EXPECT_EQ(results_.Last(), ExpectedTiles("kr"));
}

}  // namespace
