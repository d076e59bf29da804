#include "ParserTest.h"

#include <tuple>

#include "TestData.h"

namespace {

auto Fields(const stTileItem& t) {
  return std::make_tuple(t.strType, t.strID, t.strName, t.strImage, t.strFinishImage, t.strTimeout, t.strWidth,
                         t.strTitle);
}

}  // namespace

bool operator==(const stTileItem& a, const stTileItem& b) { return Fields(a) == Fields(b); }

void PrintTo(const stTileItem& tile, std::ostream* os) { *os << testing::PrintToString(Fields(tile)); }

std::string ReadTestData(const std::string& relative) {
  std::string bytes;
  EXPECT_TRUE(ReadFileBytes(TestDataPath(relative), bytes)) << "missing sample " << relative;
  return bytes;
}

std::string Answer(const std::string& inner) {
  std::string quoted;
  for (const char c : inner) {
    if (c == '"' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return R"({"result":"Success","data":")" + quoted + "\"}";
}

std::string Nested(int depth, const std::string& open, const std::string& core, const std::string& close) {
  std::string text;
  for (int i = 0; i < depth; ++i) text += open;
  text += core;
  for (int i = 0; i < depth; ++i) text += close;
  return text;
}

stTileItem Routine(const std::string& id, const std::string& name, const std::string& icon) {
  const std::string stem = std::string(VARNIO_EXPECTED_RES_DIR) + "routines/acc-" + icon;
  return {"", id, name, stem + ".png", stem + "-activated.png", "5", "250", ""};
}

void PrintTo(const TileCase& c, std::ostream* os) { *os << c.name; }

std::string CaseName(const testing::TestParamInfo<TileCase>& info) { return info.param.name; }

TEST_P(ParserTest, ReplacesTheListWithExactlyTheseTiles) {
  CJsonParseUtil parser;
  std::vector<stTileItem> tiles = {Routine("held", "Held", "custom"), stTileItem()};
  GetParam().parse(parser, GetParam().input, tiles);
  EXPECT_EQ(tiles, GetParam().tiles);
}
