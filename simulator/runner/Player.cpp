#include "Player.h"

#include <IoTFrameworkSim.h>
#include <device/power_sim.h>
#include <dlog.h>
#include <dlog_sim.h>
#include <varnio_sim.h>
#include <vconf_sim.h>
#include <was_sim.h>

#include <algorithm>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <thread>
#include <utility>

#include "UiLanguage.h"
#include "varnio.h"

namespace scenario {
namespace {

constexpr int kExecuteRoutine = 111;
constexpr char kLibraryTag[] = "varnio";
constexpr char kSimulatorTag[] = "varnio-sim";

// Lines that only set the platform up; any other starts the service first.
bool IsSetUp(const std::string& action) {
  static const std::set<std::string> kSetUp = {"step", "say", "account", "answers", "caller", "language",
                                               "contents_host"};
  return kSetUp.count(action) != 0;
}

std::vector<iotfw_sim::Routine> RoutinesOf(const Json::Value& array) {
  std::vector<iotfw_sim::Routine> routines;
  for (const Json::Value& r : array) routines.push_back({r["id"].asString(), r["label"].asString()});
  return routines;
}

iotfw_sim::AnswerMode AnswerModeNamed(const std::string& name) {
  if (name == "sync") return iotfw_sim::AnswerMode::kSync;
  if (name == "never") return iotfw_sim::AnswerMode::kNever;
  if (name == "held") return iotfw_sim::AnswerMode::kHeld;
  return iotfw_sim::AnswerMode::kAsync;
}

// A log line as "function>message": without the file and line number,
// which change with every edit of the source.
std::string LogEntry(const std::string& text) {
  static const std::regex kPrefix(R"(^[^:/]+:([^(]+)\([0-9]+\)>)");
  std::smatch m;
  if (!std::regex_search(text, m, kPrefix, std::regex_constants::match_continuous)) return text;
  return m.str(1) + ">" + m.suffix().str();
}

// The languages the library has a catalogue of, as the build installed them.
bool HasCatalogue(const std::string& settingValue) {
  std::istringstream catalogues(VARNIO_SIM_CATALOGUES);
  const std::string language = settingValue.substr(0, settingValue.find('_'));
  for (std::string name; catalogues >> name;) {
    if (name == language) return true;
  }
  return false;
}

// The held answers to `command`, as indexes among all held ones, oldest first.
std::vector<size_t> HeldAnswersTo(int command) {
  std::vector<size_t> indexes;
  for (size_t i = 0, count = iotfw_sim::HeldAnswerCount(); i < count; ++i) {
    if (iotfw_sim::HeldAnswerCommand(i) == command) indexes.push_back(i);
  }
  return indexes;
}

}  // namespace

Player::Player(View& view, ContentsHostProcess* host, std::chrono::milliseconds timeout)
    : m_view(view), m_host(host), m_timeout(timeout) {}

bool Player::Play(const Scenario& scenario) {
  dlog_sim::StartCapture();
  for (const Line& line : scenario.lines) {
    m_where = scenario.name + ":" + std::to_string(line.number);
    const bool registers = line.action == "caller" && line.value["caller"].isMember("registered");
    if (!m_started && (registers || !IsSetUp(line.action))) Start();
    PlayLine(line);
  }
  m_where = scenario.name + ": at the end";
  if (m_started) Settle(m_timeout);
  m_caller.Stop();
  m_view.Finish(m_expectations, m_failures);
  return m_failures == 0;
}

void Player::PlayLine(const Line& line) {
  const Json::Value& value = line.value[line.action];
  const std::string& action = line.action;
  if (action == "step") {
    if (m_started) Settle(m_timeout);  // what the last step caused is shown under it
    m_view.Step(value.asString());
  } else if (action == "say") {
    Say(View::Kind::kRemark, value.asString());
  } else if (action == "account") {
    Account(value);
  } else if (action == "answers") {
    Answers(value);
  } else if (action == "caller") {
    if (value.isMember("ask_on_notice")) m_caller.SetAskOnNotice(value["ask_on_notice"].asBool());
    const Json::Value& registered = value["registered"];
    if (!registered.isBool()) return;
    Say(View::Kind::kAction, registered.asBool() ? "> callbacks registered again" : "> callbacks unregistered");
    if (!registered.asBool()) m_caller.Stop();
    if (registered.asBool() && !m_caller.Start()) Fail("the library refused the callbacks");
  } else if (action == "language") {
    Language(value.asString());
  } else if (action == "contents_host") {
    ContentsHost(value.asString());
  } else if (action == "event") {
    Event(line.value);
  } else if (action == "answer") {
    Answer(line.value);
  } else if (action == "release" || action == "drop") {
    ReleaseOrDrop(line.value, action == "release");
  } else if (action == "hold") {
    m_held = value.asBool();
    iotfw_sim::HoldCallbacks(m_held);
    Say(View::Kind::kAction, m_held ? "> framework callbacks held" : "> framework callbacks released");
  } else if (action == "wake_up") {
    Say(View::Kind::kAction, "> power wake-up");
    power_sim::TriggerWakeup();
  } else if (action == "sleep_ms") {
    std::this_thread::sleep_for(std::chrono::milliseconds(value.asInt()));
  } else if (action == "request") {
    Say(View::Kind::kAction, "> iot_svc_get_accelerator_tiles()");
    m_caller.RequestTiles();
  } else if (action == "execute") {
    Execute(line.value);
  } else if (action == "wait") {
    Settle(TimeoutOf(line.value));
  } else if (action == "expect") {
    Expect(line.value);
  }
}

void Player::Start() {
  // The TV's language before the library starts, unless the scenario set one.
  if (!m_languageSet) demo::SwitchUiLanguage("en_US.utf8");
  // Notifications of the set-up are delivered before the service listens: a
  // language change it heard of would start a download before the baseline.
  vconf_sim::WaitIdle();
  iotfw_sim::WaitIdle();
  m_started = true;
  // The first registration starts the service, which asks the framework at
  // once: held meanwhile, the start's answers find both callbacks in place.
  iotfw_sim::HoldCallbacks(true);
  const bool registered = m_caller.Start();
  iotfw_sim::HoldCallbacks(false);
  if (!registered) Fail("the library refused the callbacks");
  // Registering started the service, and no tile request is out yet.
  if (!varnio_sim::TakeThreadBaseline()) Fail("the simulator could not count the threads (its log says why)");
  // What the start brings is shown but not counted: expectations begin with
  // the scenario's own lines.
  Settle(m_timeout);
  m_received = Received();
}

void Player::Settle(std::chrono::milliseconds timeout) {
  const bool idle = m_held ? varnio_sim::WaitIdleExceptFramework(timeout) : varnio_sim::WaitIdle(timeout);
  TakeWhatArrived();
  if (!idle) {
    Fail("still busy after " + std::to_string(timeout.count()) +
         " ms: a contents download has not ended (the library ends one after at most 120 s, 240 s when four "
         "ran before it; raise --timeout-ms, or the line's \"timeout_ms\")");
  }
}

void Player::TakeWhatArrived() {
  for (Arrival& arrival : m_caller.TakeArrivals()) {
    m_view.Arrived(arrival);
    if (arrival.kind == Arrival::Kind::kNotice && !arrival.text.empty()) {
      Fail("the notice carries a text: " + arrival.text);
    }
    m_received.arrivals.push_back(std::move(arrival));
  }
  const std::vector<was_sim::Launch> launches = was_sim::Launches();
  for (; m_launchesSeen < launches.size(); ++m_launchesSeen) {
    const was_sim::Launch& launch = launches[m_launchesSeen];
    Say(View::Kind::kArrival, "< web app " + launch.appId + " launched with deep link " + launch.deepLink);
    m_received.deepLinks.push_back(launch.deepLink);
  }
  const std::vector<iotfw_sim::Request> requests = iotfw_sim::Requests();
  for (; m_requestsSeen < requests.size(); ++m_requestsSeen) {
    const iotfw_sim::Request& request = requests[m_requestsSeen];
    m_received.requests.push_back(CommandName(request.command));
    if (request.command != kExecuteRoutine) continue;
    Say(View::Kind::kArrival, "< framework request 111 (execute routine) " + request.argument);
    m_received.executed.push_back(request.argument);
  }
  const std::vector<dlog_sim::Line> log = dlog_sim::Captured();
  for (; m_logLinesSeen < log.size(); ++m_logLinesSeen) {
    const dlog_sim::Line& line = log[m_logLinesSeen];
    if (line.tag == kLibraryTag) m_received.log.push_back(LogEntry(line.text));
    if (line.priority < DLOG_WARN || (line.tag != kSimulatorTag && line.tag != kLibraryTag)) continue;
    Say(View::Kind::kWarning, line.tag + ": " + line.text);
    m_received.warnings.push_back(LogEntry(line.text));
  }
}

void Player::Fail(const std::string& what) {
  ++m_failures;
  m_view.Failure(m_where, what);
}

void Player::Say(View::Kind kind, const std::string& text) { m_view.Say(kind, m_where, text); }

void Player::Account(const Json::Value& account) {
  if (account.isMember("signed_in")) iotfw_sim::SetSignedIn(account["signed_in"].asBool());
  if (account.isMember("login_answer")) iotfw_sim::SetLoginAnswer(account["login_answer"].asString());
  if (account.isMember("location")) {
    m_location = account["location"].asString();
    iotfw_sim::SetCurrentLocation(m_location);
  }
  const Json::Value& lists = account["routines"];
  for (const std::string& location : lists.getMemberNames()) {
    iotfw_sim::SetRoutines(location, RoutinesOf(lists[location]));
  }
}

void Player::Answers(const Json::Value& answers) {
  for (const std::string& name : answers.getMemberNames()) {
    iotfw_sim::SetAnswerMode(CommandNumber(Json::Value(name)), AnswerModeNamed(answers[name].asString()));
  }
}

void Player::Language(const std::string& value) {
  // Nothing of the library may look texts up while the process's message
  // language changes.
  if (m_started) Settle(m_timeout);
  Say(View::Kind::kAction, "> db/menu_widget/language = " + value);
  if (!HasCatalogue(value)) {
    Say(View::Kind::kNote, "the library has no catalogue for \"" + value.substr(0, value.find('_')) +
                               "\": the routines title stays \"TV_SID_ROUTINES\", and the contents are the general file");
  }
  demo::SwitchUiLanguage(value);
  // The settings service notifies on its own thread: the next line's checks
  // must see the library told of the change.
  if (m_started) vconf_sim::WaitIdle();
  m_languageSet = true;
}

void Player::ContentsHost(const std::string& mode) {
  if (m_host == nullptr) {
    Fail("this run has no contents host under its control");
    return;
  }
  // A new mode applies from the next download on; "down" also ends stalled
  // ones, so it does not wait for them.
  if (m_started && mode != "down") Settle(m_timeout);
  Say(View::Kind::kAction, "> contents host: " + mode);
  std::string error;
  if (!m_host->SetMode(mode, error)) Fail(error);
}

void Player::Event(const Json::Value& line) {
  const Json::Value& event = line["event"];
  const std::string name = event.isInt() ? std::string() : event.asString();
  const std::string id = line.get("id", "").asString();
  const std::string label = line.get("label", "").asString();
  const std::string shownLabel = label.empty() ? "" : " \"" + label + "\"";
  // A routine changed in the cloud: the account and its event change in one step.
  if (name == "created" || name == "updated" || name == "deleted") {
    const char* cloudName = name == "created"   ? "InstalledVelkapCreated"
                            : name == "updated" ? "InstalledVelkapUpdated"
                                                : "InstalledVelkapDeleted";
    Say(View::Kind::kAction, std::string("> framework event 1004 ") + cloudName + " " + id + shownLabel);
    if (name == "created") iotfw_sim::CreateRoutine(m_location, {id, label});
    if (name == "updated") iotfw_sim::RenameRoutine(m_location, {id, label});
    if (name == "deleted") iotfw_sim::DeleteRoutine(m_location, id);
    return;
  }
  int type = event.isInt() ? event.asInt() : 0;
  std::string shown = std::to_string(type);
  if (name == "signed_in" || name == "signed_out") {
    iotfw_sim::SetSignedIn(name == "signed_in");
    type = name == "signed_in" ? 1000 : 1001;
    shown = std::to_string(type) + (name == "signed_in" ? " (signed in)" : " (signed out)");
  } else if (name == "refresh") {
    type = 1005;
    shown = "1005 (refresh)";
  }
  Say(View::Kind::kAction, "> framework event " + shown);
  const std::string text = line.get("text", "").asString();
  if (line.get("deliver", "queued").asString() == "now") {
    iotfw_sim::DeliverEventNow(type, text);
  } else {
    iotfw_sim::InjectEvent(type, text);
  }
}

void Player::Answer(const Json::Value& line) {
  const int command = CommandNumber(line["answer"]);
  const std::string text = line.isMember("routines") ? iotfw_sim::MakeRoutineListAnswer(RoutinesOf(line["routines"]))
                                                     : line["text"].asString();
  Say(View::Kind::kAction, "> framework answer " + std::to_string(command) + ", unasked");
  if (line.get("deliver", "queued").asString() == "now") {
    iotfw_sim::DeliverResultNow(command, text);
  } else {
    iotfw_sim::InjectResult(command, text);
  }
}

void Player::ReleaseOrDrop(const Json::Value& line, bool release) {
  const char* verb = release ? "release" : "drop";
  // The request that is held may still be on its way to the framework.
  Settle(m_timeout);
  const int command = CommandNumber(line[verb]);
  const std::vector<size_t> held = HeldAnswersTo(command);
  const Json::Value which = line.get("which", "oldest");
  size_t pick = held.size();
  if (which == "oldest" && !held.empty()) pick = 0;
  if (which == "newest" && !held.empty()) pick = held.size() - 1;
  if (which.isInt() && which.asUInt() < held.size()) pick = which.asUInt();
  const std::string shownWhich = which.isString() ? which.asString() : "index " + std::to_string(which.asUInt());
  if (pick == held.size()) {
    const std::string name = line[verb].isString() ? line[verb].asString() : std::to_string(command);
    Fail(std::string("nothing to ") + verb + ": " +
         (held.empty() ? "no answer to " + name + " is held; hold them with {\"answers\": {\"" + name +
                             "\": \"held\"}} before the request"
                       : std::to_string(held.size()) + " answer(s) to " + name + " held, none at " + shownWhich));
    return;
  }
  const std::string what = "held answer to " + std::to_string(command) + " (" + shownWhich + " of " +
                           std::to_string(held.size()) + ")";
  if (!release) {
    Say(View::Kind::kAction, "> " + what + " dropped");
    iotfw_sim::DropHeldAnswer(held[pick]);
    return;
  }
  const bool asAsked = line.get("text", "now").asString() == "as_asked";
  const bool now = line.get("deliver", "queued").asString() == "now";
  Say(View::Kind::kAction, "> " + what + " released, " +
                               (asAsked ? "as the account was when asked" : "as the account is now") +
                               (now ? ", delivered at once on the runner's thread" : ", queued for the framework's thread"));
  iotfw_sim::ReleaseHeldAnswer(held[pick], now, false,
                               asAsked ? iotfw_sim::HeldText::kAsAsked : iotfw_sim::HeldText::kNow);
}

void Player::Execute(const Json::Value& line) {
  static const std::map<std::string, std::pair<iot_svc_tile_type_e, const char*>> kTypes = {
      {"page", {IOT_SVC_TILE_PAGE, "IOT_SVC_TILE_PAGE"}},
      {"intro", {IOT_SVC_TILE_INTRO, "IOT_SVC_TILE_INTRO"}},
      {"routine", {IOT_SVC_TILE_ROUTINE, "IOT_SVC_TILE_ROUTINE"}}};
  const auto& type = kTypes.at(line["execute"].asString());
  const std::string info = line.get("info", "").asString();
  Say(View::Kind::kAction, std::string("> iot_svc_execute_tile(") + type.second + ", \"" + info + "\")");
  iot_svc_execute_tile(type.first, info);
}

void Player::Expect(const Json::Value& line) {
  Settle(TimeoutOf(line));
  ++m_expectations;
  for (const std::string& problem : Check(line["expect"], m_received)) Fail(problem);
  m_received = Received();
}

std::chrono::milliseconds Player::TimeoutOf(const Json::Value& line) const {
  return line.isMember("timeout_ms") ? std::chrono::milliseconds(line["timeout_ms"].asInt()) : m_timeout;
}

}  // namespace scenario
