// Every one-call parser on the same input: the framework's routine list,
// execution result and device list, the contents host's file, and the kit's
// scenario and tile-list readers.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "JsonParseUtil.h"
#include "Scenario.h"
#include "TileList.h"

namespace {

// The framework's wrapping of a payload: `inner` as the string "data".
std::string Wrapped(const std::string& inner) {
  std::string answer = "{\"data\":\"";
  for (const char c : inner) {
    if (c == '"' || c == '\\') answer += '\\';
    answer += c;
  }
  return answer + "\"}";
}

// Fed as the outer answer, then as the "data" inside one, over the first's tiles.
void RoutineList(CJsonParseUtil& parser, const std::string& text) {
  std::vector<stTileItem> tiles(2);
  for (const std::string& answer : {text, Wrapped(text)}) {
    parser.ParseRoutineList(answer, tiles);
    for (const stTileItem& tile : tiles) fuzz_check::RoutineTileShape(tile);
  }
}

// Always the same four tiles, whatever arrives.
void ContentsList(CJsonParseUtil& parser, const std::string& text) {
  std::vector<stTileItem> tiles(5);
  parser.ParseContentsList(text, tiles);
  FUZZ_CHECK(tiles.size() == 4);
  FUZZ_CHECK(tiles[0].strID == "how" && tiles[1].strID == "uses" && tiles[2].strID == "start");
  FUZZ_CHECK(tiles[3].strID == "intro" && tiles[3].strType == "IOT_TILE_VIDEO" && tiles[3].strName.empty());
  for (size_t i = 0; i < 3; ++i) {
    FUZZ_CHECK(tiles[i].strType == "IOT_TILE_APP" && tiles[i].strWidth == g_strAppWidth);
    FUZZ_CHECK(tiles[i].strTitle == tiles[0].strTitle);
  }
  for (const stTileItem& tile : tiles) FUZZ_CHECK(tile.strFinishImage.empty() && tile.strTimeout.empty());
}

// A failure needs the word in the text, and the detail is read from it.
void ExecuteResult(CJsonParseUtil& parser, const std::string& text) {
  std::string detail = "stale";
  const bool success = parser.ParseExecuteResult(text, detail);
  FUZZ_CHECK(success || text.find("Fail") != std::string::npos || text.find("\\u") != std::string::npos);
  FUZZ_CHECK(detail.empty() || text.find("data") != std::string::npos || text.find("\\u") != std::string::npos);
}

// Camera tiles only, fed like the routine list.
void DeviceList(CJsonParseUtil& parser, const std::string& text) {
  std::vector<stTileItem> tiles(3);
  for (const std::string& answer : {text, Wrapped(text)}) {
    parser.ParseDeviceList(answer, tiles);
    for (const stTileItem& tile : tiles) {
      FUZZ_CHECK(tile.strImage == g_strResDir + "routines/acc.camera.png" && tile.strWidth == g_strDeviceWidth);
      FUZZ_CHECK(tile.strType.empty() && tile.strFinishImage.empty() && tile.strTimeout.empty() && tile.strTitle.empty());
    }
  }
}

// Every line is either taken, with its action, or reported with the file's
// name and its own number.
void ScenarioFile(const std::string& text) {
  std::istringstream in(text);
  scenario::Scenario read;
  std::vector<std::string> errors;
  FUZZ_CHECK(scenario::ParseScenario(in, "f", read, errors) == errors.empty());
  for (const std::string& error : errors) FUZZ_CHECK(fuzz_check::StartsWith(error, "f:"));
  int previous = 0;
  for (const scenario::Line& line : read.lines) {
    FUZZ_CHECK(line.number > previous && line.value.isObject() && line.value.isMember(line.action));
    previous = line.number;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static CJsonParseUtil* parser = new CJsonParseUtil();  // built once, like the service's
  const std::string text(reinterpret_cast<const char*>(data), size);
  RoutineList(*parser, text);
  ContentsList(*parser, text);
  ExecuteResult(*parser, text);
  DeviceList(*parser, text);
  ScenarioFile(text);
  const demo::TileList list = demo::ParseTileList(text);
  FUZZ_CHECK(list.valid == list.error.empty());
  return 0;
}
