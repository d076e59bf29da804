// The whole-service simulation: seeded random runs of the caller, the
// framework, the platform and the contents host against the library, each
// in a process of its own, each ending with the checks of World.
//
//   varnio_simulation [--seconds N] [--first-seed S] [--keep-going]
//   varnio_simulation --seed S [--repeat N]
//
// A failing run prints its seed, its steps, what went wrong and a trace;
// --seed replays it (the threads' timing differs from run to run, so
// --repeat).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

#include "ChildProcess.h"
#include "Plan.h"
#include "Trace.h"
#include "World.h"

namespace {

using Clock = std::chrono::steady_clock;

// Longer than any sound run takes, even under a sanitizer.
constexpr std::chrono::seconds kRunLimit{120};

struct Options {
  double seconds = 60;
  uint64_t firstSeed = 0;
  bool haveFirstSeed = false;
  bool replay = false;
  int repeat = 1;
  bool keepGoing = false;
};

bool ParseOptions(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--seconds" && hasValue) {
      o.seconds = std::atof(argv[++i]);
    } else if ((arg == "--first-seed" || arg == "--seed") && hasValue) {
      o.firstSeed = std::strtoull(argv[++i], nullptr, 10);
      o.haveFirstSeed = true;
      o.replay = arg == "--seed";
    } else if (arg == "--repeat" && hasValue) {
      o.repeat = std::atoi(argv[++i]);
    } else if (arg == "--keep-going") {
      o.keepGoing = true;
    } else {
      std::fprintf(stderr, "usage: %s [--seconds N] [--first-seed S] [--keep-going]\n       %s --seed S [--repeat N]\n",
                   argv[0], argv[0]);
      return false;
    }
  }
  return true;
}

// Ends a run that hangs with what it did so far; the parent only sees it die.
void StartWatchdog() {
  std::thread([] {
    std::this_thread::sleep_for(kRunLimit);
    std::fprintf(stderr, "violation: the run did not end within %lld s\ntrace:\n%s",
                 static_cast<long long>(kRunLimit.count()), sim::TraceText().c_str());
    std::fflush(stderr);
    _exit(3);
  }).detach();
}

// Runs the plan here and reports on stderr; 0 when sound.
int RunHere(const sim::Plan& plan) {
  StartWatchdog();
  // Never destroyed: the library keeps the caller's callbacks, and a run
  // that failed may still have deliveries on their way.
  static sim::World* world = nullptr;
  world = new sim::World(plan);
  const std::vector<std::string> violations = world->Run();
  for (const std::string& v : violations) std::fprintf(stderr, "violation: %s\n", v.c_str());
  if (!violations.empty()) std::fprintf(stderr, "trace:\n%s", sim::TraceText().c_str());
  std::fflush(stderr);
  return violations.empty() ? 0 : 1;
}

// Runs seed's plan in a child process; true when it was sound, else reports it.
bool RunOne(uint64_t seed, double& seconds) {
  const sim::Plan plan = sim::MakePlan(seed);
  const Clock::time_point start = Clock::now();
  ChildOptions options;
  options.timeout = kRunLimit + std::chrono::seconds(30);
  const ChildOutcome outcome = RunForked([&plan] { return RunHere(plan); }, options);
  seconds = std::chrono::duration<double>(Clock::now() - start).count();
  if (outcome.Succeeded() && !outcome.SanitizerReported()) return true;
  std::printf("FAILED %s", sim::Describe(plan).c_str());
  if (outcome.timedOut) std::printf("  (killed: no end within %lld s)\n", static_cast<long long>(options.timeout.count() / 1000));
  if (outcome.signal != 0) std::printf("  (ended by signal %d)\n", outcome.signal);
  std::printf("%sreplay: varnio_simulation --seed %llu --repeat 20\n", outcome.stderrText.c_str(),
              static_cast<unsigned long long>(seed));
  std::fflush(stdout);
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  if (!ParseOptions(argc, argv, o)) return 2;
  if (!o.haveFirstSeed) {
    o.firstSeed = static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()) % 1000000000ULL;
  }
  std::printf("simulation: first seed %llu, %s\n", static_cast<unsigned long long>(o.firstSeed),
              o.replay ? "replayed" : (std::to_string(static_cast<int>(o.seconds)) + " s").c_str());
  std::fflush(stdout);
  const Clock::time_point start = Clock::now();
  const Clock::time_point end = start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(o.seconds));
  int runs = 0;
  int failed = 0;
  double slowest = 0;
  // A replay runs one seed `repeat` times; otherwise seeds follow each other until the time is up.
  for (uint64_t seed = o.firstSeed; o.replay ? runs < o.repeat : Clock::now() < end; seed += o.replay ? 0 : 1) {
    ++runs;
    double seconds = 0;
    if (!RunOne(seed, seconds)) {
      ++failed;
      std::printf("  failed seed %llu, %.1f s after the start\n", static_cast<unsigned long long>(seed),
                  std::chrono::duration<double>(Clock::now() - start).count());
      if (!o.keepGoing && !o.replay) break;
    }
    slowest = std::max(slowest, seconds);
  }
  std::printf("simulation: %d runs, %d failed, slowest run %.2f s\n", runs, failed, slowest);
  return failed == 0 ? 0 : 1;
}
