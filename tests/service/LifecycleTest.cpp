// Creation of the service on the first exported call, and the registries'
// answers to valid and invalid types.
#include <IoTFrameworkSim.h>
#include <gmock/gmock.h>

#include <atomic>
#include <thread>
#include <vector>

#include "LogCapture.h"
#include "ServiceTest.h"

using ::testing::ElementsAre;

constexpr auto Ignore = [](std::string, void*) {};

// Any exported call creates the service; racing first calls create one.
TEST(LifecycleTest, ConcurrentFirstCallsCreateOneInstance) {
  iotfw_sim::Reset();
  LogCapture capture;
  std::atomic<bool> go{false};
  std::vector<std::thread> threads;
  for (int i = 0; i < 8; ++i) {
    threads.emplace_back([&go, i] {
      while (!go.load()) std::this_thread::yield();
      if (i % 2 == 0) iot_svc_unregister_event_cb(static_cast<iot_svc_event_type_e>(5));
      if (i % 2 == 1) iot_svc_register_result_cb(IOT_SVC_CMD_RESERVED, Ignore, nullptr);
    });
  }
  go = true;
  for (std::thread& t : threads) t.join();
  iotfw_sim::WaitIdle();
  EXPECT_THAT(capture.Messages("CIoTService"), ElementsAre("CIoTService"));
  EXPECT_EQ(capture.Messages("m_Initialize").size(), 1U);
  EXPECT_EQ(iotfw_sim::CountRequests(102), 1);
  EXPECT_EQ(iotfw_sim::RegisteredCallbackCount(), 2);  // the service's event and result functions
}

TEST(LifecycleTest, RegistriesAcceptOnlyKnownTypes) {
  iot_svc_register_result_cb(IOT_SVC_CMD_RESERVED, Ignore, nullptr);  // the service, made outside the captures
  iotfw_sim::WaitIdle();
  for (const auto& [type, accepted] : {std::pair{0, true}, {1, true}, {2, false}, {-1, false}, {1000, false}}) {
    LogCapture capture;
    EXPECT_EQ(iot_svc_register_result_cb(static_cast<iot_svc_cmd_type_e>(type), Ignore, nullptr), accepted) << type;
    const std::vector<LogLine> lines = capture.Lines();
    ASSERT_EQ(lines.size(), accepted ? 1U : 2U) << type;
    EXPECT_EQ(lines[0].message, "");  // the entry trace line
    if (!accepted) {
      EXPECT_EQ(lines[1].message, "RegisterCallback() is failed.");
      EXPECT_EQ(lines[1].priority, 4);  // level 1: info
    }
  }
  for (const auto& [type, accepted] : {std::pair{0, true}, {1, false}, {-3, false}}) {
    LogCapture capture;
    EXPECT_EQ(iot_svc_register_event_cb(static_cast<iot_svc_event_type_e>(type), Ignore, nullptr), accepted) << type;
    std::vector<std::string> expected = {"CIoTService::RegisterEvent : event_type : " + std::to_string(type)};
    if (!accepted) expected.push_back("Undefined Event Type !!!");
    EXPECT_EQ(capture.Messages(), expected);
  }
  LogCapture capture;
  iot_svc_unregister_result_cb(static_cast<iot_svc_cmd_type_e>(5));
  iot_svc_unregister_event_cb(static_cast<iot_svc_event_type_e>(5));
  iot_svc_unregister_event_cb(IOT_SVC_EVENT_TILES_CHANGED);
  EXPECT_THAT(capture.Messages(), ElementsAre(""));  // event unregistration never logs
}
