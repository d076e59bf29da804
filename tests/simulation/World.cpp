#include "World.h"

#include <IoTFramework.h>
#include <device/power_sim.h>
#include <dlog_sim.h>
#include <vconf_sim.h>

#include <algorithm>
#include <chrono>
#include <limits>
#include <thread>

#include "ContentsTiles.h"
#include "ThreadCount.h"
#include "Trace.h"
#include "varnio.h"

namespace sim {

namespace {

constexpr char kLanguageKey[] = "db/menu_widget/language";
const char* const kLocations[] = {"loc-home", "loc-office"};
const char* const kLabels[] = {"Good Morning", "Movie Night", "I'm back", "Good Night", "Away",
                               "Feedback",     "Cleaning",    "Party",    "Dinner",     "Wake up"};

// How long the run waits for what must come: deliveries owed, threads to
// end; and for the answer to a last request, which comes in milliseconds.
constexpr std::chrono::seconds kPatience{20};
constexpr std::chrono::seconds kAnswerPatience{5};
// The longest the service waits for a framework answer before it asks
// again: four times its first wait, once answers failed to come.
constexpr std::chrono::milliseconds kServiceAnswerWait{4 * VARNIO_FRAMEWORK_ANSWER_WAIT_MS};

std::string Join(const std::vector<std::string>& items) {
  std::string out;
  for (const std::string& item : items) out += (out.empty() ? "" : ",") + item;
  return out;
}

// An event told at once on this thread, or queued behind the framework's
// other deliveries.
void Tell(int event, bool now, const std::string& text = "") {
  if (now) {
    iotfw_sim::DeliverEventNow(event, text);
  } else {
    iotfw_sim::InjectEvent(event, text);
  }
}

// The session a routine id belongs to ("s3r7" is of session 3); -1 for none.
int SessionOf(const std::string& id) {
  if (id.size() < 2 || id[0] != 's') return -1;
  return std::atoi(id.c_str() + 1);
}

}  // namespace

World::World(const Plan& plan)
    : m_plan(plan),
      m_random(static_cast<std::mt19937::result_type>(plan.seed)),
      m_host({VARNIO_CONTENTS_HOST_PORT, DefaultContentsRoot(), DefaultTlsDir()}),
      m_workers(3),
      m_caller(plan.profile.reentrant, plan.seed) {}

int World::Pick(int n) {
  std::lock_guard<std::mutex> lock(m_mutex);
  return static_cast<int>(m_random() % static_cast<unsigned>(n));
}

std::vector<std::string> World::Run() {
  if (!m_host.Start()) return {"the contents host did not start"};
  m_model.language = kLanguages[0];
  vconf_sim::SetStr(kLanguageKey, m_model.language);
  vconf_sim::WaitIdle();
  dlog_sim::SetJitter(static_cast<unsigned>(m_plan.seed), m_plan.profile.jitterPercent, 300);
  if (m_plan.profile.startSignedIn) BeginSession();
  // Every thread but the library's contents threads exists once the
  // service has started: the stand-ins' start with their first use, the
  // library's answer timer with the service's first request.
  m_caller.Register();
  Drain();
  m_baseThreads = ThreadCount();
  m_caller.Ask();
  Quiet();
  Trace("steps begin");

  size_t first = 0;
  for (const Step& step : m_plan.steps) {
    std::vector<std::function<void()>> tasks;
    for (const Op& op : step.ops) {
      // Sign-outs and sign-ins happen in the cloud before the racers start,
      // so that only the telling races them.
      if (op.kind == OpKind::kSignOut) {
        const int session = EndSession();
        if (session < 0) continue;
        tasks.push_back([this, op, session] {
          Trace("> " + Describe(op));
          // A wait that spins: a sleep would not keep microseconds.
          const Clock::time_point until = Clock::now() + std::chrono::microseconds(op.b);
          while (Clock::now() < until) {
          }
          TellSignOut(session, op.a);
          Trace("< " + Describe(op));
        });
        continue;
      }
      if (op.kind == OpKind::kSignIn && !BeginSession()) continue;
      tasks.push_back([this, op] { Execute(op); });
    }
    m_workers.RunTogether(tasks, first++);
  }

  Trace("healing");
  Heal();
  if (!Quiet()) m_violations.push_back("the service did not go quiet");
  dlog_sim::SetJitter(0, 0, 0);
  Check();
  for (const std::string& v : m_caller.Snapshot().violations) m_violations.push_back(v);
  // The host's TLS must not be running when the process exits.
  m_host.Stop();
  if (!m_violations.empty()) {
    std::string requests = "framework requests:";
    for (const iotfw_sim::Request& r : iotfw_sim::Requests()) requests += " " + std::to_string(r.command) + "(" + r.argument + ")";
    Trace(requests);
  }
  return m_violations;
}

void World::Execute(const Op& op) {
  Trace("> " + Describe(op));
  ExecuteOp(op);
  Trace("< " + Describe(op));
}

void World::ExecuteOp(const Op& op) {
  switch (op.kind) {
    case OpKind::kAsk:
      m_caller.Ask();
      return;
    case OpKind::kReRegister:
      m_caller.ReRegister(op.a);
      return;
    case OpKind::kExecute:
      iot_svc_execute_tile(static_cast<iot_svc_tile_type_e>(op.a), op.a == 0 ? "routines" : "s1r1");
      return;
    case OpKind::kAnswerMode: {
      const iotfw_sim::AnswerMode modes[] = {iotfw_sim::AnswerMode::kAsync, iotfw_sim::AnswerMode::kSync,
                                             iotfw_sim::AnswerMode::kHeld, iotfw_sim::AnswerMode::kNever};
      iotfw_sim::SetAnswerMode(op.a, modes[op.b]);
      return;
    }
    case OpKind::kRelease:
      Release(op);
      return;
    case OpKind::kDrop: {
      const int index = HeldIndex(op.a, op.d);
      if (index >= 0) iotfw_sim::DropHeldAnswer(static_cast<size_t>(index));
      return;
    }
    case OpKind::kSignOut:
      return;  // played by the step itself
    case OpKind::kSignIn:
      TellSignIn(op.a);
      return;
    case OpKind::kRefresh:
      Tell(EIFW_EVENT_REFRESH, op.a == 0);
      return;
    case OpKind::kCloudChange:
      ChangeInCloud(op.a, op.b, op.c == 1);
      return;
    case OpKind::kWakeUp:
      op.a == 1 ? power_sim::DeliverWakeupNow() : power_sim::TriggerWakeup();
      return;
    case OpKind::kLanguage: {
      const std::string& language = kLanguages[static_cast<size_t>(op.a)];
      {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_model.language = language;
        m_model.languageChangedAt = Clock::now();
        m_model.languageSession = m_model.signedIn ? m_model.session : -1;
      }
      vconf_sim::SetStr(kLanguageKey, language);
      return;
    }
    case OpKind::kMoveLocation: {
      {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_model.signedIn) return;
        m_model.location = 1 - m_model.location;
        iotfw_sim::SetCurrentLocation(kLocations[m_model.location]);
      }
      // The framework tells the service that its routines must be read again.
      Tell(EIFW_EVENT_REFRESH, op.a == 1);
      return;
    }
    case OpKind::kHostRelease: {
      std::lock_guard<std::mutex> host(m_hostMutex);
      m_host.ReleaseStalled();
      return;
    }
    case OpKind::kHostMode:
      {
        std::lock_guard<std::mutex> host(m_hostMutex);
        // The host is no part of what is tested: it may restart its threads.
        if (m_noThreads) AllowNewThreads(true);
        m_host.SetMode(static_cast<ContentsHost::Mode>(op.a));
        if (m_noThreads) AllowNewThreads(false);
      }
      if (op.a != 0) DownloadsMayFail();
      return;
    case OpKind::kNoThreads:
      {
        std::lock_guard<std::mutex> host(m_hostMutex);
        m_noThreads = op.a == 1;
        AllowNewThreads(!m_noThreads);
      }
      if (op.a == 1) DownloadsMayFail();
      return;
    case OpKind::kPause:
      std::this_thread::sleep_for(std::chrono::microseconds(op.a));
      return;
    case OpKind::kJitter:
      dlog_sim::SetJitter(static_cast<unsigned>(m_plan.seed), op.a < 0 ? m_plan.profile.jitterPercent : op.a, 300);
      return;
  }
}

