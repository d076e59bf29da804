// Every parser against texts built to break a JSON reader: each must return
// with its documented shape of result, whatever it is fed.
#include <string>
#include <vector>

#include "JsonAccess.h"
#include <gmock/gmock.h>

#include "ParserTest.h"

namespace {

const std::vector<std::string> kHostileTexts = {
    Nested(1001, "[", "", "]"),
    Nested(1000000, "[", "", ""),
    Nested(300000, R"({"data":)", "", ""),
    std::string("{\"data\":\"\0\",\"result\":\"Fail\"}", 28),
    "\xff\xfe\xfd",
    R"({"data":"\ud800\udfff\ud800","label":"\uDBFF"})",
    R"({"a":1e999999999,"b":-1e-99999,"c":123456789012345678901234567890,"d":-})",
    "/* never closed",
    std::string(4 << 20, 'x'),
    "{\"data\":\"" + std::string(1 << 20, '\\') + "\"}",
};

TEST(HostileInputTest, EveryParserReturnsItsShapeOfResult) {
  CJsonParseUtil parser;
  for (const std::string& text : kHostileTexts) {
    SCOPED_TRACE(text.substr(0, 40));
    std::vector<stTileItem> tiles(3);
    parser.ParseRoutineList(text, tiles);
    parser.ParseRoutineList(Answer(text), tiles);
    parser.ParseContentsList(text, tiles);
    ASSERT_EQ(tiles.size(), 4u);
    EXPECT_EQ(tiles[3].strID, "intro");
    std::string data;
    parser.ParseExecuteResult(text, data);
    parser.ParseDeviceList(text, tiles);
    EXPECT_TRUE(tiles.empty());
    parser.ParseDeviceList(Answer(text), tiles);
    EXPECT_TRUE(tiles.empty());
    parser.AddRoutine(text, text, tiles);
    parser.UpdateRoutine(text, text, tiles);
    ASSERT_EQ(tiles.size(), 1u);
    EXPECT_EQ(tiles[0].strTimeout, "5");
    parser.DeleteRoutine(text, tiles);
    EXPECT_TRUE(tiles.empty());
  }
}

TEST(JsonAccessTest, ParseKeepsWhatWasReadBeforeTheDepthLimit) {
  Json::Value root;
  EXPECT_FALSE(varnio_json::Parse(R"({"keep":"me","deep":)" + Nested(2000, "[", "", "]") + "}", root));
  EXPECT_EQ(varnio_json::MemberString(root, "keep"), "me");
  EXPECT_TRUE(varnio_json::Parse(Nested(900, "[", "", "]"), root));
}

}  // namespace
