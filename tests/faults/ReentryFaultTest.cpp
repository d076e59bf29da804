// Callbacks that call back into the library from inside the call, on every
// thread a delivery can arrive on: they unregister themselves, replace
// themselves, or call every exported function. None of it may deadlock, and
// the service must go on answering.
#include <IoTFrameworkSim.h>
#include <device/power_sim.h>
#include <gmock/gmock.h>
#include <vconf_sim.h>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include "FaultTest.h"

using iotfw_sim::AnswerMode;

namespace {

enum class Act {
  kUnregisterSelf,  // the next delivery of its kind reaches nobody
  kReplaceSelf,     // the next delivery reaches the replacement
  kCallEverything,  // every exported function once, itself left registered
};

const char* ActName(Act act) {
  switch (act) {
    case Act::kUnregisterSelf: return "unregisters itself";
    case Act::kReplaceSelf: return "replaces itself";
    case Act::kCallEverything: return "calls everything";
  }
  return "?";
}

// A callback for results (type 0) or events that acts once, on its first call.
struct Reentrant {
  bool isEvent = false;
  Act act = Act::kUnregisterSelf;
  Recorder got;
  Recorder replacement;
  Recorder other;  // what it registers for the other kind, briefly

  static void Callback(std::string text, void* userData) {
    Reentrant* self = static_cast<Reentrant*>(userData);
    const bool first = self->got.Count() == 0;
    self->got.Record(text, userData);
    if (first) self->ActOnce();
  }

  bool Register() {
    return isEvent ? iot_svc_register_event_cb(IOT_SVC_EVENT_TILES_CHANGED, Callback, this)
                   : iot_svc_register_result_cb(IOT_SVC_CMD_GET_ACCELERATOR_TILES, Callback, this);
  }