void World::DownloadsMayFail() {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_model.contentsFailed = true;
}

int World::HeldIndex(int which, int command) {
  std::vector<size_t> candidates;
  const size_t held = iotfw_sim::HeldAnswerCount();
  for (size_t i = 0; i < held; ++i) {
    if (command == 0 || iotfw_sim::HeldAnswerCommand(i) == command) candidates.push_back(i);
  }
  if (candidates.empty()) return -1;
  const int count = static_cast<int>(candidates.size());
  const int index = which < 0 ? std::max(0, count + which) : which % count;
  return static_cast<int>(candidates[static_cast<size_t>(index)]);
}

void World::Release(const Op& op) {
  const int index = HeldIndex(op.a, op.d);
  if (index < 0) return;
  const size_t at = static_cast<size_t>(index);
  // A sign-in answer tells the account as it was when asked.
  const bool asAsked = op.c == 1 || iotfw_sim::HeldAnswerCommand(at) == EIFW_REQUEST_LOGIN_INFO;
  iotfw_sim::ReleaseHeldAnswer(at, op.b == 1, false, asAsked ? iotfw_sim::HeldText::kAsAsked : iotfw_sim::HeldText::kNow);
}

void World::Drain() {
  for (int i = 0; i < 2; ++i) {
    power_sim::WaitIdle();
    vconf_sim::WaitIdle();
    iotfw_sim::WaitIdle();
    m_caller.WaitUiIdle();
  }
}

