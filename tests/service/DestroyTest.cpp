// A service that is destroyed withdraws every registration it made, and no
// notification reaches it once its destructor has returned, even while the
// platform's and the framework's threads keep delivering.
#include <IoTFrameworkSim.h>
#include <device/power_sim.h>
#include <gmock/gmock.h>
#include <vconf_sim.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "IoTService.h"
#include "LogCapture.h"

TEST(DestroyTest, ADestroyedServiceWithdrawsAndHearsNothingMore) {
  iotfw_sim::Reset();
  iotfw_sim::SetSignedIn(true);
  iotfw_sim::SetRoutines("loc-home", {{"a1", "Good Morning"}});
  auto* service = new CIoTService();
  EXPECT_EQ(iotfw_sim::RegisteredCallbackCount(), 2);
  EXPECT_EQ(power_sim::SubscriberCount(), 1);

  std::atomic<bool> stop{false};
  std::thread storm([&stop] {
    for (int i = 0; !stop; ++i) {
      vconf_sim::SetStr("db/menu_widget/language", i % 2 == 0 ? "ko_KR.utf8" : "en_US.utf8");
      power_sim::TriggerWakeup();
      iotfw_sim::InjectEvent(1005, "");
      iotfw_sim::InjectResult(107, iotfw_sim::MakeRoutineListAnswer({{"a1", "Good Morning"}}));
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  delete service;
  LogCapture afterwards;
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  stop = true;
  storm.join();
  vconf_sim::WaitIdle();
  power_sim::WaitIdle();
  iotfw_sim::WaitIdle();

  EXPECT_EQ(iotfw_sim::RegisteredCallbackCount(), 0);
  EXPECT_EQ(power_sim::SubscriberCount(), 0);
  for (const char* handler : {"m_OnFwkEvent", "m_OnFwkResult", "m_LanguageChangedCb", "m_PowerWakeUpCb", "m_ContentsCb"}) {
    EXPECT_THAT(afterwards.Messages(handler), testing::IsEmpty()) << handler;
  }
}
