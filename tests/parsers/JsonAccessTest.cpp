// Nesting deeper than the JSON reader's limit makes it throw; the library's
// parse turns that into a failure and keeps what was read.
#include <gtest/gtest.h>

#include "JsonAccess.h"
#include "ParserTest.h"

TEST(JsonAccessTest, ParseKeepsWhatWasReadBeforeTheDepthLimit) {
  Json::Value root;
  EXPECT_FALSE(varnio_json::Parse(R"({"keep":"me","deep":)" + Nested(2000, "[", "", "]") + "}", root));
  EXPECT_EQ(varnio_json::MemberString(root, "keep"), "me");
  EXPECT_TRUE(varnio_json::Parse(Nested(900, "[", "", "]"), root));
}