int World::EndSession() {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (!m_model.signedIn) return -1;
  m_model.signedIn = false;
  iotfw_sim::SetSignedIn(false);
  for (const char* location : kLocations) iotfw_sim::SetRoutines(location, {});
  m_model.routines.clear();
  Trace("session " + std::to_string(m_model.session) + " ends in the cloud");
  return m_model.session;
}

void World::TellSignOut(int session, int how) {
  if (how < 2) {
    Tell(EIFW_EVENT_SIGNED_OUT, how == 0);
    if (how == 1) iotfw_sim::WaitIdle();  // told once it was delivered
  } else {
    // Found by the sign-in check of a wake-up, whose answer must come; the
    // service may ask more than once before it is sure.
    iotfw_sim::SetAnswerMode(EIFW_REQUEST_LOGIN_INFO, iotfw_sim::AnswerMode::kAsync);
    power_sim::DeliverWakeupNow();
    size_t requests = 0;
    do {
      requests = iotfw_sim::Requests().size();
      Drain();
    } while (iotfw_sim::Requests().size() != requests);
  }
  std::lock_guard<std::mutex> lock(m_mutex);
  m_model.signedOutAt[session] = Clock::now();
  Trace("session " + std::to_string(session) + " ended; the service has been told");
}

iotfw_sim::Routine World::NewRoutine() {
  return {"s" + std::to_string(m_model.session) + "r" + std::to_string(++m_model.nextRoutine), kLabels[m_random() % 10]};
}

bool World::BeginSession() {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (m_model.signedIn) return false;
  m_model.signedIn = true;
  ++m_model.session;
  for (const char* location : kLocations) {
    std::vector<iotfw_sim::Routine> routines;
    const int count = 1 + static_cast<int>(m_random() % 4);
    for (int i = 0; i < count; ++i) routines.push_back(NewRoutine());
    iotfw_sim::SetRoutines(location, routines);
    m_model.routines[location] = routines;
  }
  iotfw_sim::SetSignedIn(true);
  Trace("session " + std::to_string(m_model.session) + " begins in the cloud");
  return true;
}

void World::TellSignIn(int how) {
  if (how < 2) return Tell(EIFW_EVENT_SIGNED_IN, how == 0);
  iotfw_sim::SetAnswerMode(EIFW_REQUEST_LOGIN_INFO, iotfw_sim::AnswerMode::kAsync);
  power_sim::TriggerWakeup();
}

void World::ChangeInCloud(int change, int which, bool eventNow) {
  std::string event;
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_model.signedIn) return;
    const std::string location = kLocations[m_model.location];
    std::vector<iotfw_sim::Routine>& routines = m_model.routines[location];
    if (change == 0 || routines.empty()) {
      const iotfw_sim::Routine routine = NewRoutine();
      routines.push_back(routine);
      if (!eventNow) return iotfw_sim::CreateRoutine(location, routine);
      event = iotfw_sim::MakeCloudEvent("InstalledVelkapCreated", routine.id, routine.label);
    } else if (change == 1) {
      iotfw_sim::Routine& routine = routines[static_cast<size_t>(which) % routines.size()];
      routine.label = kLabels[m_random() % 10];
      if (!eventNow) return iotfw_sim::RenameRoutine(location, routine);
      event = iotfw_sim::MakeCloudEvent("InstalledVelkapUpdated", routine.id, routine.label);
    } else {
      const auto at = routines.begin() + static_cast<std::ptrdiff_t>(static_cast<size_t>(which) % routines.size());
      const std::string id = at->id;
      routines.erase(at);
      if (!eventNow) return iotfw_sim::DeleteRoutine(location, id);
      event = iotfw_sim::MakeCloudEvent("InstalledVelkapDeleted", id, "");
    }
    iotfw_sim::SetRoutines(location, routines);
  }
  // Told on this thread, beside whatever the callback thread delivers.
  iotfw_sim::DeliverEventNow(EIFW_EVENT_CLOUD, event);
}

