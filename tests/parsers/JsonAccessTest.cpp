// Nesting deeper than the JSON reader's limit makes it throw; the library's
// parse turns that into a failure and keeps what was read.
#include <gtest/gtest.h>

#include <string>

#include "JsonAccess.h"

namespace {

std::string Arrays(size_t depth) { return std::string(depth, '[') + std::string(depth, ']'); }

TEST(JsonAccessTest, ParseKeepsWhatWasReadBeforeTheDepthLimit) {
  Json::Value root;
  EXPECT_FALSE(varnio_json::Parse(R"({"keep":"me","deep":)" + Arrays(2000) + "}", root));
  EXPECT_EQ(varnio_json::MemberString(root, "keep"), "me");
  EXPECT_TRUE(varnio_json::Parse(Arrays(900), root));
}

}  // namespace
