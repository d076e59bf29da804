// A small home screen: loads the library, registers its callbacks and prints
// what arrives while the simulated account signs in, changes and signs out.
#include <IoTFrameworkSim.h>
#include <vconf_sim.h>
#include <was_sim.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>

#include "varnio.h"

namespace {

struct Screen {
  std::mutex mutex;
  std::condition_variable changed;
  int rows = 0;
  int events = 0;
};

void OnTiles(std::string json, void* userData) {
  Screen* screen = static_cast<Screen*>(userData);
  std::printf("---- tile row ----\n%s", json.c_str());
  std::lock_guard<std::mutex> lock(screen->mutex);
  ++screen->rows;
  screen->changed.notify_all();
}

void OnTilesChanged(std::string, void* userData) {
  Screen* screen = static_cast<Screen*>(userData);
  std::printf("---- tiles changed ----\n");
  std::lock_guard<std::mutex> lock(screen->mutex);
  ++screen->events;
  screen->changed.notify_all();
}

bool WaitFor(Screen& screen, int rows, int events) {
  std::unique_lock<std::mutex> lock(screen.mutex);
  return screen.changed.wait_for(lock, std::chrono::seconds(30),
                                 [&] { return screen.rows >= rows && screen.events >= events; });
}

bool Step(const char* what, bool ok) {
  std::printf("==== %s: %s\n", what, ok ? "ok" : "FAILED");
  return ok;
}

}  // namespace

int main() {
  Screen screen;
  vconf_sim::SetStr("db/menu_widget/language", "en_US.utf8");
  iotfw_sim::SetRoutines("loc-home", {{"r-1", "Good Morning"}, {"r-2", "Movie night"}, {"r-3", "I'm back"}});
  iot_svc_register_result_cb(IOT_SVC_CMD_GET_ACCELERATOR_TILES, OnTiles, &screen);
  iot_svc_register_event_cb(IOT_SVC_EVENT_TILES_CHANGED, OnTilesChanged, &screen);
  iotfw_sim::WaitIdle();

  bool ok = true;
  iot_svc_get_accelerator_tiles();
  ok &= Step("signed out: introduction tiles", WaitFor(screen, 1, 0));

  iotfw_sim::SetSignedIn(true);
  iotfw_sim::InjectEvent(1000, "");
  ok &= Step("signed in: routine list arrived", WaitFor(screen, 1, 1));
  iot_svc_get_accelerator_tiles();
  ok &= Step("signed in: routine tiles", WaitFor(screen, 2, 1));

  iotfw_sim::InjectEvent(1004, iotfw_sim::MakeCloudEvent("InstalledVelkapUpdated", "r-2", "Good night"));
  ok &= Step("routine renamed in the cloud", WaitFor(screen, 2, 2));
  iot_svc_get_accelerator_tiles();
  ok &= Step("renamed routine shown", WaitFor(screen, 3, 2));

  iot_svc_execute_tile(IOT_SVC_TILE_PAGE, "how");
  iot_svc_execute_tile(IOT_SVC_TILE_ROUTINE, "r-1");
  for (const was_sim::Launch& launch : was_sim::Launches()) {
    std::printf("launched %s with %s\n", launch.appId.c_str(), launch.deepLink.c_str());
  }
  ok &= Step("page tile launched the web app", was_sim::Launches().size() == 1);

  iotfw_sim::InjectEvent(1001, "");
  ok &= Step("signed out", WaitFor(screen, 3, 3));
  iotfw_sim::WaitIdle();
  return ok ? 0 : 1;
}
