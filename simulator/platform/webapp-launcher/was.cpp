#include <mutex>
#include <string>
#include <vector>

#include "was.h"
#include "was_sim.h"

namespace {

struct Launcher {
  std::mutex mutex;
  std::vector<was_sim::Launch> launches;
  int result = 0;
};

Launcher& TheLauncher() {
  static Launcher* launcher = new Launcher();
  return *launcher;
}

}  // namespace

extern "C" int was_launch_webapp_for_deeplink(const char* app_id, const char* deeplink, void* /*reply_cb*/,
                                              void* /*user_data*/, void* /*extra*/) {
  Launcher& l = TheLauncher();
  std::lock_guard<std::mutex> lock(l.mutex);
  l.launches.push_back({app_id ? app_id : "", deeplink ? deeplink : ""});
  return l.result;
}

namespace was_sim {

void SetResult(int result) {
  Launcher& l = TheLauncher();
  std::lock_guard<std::mutex> lock(l.mutex);
  l.result = result;
}

std::vector<Launch> Launches() {
  Launcher& l = TheLauncher();
  std::lock_guard<std::mutex> lock(l.mutex);
  return l.launches;
}

void Clear() {
  Launcher& l = TheLauncher();
  std::lock_guard<std::mutex> lock(l.mutex);
  l.launches.clear();
}

}  // namespace was_sim
