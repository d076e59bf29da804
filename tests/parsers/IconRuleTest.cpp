#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "ParserTest.h"

namespace {

// Label and the icon it must get: the matching keyword that sorts last
// (BACK < BYE < MORNING < NIGHT < USER), found anywhere in the label's ASCII
// upper case; the custom icon when none matches.
const std::vector<std::pair<std::string, std::string>> kLabels = {
    {"Good Morning", "gdmorn"}, {"good night", "gdnight"}, {"Goodbye", "gdbye"}, {"I'm back", "imback"},
    {"Feedback", "imback"}, {"Midnight snack", "gdnight"}, {"Nightly backup", "gdnight"},
    {"Bye, good morning", "gdmorn"}, {"Morning user", "custom"}, {"Back, bye", "gdbye"}, {"Movie time", "custom"},
    {"", "custom"}, {"NIG HT", "custom"}, {"morning coffee", "gdmorn"}, {"ready for the morning", "gdmorn"},
    {"bye", "gdbye"}, {"laidback", "imback"},
    // Only ASCII keywords count, and bytes beyond ASCII beside one do not hide it.
    {"굿모닝", "custom"}, {"잘 자요 Night", "gdnight"}, {"다녀왔어요(back)", "imback"}, {"Gute Nacht", "custom"},
    {"Tschüss, bye", "gdbye"}, {"Übernacht-NIGHT-Modus", "gdnight"}, {"Доброе утро", "custom"},
    {"\xff\xfenight\x80", "gdnight"}, {std::string("good\0night", 10), "gdnight"},
    {std::string(100000, 'x') + "back", "imback"},
};

// A routine tile whose icons, stale before, are chosen for `label`.
stTileItem WithIconsFor(const CJsonParseUtil& parser, const std::string& label) {
  stTileItem tile = Routine("", "", "stale");
  parser.AssignRoutineIcons(label, tile.strImage, tile.strFinishImage);
  return tile;
}

TEST(IconRuleTest, EveryLabelGetsTheIconsOfItsKeyword) {
  const CJsonParseUtil parser;
  for (const auto& [label, icon] : kLabels) {
    EXPECT_EQ(WithIconsFor(parser, label), Routine("", "", icon)) << label.substr(0, 40);
  }
}

// The parser is read-only after construction: threads may share it.
TEST(IconRuleTest, SharedParserServesConcurrentCallers) {
  const CJsonParseUtil parser;
  std::vector<int> mismatches(4, 0);
  std::vector<std::thread> threads;
  for (int& count : mismatches) {
    threads.emplace_back([&] {
      for (size_t i = 0; i < 500; ++i) {
        const auto& [label, icon] = kLabels[i % 8];
        count += !(WithIconsFor(parser, label) == Routine("", "", icon));
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(mismatches, std::vector<int>(4, 0));
}

TEST(IconRuleTest, ResourceDirectoryIsTheConfiguredOne) {
  EXPECT_THAT(g_strResDir, testing::AllOf(testing::Eq(VARNIO_EXPECTED_RES_DIR), testing::EndsWith("/")));
}

}  // namespace