void World::Heal() {
  {
    std::lock_guard<std::mutex> host(m_hostMutex);
    m_noThreads = false;
    AllowNewThreads(true);
  }
  m_host.SetMode(ContentsHost::Mode::kServe);
  m_host.ReleaseStalled();
  for (int command : {EIFW_REQUEST_LOGIN_INFO, EIFW_REQUEST_ROUTINE_LIST, EIFW_REQUEST_EXECUTE_ROUTINE}) {
    iotfw_sim::SetAnswerMode(command, iotfw_sim::AnswerMode::kAsync);
  }
  m_caller.WaitUiIdle();
  // Every held answer, queued, in a random order.
  for (size_t held = iotfw_sim::HeldAnswerCount(); held > 0; --held) {
    Release({OpKind::kRelease, Pick(static_cast<int>(held)), 0, Pick(2), 0});
  }
}

bool World::Quiet() {
  const Clock::time_point deadline = Clock::now() + kPatience;
  size_t lastActivity = std::numeric_limits<size_t>::max();
  int calm = 0;
  while (Clock::now() < deadline) {
    Drain();
    const Record record = m_caller.Snapshot();
    // Without a gap in the registration every signed-out request is owed a
    // row. A contents thread of the library's may still be delivering, or
    // asking again inside a callback: it ends once it has nothing to do.
    const bool owed = record.Rows(Row::kContents) < record.contentsCalls && !record.resultGap;
    const bool busy = owed || m_host.Answering() || ThreadCount() > m_baseThreads;
    const size_t activity = record.results.size() + record.notices + iotfw_sim::Requests().size() +
                            static_cast<size_t>(record.contentsCalls);
    calm = !busy && activity == lastActivity ? calm + 1 : 0;
    if (calm >= 2) return true;
    lastActivity = activity;
    if (Clock::now() + std::chrono::milliseconds(busy ? 5 : 20) >= deadline) {
      Trace(std::string("not quiet: ") + (owed ? "a signed-out request is owed its row; " : "") +
            (m_host.Answering() ? "the host is answering; " : "") + std::to_string(ThreadCount()) + " threads, " +
            std::to_string(m_baseThreads) + " at the start");
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(busy ? 5 : 20));
  }
  return false;
}

void World::Check() {
  CheckConvergence();
  CheckAnswers();
  CheckIsolation();
  if (!WaitForThreadCount(m_baseThreads, kPatience)) {
    m_violations.push_back("threads left behind: " + std::to_string(ThreadCount()) + ", " +
                           std::to_string(m_baseThreads) + " before the service started");
  }
}

void World::CheckAnswers() {
  const Record record = m_caller.Snapshot();
  const int contents = record.Rows(Row::kContents);
  const int routines = record.Rows(Row::kRoutines);
  const std::string counts = std::to_string(record.contentsCalls) + " signed-out requests got " +
                             std::to_string(contents) + " contents lists; " + std::to_string(record.routineCalls) +
                             " signed-in requests got " + std::to_string(routines) + " routine lists";
  if (contents > record.contentsCalls || routines > record.routineCalls) {
    m_violations.push_back("more answers than requests: " + counts);
  }
  if (contents < record.contentsCalls && !record.resultGap) {
    m_violations.push_back("signed-out requests left unanswered: " + counts);
  }
}

void World::CheckIsolation() {
  std::map<int, Clock::time_point> signedOutAt;
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    signedOutAt = m_model.signedOutAt;
  }
  for (const Delivery& d : m_caller.Snapshot().results) {
    if (d.row.kind != Row::kRoutines || d.origin == Clock::time_point()) continue;
    for (const std::string& id : d.row.list.Ids()) {
      auto ended = signedOutAt.find(SessionOf(id));
      if (ended == signedOutAt.end() || d.origin <= ended->second) continue;
      const auto late = std::chrono::duration_cast<std::chrono::microseconds>(d.origin - ended->second);
      m_violations.push_back("routine " + id + " of an ended session reached the caller (delivery #" +
                             std::to_string(d.order) + ", begun " + std::to_string(late.count()) +
                             " us after the service was told): " + Join(d.row.list.Ids()));
      break;
    }
  }
}

