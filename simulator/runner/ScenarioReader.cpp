// Reads scenario files and checks the shape of every line before anything
// runs, so that every mistake in a file is told at once with its line, and
// the player can take every value as checked.
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <regex>
#include <set>
#include <utility>

#include "JsonText.h"
#include "Scenario.h"

namespace scenario {
namespace {

// What is wrong with a line, one text per mistake.
using Problems = std::vector<std::string>;

constexpr int kMaxSleepMs = 60000;
constexpr int kMaxTimeoutMs = 600000;
constexpr int kMaxCount = 1000000;

std::string Quoted(const std::string& name) { return "\"" + name + "\""; }

std::string Join(const std::vector<std::string>& words) {
  std::string out;
  for (const std::string& word : words) out += (out.empty() ? "" : ", ") + word;
  return out;
}

// A rule checks one value, named `what` in its messages.
using Rule = std::function<void(const Json::Value&, const std::string& what, Problems&)>;

void String(const Json::Value& value, const std::string& what, Problems& problems) {
  if (!value.isString()) problems.push_back(what + " must be a string");
}

void Bool(const Json::Value& value, const std::string& what, Problems& problems) {
  if (!value.isBool()) problems.push_back(what + " must be true or false");
}

Rule WholeNumber(int max) {
  return [max](const Json::Value& value, const std::string& what, Problems& problems) {
    if (value.isIntegral() && value.isInt() && value.asInt() >= 0 && value.asInt() <= max) return;
    problems.push_back(what + " must be a whole number from 0 to " + std::to_string(max));
  };
}

bool IsOneOf(const Json::Value& value, const std::vector<std::string>& words) {
  for (const std::string& word : words) {
    if (value.isString() && value.asString() == word) return true;
  }
  return false;
}

Rule OneOf(std::vector<std::string> words) {
  return [words = std::move(words)](const Json::Value& value, const std::string& what, Problems& problems) {
    if (!IsOneOf(value, words)) problems.push_back(what + " must be one of " + Join(words));
  };
}

void Strings(const Json::Value& value, const std::string& what, Problems& problems) {
  bool ok = value.isArray();
  for (const Json::Value& item : value) ok = ok && item.isString();
  if (!ok) problems.push_back(what + " must be an array of strings");
}

void TextOrTexts(const Json::Value& value, const std::string& what, Problems& problems) {
  return value.isArray() ? Strings(value, what, problems) : String(value, what, problems);
}

// Each member of `object` must have a rule, and each present one is checked
// by it, named with `context` before its name; `required` members must be
// present.
void Members(const Json::Value& object, const std::string& what, const std::map<std::string, Rule>& rules,
             Problems& problems, const std::vector<std::string>& required = {}, const std::string& context = "") {
  if (!object.isObject()) {
    problems.push_back(what + " must be an object");
    return;
  }
  std::vector<std::string> names;
  for (const auto& rule : rules) names.push_back(rule.first);
  for (const std::string& name : object.getMemberNames()) {
    if (rules.count(name) == 0) problems.push_back(what + " has no member " + Quoted(name) + " (it may have " + Join(names) + ")");
  }
  for (const std::string& name : required) {
    if (!object.isMember(name)) problems.push_back(what + " needs " + Quoted(name));
  }
  for (const auto& rule : rules) {
    if (object.isMember(rule.first) && rule.second) {
      rule.second(object[rule.first], context + Quoted(rule.first), problems);
    }
  }
}

void Routines(const Json::Value& value, const std::string& what, Problems& problems) {
  if (!value.isArray()) {
    problems.push_back(what + " must be an array of {\"id\", \"label\"} objects");
    return;
  }
  for (Json::ArrayIndex i = 0; i < value.size(); ++i) {
    const std::string item = what + " item " + std::to_string(i + 1);
    Members(value[i], item, {{"id", String}, {"label", String}}, problems, {"id", "label"}, item + "'s ");
  }
}

const std::vector<std::string> kAnswerModes = {"async", "sync", "never", "held"};
const std::vector<std::string> kCommands = {"login", "routine_list", "execute"};
const std::vector<std::string> kHostModes = {"serve", "404", "stall", "cut", "reset", "trickle", "huge", "malformed",
                                             "down"};
const std::vector<std::string> kEvents = {"signed_in", "signed_out", "refresh", "created", "updated", "deleted"};
const std::vector<std::string> kRowKinds = {"intro", "routines"};

void Account(const Json::Value& account, const std::string& what, Problems& problems) {
  const Rule lists = [](const Json::Value& value, const std::string& name, Problems& out) {
    if (!value.isObject()) {
      out.push_back(name + " must map locations to routine arrays");
      return;
    }
    for (const std::string& location : value.getMemberNames()) Routines(value[location], name + " of " + Quoted(location), out);
  };
  Members(account, what, {{"signed_in", Bool}, {"login_answer", String}, {"location", String}, {"routines", lists}},
          problems);
}

void Answers(const Json::Value& answers, const std::string& what, Problems& problems) {
  const Rule mode = OneOf(kAnswerModes);
  Members(answers, what, {{"login", mode}, {"routine_list", mode}, {"execute", mode}}, problems);
}

// The members that describe one tile row, in an expectation and in each
// item of its "each_row".
std::map<std::string, Rule> RowRules() {
  return {{"row", OneOf(kRowKinds)}, {"titles", Strings}, {"ids", Strings}, {"names", Strings}};
}

void Expect(const Json::Value& expect, const std::string& what, Problems& problems) {
  std::map<std::string, Rule> rules = RowRules();
  const Rule count = WholeNumber(kMaxCount);
  rules.insert({{"notices", count},
                {"rows", count},
                {"each_row",
                 [](const Json::Value& rows, const std::string& name, Problems& out) {
                   if (!rows.isArray()) {
                     out.push_back(name + " must be an array of row descriptions");
                     return;
                   }
                   for (Json::ArrayIndex i = 0; i < rows.size(); ++i) {
                     const std::string item = name + " item " + std::to_string(i + 1);
                     Members(rows[i], item, RowRules(), out, {}, item + "'s ");
                   }
                 }},
                {"no_row_has", Strings},
                {"launches", Strings},
                {"executed", Strings},
                {"requests", Strings},
                {"warning", TextOrTexts},
                {"log",
                 [](const Json::Value& value, const std::string& name, Problems& out) {
                   Members(value, name, {{"of", Strings}, {"lines", Strings}}, out, {"of", "lines"}, name + "'s ");
                 }}});
  Members(expect, what, rules, problems);
}

// The TV language setting's form, "ll_CC.utf8".
void Language(const Json::Value& value, const std::string& what, Problems& problems) {
  static const std::regex kForm("[a-z]{2,3}_[A-Z]{2}\\.utf8");
  if (!value.isString() || !std::regex_match(value.asString(), kForm)) {
    problems.push_back(what + " must be a TV language setting like \"en_US.utf8\" or \"ko_KR.utf8\"");
  }
}

bool IsNumber(const Json::Value& v) { return v.isIntegral() && v.isInt(); }

// A command by name or number.
void Command(const Json::Value& value, const std::string& what, Problems& problems) {
  if (CommandNumber(value) == 0) problems.push_back(what + " must be one of " + Join(kCommands) + ", or a command number");
}

const Rule kDeliver = OneOf({"queued", "now"});

// Options an event line needs and allows, by its kind.
void Event(const Json::Value& line, Problems& problems) {
  const Json::Value& event = line["event"];
  std::map<std::string, Rule> rules = {{"event", nullptr}};
  std::vector<std::string> required;
  if (IsNumber(event)) {
    rules.insert({{"text", String}, {"deliver", kDeliver}});
  } else if (!IsOneOf(event, kEvents)) {
    problems.push_back("\"event\" must be one of " + Join(kEvents) + ", or an event number");
    return;
  } else if (event.asString() == "created" || event.asString() == "updated") {
    // Routine changes are queued with the account's change, never delivered at once.
    rules.insert({{"id", String}, {"label", String}});
    required = {"id", "label"};
  } else if (event.asString() == "deleted") {
    rules.insert({"id", String});
    required = {"id"};
  } else {
    rules.insert({"deliver", kDeliver});
  }
  Members(line, "a " + event.asString() + " event", rules, problems, required);
}

void Answer(const Json::Value& line, Problems& problems) {
  const Json::Value& command = line["answer"];
  Command(command, "\"answer\"", problems);
  Members(line, "an answer line", {{"answer", nullptr}, {"text", String}, {"routines", Routines}, {"deliver", kDeliver}},
          problems);
  const bool routineList = CommandNumber(command) == 107;
  if (routineList && line.isMember("routines") == line.isMember("text")) {
    problems.push_back("a routine_list answer needs either \"text\" or \"routines\"");
  } else if (!routineList && !line.isMember("text")) {
    problems.push_back("an answer needs \"text\"");
  }
}

// Which held answer a release or a drop takes: "oldest", "newest" or an index.
void Which(const Json::Value& value, const std::string& what, Problems& problems) {
  if (IsOneOf(value, {"oldest", "newest"}) || (IsNumber(value) && value.asInt() >= 0)) return;
  problems.push_back(what + " must be \"oldest\", \"newest\" or an index from 0 (the oldest)");
}

void Execute(const Json::Value& line, Problems& problems) {
  const Json::Value& type = line["execute"];
  Members(line, "an execute line", {{"execute", OneOf({"page", "intro", "routine"})}, {"info", String}}, problems);
  if ((type == "page" || type == "routine") && !line.isMember("info")) {
    problems.push_back("executing a " + type.asString() + " needs \"info\" (" +
                       (type == "page" ? "the page, e.g. \"how\")" : "the routine's id)"));
  }
}

// A line whose action is one member with a value and, at most, the options
// its rules name.
struct Action {
  std::map<std::string, Rule> options;
  Rule value;
};

const std::map<std::string, Action>& PlainActions() {
  const Rule timeout = WholeNumber(kMaxTimeoutMs);
  static const std::map<std::string, Action>* actions = new std::map<std::string, Action>{
      {"step", {{}, String}},
      {"say", {{}, String}},
      {"account", {{}, Account}},
      {"answers", {{}, Answers}},
      {"caller", {{}, [](const Json::Value& v, const std::string& name, Problems& p) {
                    Members(v, name, {{"ask_on_notice", Bool}, {"registered", Bool}}, p);
                  }}},
      {"language", {{}, Language}},
      {"contents_host", {{}, OneOf(kHostModes)}},
      {"hold", {{}, Bool}},
      {"release", {{{"which", Which}, {"text", OneOf({"now", "as_asked"})}, {"deliver", kDeliver}}, Command}},
      {"drop", {{{"which", Which}}, Command}},
      {"wake_up", {{}, [](const Json::Value& v, const std::string& name, Problems& p) {
                     if (!(v.isBool() && v.asBool())) p.push_back(name + " must be true");
                   }}},
      {"sleep_ms", {{}, WholeNumber(kMaxSleepMs)}},
      {"request", {{}, OneOf({"tiles"})}},
      {"wait", {{{"timeout_ms", timeout}}, OneOf({"idle"})}},
      {"expect", {{{"timeout_ms", timeout}}, Expect}},
  };
  return *actions;
}

std::vector<std::string> ActionNames() {
  std::set<std::string> names = {"event", "answer", "execute"};
  for (const auto& action : PlainActions()) names.insert(action.first);
  return std::vector<std::string>(names.begin(), names.end());
}

void CheckLine(const Json::Value& line, std::string& action, Problems& problems) {
  if (!line.isObject()) {
    problems.push_back("a line must be one JSON object");
    return;
  }
  std::vector<std::string> found;
  for (const std::string& name : ActionNames()) {
    if (line.isMember(name)) found.push_back(name);
  }
  if (found.size() != 1) {
    problems.push_back((found.empty() ? "no action" : "more than one action (" + Join(found) + ")") +
                       "; a line holds one of " + Join(ActionNames()));
    return;
  }
  action = found[0];
  if (action == "event") return Event(line, problems);
  if (action == "answer") return Answer(line, problems);
  if (action == "execute") return Execute(line, problems);
  const Action& rules = PlainActions().at(action);
  std::map<std::string, Rule> members = rules.options;
  members[action] = rules.value;
  Members(line, "a " + Quoted(action) + " line", members, problems);
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

const std::map<std::string, int> kCommandNumbers = {{"login", 102}, {"routine_list", 107}, {"execute", 111}};

}  // namespace

int CommandNumber(const Json::Value& nameOrNumber) {
  if (nameOrNumber.isString()) {
    auto it = kCommandNumbers.find(nameOrNumber.asString());
    return it == kCommandNumbers.end() ? 0 : it->second;
  }
  return IsNumber(nameOrNumber) ? nameOrNumber.asInt() : 0;
}

std::string CommandName(int command) {
  for (const auto& named : kCommandNumbers) {
    if (named.second == command) return named.first;
  }
  return std::to_string(command);
}

bool ParseScenario(std::istream& in, const std::string& name, Scenario& out, std::vector<std::string>& errors) {
  out.name = name;
  out.lines.clear();
  Json::CharReaderBuilder builder;
  Json::CharReaderBuilder::strictMode(&builder.settings_);
  const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
  const size_t errorsBefore = errors.size();
  std::string text;
  bool anyLine = false;
  for (int number = 1; std::getline(in, text); ++number) {
    const size_t start = text.find_first_not_of(" \t\r");
    if (start == std::string::npos || text[start] == '#') continue;
    anyLine = true;
    Line line;
    line.number = number;
    std::string parseErrors;
    Problems problems;
    if (!demo::ReadJson(*reader, text, line.value, parseErrors)) {
      problems.push_back("not JSON: " + OneLineMessage(parseErrors));
    } else {
      CheckLine(line.value, line.action, problems);
    }
    for (const std::string& problem : problems) errors.push_back(name + ":" + std::to_string(number) + ": " + problem);
    if (problems.empty()) out.lines.push_back(std::move(line));
  }
  if (!anyLine) errors.push_back(name + ": no line to play (only blank lines and # comments)");
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
