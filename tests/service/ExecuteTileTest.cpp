// Executing tiles, row by row from tests/data/tables/execute-tile.jsonl:
// the web app launched with its deep link, the routine run through the
// framework, or nothing at all.
#include <IoTFrameworkSim.h>
#include <gmock/gmock.h>
#include <was_sim.h>

#include "LogCapture.h"
#include "ServiceTest.h"
#include "TableRows.h"

TEST_F(ServiceTest, EveryTileTypeDoesWhatItsRowSays) {
  StartService();
  for (const Json::Value& row : ReadTableRows("execute-tile")) {
    SCOPED_TRACE(row["case"].asString());
    was_sim::Clear();
    was_sim::SetResult(row["launcher"].asInt());
    iotfw_sim::ClearRequests();
    LogCapture capture;
    iot_svc_execute_tile(static_cast<iot_svc_tile_type_e>(row["type"].asInt()), TableText(row["info"]));
    Settle();
    const std::vector<was_sim::Launch> launches = was_sim::Launches();
    ASSERT_EQ(launches.size(), row.isMember("link") ? 1U : 0U);
    if (!launches.empty()) {
      EXPECT_EQ(launches[0].appId, "Rk2hqTpZ8w.IoTService");
      EXPECT_EQ(launches[0].deepLink, TableText(row["link"]));
    }
    const std::vector<iotfw_sim::Request> requests = iotfw_sim::Requests();
    ASSERT_EQ(requests.size(), row.isMember("routine") ? 1U : 0U);
    if (!requests.empty()) {
      EXPECT_EQ(requests[0].command, 111);
      EXPECT_EQ(requests[0].argument, row["routine"].asString());
    }
    EXPECT_TRUE(!row.isMember("log") || capture.Contains(row["log"].asString())) << row["log"];
  }
  was_sim::SetResult(0);
  EXPECT_EQ(results_.Count() + events_.Count(), 0U);
}
