// Caller calls, framework results and events, wake-ups and language changes
// from several threads at once. Run under ThreadSanitizer in CI; here it
// checks that nothing deadlocks and that the service ends in a sound state.
#include <IoTFrameworkSim.h>
#include <device/power_sim.h>
#include <gmock/gmock.h>
#include <vconf_sim.h>

#include <atomic>
#include <thread>

#include "ServiceTest.h"

using ::testing::ElementsAre;

TEST_F(ServiceTest, EverythingAtOnceEndsConsistent) {
  const std::vector<iotfw_sim::Routine> routines = {{"a1", "Good Morning"}, {"b2", "Movie"}, {"c3", "Goodbye"}};
  StartSignedIn(routines);
  std::atomic<bool> stop{false};

  std::thread caller([&] {
    while (!stop.load()) {
      iot_svc_get_accelerator_tiles();
      iot_svc_execute_tile(IOT_SVC_TILE_ROUTINE, "a1");
      iot_svc_register_event_cb(IOT_SVC_EVENT_TILES_CHANGED, Recorder::Callback, &events_);
      // Signed out, each request starts a download thread; keep their number sane.
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  });
  std::thread platform([&] {
    for (int i = 0; i < 20; ++i) {
      power_sim::TriggerWakeup();
      vconf_sim::SetStr("db/menu_widget/language", i % 2 ? "ko_KR.utf8" : "en_US.utf8");
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  });
  for (int i = 0; i < 50; ++i) {
    iotfw_sim::InjectEvent(1004, iotfw_sim::MakeCloudEvent("InstalledVelkapCreated", "n" + std::to_string(i), "New"));
    iotfw_sim::InjectEvent(1004, iotfw_sim::MakeCloudEvent("InstalledVelkapUpdated", "a1", "Good night"));
    iotfw_sim::InjectEvent(1004, iotfw_sim::MakeCloudEvent("InstalledVelkapDeleted", "n" + std::to_string(i), ""));
    iotfw_sim::InjectEvent(i % 10 == 0 ? 1001 : 1005, "");
    if (i % 10 == 0) iotfw_sim::InjectResult(102, R"({"result":"Success"})");
  }
  platform.join();
  Settle();
  stop = true;
  caller.join();
  Settle();

  // A final refresh while signed in: the caller hears of it and gets the
  // account's routines.
  iotfw_sim::InjectResult(102, R"({"result":"Success"})");
  iotfw_sim::InjectEvent(1005, "");
  Settle();
  results_.Clear();
  iot_svc_get_accelerator_tiles();
  Settle();
  ASSERT_GE(results_.Count(), 1U);
  EXPECT_THAT(RoutineIds(results_.Deliveries().back().text), ElementsAre("a1", "b2", "c3"));

  // A sign-out leaves no routine tile behind.
  iotfw_sim::InjectEvent(1001, "");
  Settle();
  events_.Clear();
  iotfw_sim::InjectEvent(1004, iotfw_sim::MakeCloudEvent("InstalledVelkapDeleted", "a1", ""));
  Settle();
  results_.Clear();
  iot_svc_get_accelerator_tiles();  // signed out: only a contents list can come
  ASSERT_TRUE(results_.WaitFor(1));
  EXPECT_THAT(RoutineIds(results_.Last()), ::testing::Not(ElementsAre("a1", "b2", "c3")));
}