  void ActOnce() {
    switch (act) {
      case Act::kUnregisterSelf:
        if (isEvent) {
          iot_svc_unregister_event_cb(IOT_SVC_EVENT_TILES_CHANGED);
        } else {
          iot_svc_unregister_result_cb(IOT_SVC_CMD_GET_ACCELERATOR_TILES);
        }
        break;
      case Act::kReplaceSelf:
        if (isEvent) {
          iot_svc_register_event_cb(IOT_SVC_EVENT_TILES_CHANGED, Recorder::Callback, &replacement);
        } else {
          iot_svc_register_result_cb(IOT_SVC_CMD_GET_ACCELERATOR_TILES, Recorder::Callback, &replacement);
        }
        break;
      case Act::kCallEverything:
        if (isEvent) {
          iot_svc_register_result_cb(IOT_SVC_CMD_GET_ACCELERATOR_TILES, Recorder::Callback, &other);
          iot_svc_unregister_result_cb(IOT_SVC_CMD_GET_ACCELERATOR_TILES);
        } else {
          iot_svc_register_event_cb(IOT_SVC_EVENT_TILES_CHANGED, Recorder::Callback, &other);
          iot_svc_unregister_event_cb(IOT_SVC_EVENT_TILES_CHANGED);
        }
        iot_svc_register_result_cb(IOT_SVC_CMD_RESERVED, Recorder::Callback, &other);
        iot_svc_unregister_result_cb(IOT_SVC_CMD_RESERVED);
        iot_svc_execute_tile(IOT_SVC_TILE_PAGE, "how");
        iot_svc_execute_tile(IOT_SVC_TILE_ROUTINE, "a1");
        iot_svc_get_accelerator_tiles();
        Register();
        break;
    }
  }
};

// One way of making the service deliver, from whatever state the previous
// case left. `thread` is where the delivery must arrive, when it is known.
struct Road {
  const char* name;
  std::function<void()> prepare;
  std::function<void()> provoke;
  std::function<std::thread::id()> thread;
  std::chrono::seconds wait;
};

void SettlePlatform() {
  for (int i = 0; i < 2; ++i) {
    vconf_sim::WaitIdle();
    power_sim::WaitIdle();
    iotfw_sim::WaitIdle();
  }
}

// Signed in, the routine list answered as asked, nothing pending.
void SignIn() {
  for (int command : {kLogin, kRoutineList}) iotfw_sim::SetAnswerMode(command, AnswerMode::kAsync);
  iotfw_sim::SetSignedIn(true);
  iotfw_sim::SetRoutines("loc-home", kTwo);
  iotfw_sim::InjectEvent(kSignedIn, "");
  SettlePlatform();
}

// Signed in with no tiles and the sign-in already served, so that only what
// comes next is pending.
void SignInWithoutTiles() {
  iotfw_sim::InjectEvent(kSignedOut, "");
  iotfw_sim::SetAnswerMode(kRoutineList, AnswerMode::kNever);
  iotfw_sim::InjectResult(kLogin, kSuccess);
  iotfw_sim::InjectResult(kRoutineList, iotfw_sim::MakeRoutineListAnswer({}));
  SettlePlatform();
}

std::thread::id Here() { return std::this_thread::get_id(); }
std::thread::id Framework() { return iotfw_sim::CallbackThreadId(); }
std::thread::id Unknown() { return std::thread::id(); }

const std::chrono::seconds kShort(10);
const std::chrono::seconds kDownload(30);

std::vector<Road> ResultRoads() {
  return {
      {"tiles held: the caller's thread", SignIn, [] { iot_svc_get_accelerator_tiles(); }, Here, kShort},
      {"list awaited: the framework's thread",
       [] {
         SignInWithoutTiles();
         iot_svc_get_accelerator_tiles();
         SettlePlatform();
       },
       [] { iotfw_sim::InjectResult(kRoutineList, iotfw_sim::MakeRoutineListAnswer(kTwo)); }, Framework, kShort},
      {"signed out: a contents thread",
       [] {
         iotfw_sim::InjectEvent(kSignedOut, "");
         SettlePlatform();
       },
       [] { iot_svc_get_accelerator_tiles(); }, Unknown, kDownload},
  };
}

std::vector<Road> EventRoads() {
  return {
      {"sign-out: the framework's thread", SignIn, [] { iotfw_sim::InjectEvent(kSignedOut, ""); }, Framework, kShort},
      {"wake-up finding a sign-out: the power thread",
       [] {
         SignIn();
         iotfw_sim::SetSignedIn(false);
         iotfw_sim::SetAnswerMode(kLogin, AnswerMode::kSync);
       },
       [] { power_sim::TriggerWakeup(); }, Unknown, kShort},
      {"language change answering a refresh: the settings thread",
       [] {
         SignIn();
         iotfw_sim::SetAnswerMode(kRoutineList, AnswerMode::kNever);
         iotfw_sim::InjectEvent(kRefresh, "");
         SettlePlatform();
         iotfw_sim::SetAnswerMode(kRoutineList, AnswerMode::kSync);
       },
       [] { vconf_sim::SetStr("db/menu_widget/language", "fr_FR.utf8"); }, Unknown, kShort},
      {"tile request answering a sign-in: the caller's thread",
       [] {
         SignInWithoutTiles();
         iotfw_sim::InjectResult(kLogin, kSuccess);  // the sign-in waits for a list
         SettlePlatform();
         iotfw_sim::SetAnswerMode(kRoutineList, AnswerMode::kSync);
       },
       [] { iot_svc_get_accelerator_tiles(); }, Here, kShort},
  };
}

}  // namespace

class ReentryTest : public FaultTest {
 protected:
  void RunAll(bool isEvent, const std::vector<Road>& roads) {
    StartSignedIn(kTwo);
    for (const Road& road : roads) {
      for (Act act : {Act::kUnregisterSelf, Act::kReplaceSelf, Act::kCallEverything}) {
        SCOPED_TRACE(std::string(road.name) + ", callback " + ActName(act));
        Run(isEvent, road, act);
        if (HasFatalFailure()) return;
      }
    }
  }

