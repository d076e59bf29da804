// Fixture for tests that drive the service through the exported functions
// and the platform stand-ins only. The service is a process-wide singleton,
// so each test case runs in a process of its own (ctest runs them so); the
// fixture sets the simulated account up before the first exported call.
#ifndef VARNIO_TESTS_SERVICE_TEST_H_
#define VARNIO_TESTS_SERVICE_TEST_H_

#include <IoTFrameworkSim.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ContentsTiles.h"
#include "Recorder.h"
#include "varnio.h"

class ServiceTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Registers the recorders, which creates the service and sends its
  // sign-in request; waits until the framework has answered it.
  void StartService();
  // Signed in with `routines` at the current location, service started, the
  // first routine list delivered and the resulting event recorded.
  void StartSignedIn(const std::vector<iotfw_sim::Routine>& routines);

  // Waits until the framework's and the notification threads are idle.
  static void Settle();

  // Threads once the service and the stand-ins run; contents downloads
  // still running above this are waited for, so none outlives the test.
  int baseThreads_ = 0;
  Recorder results_;
  Recorder events_;
};

// The routine ids of an after-sign-in tile list, its one section.
inline std::vector<std::string> RoutineIds(const std::string& json) { return TileIds(json, 1); }

#endif  // VARNIO_TESTS_SERVICE_TEST_H_
