// Waits used where they cannot work return false at once with an error that
// says what to do, and every wait ends by its timeout: a home screen under
// development never hangs in the simulator.
#include <IoTFrameworkSim.h>
#include <dlog.h>
#include <gmock/gmock.h>
#include <varnio_sim.h>
#include <vconf_sim.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <ostream>
#include <string>

#include "LogCapture.h"
#include "varnio.h"

namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

// What a wait called inside a callback answered; -1 before it ran.
std::atomic<int> g_answerInside{-1};

void WaitInside(std::string /*text*/, void* /*userData*/) {
  if (g_answerInside == -1) g_answerInside = varnio_sim::WaitIdle(milliseconds(5000)) ? 1 : 0;
}
void Ignore(std::string /*text*/, void* /*userData*/) {}

void Start(bool waitOnResult, bool waitOnNotice) {
  // Held so that the start's own notice finds both callbacks registered.
  iotfw_sim::HoldCallbacks(true);
  iot_svc_register_result_cb(IOT_SVC_CMD_GET_ACCELERATOR_TILES, waitOnResult ? WaitInside : Ignore, nullptr);
  iot_svc_register_event_cb(IOT_SVC_EVENT_TILES_CHANGED, waitOnNotice ? WaitInside : Ignore, nullptr);
  iotfw_sim::HoldCallbacks(false);
}

// Waits until the callback has waited; what its wait answered.
bool InsideCallback() {
  const Clock::time_point end = Clock::now() + milliseconds(5000);
  while (g_answerInside == -1 && Clock::now() < end) std::this_thread::sleep_for(milliseconds(5));
  return g_answerInside == 1;
}

struct Misuse {
  const char* name;
  std::function<bool()> act;  // the misused wait's answer
  const char* says;           // in its error; empty for a plain timeout
};

const Misuse kMisuses[] = {
    {"WaitBeforeTheServiceStarted", [] { return varnio_sim::WaitIdle(milliseconds(5000)); }, "has not started"},
    {"BaselineBeforeTheServiceStarted", [] { return varnio_sim::TakeThreadBaseline(); }, "has not started"},
    {"WaitWithoutBaseline",
     [] {
       Start(false, false);
       return varnio_sim::WaitIdle(milliseconds(5000));
     },
     "call varnio_sim::TakeThreadBaseline()"},
    {"WaitInsideANoticeOnTheFrameworksThread",
     [] {
       iotfw_sim::SetSignedIn(true);
       iotfw_sim::SetRoutines("loc-home", {{"r-1", "Good Morning"}});
       Start(false, true);
       varnio_sim::TakeThreadBaseline();
       return InsideCallback();
     },
     "from inside a callback"},
    {"WaitInsideARowOnADownloadThread",
     [] {
       Start(true, false);
       varnio_sim::TakeThreadBaseline();
       iot_svc_get_accelerator_tiles();
       return InsideCallback();
     },
     "started after TakeThreadBaseline"},
    {"WaitForHeldCallbacksEndsByItsTimeout",
     [] {
       Start(false, false);
       varnio_sim::TakeThreadBaseline();
       iotfw_sim::HoldCallbacks(true);
       iotfw_sim::InjectEvent(1005, "");
       const bool idle = varnio_sim::WaitIdle(milliseconds(200));
       iotfw_sim::HoldCallbacks(false);
       return idle;
     },
     ""},
};

void PrintTo(const Misuse& misuse, std::ostream* out) { *out << misuse.name; }

class WaitsTest : public ::testing::TestWithParam<Misuse> {};

TEST_P(WaitsTest, AnswersFalseSoonAndSaysWhatToDo) {
  vconf_sim::SetStr("db/menu_widget/language", "en_US.utf8");
  vconf_sim::WaitIdle();
  LogCapture capture;
  const Clock::time_point start = Clock::now();
  EXPECT_FALSE(GetParam().act());
  EXPECT_LT(Clock::now() - start, milliseconds(2000));
  std::vector<std::string> errors;
  for (const LogLine& line : capture.Lines()) {
    if (line.tag == "varnio-sim" && line.priority == DLOG_ERROR) errors.push_back(line.text);
  }
  if (GetParam().says[0] == '\0') {
    EXPECT_THAT(errors, ::testing::IsEmpty());
  } else {
    EXPECT_THAT(errors, ::testing::ElementsAre(::testing::HasSubstr(GetParam().says)));
  }
}

INSTANTIATE_TEST_SUITE_P(Misuses, WaitsTest, ::testing::ValuesIn(kMisuses),
                         [](const ::testing::TestParamInfo<Misuse>& misuse) { return std::string(misuse.param.name); });

}  // namespace
