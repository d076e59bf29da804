// The IoT framework misbehaving: answers that never come, come twice, come
// in another order than asked, come inside the request, or come from several
// threads at once.
#include <IoTFrameworkSim.h>
#include <device/power_sim.h>
#include <gmock/gmock.h>
#include <vconf_sim.h>

#include <atomic>
#include <functional>
#include <thread>

#include "FaultTest.h"

using iotfw_sim::AnswerMode;

namespace {

std::string List(const std::vector<iotfw_sim::Routine>& routines) {
  return iotfw_sim::MakeRoutineListAnswer(routines);
}

}  // namespace

TEST_F(FaultTest, SignInAnswerThatNeverComesLeavesTheUserSignedOutUntilAsked) {
  iotfw_sim::SetSignedIn(true);
  iotfw_sim::SetRoutines("loc-home", kTwo);
  iotfw_sim::SetAnswerMode(kLogin, AnswerMode::kNever);
  StartService();
  EXPECT_EQ(iotfw_sim::CountRequests(kRoutineList), 0);
  ExpectContentsTiles();

  // The framework is back; the next wake-up asks again.
  iotfw_sim::SetAnswerMode(kLogin, AnswerMode::kAsync);
  power_sim::TriggerWakeup();
  Settle();
  EXPECT_GE(events_.Count(), 1U);  // two when the answer beats the wake-up's second look
  ExpectRoutineTiles(kTwoIds);
}

TEST_F(FaultTest, RoutineListThatNeverComesCostsOneRequestPerTileRequest) {
  iotfw_sim::SetSignedIn(true);
  iotfw_sim::SetRoutines("loc-home", kTwo);
  iotfw_sim::SetAnswerMode(kRoutineList, AnswerMode::kNever);
  StartService();
  for (int i = 0; i < 3; ++i) iot_svc_get_accelerator_tiles();
  Settle();
  EXPECT_EQ(results_.Count(), 0U);
  EXPECT_EQ(events_.Count(), 0U);
  EXPECT_EQ(iotfw_sim::CountRequests(kRoutineList), 1 + 3);  // no retry loop

  iotfw_sim::SetAnswerMode(kRoutineList, AnswerMode::kAsync);
  iotfw_sim::InjectEvent(kRefresh, "");
  Settle();
  EXPECT_EQ(events_.Count(), 1U);
  ExpectRoutineTiles(kTwoIds);
}

namespace {

struct TwiceCase {
  const char* name;
  std::function<void()> fault;  // runs with the service started, every request unanswered
  size_t events;
  size_t results;
};

}  // namespace

TEST_F(FaultTest, AnswersDeliveredTwiceActOnce) {
  const std::vector<TwiceCase> cases = {
      {"sign-in answer",
       [] {
         iotfw_sim::InjectResult(kLogin, kSuccess);
         iotfw_sim::InjectResult(kLogin, kSuccess);
         iotfw_sim::InjectResult(kRoutineList, List(kTwo));
         iotfw_sim::InjectResult(kRoutineList, List(kTwo));
       },
       1, 0},
      {"sign-in event",
       [] {
         iotfw_sim::InjectEvent(kSignedIn, "");
         iotfw_sim::InjectEvent(kSignedIn, "");
         iotfw_sim::InjectResult(kRoutineList, List(kTwo));
         iotfw_sim::InjectResult(kRoutineList, List(kTwo));
       },
       1, 0},
      {"list answering a waiting tile request",
       [] {
         iotfw_sim::InjectResult(kLogin, kSuccess);
         iotfw_sim::InjectResult(kRoutineList, List({}));  // serves the sign-in
         Settle();
         iot_svc_get_accelerator_tiles();  // waits: no tiles
         Settle();
         iotfw_sim::InjectResult(kRoutineList, List(kTwo));
         iotfw_sim::InjectResult(kRoutineList, List(kTwo));
       },
       1, 1},
      {"execute answer",
       [] {
         iotfw_sim::InjectResult(kLogin, kSuccess);
         iotfw_sim::InjectResult(kRoutineList, List(kTwo));
         Settle();
         iot_svc_execute_tile(IOT_SVC_TILE_ROUTINE, "a1");
         iotfw_sim::InjectResult(kExecute, R"({"result":"Success","data":"{}"})");
         iotfw_sim::InjectResult(kExecute, R"({"result":"Success","data":"{}"})");
       },
       1, 0},
  };
  iotfw_sim::SetSignedIn(true);
  iotfw_sim::SetRoutines("loc-home", kTwo);
  for (int command : {kLogin, kRoutineList, kExecute}) iotfw_sim::SetAnswerMode(command, AnswerMode::kNever);
  StartService();
  for (const TwiceCase& c : cases) {
    SCOPED_TRACE(c.name);
    // Each case starts signed out with no tiles, its sign-in still to come.
    iotfw_sim::InjectEvent(kSignedOut, "");
    Settle();
    events_.Clear();
    results_.Clear();

    c.fault();
    Settle();
    EXPECT_EQ(events_.Count(), c.events);
    EXPECT_EQ(results_.Count(), c.results);
    for (const Delivery& d : results_.Deliveries()) EXPECT_EQ(RoutineIds(d.text), kTwoIds);
    ExpectRoutineTiles(kTwoIds);
  }
}

