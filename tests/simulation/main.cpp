// The whole-service simulation: seeded random runs of the caller, the
// framework, the platform and the contents host against the library, each
// in a process of its own, each ending with the checks of World.
//
//   varnio_simulation [--seconds N | --minutes N] [--first-seed S] [--keep-going]
//   varnio_simulation --seed S [--steps 1,4,9] [--repeat N | --describe]
//
// A failing run prints its seed, its steps, what went wrong and a trace;
// --seed replays it (the threads' timing differs from run to run, so
// --repeat), --steps only some of its steps.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <utility>
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
  bool describe = false;
  bool someSteps = false;     // --steps given
  std::vector<size_t> steps;  // 1-based
};

std::vector<size_t> ParseSteps(const std::string& text) {
  std::vector<size_t> steps;
  if (text == "none") return steps;
  size_t pos = 0;
  while (pos < text.size()) {
    steps.push_back(std::strtoull(text.c_str() + pos, nullptr, 10));
    pos = text.find(',', pos);
    if (pos == std::string::npos) break;
    ++pos;
  }
  return steps;
}

std::string StepsText(const std::vector<size_t>& steps) {
  std::string text;
  for (size_t step : steps) text += (text.empty() ? "" : ",") + std::to_string(step);
  return text;
}

// The plan of `seed`, with only `steps` (1-based) when `some`.
sim::Plan PlanOf(uint64_t seed, bool some, const std::vector<size_t>& steps) {
  sim::Plan plan = sim::MakePlan(seed);
  if (!some) return plan;
  std::vector<sim::Step> kept;
  for (size_t step : steps) {
    if (step >= 1 && step <= plan.steps.size()) kept.push_back(plan.steps[step - 1]);
  }
  plan.steps = std::move(kept);
  return plan;
}

bool ParseOptions(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--seconds" && hasValue) {
      o.seconds = std::atof(argv[++i]);
    } else if (arg == "--minutes" && hasValue) {
      o.seconds = 60 * std::atof(argv[++i]);
    } else if (arg == "--first-seed" && hasValue) {
      o.firstSeed = std::strtoull(argv[++i], nullptr, 10);
      o.haveFirstSeed = true;
    } else if (arg == "--seed" && hasValue) {
      o.firstSeed = std::strtoull(argv[++i], nullptr, 10);
      o.replay = true;
    } else if (arg == "--repeat" && hasValue) {
      o.repeat = std::atoi(argv[++i]);
    } else if (arg == "--keep-going") {
      o.keepGoing = true;
    } else if (arg == "--describe") {
      o.describe = true;
    } else if (arg == "--steps" && hasValue) {
      o.someSteps = true;
      o.steps = ParseSteps(argv[++i]);
    } else {
      std::fprintf(stderr,
                   "usage: %s [--seconds N | --minutes N] [--first-seed S] [--keep-going]\n"
                   "       %s --seed S [--steps 1,4,9] [--repeat N | --describe]\n",
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

// Runs the plan in a child process; true when it was sound, else reports it.
bool RunOne(const sim::Plan& plan, bool some, const std::vector<size_t>& steps, double& seconds) {
  const uint64_t seed = plan.seed;
  const Clock::time_point start = Clock::now();
  ChildOptions options;
  options.timeout = kRunLimit + std::chrono::seconds(30);
  const ChildOutcome outcome = RunForked([&plan] { return RunHere(plan); }, options);
  seconds = std::chrono::duration<double>(Clock::now() - start).count();
  if (outcome.Succeeded() && !outcome.SanitizerReported()) return true;
  std::printf("FAILED %s", sim::Describe(plan).c_str());
  if (outcome.timedOut) std::printf("  (killed: no end within %lld s)\n", static_cast<long long>(options.timeout.count() / 1000));
  if (outcome.signal != 0) std::printf("  (ended by signal %d)\n", outcome.signal);
  std::printf("%s", outcome.stderrText.c_str());
  std::printf("replay: varnio_simulation --seed %llu%s%s --repeat 20\n", static_cast<unsigned long long>(seed),
              some ? " --steps " : "", some ? (steps.empty() ? "none" : StepsText(steps).c_str()) : "");
  std::fflush(stdout);
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  if (!ParseOptions(argc, argv, o)) return 2;
  if (o.describe) {
    std::printf("%s", sim::Describe(PlanOf(o.firstSeed, o.someSteps, o.steps)).c_str());
    return 0;
  }
  if (o.replay) {
    int failed = 0;
    const sim::Plan plan = PlanOf(o.firstSeed, o.someSteps, o.steps);
    for (int i = 0; i < o.repeat; ++i) {
      double seconds = 0;
      failed += RunOne(plan, o.someSteps, o.steps, seconds) ? 0 : 1;
    }
    std::printf("seed %llu: %d of %d runs failed\n", static_cast<unsigned long long>(o.firstSeed), failed, o.repeat);
    return failed == 0 ? 0 : 1;
  }
  if (!o.haveFirstSeed) {
    o.firstSeed = static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()) % 1000000000ULL;
  }
  std::printf("simulation: first seed %llu, %.0f s\n", static_cast<unsigned long long>(o.firstSeed), o.seconds);
  std::fflush(stdout);
  const Clock::time_point end = Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(o.seconds));
  const Clock::time_point start = Clock::now();
  int runs = 0;
  std::vector<std::pair<uint64_t, double>> failures;  // seed, seconds since the start
  double slowest = 0;
  for (uint64_t seed = o.firstSeed; Clock::now() < end; ++seed) {
    double seconds = 0;
    ++runs;
    if (!RunOne(sim::MakePlan(seed), false, {}, seconds)) {
      failures.emplace_back(seed, std::chrono::duration<double>(Clock::now() - start).count());
      if (!o.keepGoing) break;
    }
    slowest = std::max(slowest, seconds);
  }
  std::printf("simulation: %d runs, %zu failed, slowest run %.2f s\n", runs, failures.size(), slowest);
  for (const auto& failure : failures) {
    std::printf("  failed seed %llu, %.1f s after the start\n", static_cast<unsigned long long>(failure.first),
                failure.second);
  }
  return failures.empty() ? 0 : 1;
}
