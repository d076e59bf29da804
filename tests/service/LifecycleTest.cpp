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

namespace {

void Ignore(std::string, void*) {}

int CountMessage(const LogCapture& capture, const std::string& function, const std::string& message) {
  int count = 0;
  for (const std::string& m : capture.Messages(function)) count += m == message ? 1 : 0;
  return count;
}

}  // namespace

TEST(LifecycleTest, FirstCallInitialisesOnceAndLaterCallsReuse) {
  iotfw_sim::Reset();
  LogCapture capture;
  iot_svc_unregister_event_cb(static_cast<iot_svc_event_type_e>(5));
  iot_svc_unregister_event_cb(static_cast<iot_svc_event_type_e>(5));
  EXPECT_TRUE(iot_svc_register_event_cb(IOT_SVC_EVENT_TILES_CHANGED, Ignore, nullptr));
  iotfw_sim::WaitIdle();

  EXPECT_EQ(CountMessage(capture, "CIoTService", "CIoTService"), 1);
  EXPECT_EQ(capture.Messages("m_Initialize").size(), 1U);
  EXPECT_EQ(iotfw_sim::CountRequests(102), 1);
  // Event and result function of the service.
  EXPECT_EQ(iotfw_sim::RegisteredCallbackCount(), 2);
}

TEST(LifecycleTest, ConcurrentFirstCallsCreateOneInstance) {
  iotfw_sim::Reset();
  LogCapture capture;
  std::atomic<bool> go{false};
  std::vector<std::thread> threads;
  for (int i = 0; i < 8; ++i) {
    threads.emplace_back([&go] {
      while (!go.load()) std::this_thread::yield();
      iot_svc_register_result_cb(IOT_SVC_CMD_RESERVED, Ignore, nullptr);
    });
  }
  go = true;
  for (std::thread& t : threads) t.join();
  iotfw_sim::WaitIdle();

  EXPECT_EQ(CountMessage(capture, "CIoTService", "CIoTService"), 1);
  EXPECT_EQ(iotfw_sim::CountRequests(102), 1);
  EXPECT_EQ(iotfw_sim::RegisteredCallbackCount(), 2);
}

TEST(LifecycleTest, RegistrationAcceptsOnlyKnownTypes) {
  iot_svc_register_result_cb(IOT_SVC_CMD_RESERVED, Ignore, nullptr);  // create the service outside the capture
  iotfw_sim::WaitIdle();
  struct Case {
    int type;
    bool result;
  };
  for (const Case& c : {Case{0, true}, Case{1, true}, Case{2, false}, Case{-1, false}, Case{1000, false}}) {
    LogCapture capture;
    EXPECT_EQ(iot_svc_register_result_cb(static_cast<iot_svc_cmd_type_e>(c.type), Ignore, nullptr), c.result)
        << "result type " << c.type;
    const std::vector<LogLine> lines = capture.Lines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front().message, "");  // entry trace line
    if (!c.result) {
      ASSERT_EQ(lines.size(), 2U);
      EXPECT_EQ(lines[1].message, "RegisterCallback() is failed.");
      EXPECT_EQ(lines[1].priority, 4);  // level 1: info
    }
  }
  for (const Case& c : {Case{0, true}, Case{1, false}, Case{-3, false}}) {
    LogCapture capture;
    EXPECT_EQ(iot_svc_register_event_cb(static_cast<iot_svc_event_type_e>(c.type), Ignore, nullptr), c.result)
        << "event type " << c.type;
    std::vector<std::string> expected = {"CIoTService::RegisterEvent : event_type : " + std::to_string(c.type)};
    if (!c.result) expected.push_back("Undefined Event Type !!!");
    EXPECT_EQ(capture.Messages(), expected);
  }
}

TEST(LifecycleTest, UnregisteringUnknownTypesChangesNothing) {
  iot_svc_register_result_cb(IOT_SVC_CMD_RESERVED, Ignore, nullptr);
  iotfw_sim::WaitIdle();
  LogCapture capture;
  iot_svc_unregister_result_cb(static_cast<iot_svc_cmd_type_e>(5));
  EXPECT_THAT(capture.Messages(), ElementsAre(""));
  iot_svc_unregister_event_cb(static_cast<iot_svc_event_type_e>(5));
  iot_svc_unregister_event_cb(IOT_SVC_EVENT_TILES_CHANGED);
  EXPECT_THAT(capture.Messages(), ElementsAre(""));  // event unregistration never logs
}