namespace {

struct LateCase {
  const char* name;
  int kind;  // a result command or an event type
  std::string text;
};

}  // namespace

// What the framework delivers after a sign-out for the session before it
// must neither sign the user in again nor hand that session's routines to
// the caller.
TEST_F(FaultTest, LateAnswersAfterSignOutDoNotSignTheUserInAgain) {
  const std::vector<LateCase> cases = {
      {"routine list", kRoutineList, List(kTwo)},
      {"routine updated", kCloud, iotfw_sim::MakeCloudEvent("InstalledVelkapUpdated", "a1", "Good night")},
      {"routine deleted", kCloud, iotfw_sim::MakeCloudEvent("InstalledVelkapDeleted", "zz", "")},
  };
  iotfw_sim::SetSignedIn(true);
  iotfw_sim::SetRoutines("loc-home", kTwo);
  iotfw_sim::SetAnswerMode(kRoutineList, AnswerMode::kNever);
  StartService();
  for (const LateCase& c : cases) {
    SCOPED_TRACE(c.name);
    iotfw_sim::SetAnswerMode(kRoutineList, AnswerMode::kNever);
    iotfw_sim::InjectResult(kLogin, kSuccess);  // signed in; the sign-in waits for its list
    Settle();
    iot_svc_get_accelerator_tiles();  // signed in, no tiles: waits for the list too
    iotfw_sim::InjectEvent(kSignedOut, "");
    Settle();
    results_.Clear();

    if (c.kind == kRoutineList) {
      iotfw_sim::InjectResult(c.kind, c.text);
    } else {
      iotfw_sim::InjectEvent(c.kind, c.text);
    }
    Settle();
    EXPECT_EQ(results_.Count(), 0U) << "the signed-out caller got routine tiles";
    ExpectContentsTiles();

    // Signing in again works as ever.
    iotfw_sim::SetAnswerMode(kRoutineList, AnswerMode::kAsync);
    iotfw_sim::InjectEvent(kSignedIn, "");
    Settle();
    ExpectRoutineTiles(kTwoIds);
    iotfw_sim::InjectEvent(kSignedOut, "");
    Settle();
  }
}

// Every road on which the framework is asked something, with answers given
// inside the request call: on the caller's thread, inside the service's own
// start, and on the platform's notification threads.
TEST_F(FaultTest, SynchronousAnswersOnEveryRoad) {
  const std::vector<std::vector<int>> syncCommands = {
      {kLogin}, {kRoutineList}, {kLogin, kRoutineList}, {kLogin, kRoutineList, kExecute}};
  iotfw_sim::SetSignedIn(true);
  iotfw_sim::SetRoutines("loc-home", kTwo);
  for (const std::vector<int>& commands : syncCommands) {
    SCOPED_TRACE(::testing::PrintToString(commands));
    for (int command : {kLogin, kRoutineList, kExecute}) iotfw_sim::SetAnswerMode(command, AnswerMode::kAsync);
    for (int command : commands) iotfw_sim::SetAnswerMode(command, AnswerMode::kSync);
    if (baseThreads_ == 0) StartService();  // the first case's answers come inside the start
    ExpectRoutineTiles(kTwoIds);

    power_sim::TriggerWakeup();
    Settle();
    ExpectRoutineTiles(kTwoIds);

    iotfw_sim::SetRoutines("loc-home", {{"c3", "Goodbye"}});
    vconf_sim::SetStr("db/menu_widget/language", "ko_KR.utf8");
    Settle();
    ExpectRoutineTiles({"c3"});

    iot_svc_execute_tile(IOT_SVC_TILE_ROUTINE, "c3");
    iotfw_sim::SetRoutines("loc-home", kTwo);
    iotfw_sim::InjectEvent(kRefresh, "");
    Settle();
    ExpectRoutineTiles(kTwoIds);

    // Signed out and in again through the sign-in answer of a wake-up.
    iotfw_sim::InjectEvent(kSignedOut, "");
    Settle();
    power_sim::TriggerWakeup();
    Settle();
    ExpectRoutineTiles(kTwoIds);
  }
}