 private:
  void Run(bool isEvent, const Road& road, Act act) {
    Reentrant callback;
    callback.isEvent = isEvent;
    callback.act = act;
    road.prepare();
    ASSERT_TRUE(callback.Register());

    road.provoke();
    ASSERT_TRUE(callback.got.WaitFor(1, road.wait)) << "not delivered";
    Settle();
    ASSERT_TRUE(WaitForThreadCount(baseThreads_, kThreadsEndWithin));  // downloads it started are done
    const std::thread::id expected = road.thread();
    if (expected != std::thread::id()) {
      EXPECT_EQ(callback.got.Deliveries()[0].thread, expected);
    }
    // Asking again from inside reached itself once more at most.
    EXPECT_LE(callback.got.Count(), act == Act::kCallEverything ? 2U : 1U);

    // A second delivery of the same kind goes where the first one left things.
    road.prepare();
    const size_t before = callback.got.Count();
    const size_t replacedBefore = callback.replacement.Count();
    road.provoke();
    Settle();
    if (act == Act::kReplaceSelf) {
      EXPECT_TRUE(callback.replacement.WaitFor(replacedBefore + 1, road.wait));
    }
    ASSERT_TRUE(WaitForThreadCount(baseThreads_, kThreadsEndWithin));
    if (act != Act::kCallEverything) {
      EXPECT_EQ(callback.got.Count(), before);
    }

    // Back to the fixture's recorders: the service answers as ever.
    ASSERT_TRUE(iot_svc_register_result_cb(IOT_SVC_CMD_GET_ACCELERATOR_TILES, Recorder::Callback, &results_));
    ASSERT_TRUE(iot_svc_register_event_cb(IOT_SVC_EVENT_TILES_CHANGED, Recorder::Callback, &events_));
    SignIn();
    ExpectRoutineTiles(kTwoIds);
    // The downloads' threads are gone, but only the recorders' locks order
    // their last deliveries before the recorders are destroyed.
    callback.got.Count();
    callback.replacement.Count();
    callback.other.Count();
  }
};

TEST_F(ReentryTest, ResultCallbacksReenteringOnEveryThread) { RunAll(false, ResultRoads()); }

TEST_F(ReentryTest, EventCallbacksReenteringOnEveryThread) { RunAll(true, EventRoads()); }

namespace {

// A result callback whose first `holds` calls block until released.
struct Blocking {
  std::mutex mutex;
  std::condition_variable changed;
  int holds = 0;
  int calls = 0;
  bool released = false;

  static void Callback(std::string, void* userData) {
    Blocking* self = static_cast<Blocking*>(userData);
    std::unique_lock<std::mutex> lock(self->mutex);
    const bool hold = self->calls++ < self->holds;
    self->changed.notify_all();
    if (hold) self->changed.wait(lock, [self] { return self->released; });
  }

  bool WaitForCalls(int count) {
    std::unique_lock<std::mutex> lock(mutex);
    return changed.wait_for(lock, std::chrono::seconds(30), [&] { return calls >= count; });
  }

  void Release() {
    std::lock_guard<std::mutex> lock(mutex);
    released = true;
    changed.notify_all();
  }
};

}  // namespace

// Callbacks that never return (until released) on more contents threads than
// downloads may run at once: later requests are still downloaded and answered.
TEST_F(FaultTest, BlockedCallbacksHoldUpOnlyTheirOwnThreads) {
  StartService();
  Blocking blocking;
  blocking.holds = 6;
  ASSERT_TRUE(iot_svc_register_result_cb(IOT_SVC_CMD_GET_ACCELERATOR_TILES, Blocking::Callback, &blocking));
  // The first request not answered while the others block, or 0.
  const int heldUp = [&] {
    for (int i = 1; i <= blocking.holds + 1; ++i) {
      iot_svc_get_accelerator_tiles();
      if (!blocking.WaitForCalls(i)) return i;
    }
    return 0;
  }();
  blocking.Release();
  EXPECT_EQ(heldUp, 0) << "blocked callbacks held up request " << heldUp;
  ExpectNoThreadLeft();
  blocking.WaitForCalls(0);  // its lock orders the released threads' last touch before destruction
  ASSERT_TRUE(iot_svc_register_result_cb(IOT_SVC_CMD_GET_ACCELERATOR_TILES, Recorder::Callback, &results_));
  ExpectContentsTiles();
}
