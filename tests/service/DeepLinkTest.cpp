#include "DeepLink.h"

#include <gtest/gtest.h>

namespace {

const std::string kPrefix = "\"from\":\"accelerator\", \"type\":\"page\", \"info\":\"";

}  // namespace

TEST(DeepLinkTest, EscapesWhatWouldEndTheString) {
  struct Case {
    std::string info;
    std::string escaped;
  };
  const std::vector<Case> cases = {
      {"how", "how"},
      {"a\"b", "a\\\"b"},
      {"a\\b", "a\\\\b"},
      {"line\nnext\ttab\r", "line\\nnext\\ttab\\r"},
      {std::string("\x01\x1f", 2), "\\u0001\\u001f"},
      {"루틴 🙂", "루틴 🙂"},
  };
  for (const Case& c : cases) EXPECT_EQ(MakeDeepLink("page", c.info), kPrefix + c.escaped + "\"") << c.info;
}

TEST(DeepLinkTest, LongInfoIsShortenedAtABoundary) {
  const size_t room = kMaxDeepLinkLength - kPrefix.size() - 1;
  struct Case {
    std::string info;
    std::string kept;
  };
  const std::vector<Case> cases = {
      {std::string(room, 'x'), std::string(room, 'x')},
      {std::string(room + 1, 'x'), std::string(room, 'x')},
      // An escape that would not fit whole is left out whole.
      {std::string(room - 1, 'x') + "\"", std::string(room - 1, 'x')},
      // So is a UTF-8 sequence: "한" is three bytes.
      {std::string(room - 2, 'x') + "한", std::string(room - 2, 'x')},
      {std::string(room - 3, 'x') + "한", std::string(room - 3, 'x') + "한"},
  };
  for (const Case& c : cases) {
    const std::string link = MakeDeepLink("page", c.info);
    EXPECT_LE(link.size(), kMaxDeepLinkLength);
    EXPECT_EQ(link, kPrefix + c.kept + "\"") << c.info.size();
  }
}