// Results and events delivered from several framework threads at once while
// the caller asks for tiles: every list the caller gets is whole, and the
// service ends in the state the last answers describe.
TEST_F(FaultTest, DeliveriesFromSeveralThreadsAtOnce) {
  const std::vector<iotfw_sim::Routine> three = {{"a1", "Good Morning"}, {"b2", "Movie"}, {"c3", "Goodbye"}};
  StartSignedIn(three);
  std::atomic<bool> stop{false};
  std::thread caller([&] {
    while (!stop.load()) iot_svc_get_accelerator_tiles();
  });
  std::vector<std::thread> framework;
  for (int t = 0; t < 4; ++t) {
    framework.emplace_back([t, &three] {
      for (int i = 0; i < 100; ++i) {
        const std::string id = "n" + std::to_string(t) + "-" + std::to_string(i);
        auto cloud = [](const char* name, const std::string& routine, const char* label) {
          iotfw_sim::DeliverEventNow(kCloud, iotfw_sim::MakeCloudEvent(name, routine, label));
        };
        switch ((i + t) % 6) {
          case 0: iotfw_sim::DeliverResultNow(kRoutineList, List(three)); break;
          case 1: cloud("InstalledVelkapCreated", id, "New"); break;
          case 2: cloud("InstalledVelkapUpdated", "a1", "Night"); break;
          case 3: cloud("InstalledVelkapDeleted", id, ""); break;
          case 4: iotfw_sim::DeliverResultNow(kLogin, kSuccess); break;
          case 5: iotfw_sim::DeliverEventNow(i % 12 == 5 ? kSignedOut : kRefresh, ""); break;
        }
      }
    });
  }
  for (std::thread& t : framework) t.join();
  stop = true;
  caller.join();
  Settle();
  ExpectNoThreadLeft();  // contents lists asked for while signed out have arrived

  for (const Delivery& d : results_.Deliveries()) {
    if (!ContentsIds(d.text).empty()) continue;  // asked while signed out
    EXPECT_FALSE(RoutineIds(d.text).empty()) << "an empty or broken routine list: " << d.text;
  }
  for (const Delivery& d : events_.Deliveries()) EXPECT_EQ(d.text, "");

  iotfw_sim::InjectEvent(kSignedIn, "");
  Settle();
  ExpectRoutineTiles({"a1", "b2", "c3"});
}

namespace {

// Sorts the lists a caller gets, keeping none of them.
struct ListTally {
  std::atomic<int> routines{0};
  std::atomic<int> brokenRoutines{0};  // empty, or no list at all
  std::atomic<int> contents{0};

  static void Callback(std::string text, void* userData) {
    ListTally* self = static_cast<ListTally*>(userData);
    if (!ContentsIds(text).empty()) {
      ++self->contents;
    } else if (RoutineIds(text).empty()) {
      ++self->brokenRoutines;
    } else {
      ++self->routines;
    }
  }
};

}  // namespace

// A sign-out landing while a tile request writes its list: the caller gets
// the whole list or, signed out, the contents list, never an empty
// routine list.
TEST_F(FaultTest, SignOutRacingATileRequestNeverYieldsAnEmptyList) {
  StartSignedIn(kTwo);
  ListTally tally;
  ASSERT_TRUE(iot_svc_register_result_cb(IOT_SVC_CMD_GET_ACCELERATOR_TILES, ListTally::Callback, &tally));
  const std::string created = iotfw_sim::MakeCloudEvent("InstalledVelkapCreated", "a1", "Good Morning");
  const std::string unrelated = iotfw_sim::MakeCloudEvent("DeviceHealthChanged", "d1", "Camera");
  std::atomic<bool> done{false};
  std::thread caller([&] {
    // Until enough requests met the signed-in state, however the machine
    // schedules the two threads.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    for (int asked = 0; asked < 20000 || tally.routines.load() < 200; ++asked) {
      if (std::chrono::steady_clock::now() > deadline) break;
      iot_svc_get_accelerator_tiles();
    }
    done = true;
  });
  while (!done.load()) {
    iotfw_sim::DeliverEventNow(kSignedOut, "");
    iotfw_sim::DeliverEventNow(kCloud, created);    // a tile again, quicker than a whole list
    iotfw_sim::DeliverResultNow(kLogin, kSuccess);  // tiles held: signed in at once
    // As long signed in as out, which is when the two meet most often.
    iotfw_sim::DeliverEventNow(kCloud, unrelated);
    iotfw_sim::DeliverEventNow(kCloud, unrelated);
  }
  caller.join();
  Settle();
  ExpectNoThreadLeft();  // contents lists asked for while signed out have arrived
  EXPECT_EQ(tally.brokenRoutines.load(), 0) << tally.routines.load() << " whole lists";
  EXPECT_GE(tally.routines.load(), 200);

  ASSERT_TRUE(iot_svc_register_result_cb(IOT_SVC_CMD_GET_ACCELERATOR_TILES, Recorder::Callback, &results_));
  iotfw_sim::InjectEvent(kRefresh, "");
  ExpectRoutineTiles(kTwoIds);
}
