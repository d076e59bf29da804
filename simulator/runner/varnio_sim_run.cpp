// varnio-sim-run: plays a scenario file (JSON Lines, see
// examples/scenarios/README.md) against libvarnio and the simulated platform,
// with the contents host as a child process on the port the library fetches
// from, and checks its expectations.
//   varnio-sim-run [--verbose] [--quiet] [--log] [--timeout-ms N] [--no-contents-host] FILE
// --verbose prints the run as the demo does, every tile row as a table, each
// line with its time and thread; --quiet leaves out the warnings of the
// library's and the simulator's logs; --log echoes the whole platform log to
// stderr; --no-contents-host leaves the contents host to the caller (its
// mode lines then fail). Failures always go to stderr as FILE:LINE: ....
// Exits 0 when every expectation held, 1 when one failed, 2 when the file or
// the command line is wrong or the contents host cannot be started.
#include <dlog_sim.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "ContentsHostProcess.h"
#include "Player.h"
#include "Scenario.h"
#include "Summary.h"
#include "Transcript.h"

namespace {

// Longer than the library's own bound on a contents download (120 s), so
// that a wait fails only when the library broke its word.
constexpr long kDefaultTimeoutMs = 130000;

struct Options {
  std::string path;
  bool verbose = false;
  bool quiet = false;
  bool log = false;
  bool contentsHost = true;
  long timeoutMs = kDefaultTimeoutMs;
};

int Usage(const std::string& problem) {
  std::fprintf(stderr,
               "varnio-sim-run: %s\n"
               "usage: varnio-sim-run [--verbose] [--quiet] [--log] [--timeout-ms N] [--no-contents-host] FILE\n",
               problem.c_str());
  return 2;
}

// Empty when the command line is good, else what is wrong with it.
std::string ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--verbose") {
      options.verbose = true;
    } else if (arg == "--quiet") {
      options.quiet = true;
    } else if (arg == "--log") {
      options.log = true;
    } else if (arg == "--no-contents-host") {
      options.contentsHost = false;
    } else if (arg == "--timeout-ms") {
      char* end = nullptr;
      options.timeoutMs = i + 1 < argc ? std::strtol(argv[++i], &end, 10) : 0;
      if (end == nullptr || *end != '\0' || options.timeoutMs <= 0) return "--timeout-ms needs a number of milliseconds above 0";
    } else if (!arg.empty() && arg[0] == '-') {
      return "unknown option " + arg;
    } else if (!options.path.empty()) {
      return "one scenario file at a time (" + options.path + ", then " + arg + ")";
    } else {
      options.path = arg;
    }
  }
  return options.path.empty() ? "no scenario file" : "";
}

// Installed, the host is beside this program; in the build tree, where it was built.
std::string ContentsHostProgram() {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  const std::filesystem::path beside = self.parent_path() / "varnio-contents-host";
  if (!error && std::filesystem::exists(beside, error)) return beside.string();
  return VARNIO_SIM_RUN_BUILD_CONTENTS_HOST;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (const std::string problem = ParseOptions(argc, argv, options); !problem.empty()) return Usage(problem);
  scenario::Scenario scenario;
  std::vector<std::string> errors;
  if (!scenario::ReadScenarioFile(options.path, scenario, errors)) {
    for (const std::string& error : errors) std::fprintf(stderr, "%s\n", error.c_str());
    return 2;
  }
  // The run shows the logs' warnings itself, each with its line.
  dlog_sim::SetEcho(options.log ? dlog_sim::Echo::kAll : dlog_sim::Echo::kNone);

  std::unique_ptr<scenario::ContentsHostProcess> host;
  if (options.contentsHost) {
    host = std::make_unique<scenario::ContentsHostProcess>(ContentsHostProgram(), VARNIO_SIM_CONTENTS_PORT);
    std::string error;
    if (!host->SetMode("serve", error)) {
      std::fprintf(stderr, "varnio-sim-run: %s\n", error.c_str());
      return 2;
    }
  }
  std::unique_ptr<scenario::View> view;
  if (options.verbose) {
    view = std::make_unique<scenario::Transcript>(stdout, "End of " + options.path, true, options.quiet);
  } else {
    view = std::make_unique<scenario::Summary>(options.path, options.quiet);
  }
  scenario::Player player(*view, host.get(), std::chrono::milliseconds(options.timeoutMs));
  return player.Play(scenario) ? 0 : 1;
}
