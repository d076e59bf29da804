// Executing tiles: web-app launches with their deep links, and routines run
// through the framework.
#include <IoTFrameworkSim.h>
#include <gmock/gmock.h>
#include <json/json.h>
#include <was_sim.h>

#include <sstream>

#include "LogCapture.h"
#include "ServiceTest.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

const char kAppId[] = "Rk2hqTpZ8w.IoTService";
const char kIntroLink[] =
    "\"from\":\"accelerator\", \"type\":\"intro\", \"info\":\"https://video.varnio.tv/tv/videos-1/"
    "quorvel-brand-video/927451.mpd\"";

// The link wrapped in braces, as the web app reads it.
bool ParsesAsObject(const std::string& link, Json::Value& root) {
  Json::CharReaderBuilder builder;
  std::string errors;
  std::istringstream in("{" + link + "}");
  return Json::parseFromStream(builder, in, &root, &errors) && root.isObject();
}

}  // namespace

TEST_F(ServiceTest, PageAndIntroTilesLaunchTheWebApp) {
  StartService();
  struct Case {
    int type;
    std::string info;
    std::string link;
  };
  const std::vector<Case> cases = {
      {0, "how", R"("from":"accelerator", "type":"page", "info":"how")"},
      {0, "", R"("from":"accelerator", "type":"page", "info":"")"},
      {0, "시작하기", "\"from\":\"accelerator\", \"type\":\"page\", \"info\":\"시작하기\""},
      {1, "ignored", kIntroLink},
      {1, "", kIntroLink},
  };
  for (const Case& c : cases) {
    was_sim::Clear();
    std::string info = c.info;
    iot_svc_execute_tile(static_cast<iot_svc_tile_type_e>(c.type), info);
    EXPECT_EQ(info, c.info);
    const std::vector<was_sim::Launch> launches = was_sim::Launches();
    ASSERT_EQ(launches.size(), 1U) << c.info;
    EXPECT_EQ(launches[0].appId, kAppId);
    EXPECT_EQ(launches[0].deepLink, c.link);
  }
}

TEST_F(ServiceTest, HostileInfoCannotBreakTheLink) {
  StartService();
  for (const std::string& info : {std::string(R"(how", "type":"admin)"), std::string("back\\slash\n\t\x01"),
                                  std::string(2000, 'x'), std::string(600, '"'), std::string(700, '\\') + "é",
                                  std::string(400, 'x') + std::string(200, '\xEA') /* broken UTF-8 */}) {
    was_sim::Clear();
    iot_svc_execute_tile(IOT_SVC_TILE_PAGE, info);
    ASSERT_EQ(was_sim::Launches().size(), 1U);
    const std::string link = was_sim::Launches()[0].deepLink;
    EXPECT_LE(link.size(), 999U);
    Json::Value root;
    ASSERT_TRUE(ParsesAsObject(link, root)) << link.substr(0, 80);
    EXPECT_EQ(root.size(), 3U);
    EXPECT_EQ(root["type"].asString(), "page");
    const std::string got = root["info"].asString();
    EXPECT_EQ(info.compare(0, got.size(), got), 0) << "info must be a prefix of the text";
  }
}

TEST_F(ServiceTest, LaunchFailureIsOnlyLogged) {
  StartService();
  was_sim::SetResult(-5);
  LogCapture capture;
  iot_svc_execute_tile(IOT_SVC_TILE_PAGE, "ways");
  EXPECT_TRUE(capture.Contains("Failed to launch IoTService app."));
  EXPECT_FALSE(capture.Contains("Successfully launched IoTService app."));
  was_sim::SetResult(0);
}

TEST_F(ServiceTest, RoutineTileRunsTheRoutine) {
  StartService();
  iotfw_sim::ClearRequests();
  LogCapture capture;
  iot_svc_execute_tile(IOT_SVC_TILE_ROUTINE, "r-42");
  Settle();
  ASSERT_EQ(iotfw_sim::Requests().size(), 1U);
  EXPECT_EQ(iotfw_sim::Requests()[0].command, 111);
  EXPECT_EQ(iotfw_sim::Requests()[0].argument, "r-42");
  EXPECT_THAT(was_sim::Launches(), IsEmpty());
  EXPECT_TRUE(capture.Contains("Execute success!"));
  EXPECT_EQ(results_.Count() + events_.Count(), 0U);
}

TEST_F(ServiceTest, OtherTileTypesOnlyTrace) {
  StartService();
  iotfw_sim::ClearRequests();
  for (int type : {3, -1, 100}) {
    LogCapture capture;
    iot_svc_execute_tile(static_cast<iot_svc_tile_type_e>(type), "how");
    EXPECT_THAT(capture.Messages(), ElementsAre("")) << type;
  }
  Settle();
  EXPECT_THAT(iotfw_sim::Requests(), IsEmpty());
  EXPECT_THAT(was_sim::Launches(), IsEmpty());
}
