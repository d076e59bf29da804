#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "JsonParseUtil.h"
#include "LogCapture.h"
#include "ParserTestUtil.h"

namespace {

stTileItem Camera(const std::string& id, const std::string& name) {
  stTileItem tile;
  tile.strID = id;
  tile.strName = name;
  tile.strImage = std::string(VARNIO_EXPECTED_RES_DIR) + "routines/acc.camera.png";
  tile.strWidth = "444";
  return tile;
}

std::vector<stTileItem> Parse(const std::string& text) {
  CJsonParseUtil parser;
  std::vector<stTileItem> tiles = {Camera("held", "Held before")};
  parser.ParseDeviceList(text, tiles);
  return tiles;
}

// A device-list answer whose "data" carries `devices` as text.
std::string Answer(const std::string& devices) { return R"({"result":"Success","data":)" + Quoted(devices) + "}"; }

TEST(DeviceListTest, SampleAnswerYieldsItsCamerasInOrder) {
  const std::string answer = ReadTestData("devices/device-list.json");
  LogCapture capture;
  ExpectTiles(Parse(answer), {Camera("6a3d9b1e-5f27-48c0-b9e4-1d8c7a2f6e35", "Front door camera"),
                              Camera("f2b7c5a9-3e18-4d6b-8a01-9c4e7f3b2d56", "거실 카메라")});
  EXPECT_EQ(capture.Messages("ParseDeviceList"),
            (std::vector<std::string>{"", "result : " + answer, "device list size : 5",
                                      "strID : 6a3d9b1e-5f27-48c0-b9e4-1d8c7a2f6e35", "strName : Front door camera",
                                      "strID : f2b7c5a9-3e18-4d6b-8a01-9c4e7f3b2d56", "strName : 거실 카메라"}));
}

TEST(DeviceListTest, NoCameraStillClearsTheList) {
  EXPECT_TRUE(Parse(ReadTestData("devices/device-list-no-camera.json")).empty());
}

struct DeviceCase {
  const char* name;
  std::string text;
  std::vector<stTileItem> expected;
  int loggedSize;
};

// Test listings show the case, not its bytes.
void PrintTo(const DeviceCase& c, std::ostream* os) { *os << c.name; }

class DeviceListCaseTest : public ::testing::TestWithParam<DeviceCase> {};

TEST_P(DeviceListCaseTest, KeepsOnlyExactCameras) {
  LogCapture capture;
  ExpectTiles(Parse(GetParam().text), GetParam().expected);
  const std::vector<std::string> messages = capture.Messages("ParseDeviceList");
  ASSERT_GE(messages.size(), 3u);
  EXPECT_EQ(messages[2], "device list size : " + std::to_string(GetParam().loggedSize));
  EXPECT_EQ(messages.size(), 3u + 2u * GetParam().expected.size());
}

std::string Device(const std::string& typeName) {
  return R"({"id":"d1","name":"Cam",)" + std::string(typeName.empty() ? "" : R"("typeName":)" + typeName + ",") +
         R"("online":true})";
}

std::string CaseName(const ::testing::TestParamInfo<DeviceCase>& info) { return info.param.name; }

INSTANTIATE_TEST_SUITE_P(
    TypeNames, DeviceListCaseTest,
    ::testing::Values(DeviceCase{"Exact", Answer("[" + Device(R"("Corvane Ostrelin")") + "]"), {Camera("d1", "Cam")}, 1},
                      DeviceCase{"LowerCase", Answer("[" + Device(R"("corvane ostrelin")") + "]"), {}, 1},
                      DeviceCase{"DoubleBlank", Answer("[" + Device(R"("Corvane  Ostrelin")") + "]"), {}, 1},
                      DeviceCase{"TrailingBlank", Answer("[" + Device(R"("Corvane Ostrelin ")") + "]"), {}, 1},
                      DeviceCase{"TrailingNul", Answer("[" + Device(R"("Corvane Ostrelin\u0000")") + "]"), {}, 1},
                      DeviceCase{"Missing", Answer("[" + Device("") + "]"), {}, 1},
                      DeviceCase{"InAnArray", Answer("[" + Device(R"(["Corvane Ostrelin"])") + "]"), {}, 1},
                      DeviceCase{"Number", Answer("[" + Device("7") + "]"), {}, 1}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    Answers, DeviceListCaseTest,
    ::testing::Values(
        DeviceCase{"SecondAndThirdOfThree",
                   Answer(R"([{"id":"l","name":"Lamp","typeName":"Lumora Bulb"},)"
                          R"({"id":"c1","name":"Door","typeName":"Corvane Ostrelin"},)"
                          R"({"id":"c2","name":"Yard","typeName":"Corvane Ostrelin"}])"),
                   {Camera("c1", "Door"), Camera("c2", "Yard")}, 3},
        DeviceCase{"NotJson", "<html>502 Bad Gateway</html>", {}, 0},
        DeviceCase{"NoData", R"({"result":"Success"})", {}, 0},
        DeviceCase{"DataNotJson", Answer("camera list unavailable"), {}, 0},
        DeviceCase{"Empty", "", {}, 0}),
    CaseName);

// Where another type stands than the one read, the value counts as missing
// and the process goes on.
INSTANTIATE_TEST_SUITE_P(
    WrongTypes, DeviceListCaseTest,
    ::testing::Values(
        DeviceCase{"DataIsAnArray", R"({"data":[{"id":"c","typeName":"Corvane Ostrelin"}]})", {}, 0},
        DeviceCase{"DevicesAreAnObject", Answer(R"({"c":{"id":"c","typeName":"Corvane Ostrelin"}})"), {}, 0},
        DeviceCase{"ElementsAreNotObjects", Answer(R"([1,"Corvane Ostrelin",null,[{"typeName":"Corvane Ostrelin"}]])"),
                   {}, 4},
        DeviceCase{"IdAndNameOfOtherTypes",
                   Answer(R"([{"id":17,"name":{"en":"Door"},"typeName":"Corvane Ostrelin"},)"
                          R"({"id":["x"],"name":"Yard","typeName":"Corvane Ostrelin"}])"),
                   {Camera("", ""), Camera("", "Yard")}, 2},
        DeviceCase{"RootIsAnArray", R"([{"data":"[]"}])", {}, 0},
        DeviceCase{"DeepNesting", Answer(Nested(100000, "[", "", "]")), {}, 1}),
    CaseName);

}  // namespace
