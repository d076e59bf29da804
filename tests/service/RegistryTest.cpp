// Delivery to the caller's callbacks: user data, thread, replacement, loss
// without a callback, and callbacks that call back into the library.
#include <IoTFrameworkSim.h>
#include <dlog.h>
#include <gmock/gmock.h>

#include <atomic>
#include <thread>

#include "LogCapture.h"
#include "ServiceTest.h"

using ::testing::ElementsAre;

namespace {

constexpr int kSignedOut = 1001;

}  // namespace

TEST_F(ServiceTest, EventReachesCallerWithUserDataOnFrameworkThread) {
  StartSignedIn({{"r1", "Good Morning"}});
  events_.Clear();
  iotfw_sim::SetSignedIn(false);
  iotfw_sim::InjectEvent(kSignedOut, "");
  ASSERT_TRUE(events_.WaitFor(1));
  Settle();
  const std::vector<Delivery> got = events_.Deliveries();
  ASSERT_EQ(got.size(), 1U);
  EXPECT_EQ(got[0].text, "");
  EXPECT_EQ(got[0].userData, &events_);
  EXPECT_EQ(got[0].thread, iotfw_sim::CallbackThreadId());
}

TEST_F(ServiceTest, ResultReachesCallerOnItsOwnThreadWhenTilesAreHeld) {
  StartSignedIn({{"r1", "Good Morning"}, {"r2", "Movie"}});
  iot_svc_get_accelerator_tiles();
  // Delivered before the call returned.
  const std::vector<Delivery> got = results_.Deliveries();
  ASSERT_EQ(got.size(), 1U);
  EXPECT_EQ(got[0].thread, std::this_thread::get_id());
  EXPECT_EQ(got[0].userData, &results_);
  EXPECT_THAT(RoutineIds(got[0].text), ElementsAre("r1", "r2"));
}

TEST_F(ServiceTest, SecondRegistrationReplacesTheFirst) {
  StartSignedIn({{"r1", "Good Morning"}});
  Recorder second;
  ASSERT_TRUE(iot_svc_register_result_cb(IOT_SVC_CMD_GET_ACCELERATOR_TILES, Recorder::Callback, &second));
  iot_svc_get_accelerator_tiles();
  EXPECT_EQ(results_.Count(), 0U);
  ASSERT_EQ(second.Count(), 1U);
  EXPECT_EQ(second.Deliveries()[0].userData, &second);
  iot_svc_unregister_result_cb(IOT_SVC_CMD_GET_ACCELERATOR_TILES);
}

TEST_F(ServiceTest, ReservedResultTypeIsNeverCalled) {
  StartSignedIn({{"r1", "Good Morning"}});
  Recorder reserved;
  ASSERT_TRUE(iot_svc_register_result_cb(IOT_SVC_CMD_RESERVED, Recorder::Callback, &reserved));
  iot_svc_get_accelerator_tiles();
  EXPECT_EQ(results_.Count(), 1U);
  EXPECT_EQ(reserved.Count(), 0U);
}

// What nobody is registered for is lost, with a warning that says so.
TEST_F(ServiceTest, ResultAndNoticeWithoutCallbackAreWarnedOfAndLost) {
  StartSignedIn({{"r1", "Good Morning"}});
  iot_svc_unregister_result_cb(IOT_SVC_CMD_GET_ACCELERATOR_TILES);
  iot_svc_unregister_event_cb(IOT_SVC_EVENT_TILES_CHANGED);
  LogCapture capture;
  iot_svc_get_accelerator_tiles();
  iotfw_sim::SetSignedIn(false);
  iotfw_sim::InjectEvent(kSignedOut, "");
  Settle();
  const std::vector<std::string> dispatch = capture.Messages("m_ExecuteResultCallback");
  ASSERT_EQ(dispatch.size(), 3U);
  EXPECT_EQ(dispatch[0], "[m_ExecuteResultCallback] msgType : 0");
  EXPECT_EQ(dispatch[2].rfind("msg : [", 0), 0U) << dispatch[2];
  std::vector<std::string> warnings;
  for (const LogLine& line : capture.Lines()) {
    if (line.priority == DLOG_WARN) warnings.push_back(line.function + ": " + line.message);
  }
  EXPECT_THAT(warnings, ::testing::ElementsAre(
                            "m_ExecuteResultCallback: no result callback of type 0: the answer is lost (register it "
                            "before asking)",
                            "m_ExecuteEventCallback: no event callback of type 0: the notice is lost (register it, "
                            "then ask for the row)"));
  ASSERT_TRUE(iot_svc_register_result_cb(IOT_SVC_CMD_GET_ACCELERATOR_TILES, Recorder::Callback, &results_));
  Settle();
  EXPECT_EQ(results_.Count(), 0U);  // nothing replayed
}

TEST_F(ServiceTest, NullCallbackIsNeverCalled) {
  StartSignedIn({{"r1", "Good Morning"}});
  ASSERT_TRUE(iot_svc_register_result_cb(IOT_SVC_CMD_GET_ACCELERATOR_TILES, nullptr, nullptr));
  ASSERT_TRUE(iot_svc_register_event_cb(IOT_SVC_EVENT_TILES_CHANGED, nullptr, nullptr));
  iot_svc_get_accelerator_tiles();
  iotfw_sim::InjectEvent(kSignedOut, "");
  Settle();
  SUCCEED();
}

