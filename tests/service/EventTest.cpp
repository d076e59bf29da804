// Events the framework sends unasked, and how they keep the tiles current.
#include <IoTFrameworkSim.h>
#include <gmock/gmock.h>

#include "LogCapture.h"
#include "ServiceTest.h"

using ::testing::ElementsAre;
using iotfw_sim::MakeCloudEvent;

namespace {

constexpr int kCloud = 1004;
const std::vector<iotfw_sim::Routine> kThree = {{"a1", "Good Morning"}, {"b2", "Movie"}, {"c3", "Goodbye"}};

}  // namespace

class EventTest : public ServiceTest {
 protected:
  std::vector<std::string> HeldIds() {
    results_.Clear();
    iot_svc_get_accelerator_tiles();
    return RoutineIds(results_.Last());
  }

  std::vector<std::string> ServiceMessages(const LogCapture& capture) {
    std::vector<std::string> messages;
    for (const LogLine& line : capture.Lines()) {
      if (line.function == "m_OnFwkEvent" || line.function == "m_ClassifyEvent") messages.push_back(line.message);
    }
    return messages;
  }
};

TEST_F(EventTest, SignOutEmptiesTilesAndNotifiesOnce) {
  StartSignedIn(kThree);
  events_.Clear();
  iotfw_sim::SetSignedIn(false);
  iotfw_sim::InjectEvent(1001, "");
  Settle();
  ASSERT_EQ(events_.Count(), 1U);
  EXPECT_EQ(events_.Deliveries()[0].text, "");
  LogCapture capture;
  iot_svc_get_accelerator_tiles();  // signed out now: a contents request, no routine list
  EXPECT_THAT(capture.Messages("GetIsLoggedIn"), ElementsAre("GetIsLoggedIn() : 0"));
  EXPECT_FALSE(capture.Contains("generate routine list finished"));
}

TEST_F(EventTest, IgnoredEventsOnlyLog) {
  StartSignedIn(kThree);
  struct Case {
    int type;
    std::string text;
    std::vector<std::string> messages;
  };
  const std::vector<Case> cases = {
      {1002, "", {"[m_OnFwkEvent] eventType 1002"}},
      {1003, "", {"[m_OnFwkEvent] eventType 1003", "[m_OnFwkEvent] undefined event type!!!"}},
      {999, "", {"[m_OnFwkEvent] eventType 999", "[m_OnFwkEvent] undefined event type!!!"}},
      {kCloud, "not json", {"[m_OnFwkEvent] eventType 1004", "strResult : not json"}},
      {kCloud, R"({"event":{"name":"DeviceHealth"}})",
       {"[m_OnFwkEvent] eventType 1004", R"(strResult : {"event":{"name":"DeviceHealth"}})"}},
      {kCloud, R"({"event":"InstalledVelkapDeleted"})",
       {"[m_OnFwkEvent] eventType 1004", R"(strResult : {"event":"InstalledVelkapDeleted"})"}},
      {kCloud, R"({"event":{"name":["InstalledVelkapDeleted"],"installedVelkapId":"a1"}})",
       {"[m_OnFwkEvent] eventType 1004",
        R"(strResult : {"event":{"name":["InstalledVelkapDeleted"],"installedVelkapId":"a1"}})"}},
      {kCloud, "[1,2,3]", {"[m_OnFwkEvent] eventType 1004", "strResult : [1,2,3]"}},
  };
  events_.Clear();
  for (const Case& c : cases) {
    LogCapture capture;
    iotfw_sim::InjectEvent(c.type, c.text);
    Settle();
    EXPECT_EQ(ServiceMessages(capture), c.messages) << c.type << " " << c.text;
  }
  EXPECT_EQ(events_.Count(), 0U);
  EXPECT_THAT(HeldIds(), ElementsAre("a1", "b2", "c3"));
}
