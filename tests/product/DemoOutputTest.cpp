// What the demo's day printed and the page it wrote, read back after one
// run against the local contents host: each step's tile row holds what the
// account and the language make it hold.
#include <gmock/gmock.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using ::testing::HasSubstr;
using ::testing::Not;

namespace {

std::string ReadOutput(const std::string& name) {
  std::ifstream in(std::string(VARNIO_DEMO_OUT) + "/" + name, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The part of the transcript from the heading "== <number>. " to the next heading.
std::string Step(const std::string& transcript, int number) {
  const std::string heading = "\n== " + std::to_string(number) + ". ";
  const size_t start = transcript.find(heading);
  if (start == std::string::npos) return std::string();
  const size_t end = transcript.find("\n== ", start + heading.size());
  return transcript.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

size_t Count(const std::string& text, const std::string& what) {
  size_t count = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size())) ++count;
  return count;
}

struct StepCase {
  int number;
  const char* heading;
  std::vector<std::string> shows;
  std::vector<std::string> hides;
};

const std::vector<StepCase> kSteps = {
    {1, "Signed out", {"[Get started with Quorvel]", "| intro |", "| how ", "| uses ", "| start ",
                       "Quorvel connects your TV", "delivered later on a library thread"}, {"r-1"}},
    {2, "signs in", {"< IOT_SVC_EVENT_TILES_CHANGED", "[Routines]", "| r-1 | Good Morning", "| r-2 | Movie night",
                     "| r-3 | I'm back", "acc-gdmorn.png", "acc-imback-activated.png",
                     "delivered inside iot_svc_get_accelerator_tiles()"}, {"| intro |"}},
    {3, "created", {"< IOT_SVC_EVENT_TILES_CHANGED", "| r-4 | Good night", "| r-3 | I'm back", "acc-gdnight.png"},
     {"| intro |"}},
    {4, "renamed", {"< IOT_SVC_EVENT_TILES_CHANGED", "| r-2 | Bye for now", "acc-gdbye.png"}, {"Movie night"}},
    {5, "deleted", {"< IOT_SVC_EVENT_TILES_CHANGED", "| r-1 ", "| r-2 ", "| r-4 "}, {"| r-3 "}},
    {6, "wakes up", {"< IOT_SVC_EVENT_TILES_CHANGED", "| r-1 ", "| r-2 | Bye for now", "| r-4 "}, {"| r-3 "}},
    {7, "Korean", {"< IOT_SVC_EVENT_TILES_CHANGED", "[루틴]", "| r-1 ", "| r-4 "}, {"[Routines]"}},
    {8, "opens a page", {"Rk2hqTpZ8w.IoTService launched with deep link \"from\":\"accelerator\", \"type\":\"page\", "
                         "\"info\":\"how\"",
                         "\"type\":\"intro\", \"info\":\"https://", "framework request 111 (execute routine) r-1"},
     {"< tile row"}},
    {9, "signs out", {"< IOT_SVC_EVENT_TILES_CHANGED", "[쿼벨 시작하기]", "| how ", "| start ", "쿼벨은 TV와"},
     {"| r-1 ", "[Get started with Quorvel]"}},
};

}  // namespace

TEST(DemoDayTest, EveryStepShowsItsRow) {
  const std::string transcript = ReadOutput("demo-day.txt");
  ASSERT_FALSE(transcript.empty()) << "the demo's day did not run";
  for (const StepCase& c : kSteps) {
    SCOPED_TRACE("step " + std::to_string(c.number));
    const std::string step = Step(transcript, c.number);
    ASSERT_THAT(step, HasSubstr(c.heading));
    for (const std::string& shown : c.shows) EXPECT_THAT(step, HasSubstr(shown));
    for (const std::string& hidden : c.hides) EXPECT_THAT(step, Not(HasSubstr(hidden)));
    EXPECT_THAT(step, HasSubstr("\n   ok\n"));
  }
  EXPECT_THAT(transcript, HasSubstr("== The day is over: every step ok"));
  EXPECT_THAT(transcript, Not(HasSubstr("FAILED")));
}

TEST(DemoDayTest, PageHoldsEveryRowWithItsIconsEmbedded) {
  const std::string page = ReadOutput("demo-day.html");
  ASSERT_FALSE(page.empty()) << "the demo wrote no page";
  EXPECT_EQ(Count(page, "<section class=\"row\">"), 8U);
  // Six routine rows (3, 4, 4, 3, 3, 3 tiles) with two icons per tile.
  EXPECT_EQ(Count(page, "<img src=\"data:image/png;base64,iVBORw0KGgo"), 2U * 20U);
  EXPECT_THAT(page, Not(HasSubstr("src=\"/")));
  EXPECT_THAT(page, Not(HasSubstr("src=\"http")));  // the page fetches nothing
  EXPECT_THAT(page, HasSubstr("루틴"));
  EXPECT_THAT(page, HasSubstr("I&#39;m back"));
  EXPECT_THAT(page, HasSubstr("</html>"));
}
