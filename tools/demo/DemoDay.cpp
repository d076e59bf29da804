#include "DemoDay.h"

#include <device/power_sim.h>
#include <was_sim.h>

#include <utility>

#include "TileTable.h"
#include "UiLanguage.h"
#include "varnio.h"

namespace demo {
namespace {

constexpr int kSignedIn = 1000;
constexpr int kSignedOut = 1001;
constexpr int kCloudEvent = 1004;
constexpr int kExecuteRoutine = 111;
const char kLocation[] = "loc-home";

const std::vector<std::string> kIntroIds = {"intro", "how", "uses", "start"};

std::string Join(const std::vector<std::string>& items) {
  std::string out;
  for (const std::string& item : items) out += (out.empty() ? "" : ", ") + item;
  return out;
}

std::string IntroCheck(const TileList& list) {
  if (!list.valid) return list.error;
  if (list.sections.size() != 2 || list.TileCount() != 4) return "expected two sections of four tiles";
  const std::vector<std::string> ids = list.Ids();
  // A failed download still yields the four tiles, only without their texts.
  if (ids != kIntroIds && ids != std::vector<std::string>(4)) return "unexpected tiles " + Join(ids);
  return std::string();
}

}  // namespace

DemoDay::DemoDay(HomeScreen& screen, std::FILE* out, std::chrono::milliseconds patience)
    : m_screen(screen), m_out(out), m_patience(patience) {}

bool DemoDay::Run() {
  m_cloud = {{"r-1", "Good Morning"}, {"r-2", "Movie night"}, {"r-3", "I'm back"}};
  PublishCloud();
  const std::vector<bool (DemoDay::*)()> steps = {
      &DemoDay::SignedOut, &DemoDay::SignIn,         &DemoDay::RoutineCreated,
      &DemoDay::RoutineRenamed, &DemoDay::RoutineDeleted, &DemoDay::WakeUp,
      &DemoDay::KoreanLanguage, &DemoDay::ExecuteTiles,   &DemoDay::SignOut,
  };
  for (auto step : steps) (this->*step)();
  Expect(m_screen.PendingTileLists() == 0, "no tile row arrived unasked");
  std::fprintf(m_out, "\n== The day is over: %s\n",
               m_failures == 0 ? "every step ok" : (std::to_string(m_failures) + " check(s) FAILED").c_str());
  std::fflush(m_out);
  return m_failures == 0;
}

bool DemoDay::SignedOut() {
  Begin("Signed out: the introduction tiles from the contents host");
  return End(RequestAndShowRow(IntroCheck));
}

bool DemoDay::SignIn() {
  Begin("The user signs in on the phone");
  iotfw_sim::SetSignedIn(true);
  iotfw_sim::InjectEvent(kSignedIn, "");
  Say("> framework event 1000 (signed in)");
  bool ok = AwaitTilesChanged();
  ok &= RequestAndShowRoutineRow("Routines");
  return End(ok);
}

bool DemoDay::RoutineCreated() {
  Begin("A routine is created in the cloud");
  m_cloud.push_back({"r-4", "Good night"});
  PublishCloud();
  iotfw_sim::InjectEvent(kCloudEvent, iotfw_sim::MakeCloudEvent("InstalledVelkapCreated", "r-4", "Good night"));
  Say("> framework event 1004 InstalledVelkapCreated r-4 \"Good night\"");
  bool ok = NoTilesChanged();
  Say("  (a creation is not announced; the next tile request shows it)");
  ok &= RequestAndShowRoutineRow("Routines");
  return End(ok);
}

bool DemoDay::RoutineRenamed() {
  Begin("A routine is renamed in the cloud");
  m_cloud[1].label = "Bye for now";
  PublishCloud();
  iotfw_sim::InjectEvent(kCloudEvent, iotfw_sim::MakeCloudEvent("InstalledVelkapUpdated", "r-2", "Bye for now"));
  Say("> framework event 1004 InstalledVelkapUpdated r-2 \"Bye for now\"");
  bool ok = AwaitTilesChanged();
  ok &= RequestAndShowRoutineRow("Routines");
  return End(ok);
}

bool DemoDay::RoutineDeleted() {
  Begin("A routine is deleted in the cloud");
  m_cloud.erase(m_cloud.begin() + 2);
  PublishCloud();
  iotfw_sim::InjectEvent(kCloudEvent, iotfw_sim::MakeCloudEvent("InstalledVelkapDeleted", "r-3", ""));
  Say("> framework event 1004 InstalledVelkapDeleted r-3");
  bool ok = AwaitTilesChanged();
  ok &= RequestAndShowRoutineRow("Routines");
  return End(ok);
}

bool DemoDay::WakeUp() {
  Begin("The TV wakes up from standby");
  power_sim::TriggerWakeup();
  Say("> power wake-up");
  bool ok = AwaitTilesChanged();
  ok &= RequestAndShowRoutineRow("Routines");
  return End(ok);
}

bool DemoDay::KoreanLanguage() {
  Begin("The TV language changes to Korean");
  SettlePlatform();  // nothing of the library looks texts up meanwhile
  SwitchUiLanguage("ko_KR.utf8");
  Say("> db/menu_widget/language = ko_KR.utf8");
  bool ok = NoTilesChanged();
  Say("  (the routines are fetched again quietly; the title comes from the Korean catalogue)");
  ok &= RequestAndShowRoutineRow("루틴");
  return End(ok);
}

bool DemoDay::ExecuteTiles() {
  Begin("The user opens a page, the intro video and a routine");
  SettlePlatform();
  was_sim::Clear();
  iotfw_sim::ClearRequests();
  iot_svc_execute_tile(IOT_SVC_TILE_PAGE, "how");
  Say("> iot_svc_execute_tile(IOT_SVC_TILE_PAGE, \"how\")");
  iot_svc_execute_tile(IOT_SVC_TILE_INTRO, "intro");
  Say("> iot_svc_execute_tile(IOT_SVC_TILE_INTRO, \"intro\")");
  iot_svc_execute_tile(IOT_SVC_TILE_ROUTINE, "r-1");
  Say("> iot_svc_execute_tile(IOT_SVC_TILE_ROUTINE, \"r-1\")");
  SettlePlatform();

  const std::vector<was_sim::Launch> launches = was_sim::Launches();
  for (const was_sim::Launch& launch : launches) {
    Say("< web app " + launch.appId + " launched with deep link " + launch.deepLink);
  }
  int executes = 0;
  for (const iotfw_sim::Request& request : iotfw_sim::Requests()) {
    if (request.command != kExecuteRoutine) continue;
    Say("< framework request 111 (execute routine) " + request.argument);
    executes += request.argument == "r-1" ? 1 : 0;
  }
  bool ok = Expect(launches.size() == 2, "two web-app launches");
  ok &= Expect(launches.size() == 2 && launches[0].deepLink.find("\"type\":\"page\"") != std::string::npos &&
                   launches[1].deepLink.find("\"type\":\"intro\"") != std::string::npos,
               "a page and an intro deep link");
  ok &= Expect(executes == 1, "one execute request for r-1");
  ok &= Expect(m_screen.PendingTileLists() == 0 && m_screen.PendingTilesChanged() == 0,
               "executing tells the home screen nothing");
  return End(ok);
}

bool DemoDay::SignOut() {
  Begin("The user signs out");
  iotfw_sim::SetSignedIn(false);
  iotfw_sim::InjectEvent(kSignedOut, "");
  Say("> framework event 1001 (signed out)");
  bool ok = AwaitTilesChanged();
  ok &= RequestAndShowRow(IntroCheck);
  return End(ok);
}

void DemoDay::Begin(const std::string& title) {
  m_step = title;
  std::fprintf(m_out, "\n== %d. %s\n", ++m_stepNumber, title.c_str());
}

void DemoDay::Say(const std::string& line) { std::fprintf(m_out, "   %s\n", line.c_str()); }

bool DemoDay::Expect(bool ok, const std::string& what) {
  if (!ok) {
    ++m_failures;
    Say("FAILED: " + what);
  }
  return ok;
}

bool DemoDay::AwaitTilesChanged() {
  Arrival arrival;
  const bool ok = Expect(m_screen.NextTilesChanged(arrival, m_patience), "IOT_SVC_EVENT_TILES_CHANGED arrives");
  if (ok) Say("< IOT_SVC_EVENT_TILES_CHANGED" + std::string(arrival.text.empty() ? "" : " with a text!"));
  return ok && Expect(arrival.text.empty(), "the event carries an empty text");
}

bool DemoDay::NoTilesChanged() {
  SettlePlatform();
  return Expect(m_screen.PendingTilesChanged() == 0, "no IOT_SVC_EVENT_TILES_CHANGED");
}

bool DemoDay::RequestAndShowRow(const Check& check) {
  m_screen.RequestTiles();
  Say("> iot_svc_get_accelerator_tiles()");
  Arrival arrival;
  if (!Expect(m_screen.NextTileList(arrival, m_patience), "a tile row arrives")) return false;
  ShownRow row;
  row.step = m_step;
  row.arrival = arrival.onCallerThread ? "delivered inside iot_svc_get_accelerator_tiles()"
                                       : "delivered later on a library thread";
  row.list = ParseTileList(arrival.text);
  Say("< tile row, " + row.arrival + ":");
  std::fputs(RenderTileTable(row.list, "     ").c_str(), m_out);
  const std::string fault = check(row.list);
  m_rows.push_back(std::move(row));
  return Expect(fault.empty(), "the row holds what it should: " + fault);
}

bool DemoDay::End(bool ok) {
  Say(ok ? "ok" : "step FAILED");
  std::fflush(m_out);
  return ok;
}

void DemoDay::PublishCloud() { iotfw_sim::SetRoutines(kLocation, m_cloud); }

bool DemoDay::RequestAndShowRoutineRow(const std::string& title) {
  return RequestAndShowRow([this, &title](const TileList& list) { return CloudCheck(list, title); });
}

std::string DemoDay::CloudCheck(const TileList& list, const std::string& title) const {
  if (!list.valid) return list.error;
  if (list.sections.size() != 1) return "expected one routines section";
  const TileSection& section = list.sections[0];
  if (section.title != title) return "title \"" + section.title + "\", expected \"" + title + "\"";
  std::vector<std::string> expected;
  for (const iotfw_sim::Routine& routine : m_cloud) expected.push_back(routine.id + " " + routine.label);
  std::vector<std::string> shown;
  for (const Tile& tile : section.tiles) shown.push_back(tile.id + " " + tile.text);
  if (shown != expected) return "routines " + Join(shown) + ", expected " + Join(expected);
  return std::string();
}

}  // namespace demo
