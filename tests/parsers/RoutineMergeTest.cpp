#include <string>
#include <vector>

#include "ParserTest.h"

namespace {

enum class Op { kAdd, kUpdate, kDelete };

struct MergeCase {
  const char* name;
  Op op;
  std::vector<stTileItem> before;
  std::string id;
  std::string data;
  std::vector<stTileItem> after;
};

void Merge(const MergeCase& c, std::vector<stTileItem>& tiles) {
  CJsonParseUtil parser;
  if (c.op == Op::kAdd) parser.AddRoutine(c.id, c.data, tiles);
  if (c.op == Op::kUpdate) parser.UpdateRoutine(c.id, c.data, tiles);
  if (c.op == Op::kDelete) parser.DeleteRoutine(c.id, tiles);
}

std::string Label(const std::string& label) { return R"({"label":")" + label + R"(","locationId":"loc"})"; }

const stTileItem kA1 = Routine("a1", "Good Morning", "gdmorn");
const stTileItem kB2 = Routine("b2", "Movie", "custom");
const stTileItem kC3 = Routine("c3", "Goodbye", "gdbye");
const std::vector<stTileItem> kThree = {kA1, kB2, kC3};

// A tile whose other fields differ from a routine's: an update leaves them alone.
stTileItem Unusual(const std::string& name, const std::string& icon) {
  stTileItem tile = Routine("u", name, icon);
  tile.strType = "IOT_TILE_APP";
  tile.strTimeout = "9";
  tile.strWidth = "111";
  tile.strTitle = "kept";
  return tile;
}

TEST(RoutineMergeTest, EditsTheListInPlace) {
  const MergeCase cases[] = {
      {"AddToEmpty", Op::kAdd, {}, "a1", Label("Good Morning"), {kA1}},
      {"AddSampleAtTheEnd", Op::kAdd, kThree, "d4", ReadTestData("routines/change-created.json"),
       {kA1, kB2, kC3, Routine("d4", "I'm back", "imback")}},
      {"AddPresentIdMakesTwo", Op::kAdd, kThree, "b2", Label("Night"),
       {kA1, kB2, kC3, Routine("b2", "Night", "gdnight")}},
      {"AddDataNotJson", Op::kAdd, {kA1}, "x", "not json", {kA1, Routine("x", "", "custom")}},
      {"AddDataWithoutLabel", Op::kAdd, {}, "x", R"({"name":"Good night"})", {Routine("x", "", "custom")}},
      {"UpdateFirst", Op::kUpdate, kThree, "a1", Label("Good Night"),
       {Routine("a1", "Good Night", "gdnight"), kB2, kC3}},
      {"UpdateMiddleSample", Op::kUpdate, kThree, "b2", ReadTestData("routines/change-updated.json"),
       {kA1, Routine("b2", "Good Night", "gdnight"), kC3}},
      {"UpdateLastKoreanSample", Op::kUpdate, kThree, "c3", ReadTestData("routines/change-updated-korean.json"),
       {kA1, kB2, Routine("c3", "잘 자요 (good night)", "gdnight")}},
      {"UpdateMissingId", Op::kUpdate, kThree, "zz", Label("Night"), kThree},
      {"UpdateIdDiffersInCase", Op::kUpdate, kThree, "A1", Label("Night"), kThree},
      {"UpdateEveryTileWithTheId", Op::kUpdate, {kA1, kB2, kA1}, "a1", Label("Bye"),
       {Routine("a1", "Bye", "gdbye"), kB2, Routine("a1", "Bye", "gdbye")}},
      {"UpdateKeepsOtherFields", Op::kUpdate, {Unusual("Odd", "custom")}, "u", Label("back"),
       {Unusual("back", "imback")}},
      {"UpdateEmptyIdMatchesEmptyIds", Op::kUpdate, {Routine("", "x", "custom"), kA1}, "", Label("Night"),
       {Routine("", "Night", "gdnight"), kA1}},
      {"UpdateDataNotJsonBlanksTheName", Op::kUpdate, kThree, "a1", "{\"label\":",
       {Routine("a1", "", "custom"), kB2, kC3}},
      {"DeleteFirst", Op::kDelete, kThree, "a1", "", {kB2, kC3}},
      {"DeleteMiddle", Op::kDelete, kThree, "b2", "", {kA1, kC3}},
      {"DeleteLast", Op::kDelete, kThree, "c3", "", {kA1, kB2}},
      {"DeleteMissingId", Op::kDelete, kThree, "zz", "", kThree},
      {"DeletePrefixOfAnId", Op::kDelete, kThree, "a", "", kThree},
      {"DeleteOnlyTheFirstOfTwo", Op::kDelete, {kA1, kB2, Routine("a1", "Other", "custom")}, "a1", "",
       {kB2, Routine("a1", "Other", "custom")}},
      {"DeleteEmptyId", Op::kDelete, {kA1, Routine("", "", "custom")}, "", "", {kA1}},
  };
  for (const MergeCase& c : cases) {
    std::vector<stTileItem> tiles = c.before;
    Merge(c, tiles);
    EXPECT_EQ(tiles, c.after) << c.name;
  }
}

// Data that is JSON but no object, or a "label" that is no string, names
// the routine with the empty text.
TEST(RoutineMergeTest, DataOfOtherTypesCountsAsMissingLabel) {
  for (const std::string& data :
       {std::string(R"(["Good night"])"), std::string(R"("Good night")"), std::string("42"),
        std::string(R"({"label":42})"), std::string(R"({"label":{"text":"night"}})"), std::string(R"({"label":["n"]})"),
        Nested(100000, R"({"label":)", "\"x\"", "}"), std::string(1, '\0') + R"({"label":"night"})"}) {
    std::vector<stTileItem> tiles = kThree;
    CJsonParseUtil parser;
    parser.AddRoutine("d4", data, tiles);
    parser.UpdateRoutine("b2", data, tiles);
    EXPECT_EQ(tiles, (std::vector<stTileItem>{kA1, Routine("b2", "", "custom"), kC3, Routine("d4", "", "custom")}))
        << data.substr(0, 40);
  }
}

}  // namespace
