// varnio_demo: a TV home screen for a simulated day. It plays the day's
// scenario file (demo/day.jsonl): the library through its exported functions
// only, the cloud account, the settings, the power service and the launcher
// through the platform stand-ins; every tile row that arrives is printed.
//   varnio_demo [--html FILE] [--log] [--patience-ms N]
// --html writes the rows as a self-contained page; --log echoes the
// library's log lines to stderr; --patience-ms bounds each wait. The
// contents host is the caller's (tools/run-demo.sh starts one). Exits 0 when
// every step saw what it should.
#include <dlog_sim.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "HtmlPage.h"
#include "IconFiles.h"
#include "Player.h"
#include "Scenario.h"
#include "Transcript.h"

namespace {

struct Options {
  std::string htmlPath;
  bool log = false;
  long patienceMs = 20000;
};

int Usage() {
  std::fprintf(stderr, "usage: varnio_demo [--html FILE] [--log] [--patience-ms N]\n");
  return 2;
}

bool ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string flag = argv[i];
    if (flag == "--log") {
      options.log = true;
    } else if (flag == "--html" && i + 1 < argc) {
      options.htmlPath = argv[++i];
    } else if (flag == "--patience-ms" && i + 1 < argc) {
      options.patienceMs = std::strtol(argv[++i], nullptr, 10);
      if (options.patienceMs <= 0) return false;
    } else {
      return false;
    }
  }
  return true;
}

bool WriteHtml(const std::string& path, const std::vector<demo::ShownRow>& rows) {
  const demo::IconFiles icons(VARNIO_DEMO_INSTALLED_RES_DIR, {VARNIO_DEMO_BUILD_RES_DIR, VARNIO_DEMO_INSTALLED_RES_DIR});
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << demo::RenderHtmlPage("varnio home screen: a day of accelerator tiles", rows, icons);
  out.close();
  if (!out) {
    std::fprintf(stderr, "varnio_demo: cannot write %s\n", path.c_str());
    return false;
  }
  std::printf("\nHTML page of the %d tile rows: %s\n", static_cast<int>(rows.size()), path.c_str());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) return Usage();
  scenario::Scenario day;
  std::vector<std::string> errors;
  if (!scenario::ReadScenarioFile(VARNIO_DEMO_DAY_FILE, day, errors)) {
    for (const std::string& error : errors) std::fprintf(stderr, "%s\n", error.c_str());
    return 2;
  }
  dlog_sim::SetEcho(options.log ? dlog_sim::Echo::kAll : dlog_sim::Echo::kNone);

  scenario::Transcript transcript(stdout, "The day is over");
  scenario::Player player(transcript, nullptr, std::chrono::milliseconds(options.patienceMs));
  const bool ok = player.Play(day);
  if (!options.htmlPath.empty() && !WriteHtml(options.htmlPath, transcript.Rows())) return 1;
  return ok ? 0 : 1;
}
