// Reads scenario files and checks the shape of every line before anything
// runs, so that a mistake anywhere in a file is told at once with its line,
// and the player can take every value as checked.
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <utility>

#include "Scenario.h"

namespace scenario {
namespace {

// What is wrong with a value; empty when nothing is.
using Problem = std::string;

constexpr int kMaxSleepMs = 60000;
constexpr int kMaxTimeoutMs = 600000;

std::string Quoted(const std::string& name) { return "\"" + name + "\""; }

std::string Join(const std::vector<std::string>& words) {
  std::string out;
  for (const std::string& word : words) out += (out.empty() ? "" : ", ") + word;
  return out;
}

Problem Members(const Json::Value& object, const std::string& what, const std::vector<std::string>& allowed) {
  if (!object.isObject()) return what + " must be an object";
  const std::set<std::string> known(allowed.begin(), allowed.end());
  for (const std::string& name : object.getMemberNames()) {
    if (known.count(name) == 0) return what + " has no member " + Quoted(name) + " (it may have " + Join(allowed) + ")";
  }
  return Problem();
}

Problem String(const Json::Value& value, const std::string& what) {
  return value.isString() ? Problem() : what + " must be a string";
}

Problem Bool(const Json::Value& value, const std::string& what) {
  return value.isBool() ? Problem() : what + " must be true or false";
}

Problem WholeNumber(const Json::Value& value, const std::string& what, int max) {
  if (value.isIntegral() && value.isInt() && value.asInt() >= 0 && value.asInt() <= max) return Problem();
  return what + " must be a whole number from 0 to " + std::to_string(max);
}

Problem OneOf(const Json::Value& value, const std::string& what, const std::vector<std::string>& words) {
  for (const std::string& word : words) {
    if (value.isString() && value.asString() == word) return Problem();
  }
  return what + " must be one of " + Join(words);
}

Problem Strings(const Json::Value& value, const std::string& what) {
  if (!value.isArray()) return what + " must be an array of strings";
  for (const Json::Value& item : value) {
    if (!item.isString()) return what + " must be an array of strings";
  }
  return Problem();
}

Problem Routines(const Json::Value& value, const std::string& what) {
  if (!value.isArray()) return what + " must be an array of {\"id\", \"label\"} objects";
  for (const Json::Value& routine : value) {
    Problem p = Members(routine, what + " item", {"id", "label"});
    if (p.empty()) p = String(routine["id"], what + " item's \"id\"");
    if (p.empty()) p = String(routine["label"], what + " item's \"label\"");
    if (!p.empty()) return p;
  }
  return Problem();
}

// Each present member checked by its own rule.
using Rule = std::function<Problem(const Json::Value&, const std::string&)>;

Problem EachMember(const Json::Value& object, const std::string& what, const std::map<std::string, Rule>& rules) {
  std::vector<std::string> names;
  for (const auto& rule : rules) names.push_back(rule.first);
  if (Problem p = Members(object, what, names); !p.empty()) return p;
  for (const auto& rule : rules) {
    if (!object.isMember(rule.first)) continue;
    if (Problem p = rule.second(object[rule.first], Quoted(rule.first)); !p.empty()) return p;
  }
  return Problem();
}

const std::vector<std::string> kAnswerModes = {"async", "sync", "never"};
const std::vector<std::string> kCommands = {"login", "routine_list", "execute"};
const std::vector<std::string> kHostModes = {"serve", "404", "stall", "cut", "reset", "trickle", "huge", "malformed",
                                             "down"};
const std::vector<std::string> kEvents = {"signed_in", "signed_out", "refresh", "created", "updated", "deleted"};

Problem CheckAccount(const Json::Value& account, const std::string& what) {
  return EachMember(account, what,
                    {{"signed_in", Bool},
                     {"location", String},
                     {"routines", [](const Json::Value& lists, const std::string& name) {
                        if (!lists.isObject()) return name + " must map locations to routine arrays";
                        for (const std::string& location : lists.getMemberNames()) {
                          if (Problem p = Routines(lists[location], name + " of " + Quoted(location)); !p.empty()) {
                            return p;
                          }
                        }
                        return Problem();
                      }}});
}

Problem CheckAnswers(const Json::Value& answers, const std::string& what) {
  const Rule mode = [](const Json::Value& v, const std::string& name) { return OneOf(v, name, kAnswerModes); };
  return EachMember(answers, what, {{"login", mode}, {"routine_list", mode}, {"execute", mode}});
}

Problem CheckExpect(const Json::Value& expect, const std::string& what) {
  const Rule count = [](const Json::Value& v, const std::string& name) { return WholeNumber(v, name, 1000000); };
  return EachMember(expect, what,
                    {{"notices", count},
                     {"rows", count},
                     {"row", [](const Json::Value& v, const std::string& name) { return OneOf(v, name, {"intro", "routines"}); }},
                     {"titles", Strings},
                     {"ids", Strings},
                     {"names", Strings},
                     {"launches", Strings},
                     {"executed", Strings},
                     {"warning", String}});
}

bool IsEventNumber(const Json::Value& v) { return v.isIntegral() && v.isInt(); }

// Options an event line needs and allows, by its kind.
Problem CheckEvent(const Json::Value& line) {
  const Json::Value& event = line["event"];
  // Routine changes are queued with the account's change; others may be delivered at once.
  std::vector<std::string> allowed = {"event"};
  std::vector<std::string> required;
  if (IsEventNumber(event)) {
    allowed.insert(allowed.end(), {"text", "deliver"});
  } else if (Problem p = OneOf(event, "\"event\"", kEvents); !p.empty()) {
    return p + ", or an event number";
  } else if (event.asString() == "created" || event.asString() == "updated") {
    allowed.insert(allowed.end(), {"id", "label"});
    required = {"id", "label"};
  } else if (event.asString() == "deleted") {
    allowed.push_back("id");
    required = {"id"};
  } else {
    allowed.push_back("deliver");
  }
  if (Problem p = Members(line, "an event line", allowed); !p.empty()) return p;
  for (const std::string& name : required) {
    if (!line.isMember(name)) return "a " + event.asString() + " event needs " + Quoted(name);
  }
  for (const char* name : {"id", "label", "text"}) {
    if (line.isMember(name)) {
      if (Problem p = String(line[name], Quoted(name)); !p.empty()) return p;
    }
  }
  return line.isMember("deliver") ? OneOf(line["deliver"], "\"deliver\"", {"queued", "now"}) : Problem();
}

Problem CheckAnswer(const Json::Value& line) {
  const Json::Value& command = line["answer"];
  if (CommandNumber(command) == 0 && !IsEventNumber(command)) {
    return "\"answer\" must be one of " + Join(kCommands) + ", or a command number";
  }
  if (Problem p = Members(line, "an answer line", {"answer", "text", "routines", "deliver"}); !p.empty()) return p;
  const bool routineList = CommandNumber(command) == 107;
  if (line.isMember("routines") == line.isMember("text") || (!routineList && !line.isMember("text"))) {
    return routineList ? "a routine_list answer needs either \"text\" or \"routines\"" : "an answer needs \"text\"";
  }
  Problem p = line.isMember("text") ? String(line["text"], "\"text\"") : Routines(line["routines"], "\"routines\"");
  if (p.empty() && line.isMember("deliver")) p = OneOf(line["deliver"], "\"deliver\"", {"queued", "now"});
  return p;
}

// The action's own value, for actions whose line holds nothing else but
// the options listed.
struct Action {
  std::vector<std::string> options;
  Rule value;
};

const std::map<std::string, Action>& Actions() {
  static const std::map<std::string, Action>* actions = new std::map<std::string, Action>{
      {"step", {{}, String}},
      {"say", {{}, String}},
      {"account", {{}, CheckAccount}},
      {"answers", {{}, CheckAnswers}},
      {"caller", {{}, [](const Json::Value& v, const std::string& name) {
                    return EachMember(v, name, {{"ask_on_notice", Bool}});
                  }}},
      {"language", {{}, String}},
      {"contents_host", {{}, [](const Json::Value& v, const std::string& name) { return OneOf(v, name, kHostModes); }}},
      {"hold", {{}, Bool}},
      {"wake_up", {{}, [](const Json::Value& v, const std::string& name) {
                     return v.isBool() && v.asBool() ? Problem() : name + " must be true";
                   }}},
      {"sleep_ms", {{}, [](const Json::Value& v, const std::string& name) { return WholeNumber(v, name, kMaxSleepMs); }}},
      {"request", {{}, [](const Json::Value& v, const std::string& name) { return OneOf(v, name, {"tiles"}); }}},
      {"execute", {{"info"}, [](const Json::Value& v, const std::string& name) {
                     return OneOf(v, name, {"page", "intro", "routine"});
                   }}},
      {"wait", {{"timeout_ms"}, [](const Json::Value& v, const std::string& name) { return OneOf(v, name, {"idle"}); }}},
      {"expect", {{"timeout_ms"}, CheckExpect}},
  };
  return *actions;
}

std::vector<std::string> ActionNames() {
  std::vector<std::string> names = {"event", "answer"};
  for (const auto& action : Actions()) names.push_back(action.first);
  return names;
}

Problem CheckLine(const Json::Value& line, std::string& action) {
  if (!line.isObject()) return "a line must be one JSON object";
  std::vector<std::string> found;
  for (const std::string& name : ActionNames()) {
    if (line.isMember(name)) found.push_back(name);
  }
  if (found.size() != 1) {
    return (found.empty() ? "no action" : "more than one action (" + Join(found) + ")") + "; a line holds one of " +
           Join(ActionNames());
  }
  action = found[0];
  if (action == "event") return CheckEvent(line);
  if (action == "answer") return CheckAnswer(line);
  const Action& rules = Actions().at(action);
  std::vector<std::string> allowed = rules.options;
  allowed.push_back(action);
  if (Problem p = Members(line, "a " + Quoted(action) + " line", allowed); !p.empty()) return p;
  if (line.isMember("info")) {
    if (Problem p = String(line["info"], "\"info\""); !p.empty()) return p;
  }
  if (line.isMember("timeout_ms")) {
    if (Problem p = WholeNumber(line["timeout_ms"], "\"timeout_ms\"", kMaxTimeoutMs); !p.empty()) return p;
  }
  return rules.value(line[action], Quoted(action));
}

// jsoncpp's message names "Line 1, Column N" of the one line it was given.
std::string OneLineMessage(const std::string& errors) {
  std::string out;
  for (char c : errors) {
    if (c == '\n') c = ' ';
    if (c == ' ' && (out.empty() || out.back() == ' ')) continue;
    out += c;
  }
  const std::string prefix = "* Line 1, ";
  if (out.compare(0, prefix.size(), prefix) == 0) out = out.substr(prefix.size());
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

}  // namespace

int CommandNumber(const Json::Value& nameOrNumber) {
  static const std::map<std::string, int> kNumbers = {{"login", 102}, {"routine_list", 107}, {"execute", 111}};
  if (nameOrNumber.isString()) {
    auto it = kNumbers.find(nameOrNumber.asString());
    return it == kNumbers.end() ? 0 : it->second;
  }
  return nameOrNumber.isIntegral() && nameOrNumber.isInt() ? nameOrNumber.asInt() : 0;
}

bool ParseScenario(std::istream& in, const std::string& name, Scenario& out, std::vector<std::string>& errors) {
  out.name = name;
  out.lines.clear();
  Json::CharReaderBuilder builder;
  Json::CharReaderBuilder::strictMode(&builder.settings_);
  const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
  const size_t errorsBefore = errors.size();
  std::string text;
  for (int number = 1; std::getline(in, text); ++number) {
    const size_t start = text.find_first_not_of(" \t\r");
    if (start == std::string::npos || text[start] == '#') continue;
    Line line;
    line.number = number;
    std::string parseErrors;
    Problem problem;
    if (!reader->parse(text.data(), text.data() + text.size(), &line.value, &parseErrors)) {
      problem = "not JSON: " + OneLineMessage(parseErrors);
    } else {
      problem = CheckLine(line.value, line.action);
    }
    if (!problem.empty()) {
      errors.push_back(name + ":" + std::to_string(number) + ": " + problem);
      continue;
    }
    out.lines.push_back(std::move(line));
  }
  return errors.size() == errorsBefore;
}

bool ReadScenarioFile(const std::string& path, Scenario& out, std::vector<std::string>& errors) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    errors.push_back(path + ": cannot be read");
    return false;
  }
  return ParseScenario(in, path, out, errors);
}

}  // namespace scenario
