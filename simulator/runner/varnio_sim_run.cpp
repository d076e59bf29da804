// varnio-sim-run: plays a scenario file (JSON Lines, see
// examples/scenarios/README.md) against libvarnio and the simulated platform,
// with the contents host as a child process on the port the library fetches
// from, and checks its expectations.
//   varnio-sim-run [--verbose] [--log] [--timeout-ms N] [--no-contents-host] FILE
// --verbose prints the run as the demo does, every tile row as a table;
// --log echoes the platform log to stderr; --no-contents-host leaves the
// contents host to the caller (its mode lines then fail).
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

struct Options {
  std::string path;
  bool verbose = false;
  bool log = false;
  bool contentsHost = true;
  long timeoutMs = 30000;
};

int Usage() {
  std::fprintf(stderr, "usage: varnio-sim-run [--verbose] [--log] [--timeout-ms N] [--no-contents-host] FILE\n");
  return 2;
}

bool ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--verbose") {
      options.verbose = true;
    } else if (arg == "--log") {
      options.log = true;
    } else if (arg == "--no-contents-host") {
      options.contentsHost = false;
    } else if (arg == "--timeout-ms" && i + 1 < argc) {
      options.timeoutMs = std::strtol(argv[++i], nullptr, 10);
      if (options.timeoutMs <= 0) return false;
    } else if (!arg.empty() && arg[0] != '-' && options.path.empty()) {
      options.path = arg;
    } else {
      return false;
    }
  }
  return !options.path.empty();
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
  if (!ParseOptions(argc, argv, options)) return Usage();
  scenario::Scenario scenario;
  std::vector<std::string> errors;
  if (!scenario::ReadScenarioFile(options.path, scenario, errors)) {
    for (const std::string& error : errors) std::fprintf(stderr, "%s\n", error.c_str());
    return 2;
  }
  dlog_sim::SetEchoToStderr(options.log);

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
    view = std::make_unique<scenario::Transcript>(stdout, "End of " + options.path);
  } else {
    view = std::make_unique<scenario::Summary>(options.path);
  }
  scenario::Player player(*view, host.get(), std::chrono::milliseconds(options.timeoutMs));
  return player.Play(scenario) ? 0 : 1;
}
