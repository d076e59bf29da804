#include <string>
#include <utility>
#include <vector>

#include "ParserTest.h"

namespace {

stTileItem Camera(const std::string& id, const std::string& name) {
  return {"", id, name, std::string(VARNIO_EXPECTED_RES_DIR) + "routines/acc.camera.png", "", "", "444", ""};
}

// A device array of (id, typeName as JSON text, left out when empty), each named "N-<id>".
std::string DeviceArray(const std::vector<std::pair<std::string, std::string>>& devices) {
  std::string array;
  for (const auto& d : devices) {
    array += (array.empty() ? "[" : ",") + (R"({"id":")" + d.first + R"(","name":"N-)" + d.first + "\"") +
             (d.second.empty() ? "" : ",\"typeName\":" + d.second) + "}";
  }
  return array + "]";
}

const ListParser kParse = [](CJsonParseUtil& parser, const std::string& text, std::vector<stTileItem>& tiles) {
  parser.ParseDeviceList(text, tiles);
};

INSTANTIATE_TEST_SUITE_P(
    Devices, ParserTest,
    testing::Values(
        TileCase{"Sample", kParse, ReadTestData("devices/device-list.json"),
                 {Camera("6a3d9b1e-5f27-48c0-b9e4-1d8c7a2f6e35", "Front door camera"),
                  Camera("f2b7c5a9-3e18-4d6b-8a01-9c4e7f3b2d56", "거실 카메라")}},
        TileCase{"SampleWithoutCameras", kParse, ReadTestData("devices/device-list-no-camera.json"), {}},
        // Only a string of exactly this content marks a camera.
        TileCase{"OnlyExactTypeNames", kParse,
                 Answer(DeviceArray({{"exact", R"("Corvane Ostrelin")"}, {"lower", R"("corvane ostrelin")"},
                                 {"two-blanks", R"("Corvane  Ostrelin")"}, {"trailing-blank", R"("Corvane Ostrelin ")"},
                                 {"trailing-nul", R"("Corvane Ostrelin\u0000")"}, {"missing", ""},
                                 {"in-an-array", R"(["Corvane Ostrelin"])"}, {"number", "7"},
                                 {"last", R"("Corvane Ostrelin")"}})),
                 {Camera("exact", "N-exact"), Camera("last", "N-last")}},
        TileCase{"NotJson", kParse, "<html>502 Bad Gateway</html>", {}},
        TileCase{"NoData", kParse, R"({"result":"Success"})", {}},
        TileCase{"DataNotJson", kParse, Answer("camera list unavailable"), {}},
        // Where another type stands than the one read, the value counts as missing.
        TileCase{"RootIsAnArray", kParse, R"([{"data":"[]"}])", {}},
        TileCase{"DataIsAnArray", kParse, R"({"data":[{"id":"c","typeName":"Corvane Ostrelin"}]})", {}},
        TileCase{"DevicesAreAnObject", kParse, Answer(R"({"c":{"id":"c","typeName":"Corvane Ostrelin"}})"), {}},
        TileCase{"ElementsAreNotObjects", kParse,
                 Answer(R"([1,"Corvane Ostrelin",null,[{"typeName":"Corvane Ostrelin"}]])"), {}},
        TileCase{"IdAndNameOfOtherTypes", kParse,
                 Answer(R"([{"id":17,"name":{"en":"Door"},"typeName":"Corvane Ostrelin"},)"
                        R"({"id":["x"],"name":"Yard","typeName":"Corvane Ostrelin"}])"),
                 {Camera("", ""), Camera("", "Yard")}}),
    CaseName);

}  // namespace
