// Power wake-up and TV language changes.
#include <IoTFrameworkSim.h>
#include <device/power_sim.h>
#include <gmock/gmock.h>
#include <vconf_sim.h>

#include <thread>

#include "LogCapture.h"
#include "ServiceTest.h"

using ::testing::ElementsAre;
using iotfw_sim::AnswerMode;

namespace {

const std::vector<iotfw_sim::Routine> kTwo = {{"a1", "Good Morning"}, {"b2", "Movie"}};

}  // namespace

TEST_F(ServiceTest, WakeUpSignedInWithLaterAnswerRefreshesAndNotifies) {
  StartSignedIn(kTwo);
  iotfw_sim::ClearRequests();
  events_.Clear();
  LogCapture capture;
  power_sim::TriggerWakeup();
  Settle();
  EXPECT_FALSE(capture.Contains("login status changed!"));
  ASSERT_EQ(iotfw_sim::Requests().size(), 2U);
  EXPECT_EQ(iotfw_sim::Requests()[0].command, 102);
  EXPECT_EQ(iotfw_sim::Requests()[1].command, 107);
  EXPECT_EQ(events_.Count(), 1U);
}

TEST_F(ServiceTest, WakeUpFindingSignOutInsideTheRequestClearsTilesAtOnce) {
  StartSignedIn(kTwo);
  iotfw_sim::SetSignedIn(false);
  iotfw_sim::SetAnswerMode(102, AnswerMode::kSync);
  iotfw_sim::ClearRequests();
  events_.Clear();
  LogCapture capture;
  power_sim::TriggerWakeup();
  Settle();
  EXPECT_TRUE(capture.Contains("login status changed!"));
  EXPECT_EQ(events_.Count(), 1U);
  EXPECT_EQ(iotfw_sim::CountRequests(107), 0);
  // Signed in again at the next wake-up: the tiles were gone and are fetched.
  iotfw_sim::SetSignedIn(true);
  power_sim::TriggerWakeup();
  Settle();
  iot_svc_get_accelerator_tiles();
  EXPECT_THAT(RoutineIds(results_.Last()), ElementsAre("a1", "b2"));
}

TEST_F(ServiceTest, WakeUpSignedOutOnlyAsksForTheSignInState) {
  StartService();
  iotfw_sim::ClearRequests();
  power_sim::TriggerWakeup();
  Settle();
  ASSERT_EQ(iotfw_sim::Requests().size(), 1U);
  EXPECT_EQ(iotfw_sim::Requests()[0].command, 102);
  EXPECT_EQ(events_.Count(), 0U);
}

TEST_F(ServiceTest, FailedWakeUpSubscriptionLeavesTheServiceWorking) {
  power_sim::SetSubscribeFails(true);
  LogCapture capture;
  StartSignedIn(kTwo);
  EXPECT_TRUE(capture.Contains("Fail to subscribe wake-up callback"));
  EXPECT_EQ(power_sim::SubscriberCount(), 0);
  iot_svc_get_accelerator_tiles();
  EXPECT_THAT(RoutineIds(results_.Last()), ElementsAre("a1", "b2"));
}

TEST_F(ServiceTest, FailedLanguageSubscriptionStillBindsTheCatalogue) {
  vconf_sim::SetNotifyFails(true);
  LogCapture capture;
  StartService();
  EXPECT_TRUE(capture.Contains("Unable to register a vconf changed cb to db/menu_widget/language."));
  vconf_sim::SetNotifyFails(false);
}

TEST_F(ServiceTest, LanguageChangeSignedInNotifiesAndRefreshesRoutines) {
  StartSignedIn(kTwo);
  iotfw_sim::ClearRequests();
  events_.Clear();
  iotfw_sim::SetRoutines("loc-home", {{"k1", "좋은 아침 morning"}});
  vconf_sim::SetStr("db/menu_widget/language", "ko_KR.utf8");
  Settle();
  EXPECT_EQ(iotfw_sim::CountRequests(107), 1);
  // The routines title is in another language now, and the list changed.
  EXPECT_EQ(events_.Count(), 2U);
  iot_svc_get_accelerator_tiles();
  EXPECT_THAT(RoutineIds(results_.Last()), ElementsAre("k1"));
}

TEST_F(ServiceTest, LanguageChangeSignedOutDropsOneContentsResult) {
  StartService();
  LogCapture capture;
  vconf_sim::SetStr("db/menu_widget/language", "de_DE.utf8");
  Settle();
  EXPECT_EQ(iotfw_sim::CountRequests(107), 0);
  iot_svc_get_accelerator_tiles();
  // Two downloads ran; whichever finished first was dropped.
  for (int i = 0; i < 200 && capture.Messages("m_ContentsCb").size() < 2; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  ASSERT_EQ(capture.Messages("m_ContentsCb").size(), 2U);
  ASSERT_TRUE(results_.WaitFor(1));
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(results_.Count(), 1U);
  EXPECT_NE(results_.Last().find("\"id\" : \"intro\""), std::string::npos);
}
