// The process may end at any moment while contents downloads run: returning
// from main, exit() on any thread, exit() inside a delivery. Each run is a
// process of its own against the local host misbehaving in several ways,
// ending at a moment spread across the first second of its downloads. None
// may crash, report a sanitizer error, leave a thread of the library's
// running once its exit handler is done, or be held up long.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
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
// The library's own exit handler waits up to a second for its threads; it
// must not need to, as every transfer is woken at once.
constexpr long long kStopBoundMs = 500;

// What the child says its library's exit handler took; -1 when it did not say.
long long StopMs(const std::string& childStderr) {
  const size_t at = childStderr.find("stopped in ");
  return at == std::string::npos ? -1 : std::atoll(childStderr.c_str() + at + 11);
}

}  // namespace

TEST(ExitTest, ExitDuringDownloadsIsCleanAndPrompt) {
  ContentsHost host({VARNIO_CONTENTS_HOST_PORT, DefaultContentsRoot(), DefaultTlsDir()});
  ASSERT_TRUE(host.Start());
  std::mt19937 random(20261207);
  std::vector<long long> stopsMs;
  // The child, behind the emulator when there is one.
  std::vector<std::string> command;
  std::istringstream words(VARNIO_EXIT_CHILD_COMMAND);
  for (std::string word; words >> word;) command.push_back(word);
  ChildOptions options;
  options.marker = "exiting";
  for (int run = 0; run < VARNIO_EXIT_RUNS; ++run) {
    const ExitCase& c = kCases[static_cast<size_t>(run) % std::size(kCases)];
    host.SetMode(c.mode);
    // One moment in each slice of the second: libcurl's own look at an
    // aborted transfer comes once a second, at any point of it.
    const int delay = (run * 1000000 + std::uniform_int_distribution<int>(0, 999999)(random)) / VARNIO_EXIT_RUNS;
    const int requests = std::uniform_int_distribution<int>(1, 6)(random);
    std::vector<std::string> argv = command;
    argv.insert(argv.end(), {c.how, std::to_string(delay), std::to_string(requests)});
    const ChildOutcome outcome = RunProgram(argv, options);
    host.ReleaseStalled();
    SCOPED_TRACE(testing::Message() << "run " << run << ": " << c.how << ", delay " << delay << " us, "
                                    << requests << " requests\n" << outcome.stderrText);
    ASSERT_TRUE(outcome.Succeeded()) << "signal " << outcome.signal << ", code " << outcome.exitCode;
    ASSERT_FALSE(outcome.SanitizerReported());
    EXPECT_EQ(outcome.stderrText.find("threads left"), std::string::npos);
    const long long stopMs = StopMs(outcome.stderrText);
    EXPECT_GE(stopMs, 0);
    EXPECT_LT(stopMs, kStopBoundMs);
    ASSERT_GE(outcome.afterMarker.count(), 0);
    EXPECT_LT(outcome.afterMarker, kExitBound);
    stopsMs.push_back(stopMs);
  }
  std::sort(stopsMs.begin(), stopsMs.end());
  RecordProperty("slowest_stop_ms", static_cast<int>(stopsMs.back()));
  printf("%d exits: the library's stop took %lld ms at the median, %lld ms at most\n", VARNIO_EXIT_RUNS,
         stopsMs[stopsMs.size() / 2], stopsMs.back());
}
