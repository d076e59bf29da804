// Every parser against texts built to break a JSON reader: each must return
// with its documented shape of result, whatever it is fed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "JsonAccess.h"
#include "JsonParseUtil.h"
#include "ParserTestUtil.h"

namespace {

std::vector<std::string> HostileTexts() {
  return {
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
}

class HostileInputTest : public ::testing::TestWithParam<size_t> {
 protected:
  std::string Text() const { return HostileTexts()[GetParam()]; }
  CJsonParseUtil parser_;
};

TEST_P(HostileInputTest, EveryParserReturnsItsShapeOfResult) {
  const std::string text = Text();
  std::vector<stTileItem> tiles(3);

  parser_.ParseRoutineList(text, tiles);
  parser_.ParseRoutineList(RoutineListAnswer(text), tiles);

  parser_.ParseContentsList(text, tiles);
  EXPECT_EQ(Ids(tiles), (std::vector<std::string>{"how", "uses", "start", "intro"}));

  std::string data;
  parser_.ParseExecuteResult(text, data);

  parser_.ParseDeviceList(text, tiles);
  EXPECT_TRUE(tiles.empty());
  parser_.ParseDeviceList(RoutineListAnswer(text), tiles);
  EXPECT_TRUE(tiles.empty());

  tiles.clear();
  parser_.AddRoutine(text, text, tiles);
  parser_.UpdateRoutine(text, text, tiles);
  ASSERT_EQ(tiles.size(), 1u);
  EXPECT_EQ(tiles[0].strTimeout, "5");
  parser_.DeleteRoutine(text, tiles);
  EXPECT_TRUE(tiles.empty());
}

INSTANTIATE_TEST_SUITE_P(Texts, HostileInputTest, ::testing::Range<size_t>(0, HostileTexts().size()));

TEST(JsonAccessTest, ParseKeepsWhatWasReadBeforeTheDepthLimit) {
  Json::Value root;
  EXPECT_FALSE(varnio_json::Parse(R"({"keep":"me","deep":)" + Nested(2000, "[", "", "]") + "}", root));
  EXPECT_EQ(varnio_json::MemberString(root, "keep"), "me");
  Json::Value shallow;
  EXPECT_TRUE(varnio_json::Parse(Nested(900, "[", "", "]"), shallow));
}

}  // namespace
