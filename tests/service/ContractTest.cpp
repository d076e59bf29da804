// What scenario files cannot state: the exact bytes of the signed-in row,
// the callbacks' threads and user data, registrations replaced, reserved or
// null, and the platform refusing a subscription.
#include <IoTFrameworkSim.h>
#include <device/power_sim.h>
#include <gmock/gmock.h>
#include <vconf_sim.h>

#include <clocale>
#include <cstdlib>
#include <regex>
#include <thread>

#include "LogCapture.h"
#include "ServiceTest.h"
#include "TestData.h"

using ::testing::ElementsAre;

// The expected rows name the build's resource directory "@RES@".
TEST_F(ServiceTest, SignedInRowIsStyledJsonOfTheHeldTiles) {
  StartSignedIn({{"a1", "Good Morning"}, {"b2", "Movie"}});
  iot_svc_get_accelerator_tiles();
  const std::string expected = ReadTestData("routines/expected/two-routines-row.json");
  EXPECT_EQ(results_.Last(), std::regex_replace(expected, std::regex("@RES@"), VARNIO_EXPECTED_RES_DIR));
  // With no routine left, the same shape with an empty list.
  iotfw_sim::DeleteRoutine("loc-home", "a1");
  iotfw_sim::DeleteRoutine("loc-home", "b2");
  Settle();
  iot_svc_get_accelerator_tiles();
  EXPECT_EQ(results_.Last(), ReadTestData("routines/expected/no-routines-row.json"));
}

TEST_F(ServiceTest, DeliveriesCarryTheirUserDataOnTheirThreads) {
  StartSignedIn({{"r1", "Good Morning"}});
  iot_svc_get_accelerator_tiles();  // tiles held: delivered before the call returns
  iotfw_sim::SetSignedIn(false);
  iotfw_sim::InjectEvent(1001, "");
  ASSERT_TRUE(events_.WaitFor(2));
  const Delivery row = results_.Deliveries().at(0);
  EXPECT_EQ(row.thread, std::this_thread::get_id());
  EXPECT_EQ(row.userData, &results_);
  const Delivery notice = events_.Deliveries().at(1);
  EXPECT_EQ(notice.text, "");
  EXPECT_EQ(notice.userData, &events_);
  EXPECT_EQ(notice.thread, iotfw_sim::CallbackThreadId());
}

TEST_F(ServiceTest, RegistrationsReplaceAndReservedOrNullOnesAreNeverCalled) {
  StartSignedIn({{"r1", "Good Morning"}});
  Recorder second;
  Recorder reserved;
  ASSERT_TRUE(iot_svc_register_result_cb(IOT_SVC_CMD_GET_ACCELERATOR_TILES, Recorder::Callback, &second));
  ASSERT_TRUE(iot_svc_register_result_cb(IOT_SVC_CMD_RESERVED, Recorder::Callback, &reserved));
  iot_svc_get_accelerator_tiles();
  EXPECT_EQ(results_.Count(), 0U);
  ASSERT_EQ(second.Count(), 1U);
  EXPECT_EQ(second.Deliveries()[0].userData, &second);
  EXPECT_EQ(reserved.Count(), 0U);
  ASSERT_TRUE(iot_svc_register_result_cb(IOT_SVC_CMD_GET_ACCELERATOR_TILES, nullptr, nullptr));
  ASSERT_TRUE(iot_svc_register_event_cb(IOT_SVC_EVENT_TILES_CHANGED, nullptr, nullptr));
  iot_svc_get_accelerator_tiles();
  iotfw_sim::InjectEvent(1001, "");
  Settle();
  EXPECT_EQ(second.Count(), 1U);
}

TEST_F(ServiceTest, FailedSubscriptionsAreLoggedAndTheServiceStillWorks) {
  power_sim::SetSubscribeFails(true);
  vconf_sim::SetNotifyFails(true);
  LogCapture capture;
  StartSignedIn({{"a1", "Good Morning"}});
  vconf_sim::SetNotifyFails(false);
  EXPECT_TRUE(capture.Contains("Fail to subscribe wake-up callback"));
  EXPECT_TRUE(capture.Contains("Unable to register a vconf changed cb to db/menu_widget/language."));
  EXPECT_EQ(power_sim::SubscriberCount(), 0);
  iot_svc_get_accelerator_tiles();
  EXPECT_THAT(RoutineIds(results_.Last()), ElementsAre("a1"));
}

// The title goes into JSON, which is UTF-8, even in a process whose locale
// has another character set: here one made for the test, Korean in EUC-KR.
TEST_F(ServiceTest, TitleIsUtf8UnderALocaleOfAnotherCharset) {
  const std::string dir = testing::TempDir() + "varnio-locales";
  const std::string make = "mkdir -p " + dir + " && localedef -i ko_KR -f EUC-KR " + dir + "/ko_KR.euckr 2>/dev/null";
  ASSERT_EQ(std::system(make.c_str()), 0) << "localedef could not make ko_KR.euckr";
  setenv("LOCPATH", dir.c_str(), 1);
  setenv("LANGUAGE", "ko", 1);
  ASSERT_NE(std::setlocale(LC_ALL, "ko_KR.euckr"), nullptr);
  StartSignedIn({{"r-1", "Good Morning"}});
  vconf_sim::SetStr("db/menu_widget/language", "ko_KR.utf8");
  Settle();
  results_.Clear();
  iot_svc_get_accelerator_tiles();
  EXPECT_NE(results_.Last().find(R"("title" : "\ub8e8\ud2f4")"), std::string::npos) << results_.Last();
}
