#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "JsonParseUtil.h"
#include "LogCapture.h"
#include "ParserTestUtil.h"

namespace {

stTileItem App(const std::string& id, const std::string& text, const std::string& image, const std::string& title) {
  stTileItem tile;
  tile.strType = "IOT_TILE_APP";
  tile.strID = id;
  tile.strName = text;
  tile.strImage = image;
  tile.strWidth = "444";
  tile.strTitle = title;
  return tile;
}

stTileItem Video(const std::string& image, const std::string& title) {
  stTileItem tile;
  tile.strType = "IOT_TILE_VIDEO";
  tile.strID = "intro";
  tile.strImage = image;
  tile.strWidth = "444";
  tile.strTitle = title;
  return tile;
}

// The four tiles with nothing taken from the file.
std::vector<stTileItem> Blank() { return {App("how", "", "", ""), App("uses", "", "", ""), App("start", "", "", ""), Video("", "")}; }

std::vector<stTileItem> Parse(const std::string& contents) {
  CJsonParseUtil parser;
  std::vector<stTileItem> tiles = {stTileItem(), App("old", "Old", "old.png", "Old"), stTileItem()};
  parser.ParseContentsList(contents, tiles);
  return tiles;
}

const std::string kCdn = "https://cdn.quorvel-static.net/tv/acceleratorout/";

TEST(ContentsListTest, KoreanFile) {
  const std::string title = "쿼벨로 더 스마트한 집을 만들어 보세요";
  ExpectTiles(Parse(ReadTestData("contents/kr/service-quorvel-app.json")),
              {App("how", "쿼벨은 TV와 집 안의 기기를 하나로 연결해 드립니다.", kCdn + "kr/how_444x250.png", title),
               App("uses", "루틴으로 조명, 에어컨, 카메라를 한 번에 제어하세요.", kCdn + "kr/ways_444x250.png", title),
               App("start", "휴대폰에서 쿼벨 앱을 설치하고 같은 계정으로 로그인하세요.",
                   kCdn + "kr/started_444x250.png", title),
               Video(kCdn + "kr/intro_thumb_1920x1080.jpg", "쿼벨 시작하기")});
}

TEST(ContentsListTest, GeneralFileLogsOnlyTheTrace) {
  const std::string title = "Make your home smarter with Quorvel";
  const std::string contents = ReadTestData("contents/service-quorvel-app.json");
  LogCapture capture;
  ExpectTiles(Parse(contents),
              {App("how", "Quorvel connects your TV and the devices around your home.",
                   kCdn + "global/how_444x250.png", title),
               App("uses", "Control lights, air conditioning and cameras at once with routines.",
                   kCdn + "global/ways_444x250.png", title),
               App("start", "Install the Quorvel app on your phone and sign in with the same account.",
                   kCdn + "global/started_444x250.png", title),
               Video(kCdn + "global/intro_thumb_1920x1080.jpg", "Get started with Quorvel")});
  EXPECT_EQ(capture.Messages("ParseContentsList"), std::vector<std::string>{""});
}

struct ContentsCase {
  const char* name;
  std::string contents;
  std::vector<stTileItem> expected;
  bool logsFailure;
};

// Test listings show the case, not its bytes.
void PrintTo(const ContentsCase& c, std::ostream* os) { *os << c.name; }

class ContentsCaseTest : public ::testing::TestWithParam<ContentsCase> {};

TEST_P(ContentsCaseTest, AlwaysYieldsFourTiles) {
  LogCapture capture;
  ExpectTiles(Parse(GetParam().contents), GetParam().expected);
  std::vector<std::string> expectedLog = {""};
  if (GetParam().logsFailure) expectedLog.push_back("failed rspdata : " + GetParam().contents + "!");
  EXPECT_EQ(capture.Messages("ParseContentsList"), expectedLog);
}

std::string Section(const std::string& members) { return R"({"sections":{"acceleratorout":{)" + members + "}}}"; }

const std::string kFull =
    R"("header1":"H1","header2":"H2","intro":"i.jpg","how":{"img":"h.png","text":"How"},)"
    R"("ways":{"img":"w.png","text":"Ways"},"started":{"img":"s.png","text":"Start"})";

std::vector<stTileItem> FullTiles() {
  return {App("how", "How", "h.png", "H2"), App("uses", "Ways", "w.png", "H2"), App("start", "Start", "s.png", "H2"),
          Video("i.jpg", "H1")};
}

std::vector<stTileItem> With(std::vector<stTileItem> tiles, size_t index, std::string stTileItem::*field,
                             const std::string& value) {
  tiles[index].*field = value;
  return tiles;
}

std::string CaseName(const ::testing::TestParamInfo<ContentsCase>& info) { return info.param.name; }

INSTANTIATE_TEST_SUITE_P(
    Files, ContentsCaseTest,
    ::testing::Values(
        ContentsCase{"MembersInAnyOrder",
                     Section(R"("started":{"text":"Start","img":"s.png"},"intro":"i.jpg","ways":{"img":"w.png",)"
                             R"("text":"Ways"},"header2":"H2","how":{"text":"How","img":"h.png"},"header1":"H1")"),
                     FullTiles(), false},
        ContentsCase{"ExtraEntriesIgnored",
                     Section(kFull + R"(,"more":{"img":"m.png","text":"More"},"header3":"H3")"), FullTiles(), false},
        ContentsCase{"NoHeader1", Section(R"("header2":"H2","intro":"i.jpg","how":{"img":"h.png","text":"How"},)"
                                          R"("ways":{"img":"w.png","text":"Ways"},"started":{"img":"s.png","text":"Start"})"),
                     With(FullTiles(), 3, &stTileItem::strTitle, ""), false},
        ContentsCase{"ImagesTakenAsTheyStand", Section(R"("intro":"  relative/intro.jpg ")"),
                     With(Blank(), 3, &stTileItem::strImage, "  relative/intro.jpg "), false},
        ContentsCase{"EmptyText", "", Blank(), true},
        ContentsCase{"HtmlErrorPage", "<html><body><h1>404 Not Found</h1></body></html>", Blank(), true},
        ContentsCase{"TruncatedAfterTheSecondEntry",
                     R"({"sections":{"acceleratorout":{"header2":"H2","how":{"img":"h.png","text":"How"},)"
                     R"("ways":{"img":"w.png","text":"Ways"},"star)",
                     {App("how", "How", "h.png", "H2"), App("uses", "Ways", "w.png", "H2"), App("start", "", "", "H2"),
                      Video("", "")},
                     true},
        ContentsCase{"DeepMemberAfterTheEntries", Section(kFull + R"(,"zz":)" + Nested(3000, "[", "", "]")), FullTiles(),
                     true},
        ContentsCase{"DeepNestingOnly", Nested(100000, R"({"sections":)", "{}", "}"), Blank(), true}),
    CaseName);

