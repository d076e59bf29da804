// The process may end at any moment while contents downloads run: returning
// from main, exit() on any thread, exit() inside a delivery. Each run is a
// process of its own against the local host misbehaving in several ways; none
// may crash, report a sanitizer error or be held up by more than about a
// second.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "ContentsHost.h"

namespace {

using Mode = ContentsHost::Mode;

struct ExitCase {
  const char* how;
  Mode mode;
};

// A delivery is needed to exit inside one, so that way meets only a host
// that answers.
const ExitCase kCases[] = {
    {"return", Mode::kServe},    {"exit", Mode::kTrickle}, {"thread", Mode::kStall},
    {"return", Mode::kHuge},     {"exit", Mode::kServe},   {"thread", Mode::kTrickle},
    {"callback", Mode::kServe},  {"return", Mode::kStall}, {"exit", Mode::kHuge},
    {"callback", Mode::kNotFound},
};

// Generous beside the one-second goal: sanitizers and emulation slow the
// whole exit, not only its wait.
constexpr std::chrono::milliseconds kExitBound{3000};

std::vector<std::string> ChildCommand(const std::string& how, int delayMicroseconds, int requests) {
  std::vector<std::string> argv;
  std::istringstream launcher(VARNIO_CHILD_LAUNCHER);
  for (std::string word; launcher >> word;) argv.push_back(word);
  argv.push_back(VARNIO_EXIT_CHILD);
  argv.push_back(how);
  argv.push_back(std::to_string(delayMicroseconds));
  argv.push_back(std::to_string(requests));
  return argv;
}

}  // namespace

TEST(ExitTest, ExitDuringDownloadsIsCleanAndPrompt) {
  ContentsHost host({VARNIO_CONTENTS_HOST_PORT, DefaultContentsRoot(), DefaultTlsDir()});
  ASSERT_TRUE(host.Start());
  std::mt19937 random(20261207);
  std::chrono::milliseconds slowest{0};
  const size_t caseCount = sizeof(kCases) / sizeof(kCases[0]);
  for (int run = 0; run < VARNIO_EXIT_RUNS; ++run) {
    const ExitCase& c = kCases[static_cast<size_t>(run) % caseCount];
    host.SetMode(c.mode);
    const int delay = std::uniform_int_distribution<int>(0, 30000)(random);
    const int requests = std::uniform_int_distribution<int>(1, 6)(random);
    ChildOptions options;
    options.timeout = std::chrono::seconds(60);
    options.marker = "exiting";
    const ChildOutcome outcome = RunProgram(ChildCommand(c.how, delay, requests), options);
    host.ReleaseStalled();
    SCOPED_TRACE(testing::Message() << "run " << run << ": " << c.how << ", delay " << delay << " us, "
                                    << requests << " requests\n" << outcome.stderrText);
    ASSERT_TRUE(outcome.Succeeded()) << "signal " << outcome.signal << ", code " << outcome.exitCode;
    ASSERT_FALSE(outcome.SanitizerReported());
    ASSERT_GE(outcome.afterMarker.count(), 0);
    EXPECT_LT(outcome.afterMarker, kExitBound);
    slowest = std::max(slowest, outcome.afterMarker);
  }
  RecordProperty("slowest_exit_ms", static_cast<int>(slowest.count()));
  printf("%d exits, the slowest took %lld ms\n", VARNIO_EXIT_RUNS, static_cast<long long>(slowest.count()));
}