Row World::Expected(bool& anyContentsTexts) {
  std::lock_guard<std::mutex> lock(m_mutex);
  anyContentsTexts = m_model.contentsFailed;
  if (!m_model.signedIn) {
    return ReadRow(ExpectedTiles(m_model.language == "ko_KR.utf8" ? "kr" : "general"));
  }
  Row expected{Row::kRoutines, {true, "", {demo::TileSection()}}, ""};
  for (const iotfw_sim::Routine& r : m_model.routines[kLocations[m_model.location]]) {
    expected.list.sections[0].tiles.push_back({"", r.id, r.label, "", "", "", ""});
  }
  return expected;
}

// Tile for tile the same ids and texts. A routine row's title and images are
// the library's own choice: there must be images. A contents row is the
// expected one to the byte, but after a failed download it may lack any
// title, text or image, though what it has must be the current language's.
bool World::Matches(const Row& row, const Row& expected, bool anyContentsTexts) {
  if (row.kind != expected.kind || row.list.Ids() != expected.list.Ids()) return false;
  const bool contents = row.kind == Row::kContents;
  if (contents && row.json == expected.json) return true;
  if (contents && !anyContentsTexts) return false;
  const auto same = [contents](const std::string& got, const std::string& want) {
    return got == want || (contents && got.empty());
  };
  for (size_t s = 0; s < row.list.sections.size(); ++s) {
    const demo::TileSection& got = row.list.sections[s];
    const demo::TileSection& want = expected.list.sections[s];
    if ((contents && !same(got.title, want.title)) || got.tiles.size() != want.tiles.size()) return false;
    for (size_t t = 0; t < got.tiles.size(); ++t) {
      const demo::Tile& tile = got.tiles[t];
      if (!same(tile.text, want.tiles[t].text)) return false;
      if (contents ? !same(tile.image, want.tiles[t].image) : tile.image.empty() || tile.finishImage.empty()) return false;
    }
  }
  return true;
}

bool World::HoldsExpected(Row& held, Row& expected) {
  // An answer the framework never gave is asked for again once the service
  // has waited for it, and that answer may complete a sign-in whose notice
  // the caller then answers.
  const Clock::time_point deadline = Clock::now() + kServiceAnswerWait + kAnswerPatience;
  for (;;) {
    Quiet();
    bool anyContentsTexts = false;
    expected = Expected(anyContentsTexts);
    const std::vector<Delivery> results = m_caller.Snapshot().results;
    auto last = std::max_element(results.begin(), results.end(),
                                 [](const Delivery& a, const Delivery& b) { return a.order < b.order; });
    held = last == results.end() ? Row() : last->row;
    if (last != results.end() && Matches(held, expected, anyContentsTexts)) return true;
    if (Clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

void World::CheckConvergence() {
  auto describe = [](const Row& row) {
    return std::string(row.kind == Row::kContents ? "contents " : row.kind == Row::kRoutines ? "routines " : "nothing ") +
           Join(row.list.Ids());
  };
  Row held;
  Row expected;
  if (!HoldsExpected(held, expected)) {
    m_violations.push_back("the caller holds " + describe(held) + " where the account shows " + describe(expected));
    if (held.kind == Row::kContents) m_violations.push_back("held: " + held.json);
  }
  // A language change while signed in changed the routines title: the
  // caller must have asked since.
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_model.signedIn && m_model.languageSession == m_model.session) {
      const std::vector<Delivery> results = m_caller.Snapshot().results;
      const bool askedSince = std::any_of(results.begin(), results.end(), [&](const Delivery& d) {
        return d.row.kind == Row::kRoutines && d.origin > m_model.languageChangedAt;
      });
      if (!askedSince) m_violations.push_back("no routine row was asked for since the language changed");
    }
  }
  // And asked once more, it gets that row once.
  Trace("the last request");
  m_caller.Calm();
  const size_t before = m_caller.Snapshot().results.size();
  m_caller.Ask();
  const Clock::time_point deadline = Clock::now() + kAnswerPatience;
  while (m_caller.Snapshot().results.size() == before && Clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  Quiet();
  const std::vector<Delivery> results = m_caller.Snapshot().results;
  if (results.size() != before + 1) {
    m_violations.push_back("a last request got " + std::to_string(results.size() - before) + " answers");
  } else if (!Matches(results.back().row, expected, false)) {  // the host serves again: the whole file
    m_violations.push_back("a last request got " + describe(results.back().row) + " where the account shows " +
                           describe(expected));
  }
}

}  // namespace sim
