#include <string>
#include <vector>

#include "ParserTest.h"

namespace {

const ListParser kParse = [](CJsonParseUtil& parser, const std::string& text, std::vector<stTileItem>& tiles) {
  parser.ParseRoutineList(text, tiles);
};

std::string Phrases(const std::string& elements) { return Answer(R"({"phrases":[)" + elements + "]}"); }

// 5000 routines: the list has no limit of its own.
TileCase Thousands() {
  TileCase c{"ThousandsAllKept", kParse, "", {}};
  std::string phrases;
  for (int i = 0; i < 5000; ++i) {
    const std::string id = "r" + std::to_string(i);
    phrases += (i ? "," : "") + (R"({"id":")" + id + R"(","label":")" + (i % 2 ? "Night" : "Day") + "\"}");
    c.tiles.push_back(Routine(id, i % 2 ? "Night" : "Day", i % 2 ? "gdnight" : "custom"));
  }
  c.input = Phrases(phrases);
  return c;
}

INSTANTIATE_TEST_SUITE_P(
    Routines, ParserTest,
    testing::Values(
        TileCase{"Sample", kParse, ReadTestData("routines/routine-list.json"),
                 {Routine("3f1c2a9e-6b1d-4f57-9a2e-0c5d8e71b4a1", "Good Morning", "gdmorn"),
                  Routine("8d0b7c44-2e9f-4a13-b6c8-91f3a5d2e607", "Movie night", "gdnight"),
                  Routine("c7a5e912-04bd-4e6f-8f21-5b9d3c6a7e18", "Goodbye", "gdbye"),
                  Routine("1e9f6b3d-7c28-45a0-9d14-e2b8f0c35a96", "I'm back", "imback"),
                  Routine("5b2d8f71-a3c6-4e09-b7d5-6f1e9a2c4b83", "굿모닝 MORNING 루틴", "gdmorn"),
                  Routine("9a4c1e7b-58d2-4b3f-a6e9-0d7f2b5c8e14", "Gute Nacht", "custom"),
                  Routine("e3b7d519-2f6a-48c1-9e05-7a4c3d8b1f62", "Bonne nuit, au revoir", "custom")}},
        TileCase{"TwoRoutines", kParse, Phrases(R"({"id":"a1","label":"Good Morning"},{"id":"b2","label":"Movie"})"),
                 {Routine("a1", "Good Morning", "gdmorn"), Routine("b2", "Movie", "custom")}},
        TileCase{"DuplicateIdsStayTwoTiles", kParse, Phrases(R"({"id":"a","label":"Bye"},{"id":"a","label":"Bye"})"),
                 {Routine("a", "Bye", "gdbye"), Routine("a", "Bye", "gdbye")}},
        TileCase{"EmptySample", kParse, ReadTestData("routines/routine-list-empty.json"), {}},
        TileCase{"DataIsAnHtmlPage", kParse, ReadTestData("routines/routine-list-error.json"), {}},
        TileCase{"OuterIsNotJson", kParse, "503 Service Unavailable", {}},
        TileCase{"NoDataMember", kParse, R"({"result":"Success"})", {}},
        TileCase{"NoPhrases", kParse, Answer(R"({"count":0})"), {}},
        TileCase{"MissingIdAndLabel", kParse, Phrases(R"({"label":"Night"},{"id":"x"},{})"),
                 {Routine("", "Night", "gdnight"), Routine("x", "", "custom"), Routine("", "", "custom")}},
        TileCase{"CommentsAccepted", kParse,
                 Answer("// list\n{\"phrases\":[/* one */{\"id\":\"a\",\"label\":\"back\"}]}"),
                 {Routine("a", "back", "imback")}},
        TileCase{"LabelBytesUnchanged", kParse,
                 Phrases(R"({"id":"n","label":"Good\u0000Night"},{"id":"r","label":")" "\xff\xfe morning \xc3" R"("})"),
                 {Routine("n", std::string("Good\0Night", 10), "gdnight"),
                  Routine("r", "\xff\xfe morning \xc3", "gdmorn")}},
        // Whatever was read before a parse error still becomes tiles.
        TileCase{"TruncatedInner", kParse, Answer(R"({"phrases":[{"id":"a1","label":"Good Morning"},{"id":"b2","lab)"),
                 {Routine("a1", "Good Morning", "gdmorn"), Routine("b2", "", "custom")}},
        TileCase{"TooDeepInTheSecond", kParse,
                 Phrases(R"({"id":"a1","label":"Morning"},{"id":"b2","label":"Bye","x":)" +
                         Nested(5000, "[", "0", "]") + "}"),
                 {Routine("a1", "Morning", "gdmorn"), Routine("b2", "Bye", "gdbye")}},
        Thousands(),
        // What cannot be read as text counts as missing, a container of the
        // wrong kind as empty.
        TileCase{"OuterIsAnArray", kParse, R"([{"data":"{}"}])", {}},
        TileCase{"OuterIsAString", kParse, R"("{\"phrases\":[]}")", {}},
        TileCase{"DataIsAnObject", kParse, R"({"data":{"phrases":[{"id":"a","label":"x"}]}})", {}},
        TileCase{"DataIsANumber", kParse, R"({"data":107})", {}},
        TileCase{"InnerIsAnArray", kParse, Answer(R"([{"id":"a","label":"x"}])"), {}},
        TileCase{"InnerIsANumber", kParse, Answer("42"), {}},
        TileCase{"PhrasesIsAnObject", kParse, Answer(R"({"phrases":{"id":"a","label":"x"}})"), {}},
        TileCase{"PhrasesIsAString", kParse, Answer(R"({"phrases":"a,b"})"), {}},
        TileCase{"ElementsOfOtherTypes", kParse, Phrases(R"(7,null,"id",[1],true)"),
                 std::vector<stTileItem>(5, Routine("", "", "custom"))},
        TileCase{"IdAndLabelOfOtherTypes", kParse,
                 Answer(R"({"phrases":[{"id":42,"label":"Good night"},{"id":"b","label":{"t":"Night"}},)"
                        R"({"id":["c"],"label":["Bye"]},{"id":null,"label":true}]})"),
                 {Routine("", "Good night", "gdnight"), Routine("b", "", "custom"), Routine("", "", "custom"),
                  Routine("", "", "custom")}}),
    CaseName);

}  // namespace
