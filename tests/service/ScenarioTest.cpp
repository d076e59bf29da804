// The sign-in road and the pending flags: what the caller is told when a
// routine list arrives, for each way of waiting for one.
#include <IoTFrameworkSim.h>
#include <gmock/gmock.h>

#include <device/power_sim.h>

#include "LogCapture.h"
#include "ServiceTest.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

constexpr int kLogin = 102;
constexpr int kRoutineList = 107;

const std::vector<iotfw_sim::Routine> kTwoRoutines = {{"a1", "Good Morning"}, {"b2", "Movie"}};

std::string List(const std::vector<iotfw_sim::Routine>& routines) {
  return iotfw_sim::MakeRoutineListAnswer(routines);
}

}  // namespace

TEST_F(ServiceTest, StartSignedInNotifiesOnceThenAnswersAtOnce) {
  StartSignedIn(kTwoRoutines);
  EXPECT_EQ(events_.Count(), 1U);
  EXPECT_EQ(results_.Count(), 0U);
  ASSERT_THAT(iotfw_sim::Requests().size(), 2U);
  EXPECT_EQ(iotfw_sim::Requests()[1].command, kRoutineList);
  EXPECT_EQ(iotfw_sim::Requests()[1].argument, "loc-home");

  iot_svc_get_accelerator_tiles();
  ASSERT_EQ(results_.Count(), 1U);
  EXPECT_THAT(RoutineIds(results_.Last()), ElementsAre("a1", "b2"));
  EXPECT_EQ(iotfw_sim::CountRequests(kRoutineList), 1);  // nothing asked again
}

TEST_F(ServiceTest, AfterSignInListIsStyledJsonOfTheHeldTiles) {
  StartSignedIn({{"a1", "Good Morning"}, {"b2", "Movie"}});
  iot_svc_get_accelerator_tiles();
  const std::string res = VARNIO_EXPECTED_RES_DIR;
  const std::string expected =
      "[\n"
      "   {\n"
      "      \"data\" : [\n"
      "         {\n"
      "            \"finish_image\" : \"" + res + "routines/acc-gdmorn-activated.png\",\n"
      "            \"id\" : \"a1\",\n"
      "            \"image\" : \"" + res + "routines/acc-gdmorn.png\",\n"
      "            \"name\" : \"Good Morning\",\n"
      "            \"timeout\" : \"5\",\n"
      "            \"type\" : \"IOT_TILE_ROUTINE\",\n"
      "            \"width\" : \"250\"\n"
      "         },\n"
      "         {\n"
      "            \"finish_image\" : \"" + res + "routines/acc-custom-activated.png\",\n"
      "            \"id\" : \"b2\",\n"
      "            \"image\" : \"" + res + "routines/acc-custom.png\",\n"
      "            \"name\" : \"Movie\",\n"
      "            \"timeout\" : \"5\",\n"
      "            \"type\" : \"IOT_TILE_ROUTINE\",\n"
      "            \"width\" : \"250\"\n"
      "         }\n"
      "      ],\n"
      "      \"title\" : \"TV_SID_ROUTINES\"\n"
      "   }\n"
      "]\n";
  EXPECT_EQ(results_.Last(), expected);
}

TEST_F(ServiceTest, SignInLaterNotifiesWhenTheListArrives) {
  StartService();
  EXPECT_EQ(iotfw_sim::CountRequests(kRoutineList), 0);
  iotfw_sim::SetRoutines("loc-home", kTwoRoutines);
  iotfw_sim::SetSignedIn(true);
  iotfw_sim::InjectEvent(1000, "");
  ASSERT_TRUE(events_.WaitFor(1));
  Settle();
  EXPECT_EQ(events_.Count(), 1U);
  iot_svc_get_accelerator_tiles();  // the consumed sign-in marked the user signed in
  ASSERT_EQ(results_.Count(), 1U);
  EXPECT_THAT(RoutineIds(results_.Last()), ElementsAre("a1", "b2"));
}

