// The tile row on a PC, with the simulator playing the TV and the cloud:
// the user is signed out, signs in on the phone, and runs a routine from the
// row. Run varnio-contents-host beside it for the introduction tiles' texts.
// Exits 0 when the row showed what the simulated account holds.
#include <IoTFramework.h>
#include <IoTFrameworkSim.h>
#include <varnio_sim.h>
#include <vconf_sim.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "TileRow.h"

namespace {

void Show(const char* when, const std::vector<Tile>& tiles) {
  std::printf("%s:\n", when);
  for (const Tile& tile : tiles) std::printf("  %-16s %-6s %s\n", tile.type.c_str(), tile.id.c_str(), tile.text.c_str());
}

bool Check(bool ok, const char* what) {
  std::printf("%s: %s\n", ok ? "ok" : "FAILED", what);
  return ok;
}

}  // namespace

int main() {
  // The routines title comes in the process's message language, as on the
  // TV: set it before the library's first lookup.
  setenv("LANGUAGE", "en", 1);
  std::setlocale(LC_ALL, "C.UTF-8");

  // The simulated account: signed out, with two routines in the cloud.
  iotfw_sim::SetRoutines("loc-home", {{"r-1", "Good Morning"}, {"r-2", "Movie night"}});
  vconf_sim::SetStr("db/menu_widget/language", "en_US.utf8");
  vconf_sim::WaitIdle();  // set before the library starts, not announced to it

  TileRow row;
  if (!Check(row.Connect(), "the library takes both callbacks")) return 1;
  // The library has started and no request is out: the threads it has now
  // are not downloads.
  bool ok = Check(varnio_sim::TakeThreadBaseline(), "the simulator counts the threads");
  row.Refresh();
  ok &= Check(varnio_sim::WaitIdle(), "the contents download ends");
  Show("signed out", row.Tiles());
  ok &= Check(row.Tiles().size() == 4, "four introduction tiles");
  ok &= Check(!row.Tiles().empty() && !row.Tiles()[0].image.empty(),
              "their texts and images came down (the contents host is up and trusted)");

  // The user signs in on the phone: the library announces the change and
  // the row asks again.
  iotfw_sim::SetSignedIn(true);
  iotfw_sim::InjectEvent(EIFW_EVENT_SIGNED_IN, "");
  ok &= Check(varnio_sim::WaitIdle(), "the sign-in is through");
  const std::vector<Tile> routines = row.Tiles();
  Show("signed in", routines);
  ok &= Check(routines.size() == 2 && routines[0].id == "r-1" && routines[1].text == "Movie night",
              "one tile per routine of the account");
  ok &= Check(row.Titles() == std::vector<std::string>{"Routines"}, "the routines title is translated");
  bool iconsThere = !routines.empty();
  for (const Tile& tile : routines) iconsThere &= std::filesystem::exists(tile.image);
  ok &= Check(iconsThere, "the routine icons are where the row says");

  if (!routines.empty()) row.Execute(routines[0]);
  ok &= Check(varnio_sim::WaitIdle(), "the framework has the request");
  const std::vector<iotfw_sim::Request> requests = iotfw_sim::Requests();
  ok &= Check(!requests.empty() && requests.back().command == EIFW_REQUEST_EXECUTE_ROUTINE &&
                  requests.back().argument == "r-1",
              "the framework was asked to run r-1");
  row.Disconnect();
  return ok ? 0 : 1;
}
