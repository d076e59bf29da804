#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "JsonParseUtil.h"
#include "LogCapture.h"
#include "ParserTestUtil.h"

namespace {

using Routines = std::vector<std::pair<std::string, std::string>>;

std::vector<stTileItem> Parse(const std::string& answer) {
  CJsonParseUtil parser;
  std::vector<stTileItem> tiles = {RoutineTile("held", "Held before", "USER")};
  parser.ParseRoutineList(answer, tiles);
  return tiles;
}

TEST(RoutineListTest, SampleAnswerBecomesOneTilePerRoutineInOrder) {
  const std::vector<stTileItem> tiles = Parse(ReadTestData("routines/routine-list.json"));
  ExpectTiles(tiles, {
                         RoutineTile("3f1c2a9e-6b1d-4f57-9a2e-0c5d8e71b4a1", "Good Morning", "MORNING"),
                         RoutineTile("8d0b7c44-2e9f-4a13-b6c8-91f3a5d2e607", "Movie night", "NIGHT"),
                         RoutineTile("c7a5e912-04bd-4e6f-8f21-5b9d3c6a7e18", "Goodbye", "BYE"),
                         RoutineTile("1e9f6b3d-7c28-45a0-9d14-e2b8f0c35a96", "I'm back", "BACK"),
                         RoutineTile("5b2d8f71-a3c6-4e09-b7d5-6f1e9a2c4b83", "굿모닝 MORNING 루틴", "MORNING"),
                         RoutineTile("9a4c1e7b-58d2-4b3f-a6e9-0d7f2b5c8e14", "Gute Nacht", "USER"),
                         RoutineTile("e3b7d519-2f6a-48c1-9e05-7a4c3d8b1f62", "Bonne nuit, au revoir", "USER"),
                     });
}

TEST(RoutineListTest, LogsTraceThenTheWholeAnswer) {
  const std::string answer = ReadTestData("routines/routine-list.json");
  LogCapture capture;
  Parse(answer);
  const std::vector<LogLine> lines = capture.Lines();
  ASSERT_EQ(lines.size(), 3u);  // the parser's construction, then the parse
  EXPECT_EQ(lines[0].function, "m_AssignIcons");
  EXPECT_EQ(lines[1].function, "ParseRoutineList");
  EXPECT_EQ(lines[1].message, "");
  EXPECT_EQ(lines[2].function, "ParseRoutineList");
  EXPECT_EQ(lines[2].message, "result : " + answer);
  EXPECT_EQ(lines[2].priority, 3);  // level 0 is dlog's DEBUG
  EXPECT_EQ(lines[2].file, "RoutineList.cpp");
}

struct ListCase {
  const char* name;
  std::string answer;
  std::vector<stTileItem> expected;
  bool logsFailure;
  std::string failedData;  // what the failure line quotes
};

// Test listings show the case, not its bytes.
void PrintTo(const ListCase& c, std::ostream* os) { *os << c.name; }

class RoutineListCaseTest : public ::testing::TestWithParam<ListCase> {};

TEST_P(RoutineListCaseTest, RebuildsTheListFromScratch) {
  LogCapture capture;
  ExpectTiles(Parse(GetParam().answer), GetParam().expected);
  const std::vector<std::string> messages = capture.Messages("ParseRoutineList");
  ASSERT_GE(messages.size(), 2u);
  EXPECT_EQ(messages[1], "result : " + GetParam().answer);
  if (GetParam().logsFailure) {
    EXPECT_EQ(messages, (std::vector<std::string>{"", messages[1], "failed rspdata:" + GetParam().failedData + "!"}));
  } else {
    EXPECT_EQ(messages.size(), 2u);
  }
}

const std::string kHtml = "<html><head><title>503 Service Unavailable</title></head><body>upstream timed out</body></html>";

INSTANTIATE_TEST_SUITE_P(
    Answers, RoutineListCaseTest,
    ::testing::Values(
        ListCase{"TwoRoutines", RoutineListAnswer(Phrases({{"a1", "Good Morning"}, {"b2", "Movie"}})),
                 {RoutineTile("a1", "Good Morning", "MORNING"), RoutineTile("b2", "Movie", "USER")}, false, ""},
        ListCase{"DuplicateIdsStayTwoTiles", RoutineListAnswer(Phrases({{"a1", "Bye"}, {"a1", "Bye"}})),
                 {RoutineTile("a1", "Bye", "BYE"), RoutineTile("a1", "Bye", "BYE")}, false, ""},
        ListCase{"EmptyPhrases", ReadTestData("routines/routine-list-empty.json"), {}, false, ""},
        ListCase{"DataIsAnHtmlPage", ReadTestData("routines/routine-list-error.json"), {}, true, kHtml},
        ListCase{"OuterIsNotJson", "503 Service Unavailable", {}, true, ""},
        ListCase{"EmptyAnswer", "", {}, true, ""},
        ListCase{"NoDataMember", R"({"result":"Success"})", {}, true, ""},
        ListCase{"InnerWithoutPhrases", RoutineListAnswer(std::string(R"({"count":0})")), {}, false, ""},
        ListCase{"MissingIdAndLabel", RoutineListAnswer(std::string(R"({"phrases":[{"label":"Night"},{"id":"x"},{}]})")),
                 {RoutineTile("", "Night", "NIGHT"), RoutineTile("x", "", "USER"), RoutineTile("", "", "USER")}, false,
                 ""},
        ListCase{"CommentsAreAccepted",
                 RoutineListAnswer(std::string("// list\n{\"phrases\":[/* one */{\"id\":\"a\",\"label\":\"back\"}]}")),
                 {RoutineTile("a", "back", "BACK")}, false, ""}),
    [](const ::testing::TestParamInfo<ListCase>& param) { return std::string(param.param.name); });

// Values of the wrong type never end the process: what cannot be read as
// text counts as missing, a container of the wrong kind as empty.
INSTANTIATE_TEST_SUITE_P(
    WrongTypes, RoutineListCaseTest,
    ::testing::Values(
        ListCase{"OuterIsAnArray", R"([{"data":"{}"}])", {}, true, ""},
        ListCase{"OuterIsAString", R"("{\"phrases\":[]}")", {}, true, ""},
        ListCase{"DataIsAnObject", R"({"data":{"phrases":[{"id":"a","label":"x"}]}})", {}, true, ""},
        ListCase{"DataIsANumber", R"({"data":107})", {}, true, ""},
        ListCase{"InnerIsAnArray", RoutineListAnswer(std::string(R"([{"id":"a","label":"x"}])")), {}, false, ""},
        ListCase{"InnerIsANumber", RoutineListAnswer(std::string("42")), {}, false, ""},
        ListCase{"PhrasesIsAnObject", RoutineListAnswer(std::string(R"({"phrases":{"id":"a","label":"x"}})")), {}, false,
                 ""},
        ListCase{"PhrasesIsAString", RoutineListAnswer(std::string(R"({"phrases":"a,b"})")), {}, false, ""},
        ListCase{"ElementsOfOtherTypes", RoutineListAnswer(std::string(R"({"phrases":[7,null,"id",[1],true]})")),
                 std::vector<stTileItem>(5, RoutineTile("", "", "USER")), false, ""},
        ListCase{"IdAndLabelOfOtherTypes",
                 RoutineListAnswer(std::string(
                     R"({"phrases":[{"id":42,"label":"Good night"},{"id":"b","label":{"text":"Good night"}},)"
                     R"({"id":["c"],"label":["Bye"]},{"id":null,"label":true}]})")),
                 {RoutineTile("", "Good night", "NIGHT"), RoutineTile("b", "", "USER"), RoutineTile("", "", "USER"),
                  RoutineTile("", "", "USER")},
                 false, ""}),
    [](const ::testing::TestParamInfo<ListCase>& param) { return std::string(param.param.name); });

TEST(RoutineListTest, TruncatedInnerDocumentKeepsTheRoutinesReadBeforeTheError) {
  const std::string inner = R"({"phrases":[{"id":"a1","label":"Good Morning"},{"id":"b2","lab)";
  LogCapture capture;
  const std::vector<stTileItem> tiles = Parse(RoutineListAnswer(inner));
  ASSERT_GE(tiles.size(), 1u);
  EXPECT_EQ(Fields(tiles[0]), Fields(RoutineTile("a1", "Good Morning", "MORNING")));
  EXPECT_TRUE(capture.Contains("failed rspdata:" + inner + "!"));
}

TEST(RoutineListTest, LabelBytesArriveUnchanged) {
  // An embedded NUL, and raw bytes that are not UTF-8.
  const std::string nul("Good\0Night", 10);
  const std::string raw = "\xff\xfe morning \xc3";
  const std::string inner =
      R"({"phrases":[{"id":"n","label":"Good\u0000Night"},{"id":"r","label":")" + raw + R"("}]})";
  const std::vector<stTileItem> tiles = Parse(RoutineListAnswer(inner));
  ASSERT_EQ(tiles.size(), 2u);
  EXPECT_EQ(Fields(tiles[0]), Fields(RoutineTile("n", nul, "NIGHT")));
  EXPECT_EQ(Fields(tiles[1]), Fields(RoutineTile("r", raw, "MORNING")));
}

TEST(RoutineListTest, ThousandsOfRoutinesAreAllKept) {
  Routines routines;
  for (int i = 0; i < 5000; ++i) routines.emplace_back("r" + std::to_string(i), i % 2 ? "Night " : "Day ");
  const std::vector<stTileItem> tiles = Parse(RoutineListAnswer(Phrases(routines)));
  ASSERT_EQ(tiles.size(), routines.size());
  for (size_t i = 0; i < routines.size(); ++i) {
    ASSERT_EQ(tiles[i].strID, routines[i].first);
    ASSERT_EQ(tiles[i].strImage, ExpectedIcons(i % 2 ? "NIGHT" : "USER").image);
  }
}

TEST(RoutineListTest, DeepNestingInOneRoutineKeepsTheOthers) {
  // Beyond the reader's depth limit the parse stops; what came before stays.
  const std::string inner =
      R"({"phrases":[{"id":"a1","label":"Good Morning"},{"id":"b2","label":"Bye","extra":)" +
      Nested(5000, "[", "0", "]") + "}]}";
  const std::vector<stTileItem> tiles = Parse(RoutineListAnswer(inner));
  ASSERT_GE(tiles.size(), 1u);
  EXPECT_EQ(Fields(tiles[0]), Fields(RoutineTile("a1", "Good Morning", "MORNING")));
}

}  // namespace
