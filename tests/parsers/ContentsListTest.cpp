#include <string>
#include <utility>
#include <vector>

#include "ParserTest.h"

namespace {

using Entry = std::pair<std::string, std::string>;  // image, text

// The four tiles, ids and types fixed, with what the file supplied.
std::vector<stTileItem> Tiles(const std::string& header1 = "", const std::string& header2 = "",
                              const std::string& intro = "", const Entry& how = {}, const Entry& ways = {},
                              const Entry& started = {}) {
  const auto app = [&](const char* id, const Entry& entry) {
    return stTileItem{"IOT_TILE_APP", id, entry.second, entry.first, "", "", "444", header2};
  };
  return {app("how", how), app("uses", ways), app("start", started),
          stTileItem{"IOT_TILE_VIDEO", "intro", "", intro, "", "", "444", header1}};
}

std::string Section(const std::string& members) { return R"({"sections":{"acceleratorout":{)" + members + "}}}"; }

const std::string kFull = R"("header1":"H1","header2":"H2","intro":"i.jpg","how":{"img":"h.png","text":"How"},)"
                          R"("ways":{"img":"w.png","text":"Ways"},"started":{"img":"s.png","text":"Start"})";
const std::vector<stTileItem> kFullTiles = Tiles("H1", "H2", "i.jpg", {"h.png", "How"}, {"w.png", "Ways"},
                                                 {"s.png", "Start"});
const std::string kCdn = "https://cdn.quorvel-static.net/tv/acceleratorout/kr/";
const ListParser kParse = [](CJsonParseUtil& parser, const std::string& text, std::vector<stTileItem>& tiles) {
  parser.ParseContentsList(text, tiles);
};

INSTANTIATE_TEST_SUITE_P(
    Contents, ParserTest,
    testing::Values(
        TileCase{"KoreanSample", kParse, ReadTestData("contents/kr/service-quorvel-app.json"),
                 Tiles("쿼벨 시작하기", "쿼벨로 더 스마트한 집을 만들어 보세요", kCdn + "intro_thumb_1920x1080.jpg",
                       {kCdn + "how_444x250.png", "쿼벨은 TV와 집 안의 기기를 하나로 연결해 드립니다."},
                       {kCdn + "ways_444x250.png", "루틴으로 조명, 에어컨, 카메라를 한 번에 제어하세요."},
                       {kCdn + "started_444x250.png", "휴대폰에서 쿼벨 앱을 설치하고 같은 계정으로 로그인하세요."})},
        TileCase{"MembersInAnyOrder", kParse,
                 Section(R"("started":{"text":"Start","img":"s.png"},"intro":"i.jpg","ways":{"img":"w.png",)"
                         R"("text":"Ways"},"header2":"H2","how":{"text":"How","img":"h.png"},"header1":"H1")"),
                 kFullTiles},
        TileCase{"ExtraEntriesIgnored", kParse, Section(kFull + R"(,"more":{"img":"m.png","text":"M"},"header3":"3")"),
                 kFullTiles},
        TileCase{"NoHeader1", kParse, Section(kFull.substr(kFull.find("\"header2"))),
                 Tiles("", "H2", "i.jpg", {"h.png", "How"}, {"w.png", "Ways"}, {"s.png", "Start"})},
        // Images are taken as they stand; bytes that are not UTF-8 and NULs are kept.
        TileCase{"BytesAsTheyStand", kParse,
                 Section(R"("intro":"  relative/i.jpg ","header1":"a\u0000b","how":{"text":")"
                         "\xff\xfe\x80 t" R"("})"),
                 Tiles(std::string("a\0b", 3), "", "  relative/i.jpg ", {"", "\xff\xfe\x80 t"})},
        TileCase{"EmptyText", kParse, "", Tiles()},
        TileCase{"TruncatedKeepsWhatWasRead", kParse,
                 R"({"sections":{"acceleratorout":{"header2":"H2","how":{"img":"h.png","text":"How"},)"
                 R"("ways":{"img":"w.png","text":"Ways"},"star)",
                 Tiles("", "H2", "", {"h.png", "How"}, {"w.png", "Ways"})},
        TileCase{"TooDeepAfterTheEntries", kParse, Section(kFull + R"(,"zz":)" + Nested(3000, "[", "", "]")),
                 kFullTiles},
        // Containers of the wrong type read as empty; so do wrong-typed
        // members, and the others still arrive.
        TileCase{"RootIsAnArray", kParse, "[" + Section(kFull) + "]", Tiles()},
        TileCase{"SectionsIsAnArray", kParse, R"({"sections":[{"acceleratorout":{"header1":"H1"}}]})", Tiles()},
        TileCase{"AcceleratoroutIsAString", kParse, R"({"sections":{"acceleratorout":"H1"}})", Tiles()},
        TileCase{"MembersOfOtherTypes", kParse,
                 Section(R"("header1":["H1"],"header2":"H2","intro":true,"how":["h.png","How"],)"
                         R"("ways":{"img":444,"text":"Ways"},"started":{"img":"s.png","text":{"en":"Start"}})"),
                 Tiles("", "H2", "", {}, {"", "Ways"}, {"s.png", ""})},
        TileCase{"HeadersOfOtherTypes", kParse, Section(R"("header1":null,"header2":7,"how":{"text":"How"})"),
                 Tiles("", "", "", {"", "How"})}),
    CaseName);

}  // namespace
