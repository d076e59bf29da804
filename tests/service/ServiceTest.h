// Fixture for tests that drive the service through the exported functions
// and the platform stand-ins only. The service is a process-wide singleton,
// so each test case runs in a process of its own (ctest runs them so); the
// fixture sets the simulated account up before the first exported call.
#ifndef VARNIO_TESTS_SERVICE_TEST_H_
#define VARNIO_TESTS_SERVICE_TEST_H_

#include <IoTFrameworkSim.h>
#include <device/power_sim.h>
#include <gtest/gtest.h>
#include <vconf_sim.h>
#include <was_sim.h>

#include <chrono>
#include <string>
#include <vector>

#include "ContentsTiles.h"
#include "Recorder.h"
#include "ThreadCount.h"
#include "varnio.h"

class ServiceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    iotfw_sim::Reset();
    was_sim::Clear();
    vconf_sim::SetStr("db/menu_widget/language", "en_US.utf8");
    vconf_sim::WaitIdle();
  }

  void TearDown() override {
    iot_svc_unregister_result_cb(IOT_SVC_CMD_GET_ACCELERATOR_TILES);
    iot_svc_unregister_event_cb(IOT_SVC_EVENT_TILES_CHANGED);
    Settle();
    if (baseThreads_ > 0) WaitForThreadCount(baseThreads_, std::chrono::seconds(10));
  }

  // Registers the recorders, which creates the service and sends its
  // sign-in request; waits until the framework has answered it.
  void StartService() {
    // Held so that no answer to the start-up requests overtakes the registrations.
    iotfw_sim::HoldCallbacks(true);
    const bool results = iot_svc_register_result_cb(IOT_SVC_CMD_GET_ACCELERATOR_TILES, Recorder::Callback, &results_);
    const bool events = iot_svc_register_event_cb(IOT_SVC_EVENT_TILES_CHANGED, Recorder::Callback, &events_);
    iotfw_sim::HoldCallbacks(false);
    ASSERT_TRUE(results && events);
    Settle();
    baseThreads_ = ThreadCount();
  }

  // Signed in with `routines` at the current location, service started, the
  // first routine list delivered and the resulting event recorded.
  void StartSignedIn(const std::vector<iotfw_sim::Routine>& routines) {
    iotfw_sim::SetSignedIn(true);
    iotfw_sim::SetRoutines("loc-home", routines);
    StartService();
    ASSERT_TRUE(routines.empty() || events_.WaitFor(1));
    Settle();
  }

  // Waits until the framework's and the notification threads are idle; twice,
  // as a notification may cause framework traffic and the other way round.
  static void Settle() {
    for (int i = 0; i < 2; ++i) {
      vconf_sim::WaitIdle();
      power_sim::WaitIdle();
      iotfw_sim::WaitIdle();
    }
  }

  // Threads once the service and the stand-ins run; contents downloads
  // still running above this are waited for, so none outlives the test.
  int baseThreads_ = 0;
  Recorder results_;
  Recorder events_;
};

// The routine ids of an after-sign-in tile list, its one section.
inline std::vector<std::string> RoutineIds(const std::string& json) { return TileIds(json, 1); }

#endif  // VARNIO_TESTS_SERVICE_TEST_H_
