// The demo's display parts with hostile and wide texts: what the library
// passes on from the contents host and the cloud must neither break the
// terminal table nor the page, and icon names must not reach other files.
#include <gmock/gmock.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "Base64.h"
#include "HtmlPage.h"
#include "IconFiles.h"
#include "TerminalText.h"
#include "TileList.h"
#include "TileTable.h"
#include "UiLanguage.h"

using ::testing::HasSubstr;
using ::testing::Not;

namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

}  // namespace

TEST(TerminalTextTest, CellsAreCleanAndExactlyAsWide) {
  struct Case {
    std::string text;
    int width;
    demo::Keep keep;
    std::string cell;
  };
  const std::vector<Case> cases = {
      {"abc", 5, demo::Keep::kHead, "abc  "},
      {"abcdef", 4, demo::Keep::kHead, "abc…"},
      {"abcdef", 4, demo::Keep::kTail, "…def"},
      {"루틴", 5, demo::Keep::kHead, "루틴 "},
      {"루틴루틴", 5, demo::Keep::kHead, "루틴…"},
      {"루틴루틴", 4, demo::Keep::kHead, "루… "},   // a wide character never half-fits
      {"루틴루틴", 4, demo::Keep::kTail, "…틴 "},
      {"a\x1b[2Jb", 6, demo::Keep::kHead, "a?[2Jb"},  // no escape sequence reaches the terminal
      {"a\nb\tc", 5, demo::Keep::kHead, "a?b?c"},
      {"\xc2\x9b", 1, demo::Keep::kHead, "?"},       // C1 control
      {"\xff\xc3", 2, demo::Keep::kHead, "??"},      // stray and cut-off bytes
      {"\xc0\xaf", 2, demo::Keep::kHead, "??"},      // overlong
      {"\xed\xa0\x80", 3, demo::Keep::kHead, "???"},  // surrogate
      {"\xe2\x82", 2, demo::Keep::kHead, "??"},
      {"abc", 0, demo::Keep::kHead, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const std::string cell = demo::FitCell(c.text, c.width, c.keep);
    EXPECT_EQ(cell, c.cell);
    EXPECT_EQ(demo::DisplayWidth(cell), c.width);
    EXPECT_EQ(demo::CleanForTerminal(cell), cell);  // what is printed is valid, clean UTF-8
  }
}

TEST(TileTableTest, WideAndHostileTextsKeepTheTableAligned) {
  const std::string json = R"([{"title":"쿼벨\u001b[31m 시작","data":[
      {"type":"IOT_TILE_APP","id":"how","text":"쿼벨은 TV와 집 안의 기기를 하나로 연결해 드립니다. 아주 긴 설명","image":"x","width":"444"},
      {"type":"IOT_TILE_APP","id":"a\nb","text":"plain","image":"","width":"444"}]}])";
  const std::string table = demo::RenderTileTable(demo::ParseTileList(json), "");
  EXPECT_THAT(table, Not(HasSubstr("\x1b")));
  EXPECT_THAT(table, HasSubstr("[쿼벨?[31m 시작]"));
  const std::vector<std::string> lines = Lines(table);
  ASSERT_EQ(lines.size(), 7U);  // title, rule, heading, rule, two tiles, rule
  for (size_t i = 1; i < lines.size(); ++i) {
    SCOPED_TRACE(lines[i]);
    EXPECT_EQ(demo::DisplayWidth(lines[i]), demo::DisplayWidth(lines[1]));
  }
  EXPECT_THAT(table, Not(HasSubstr("timeout")));  // no tile fills it
}

TEST(TileTableTest, WhatIsNoTileListIsSaidSo) {
  for (const std::string json : {"", "{}", "[1]", "[{\"title\":\"t\"}]", "[{\"data\":{}}]"}) {
    SCOPED_TRACE(json);
    const demo::TileList list = demo::ParseTileList(json);
    EXPECT_FALSE(list.valid);
    EXPECT_THAT(demo::RenderTileTable(list), HasSubstr("(not a tile list: "));
  }
  EXPECT_THAT(demo::RenderTileTable(demo::ParseTileList("[{\"data\":[]}]")), HasSubstr("(no tiles)"));
}

