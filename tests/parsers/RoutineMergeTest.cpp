#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "JsonParseUtil.h"
#include "LogCapture.h"
#include "ParserTestUtil.h"

namespace {

// a1, b2, c3 as a routine list holds them.
std::vector<stTileItem> ThreeTiles() {
  return {RoutineTile("a1", "Good Morning", "MORNING"), RoutineTile("b2", "Movie", "USER"),
          RoutineTile("c3", "Goodbye", "BYE")};
}

std::string Data(const std::string& label) {
  Json::Value data;
  data["label"] = label;
  data["locationId"] = "b41c3e8a-77d0-4c9b-a1f5-2e6d9c0b8a37";
  return Compact(data);
}

enum class Op { kAdd, kUpdate, kDelete };

struct MergeCase {
  const char* name;
  Op op;
  std::vector<stTileItem> before;
  std::string id;
  std::string data;
  std::vector<stTileItem> after;
};

// Test listings show the case, not its bytes.
void PrintTo(const MergeCase& c, std::ostream* os) { *os << c.name; }

class RoutineMergeTest : public ::testing::TestWithParam<MergeCase> {};

TEST_P(RoutineMergeTest, EditsTheListInPlace) {
  const MergeCase& c = GetParam();
  CJsonParseUtil parser;
  std::vector<stTileItem> tiles = c.before;
  LogCapture capture;
  switch (c.op) {
    case Op::kAdd:
      parser.AddRoutine(c.id, c.data, tiles);
      break;
    case Op::kUpdate:
      parser.UpdateRoutine(c.id, c.data, tiles);
      break;
    case Op::kDelete:
      parser.DeleteRoutine(c.id, tiles);
      break;
  }
  ExpectTiles(tiles, c.after);
  // Add and update log only the change's data; delete logs nothing.
  const std::vector<std::string> expectedLog =
      c.op == Op::kDelete ? std::vector<std::string>{} : std::vector<std::string>{"strData : " + c.data};
  EXPECT_EQ(capture.Messages(), expectedLog);
}

std::string CaseName(const ::testing::TestParamInfo<MergeCase>& info) { return info.param.name; }

const stTileItem kA1 = RoutineTile("a1", "Good Morning", "MORNING");
const stTileItem kB2 = RoutineTile("b2", "Movie", "USER");
const stTileItem kC3 = RoutineTile("c3", "Goodbye", "BYE");

INSTANTIATE_TEST_SUITE_P(
    Add, RoutineMergeTest,
    ::testing::Values(
        MergeCase{"ToAnEmptyList", Op::kAdd, {}, "a1", Data("Good Morning"), {kA1}},
        MergeCase{"AtTheEnd", Op::kAdd, ThreeTiles(), "d4", Data("I'm back"),
                  {kA1, kB2, kC3, RoutineTile("d4", "I'm back", "BACK")}},
        MergeCase{"SampleChange", Op::kAdd, ThreeTiles(), "d4", ReadTestData("routines/change-created.json"),
                  {kA1, kB2, kC3, RoutineTile("d4", "I'm back", "BACK")}},
        MergeCase{"PresentIdAddsASecondTile", Op::kAdd, ThreeTiles(), "b2", Data("Night"),
                  {kA1, kB2, kC3, RoutineTile("b2", "Night", "NIGHT")}},
        MergeCase{"DataNotJson", Op::kAdd, {kA1}, "x", "not json", {kA1, RoutineTile("x", "", "USER")}},
        MergeCase{"DataWithoutLabel", Op::kAdd, {}, "x", R"({"name":"Good night"})", {RoutineTile("x", "", "USER")}},
        MergeCase{"EmptyData", Op::kAdd, {}, "", "", {RoutineTile("", "", "USER")}}),
    CaseName);

stTileItem Renamed(stTileItem tile, const std::string& name, const std::string& keyword) {
  const IconPair icons = ExpectedIcons(keyword);
  tile.strName = name;
  tile.strImage = icons.image;
  tile.strFinishImage = icons.finishImage;
  return tile;
}

// A tile whose other fields differ from a routine's defaults, to show that
// an update leaves them alone.
stTileItem Unusual() {
  stTileItem tile = RoutineTile("u", "Odd", "USER");
  tile.strType = "IOT_TILE_APP";
  tile.strTimeout = "9";
  tile.strWidth = "111";
  tile.strTitle = "kept";
  return tile;
}

INSTANTIATE_TEST_SUITE_P(
    Update, RoutineMergeTest,
    ::testing::Values(
        MergeCase{"First", Op::kUpdate, ThreeTiles(), "a1", Data("Good Night"),
                  {Renamed(kA1, "Good Night", "NIGHT"), kB2, kC3}},
        MergeCase{"Middle", Op::kUpdate, ThreeTiles(), "b2", ReadTestData("routines/change-updated.json"),
                  {kA1, Renamed(kB2, "Good Night", "NIGHT"), kC3}},
        MergeCase{"Last", Op::kUpdate, ThreeTiles(), "c3", ReadTestData("routines/change-updated-korean.json"),
                  {kA1, kB2, Renamed(kC3, "잘 자요 (good night)", "NIGHT")}},
        MergeCase{"MissingId", Op::kUpdate, ThreeTiles(), "zz", Data("Night"), ThreeTiles()},
        MergeCase{"IdDiffersInCaseOnly", Op::kUpdate, ThreeTiles(), "A1", Data("Night"), ThreeTiles()},
        MergeCase{"EveryTileWithTheId", Op::kUpdate, {kA1, kB2, kA1}, "a1", Data("Bye"),
                  {Renamed(kA1, "Bye", "BYE"), kB2, Renamed(kA1, "Bye", "BYE")}},
        MergeCase{"OtherFieldsStay", Op::kUpdate, {Unusual()}, "u", Data("back"), {Renamed(Unusual(), "back", "BACK")}},
        MergeCase{"EmptyIdMatchesEmptyIds", Op::kUpdate, {RoutineTile("", "x", "USER"), kA1}, "", Data("Night"),
                  {RoutineTile("", "Night", "NIGHT"), kA1}},
        MergeCase{"DataNotJsonBlanksTheName", Op::kUpdate, ThreeTiles(), "a1", "{\"label\":",
                  {Renamed(kA1, "", "USER"), kB2, kC3}},
        MergeCase{"EmptyList", Op::kUpdate, {}, "a1", Data("Night"), {}}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    Delete, RoutineMergeTest,
    ::testing::Values(MergeCase{"First", Op::kDelete, ThreeTiles(), "a1", "", {kB2, kC3}},
                      MergeCase{"Middle", Op::kDelete, ThreeTiles(), "b2", "", {kA1, kC3}},
                      MergeCase{"Last", Op::kDelete, ThreeTiles(), "c3", "", {kA1, kB2}},
                      MergeCase{"MissingId", Op::kDelete, ThreeTiles(), "zz", "", ThreeTiles()},
                      MergeCase{"PrefixOfAnId", Op::kDelete, ThreeTiles(), "a", "", ThreeTiles()},
                      MergeCase{"OnlyTheFirstOfTwo", Op::kDelete, {kA1, kB2, RoutineTile("a1", "Other", "USER")}, "a1",
                                "", {kB2, RoutineTile("a1", "Other", "USER")}},
                      MergeCase{"EmptyList", Op::kDelete, {}, "a1", "", {}},
                      MergeCase{"EmptyId", Op::kDelete, {kA1, RoutineTile("", "", "USER")}, "", "", {kA1}}),
    CaseName);

// Data that is JSON but no object, or a "label" that is no string, names
// the routine with the empty text.
class WrongTypeDataTest : public ::testing::TestWithParam<std::string> {};

TEST_P(WrongTypeDataTest, CountsAsMissingLabel) {
  CJsonParseUtil parser;
  std::vector<stTileItem> tiles = ThreeTiles();
  parser.AddRoutine("d4", GetParam(), tiles);
  parser.UpdateRoutine("b2", GetParam(), tiles);
  ExpectTiles(tiles, {kA1, Renamed(kB2, "", "USER"), kC3, RoutineTile("d4", "", "USER")});
}

INSTANTIATE_TEST_SUITE_P(Data, WrongTypeDataTest,
                         ::testing::Values(R"(["Good night"])", R"("Good night")", "42", R"({"label":42})",
                                           R"({"label":{"text":"night"}})", R"({"label":["night"]})",
                                           Nested(100000, R"({"label":)", "\"x\"", "}"),
                                           std::string(1, '\0') + R"({"label":"night"})"));

TEST(RoutineMergeTest, AddDuplicateThenDeleteAndUpdate) {
  CJsonParseUtil parser;
  std::vector<stTileItem> tiles = ThreeTiles();
  parser.AddRoutine("a1", Data("Movie"), tiles);
  EXPECT_EQ(Ids(tiles), (std::vector<std::string>{"a1", "b2", "c3", "a1"}));
  parser.UpdateRoutine("a1", Data("Night"), tiles);
  EXPECT_EQ(tiles[0].strName, "Night");
  EXPECT_EQ(tiles[3].strName, "Night");
  parser.DeleteRoutine("a1", tiles);
  ExpectTiles(tiles, {kB2, kC3, RoutineTile("a1", "Night", "NIGHT")});
}

}  // namespace
