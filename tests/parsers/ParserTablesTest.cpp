// The parsers, table by table from tests/data/tables: each row holds an
// input and what the parser must make of it, written out there rather than
// taken from the parsers' own tables, and where it has a "log", exactly the
// lines the call writes.
#include <dlog.h>
#include <gmock/gmock.h>

#include <tuple>

#include "JsonParseUtil.h"
#include "LogCapture.h"
#include "TableRows.h"

namespace {

const std::string kRes = VARNIO_EXPECTED_RES_DIR;

auto Fields(const stTileItem& t) {
  return std::make_tuple(t.strType, t.strID, t.strName, t.strImage, t.strFinishImage, t.strTimeout, t.strWidth,
                         t.strTitle);
}

// {"routine": [id, name, icon]} or {"camera": [id, name]}, then any field
// ("type", "timeout", "width", "title") that differs.
stTileItem Tile(const Json::Value& written) {
  stTileItem t;
  if (written.isMember("routine")) {
    const std::string stem = kRes + "routines/acc-" + written["routine"][2].asString();
    t = {"", TableText(written["routine"][0]), TableText(written["routine"][1]), stem + ".png", stem + "-activated.png",
         "5", "250", ""};
  } else {
    t = {"", TableText(written["camera"][0]), TableText(written["camera"][1]), kRes + "routines/acc.camera.png", "", "", "444", ""};
  }
  for (auto [name, field] : {std::pair{"type", &t.strType}, {"timeout", &t.strTimeout}, {"width", &t.strWidth},
                             {"title", &t.strTitle}}) {
    if (written.isMember(name)) *field = written[name].asString();
  }
  return t;
}

// An array of tiles, or {"contents": {...}}: the four contents tiles, ids,
// types and widths fixed, with what the file supplied.
std::vector<stTileItem> Tiles(const Json::Value& written) {
  std::vector<stTileItem> tiles;
  if (written.isArray()) {
    for (const Json::Value& tile : written) tiles.push_back(Tile(tile));
    return tiles;
  }
  const Json::Value& c = written["contents"];
  for (auto [id, entry] : {std::pair{"how", "how"}, {"uses", "ways"}, {"start", "started"}}) {
    tiles.push_back({"IOT_TILE_APP", id, TableText(c[entry][1]), TableText(c[entry][0]), "", "", "444",
                     TableText(c["header2"])});
  }
  tiles.push_back({"IOT_TILE_VIDEO", "intro", "", TableText(c["intro"]), "", "", "444", TableText(c["header1"])});
  return tiles;
}

// A row's "log": the call's lines as "function>message", each at debug
// level under the library's tag, with a base name for its file.
void ExpectLogged(const Json::Value& row, const LogCapture& capture) {
  if (!row.isMember("log")) return;
  std::vector<std::string> lines;
  for (const LogLine& line : capture.Lines()) {
    EXPECT_EQ(line.priority, DLOG_DEBUG) << line.text;
    EXPECT_EQ(line.tag, "varnio") << line.text;
    EXPECT_THAT(line.file, testing::EndsWith(".cpp")) << line.text;
    lines.push_back(line.function + ">" + line.message);
  }
  std::vector<std::string> expected;
  for (const Json::Value& text : row["log"]) expected.push_back(TableText(text));
  EXPECT_EQ(lines, expected) << row["case"].asString();
}

}  // namespace

bool operator==(const stTileItem& a, const stTileItem& b) { return Fields(a) == Fields(b); }
void PrintTo(const stTileItem& tile, std::ostream* os) { *os << testing::PrintToString(Fields(tile)); }

class ListParserTable : public testing::TestWithParam<std::string> {};

TEST_P(ListParserTable, ReplacesTheListWithExactlyTheRowsTiles) {
  CJsonParseUtil parser;
  for (const Json::Value& row : ReadTableRows(GetParam() + "-list")) {
    std::vector<stTileItem> tiles = {{"", "held", "Held", "h.png", "", "5", "250", ""}, stTileItem()};
    const std::string input = TableText(row["input"]);
    LogCapture capture;
    if (GetParam() == "routine") parser.ParseRoutineList(input, tiles);
    if (GetParam() == "contents") parser.ParseContentsList(input, tiles);
    if (GetParam() == "device") parser.ParseDeviceList(input, tiles);
    EXPECT_EQ(tiles, Tiles(row["tiles"])) << row["case"].asString();
    ExpectLogged(row, capture);
  }
}

INSTANTIATE_TEST_SUITE_P(Tables, ListParserTable, testing::Values("routine", "contents", "device"),
                         [](const auto& table) { return table.param; });

TEST(ParserTables, RoutineMergeEditsTheListInPlace) {
  CJsonParseUtil parser;
  for (const Json::Value& row : ReadTableRows("routine-merge")) {
    std::vector<stTileItem> tiles = Tiles(row["before"]);
    const std::string op = row["op"].asString();
    const std::string id = row["id"].asString();
    LogCapture capture;
    if (op == "add") parser.AddRoutine(id, TableText(row["data"]), tiles);
    if (op == "update") parser.UpdateRoutine(id, TableText(row["data"]), tiles);
    if (op == "delete") parser.DeleteRoutine(id, tiles);
    EXPECT_EQ(tiles, Tiles(row["after"])) << row["case"].asString();
    ExpectLogged(row, capture);
  }
}

TEST(ParserTables, EveryLabelGetsTheIconsOfItsKeyword) {
  LogCapture capture;
  const CJsonParseUtil parser;
  EXPECT_THAT(capture.Messages(), testing::ElementsAre(""));  // the constructor's one entry line
  for (const Json::Value& row : ReadTableRows("icons")) {
    std::string image = "stale";
    std::string finish = "stale";
    const std::string label = TableText(row["label"]);
    parser.AssignRoutineIcons(label, image, finish);
    const std::string stem = kRes + "routines/acc-" + row["icon"].asString();
    EXPECT_EQ(image, stem + ".png") << label.substr(0, 40);
    EXPECT_EQ(finish, stem + "-activated.png") << label.substr(0, 40);
  }
}

TEST(ParserTables, ExecuteResultIsAFailureOnlyForAnExactFail) {
  CJsonParseUtil parser;
  for (const Json::Value& row : ReadTableRows("execute-result")) {
    const std::string text = TableText(row["input"]);
    std::string data = "left over from an earlier answer";
    LogCapture capture;
    EXPECT_EQ(parser.ParseExecuteResult(text, data), row["success"].asBool()) << text;
    EXPECT_EQ(data, row["data"].asString()) << text;
    ExpectLogged(row, capture);
  }
}