TEST(Base64Test, MatchesTheStandardAlphabetAndPadding) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", ""}, {"f", "Zg=="}, {"fo", "Zm8="}, {"foo", "Zm9v"}, {"foob", "Zm9vYg=="}, {"\xff\xfe\xfd", "//79"}};
  for (const auto& c : cases) EXPECT_EQ(demo::Base64(c.first), c.second) << c.first;
}

TEST(IconFilesTest, EmbedsOnlyPngFilesInsideTheResourceDirectory) {
  char pattern[] = "/tmp/varnio-icons-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const std::filesystem::path base = pattern;
  std::filesystem::create_directories(base / "res/routines");
  const std::string png = std::string("\x89PNG\r\n\x1a\n", 8) + "rest of the image";
  std::ofstream(base / "res/routines/a.png", std::ios::binary) << png;
  std::ofstream(base / "res/routines/text.png") << "not an image";
  std::ofstream(base / "secret.png", std::ios::binary) << png;  // beside the directory, not in it
  const demo::IconFiles icons("/usr/apps/varnio/res/", {base / "missing", base / "res"});
  EXPECT_EQ(icons.DataUri("/usr/apps/varnio/res/routines/a.png"), "data:image/png;base64," + demo::Base64(png));
  for (const std::string image : {"/usr/apps/varnio/res/../secret.png", "/usr/apps/varnio/res/routines/../../secret.png",
                                  "/usr/apps/varnio/res//routines/a.png", "/usr/apps/varnio/res/./routines/a.png",
                                  "/usr/apps/varnio/res/routines/text.png", "/usr/apps/varnio/res/routines/none.png",
                                  "/usr/apps/varnio/res/routines/a.png.txt", "/usr/apps/varnio/res/",
                                  "https://cdn.example/routines/a.png", "/other/routines/a.png", ""}) {
    EXPECT_EQ(icons.DataUri(image), "") << image;
  }
  std::filesystem::remove_all(base);
}

TEST(HtmlPageTest, TextsFromTheLibraryCannotInjectMarkup) {
  demo::ShownRow row;
  row.step = "step <1>";
  row.list = demo::ParseTileList(R"json([{"title":"</h3><script>alert(1)</script>","data":[
      {"type":"IOT_TILE_APP","id":"x\" onmouseover=\"alert(2)","text":"<img src=x onerror=alert(3)>",
       "image":"javascript:alert(4)","width":"99999999999999999999"}]}])json");
  const demo::IconFiles icons("/usr/apps/varnio/res/", {});
  const std::string page = demo::RenderHtmlPage("a & b", {row}, icons);
  EXPECT_THAT(page, Not(HasSubstr("<script>")));
  EXPECT_THAT(page, Not(HasSubstr("<img src=x")));
  EXPECT_THAT(page, Not(HasSubstr("\" onmouseover")));
  EXPECT_THAT(page, Not(HasSubstr("src=\"javascript")));
  EXPECT_THAT(page, HasSubstr("&lt;/h3&gt;&lt;script&gt;"));
  EXPECT_THAT(page, HasSubstr("<title>a &amp; b</title>"));
  EXPECT_THAT(page, HasSubstr("width:150px"));  // an absurd width falls back to the routine width
}

TEST(UiLanguageTest, SettingValuesBecomeGettextLanguages) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"ko_KR.utf8", "ko_KR"}, {"de_DE@euro", "de_DE"}, {"ja_JP.UTF-8@x", "ja_JP"}, {"en", "en"}, {"", ""}};
  for (const auto& c : cases) EXPECT_EQ(demo::GettextLanguage(c.first), c.second) << c.first;
}
