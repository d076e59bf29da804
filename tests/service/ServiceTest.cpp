#include "ServiceTest.h"

#include "ThreadCount.h"

#include <device/power_sim.h>
#include <vconf_sim.h>
#include <was_sim.h>

#include <chrono>

void ServiceTest::SetUp() {
  iotfw_sim::Reset();
  was_sim::Clear();
  vconf_sim::SetStr("db/menu_widget/language", "en_US.utf8");
  vconf_sim::WaitIdle();
}

void ServiceTest::TearDown() {
  iot_svc_unregister_result_cb(IOT_SVC_CMD_GET_ACCELERATOR_TILES);
  iot_svc_unregister_event_cb(IOT_SVC_EVENT_TILES_CHANGED);
  Settle();
  if (baseThreads_ > 0) WaitForThreadCount(baseThreads_, std::chrono::seconds(10));
}

void ServiceTest::StartService() {
  // Held so that no answer to the start-up requests overtakes the registrations.
  iotfw_sim::HoldCallbacks(true);
  const bool results = iot_svc_register_result_cb(IOT_SVC_CMD_GET_ACCELERATOR_TILES, Recorder::Callback, &results_);
  const bool events = iot_svc_register_event_cb(IOT_SVC_EVENT_TILES_CHANGED, Recorder::Callback, &events_);
  iotfw_sim::HoldCallbacks(false);
  ASSERT_TRUE(results && events);
  Settle();
  baseThreads_ = ThreadCount();
}

void ServiceTest::StartSignedIn(const std::vector<iotfw_sim::Routine>& routines) {
  iotfw_sim::SetSignedIn(true);
  iotfw_sim::SetRoutines("loc-home", routines);
  StartService();
  ASSERT_TRUE(routines.empty() || events_.WaitFor(1));
  Settle();
}

void ServiceTest::Settle() {
  // A notification may cause framework traffic and the other way round.
  for (int i = 0; i < 2; ++i) {
    vconf_sim::WaitIdle();
    power_sim::WaitIdle();
    iotfw_sim::WaitIdle();
  }
}
