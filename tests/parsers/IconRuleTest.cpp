#include <gtest/gtest.h>

#include <ostream>
#include <thread>
#include <vector>

#include "JsonParseUtil.h"
#include "LogCapture.h"
#include "ParserTestUtil.h"

namespace {

struct IconCase {
  std::string label;
  std::string keyword;
};

// Test listings show the label, not the record's bytes.
void PrintTo(const IconCase& c, std::ostream* os) { *os << '"' << c.label.substr(0, 40) << '"'; }

class IconRuleTest : public ::testing::TestWithParam<IconCase> {};

TEST_P(IconRuleTest, ChoosesTheLastMatchingKeywordInKeyOrder) {
  const CJsonParseUtil parser;
  std::string image = "stale";
  std::string finishImage = "stale";
  parser.AssignRoutineIcons(GetParam().label, image, finishImage);
  const IconPair expected = ExpectedIcons(GetParam().keyword);
  EXPECT_EQ(image, expected.image);
  EXPECT_EQ(finishImage, expected.finishImage);
}

std::string Bytes(const char* text, size_t length) { return std::string(text, length); }

INSTANTIATE_TEST_SUITE_P(
    EnglishLabels, IconRuleTest,
    ::testing::Values(IconCase{"Good Morning", "MORNING"}, IconCase{"good night", "NIGHT"},
                      IconCase{"Goodbye", "BYE"}, IconCase{"I'm back", "BACK"},
                      IconCase{"Feedback", "BACK"}, IconCase{"Midnight snack", "NIGHT"},
                      IconCase{"Nightly backup", "NIGHT"}, IconCase{"Bye, good morning", "MORNING"},
                      IconCase{"Morning user", "USER"}, IconCase{"Movie time", "USER"}, IconCase{"", "USER"},
                      IconCase{"Back, bye", "BYE"}, IconCase{"NIG HT", "USER"}));

// A keyword counts wherever it stands in the label.
INSTANTIATE_TEST_SUITE_P(
    KeywordPositions, IconRuleTest,
    ::testing::Values(IconCase{"morning coffee", "MORNING"}, IconCase{"early morning run", "MORNING"},
                      IconCase{"ready for the morning", "MORNING"}, IconCase{"bye", "BYE"},
                      IconCase{"xxbackxx", "BACK"}, IconCase{"laidback", "BACK"}));

// Only ASCII keywords count; translated words without them get the custom
// icon, and bytes beyond ASCII next to a keyword do not hide it.
INSTANTIATE_TEST_SUITE_P(
    OtherLanguages, IconRuleTest,
    ::testing::Values(IconCase{"굿모닝", "USER"}, IconCase{"잘 자요 Night", "NIGHT"},
                      IconCase{"다녀왔어요(back)", "BACK"}, IconCase{"Gute Nacht", "USER"},
                      IconCase{"Tschüss, bye", "BYE"}, IconCase{"Übernacht-NIGHT-Modus", "NIGHT"},
                      IconCase{"Bonne nuit", "USER"}, IconCase{"Je suis de retour — I'm back", "BACK"},
                      IconCase{"Доброе утро", "USER"}));

INSTANTIATE_TEST_SUITE_P(
    RawBytes, IconRuleTest,
    ::testing::Values(IconCase{"\xff\xfenight\x80", "NIGHT"}, IconCase{Bytes("good\0night", 10), "NIGHT"},
                      IconCase{std::string(100000, 'x') + "back", "BACK"}));

TEST(IconTablesTest, ConstructionWritesTheIconTrace) {
  LogCapture capture;
  const CJsonParseUtil parser;
  EXPECT_EQ(capture.Messages("m_AssignIcons"), std::vector<std::string>{""});
  const std::vector<LogLine> lines = capture.Lines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].file, "JsonParseUtil.cpp");
  EXPECT_EQ(lines[0].tag, "varnio");
}

TEST(IconTablesTest, SharedParserServesConcurrentCallers) {
  const CJsonParseUtil parser;
  const std::vector<IconCase> cases = {{"Good Morning", "MORNING"}, {"Movie", "USER"}, {"Nightly backup", "NIGHT"}};
  std::vector<std::thread> threads;
  std::vector<int> mismatches(4, 0);
  for (size_t t = 0; t < mismatches.size(); ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < 500; ++i) {
        const IconCase& c = cases[static_cast<size_t>(i) % cases.size()];
        std::string image, finishImage;
        parser.AssignRoutineIcons(c.label, image, finishImage);
        if (image != ExpectedIcons(c.keyword).image) ++mismatches[t];
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(mismatches, std::vector<int>(4, 0));
}

TEST(TileConstantsTest, ResourceDirectoryIsTheConfiguredOne) {
  EXPECT_EQ(g_strResDir, VARNIO_EXPECTED_RES_DIR);
  ASSERT_FALSE(g_strResDir.empty());
  EXPECT_EQ(g_strResDir.back(), '/');
}

}  // namespace
