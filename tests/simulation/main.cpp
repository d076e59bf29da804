// The whole-service simulation: seeded random runs of the caller, the
// framework, the platform and the contents host against the library, each
// in a process of its own, each ending with the checks of World.
//
//   varnio_simulation [--seconds N | --minutes N] [--first-seed S] [--keep-going]
//   varnio_simulation --seed S [--steps 1,4,9] [--repeat N] [--in-process] [--shrink | --describe]
//
// A failing run prints its seed, its steps, what went wrong and a trace;
// --seed replays it (the threads' timing differs from run to run, so
// --repeat), --steps only some of its steps, and --shrink looks for the
// fewest steps that still fail.
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
  bool inProcess = false;
  bool keepGoing = false;
  bool shrink = false;
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
    } else if (arg == "--in-process") {
      o.inProcess = true;
    } else if (arg == "--keep-going") {
      o.keepGoing = true;
    } else if (arg == "--shrink") {
      o.shrink = true;
    } else if (arg == "--describe") {
      o.describe = true;
    } else if (arg == "--steps" && hasValue) {
      o.someSteps = true;
      o.steps = ParseSteps(argv[++i]);
    } else {
      std::fprintf(stderr,
                   "usage: %s [--seconds N | --minutes N] [--first-seed S] [--keep-going]\n"
                   "       %s --seed S [--steps 1,4,9] [--repeat N] [--in-process] [--shrink | --describe]\n",
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

// Runs the plan in a child process; true when it was sound. A failure is
// reported unless `quiet`.
bool RunOne(const sim::Plan& plan, bool some, const std::vector<size_t>& steps, bool inProcess, bool quiet,
            double& seconds) {
  const uint64_t seed = plan.seed;
  const Clock::time_point start = Clock::now();
  if (inProcess) {
    std::fprintf(stderr, "%s", sim::Describe(plan).c_str());
    return RunHere(plan) == 0;
  }
  ChildOptions options;
  options.timeout = kRunLimit + std::chrono::seconds(30);
  const ChildOutcome outcome = RunForked([&plan] { return RunHere(plan); }, options);
  seconds = std::chrono::duration<double>(Clock::now() - start).count();
  if (outcome.Succeeded() && !outcome.SanitizerReported()) return true;
  if (quiet) return false;
  std::printf("FAILED %s", sim::Describe(plan).c_str());
  if (outcome.timedOut) std::printf("  (killed: no end within %lld s)\n", static_cast<long long>(options.timeout.count() / 1000));
  if (outcome.signal != 0) std::printf("  (ended by signal %d)\n", outcome.signal);
  std::printf("%s", outcome.stderrText.c_str());
  std::printf("replay: varnio_simulation --seed %llu%s%s --repeat 20\n", static_cast<unsigned long long>(seed),
              some ? " --steps " : "", some ? (steps.empty() ? "none" : StepsText(steps).c_str()) : "");
  std::fflush(stdout);
  return false;
}

// True when some of `tries` runs of those steps fail.
bool StillFails(uint64_t seed, const std::vector<size_t>& steps, int tries) {
  const sim::Plan plan = PlanOf(seed, true, steps);
  for (int i = 0; i < tries; ++i) {
    double seconds = 0;
    if (!RunOne(plan, true, steps, false, true, seconds)) return true;
  }
  return false;
}

// Leaves out ever smaller runs of steps while the rest still fails.
std::vector<size_t> Shrink(uint64_t seed, bool some, std::vector<size_t> steps, int tries) {
  if (!some) {
    for (size_t i = 1; i <= sim::MakePlan(seed).steps.size(); ++i) steps.push_back(i);
  }
  if (!StillFails(seed, steps, tries)) return steps;
  for (size_t chunk = steps.size() / 2; chunk >= 1; chunk /= 2) {
    for (size_t at = 0; at < steps.size();) {
      std::vector<size_t> fewer(steps.begin(), steps.begin() + static_cast<std::ptrdiff_t>(at));
      fewer.insert(fewer.end(), steps.begin() + static_cast<std::ptrdiff_t>(std::min(steps.size(), at + chunk)), steps.end());
      if (StillFails(seed, fewer, tries)) {
        steps = fewer;
        std::printf("  still fails with steps %s\n", StepsText(steps).c_str());
        std::fflush(stdout);
      } else {
        at += chunk;
      }
    }
  }
  return steps;
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  if (!ParseOptions(argc, argv, o)) return 2;
  if (o.describe) {
    std::printf("%s", sim::Describe(PlanOf(o.firstSeed, o.someSteps, o.steps)).c_str());
    return 0;
  }
  if (o.shrink) {
    const std::vector<size_t> steps = Shrink(o.firstSeed, o.someSteps, o.steps, std::max(o.repeat, 5));
    double seconds = 0;
    std::printf("fewest steps found: %s\n", steps.empty() ? "none" : StepsText(steps).c_str());
    for (int i = 0; i < 20; ++i) {
      if (!RunOne(PlanOf(o.firstSeed, true, steps), true, steps, false, false, seconds)) return 1;
    }
    return 0;
  }
  if (o.replay) {
    int failed = 0;
    const sim::Plan plan = PlanOf(o.firstSeed, o.someSteps, o.steps);
    for (int i = 0; i < o.repeat; ++i) {
      double seconds = 0;
      failed += RunOne(plan, o.someSteps, o.steps, o.inProcess, false, seconds) ? 0 : 1;
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
    if (!RunOne(sim::MakePlan(seed), false, {}, false, false, seconds)) {
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
