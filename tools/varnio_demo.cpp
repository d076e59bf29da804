// varnio_demo: a TV home screen for a simulated day. It loads the library
// through its exported functions only, plays the cloud account, the settings,
// the power service and the launcher through the platform stand-ins, and
// prints every tile row that arrives.
//   varnio_demo [--html FILE] [--log] [--patience-ms N]
// --html writes the rows as a self-contained page; --log echoes the
// library's log lines to stderr. Exits 0 when every step saw what it should.
#include <dlog_sim.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "demo/DemoDay.h"
#include "demo/HomeScreen.h"
#include "demo/HtmlPage.h"
#include "demo/IconFiles.h"
#include "demo/UiLanguage.h"

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
  dlog_sim::SetEchoToStderr(options.log);
  // Before the library starts: the TV is set to English.
  demo::SwitchUiLanguage("en_US.utf8");

  bool ok = false;
  std::vector<demo::ShownRow> rows;
  {
    demo::HomeScreen screen;
    if (!screen.Connect()) {
      std::fprintf(stderr, "varnio_demo: the library refused the callbacks\n");
      return 1;
    }
    demo::SettlePlatform();
    demo::DemoDay day(screen, stdout, std::chrono::milliseconds(options.patienceMs));
    ok = day.Run();
    rows = day.Rows();
    screen.Disconnect();
    demo::SettlePlatform();
  }
  if (!options.htmlPath.empty() && !WriteHtml(options.htmlPath, rows)) return 1;
  return ok ? 0 : 1;
}