TEST_F(ServiceTest, SignedInWithNoRoutineTheRowHasAnEmptySection) {
  iotfw_sim::SetSignedIn(true);
  StartService();
  ASSERT_TRUE(events_.WaitFor(1));  // the sign-in, complete with its empty list
  iot_svc_get_accelerator_tiles();
  ASSERT_EQ(results_.Count(), 1U);
  EXPECT_EQ(results_.Last(),
            "[\n"
            "   {\n"
            "      \"data\" : [],\n"
            "      \"title\" : \"TV_SID_ROUTINES\"\n"
            "   }\n"
            "]\n");
}

TEST_F(ServiceTest, SignInResultWithTilesHeldRequestsNothing) {
  StartSignedIn(kTwoRoutines);
  iotfw_sim::ClearRequests();
  iotfw_sim::InjectResult(kLogin, R"({"result":"Success"})");
  Settle();
  EXPECT_THAT(iotfw_sim::Requests(), IsEmpty());
  EXPECT_EQ(events_.Count(), 1U);
}

TEST_F(ServiceTest, SignInAnswersOtherThanSuccessEndTheSession) {
  StartSignedIn(kTwoRoutines);
  for (const char* answer : {R"({"result":"success"})", R"({"result":"Fail"})", "{}", "", "not json",
                             R"(["Success"])", R"({"result":["Success"]})", R"({"result":1})", "[1,2"}) {
    const size_t events = events_.Count();
    iotfw_sim::ClearRequests();
    LogCapture capture;
    iotfw_sim::SetLoginAnswer(answer);
    power_sim::TriggerWakeup();
    Settle();
    EXPECT_FALSE(capture.Contains("m_UpdateLoginStatus : 1")) << answer;
    EXPECT_TRUE(capture.Contains("GetIsLoggedIn() : 0")) << answer;
    // The routines held belong to a session that ended: the caller is told,
    // and the next sign-in asks for its own list.
    EXPECT_EQ(events_.Count(), events + 1) << answer;
    iotfw_sim::SetSignedIn(true);
    power_sim::TriggerWakeup();
    Settle();
    EXPECT_GE(iotfw_sim::CountRequests(kRoutineList), 1) << answer;
  }
}

TEST_F(ServiceTest, AnswerNobodyAskedForIsNotUsed) {
  StartSignedIn(kTwoRoutines);
  LogCapture capture;
  iotfw_sim::InjectResult(kRoutineList, List({{"c3", "I'm back"}}));
  Settle();
  EXPECT_TRUE(capture.Contains("routine list not used: it may answer a request made before the account changed, or none"));
  EXPECT_EQ(events_.Count(), 1U);
  iot_svc_get_accelerator_tiles();
  EXPECT_THAT(RoutineIds(results_.Last()), ElementsAre("a1", "b2"));
}

TEST_F(ServiceTest, ResultCommandsOtherThanTheKnownOnesAreOnlyLogged) {
  StartSignedIn(kTwoRoutines);
  struct Case {
    int command;
    std::string text;
    std::vector<std::string> messages;
  };
  const std::vector<Case> cases = {
      {111, R"({"result":"Success","data":"{}"})", {"msgType : 111", "", "Execute success!"}},
      {111, R"({"result":"Fail","data":"{}"})", {"msgType : 111", "", "Execute Fail!"}},
      {111, "garbage", {"msgType : 111", "", "Execute success!"}},
      {555, "{}", {"msgType : 555"}},
  };
  for (const Case& c : cases) {
    LogCapture capture;
    iotfw_sim::InjectResult(c.command, c.text);
    Settle();
    std::vector<std::string> service;
    for (const LogLine& line : capture.Lines()) {
      if (line.function == "m_OnFwkResult" || line.function == "m_CheckExecuteResult") service.push_back(line.message);
    }
    EXPECT_EQ(service, c.messages) << c.command << " " << c.text;
  }
  EXPECT_EQ(results_.Count(), 0U);
  EXPECT_EQ(events_.Count(), 1U);
}