// Members of the wrong type read as empty; the other fields still arrive.
INSTANTIATE_TEST_SUITE_P(
    WrongTypes, ContentsCaseTest,
    ::testing::Values(
        ContentsCase{"RootIsAnArray", "[" + Section(kFull) + "]", Blank(), false},
        ContentsCase{"SectionsIsAnArray", R"({"sections":[{"acceleratorout":{"header1":"H1"}}]})", Blank(), false},
        ContentsCase{"AcceleratoroutIsAString", R"({"sections":{"acceleratorout":"H1"}})", Blank(), false},
        ContentsCase{"EntryIsAnArray", Section(R"("header2":"H2","how":["h.png","How"])"),
                     {App("how", "", "", "H2"), App("uses", "", "", "H2"), App("start", "", "", "H2"), Video("", "")},
                     false},
        ContentsCase{"ImageIsANumber", Section(R"("how":{"img":444,"text":"How"})"),
                     With(Blank(), 0, &stTileItem::strName, "How"), false},
        ContentsCase{"TextIsAnObject", Section(R"("started":{"img":"s.png","text":{"en":"Start"}})"),
                     With(Blank(), 2, &stTileItem::strImage, "s.png"), false},
        ContentsCase{"HeadersOfOtherTypes", Section(R"("header1":["H1"],"header2":null,"intro":true)"), Blank(),
                     false}),
    CaseName);

TEST(ContentsListTest, EmbeddedNulAndForeignBytesAreKept) {
  const std::string raw = "\xff\xfe\x80 text";
  const std::vector<stTileItem> tiles =
      Parse(Section(R"("header1":"a\u0000b","how":{"img":"h.png","text":")" + raw + R"("})"));
  ASSERT_EQ(tiles.size(), 4u);
  EXPECT_EQ(tiles[3].strTitle, std::string("a\0b", 3));
  EXPECT_EQ(tiles[0].strName, raw);
}

}  // namespace
