#include "Expectations.h"

#include <algorithm>

namespace scenario {
namespace {

std::string List(const std::vector<std::string>& items) {
  std::string out;
  for (const std::string& item : items) out += (out.empty() ? "\"" : ", \"") + item + "\"";
  return "[" + out + "]";
}

std::vector<std::string> Strings(const Json::Value& array) {
  std::vector<std::string> out;
  for (const Json::Value& item : array) out.push_back(item.asString());
  return out;
}

int Count(const std::vector<Arrival>& arrivals, Arrival::Kind kind) {
  return static_cast<int>(std::count_if(arrivals.begin(), arrivals.end(),
                                        [kind](const Arrival& a) { return a.kind == kind; }));
}

// Compares one list member of the expectation with what was there.
void CompareList(const Json::Value& expect, const char* name, const std::vector<std::string>& got,
                 std::vector<std::string>& problems) {
  if (!expect.isMember(name)) return;
  const std::vector<std::string> wanted = Strings(expect[name]);
  if (wanted != got) problems.push_back(std::string("expected ") + name + " " + List(wanted) + ", got " + List(got));
}

void CheckRow(const Json::Value& expect, const Received& received, std::vector<std::string>& problems) {
  if (!expect.isMember("row") && !expect.isMember("titles") && !expect.isMember("ids") && !expect.isMember("names")) {
    return;
  }
  auto last = std::find_if(received.arrivals.rbegin(), received.arrivals.rend(),
                           [](const Arrival& a) { return a.kind == Arrival::Kind::kRow; });
  if (last == received.arrivals.rend()) {
    problems.push_back("expected a tile row, none arrived");
    return;
  }
  const demo::TileList list = demo::ParseTileList(last->text);
  const std::string kind = RowKind(list);
  if (expect.isMember("row") && expect["row"].asString() != kind) {
    problems.push_back("expected a row of " + expect["row"].asString() + ", got " + kind);
  }
  std::vector<std::string> titles, names;
  for (const demo::TileSection& section : list.sections) {
    titles.push_back(section.title);
    for (const demo::Tile& tile : section.tiles) names.push_back(tile.text);
  }
  CompareList(expect, "titles", titles, problems);
  CompareList(expect, "ids", list.Ids(), problems);
  CompareList(expect, "names", names, problems);
}

}  // namespace

std::string RowKind(const demo::TileList& list) {
  if (!list.valid) return "no tile list (" + list.error + ")";
  const std::vector<std::string> ids = list.Ids();
  // A failed download still yields the four tiles, only without their texts.
  const bool introIds = ids == std::vector<std::string>{"intro", "how", "uses", "start"} ||
                        ids == std::vector<std::string>(4);
  if (list.sections.size() == 2 && introIds) return "intro";
  const bool allRoutines = list.sections.size() == 1 && !list.sections[0].tiles.empty() &&
                           std::all_of(list.sections[0].tiles.begin(), list.sections[0].tiles.end(),
                                       [](const demo::Tile& t) { return t.type == "IOT_TILE_ROUTINE"; });
  if (allRoutines) return "routines";
  return std::to_string(list.sections.size()) + " section(s) of " + List(ids);
}

std::string DeepLinkType(const std::string& deepLink) {
  const std::string key = "\"type\":\"";
  const size_t start = deepLink.find(key);
  if (start == std::string::npos) return "?";
  const size_t end = deepLink.find('"', start + key.size());
  return end == std::string::npos ? "?" : deepLink.substr(start + key.size(), end - start - key.size());
}

std::vector<std::string> Check(const Json::Value& expect, const Received& received) {
  std::vector<std::string> problems;
  const std::pair<const char*, Arrival::Kind> counts[] = {{"notices", Arrival::Kind::kNotice},
                                                          {"rows", Arrival::Kind::kRow}};
  for (const auto& count : counts) {
    if (!expect.isMember(count.first)) continue;
    const int got = Count(received.arrivals, count.second);
    if (got != expect[count.first].asInt()) {
      problems.push_back(std::string("expected ") + std::to_string(expect[count.first].asInt()) + " " + count.first +
                         ", got " + std::to_string(got));
    }
  }
  CheckRow(expect, received, problems);
  std::vector<std::string> launches;
  for (const std::string& link : received.deepLinks) launches.push_back(DeepLinkType(link));
  CompareList(expect, "launches", launches, problems);
  CompareList(expect, "executed", received.executed, problems);
  if (expect.isMember("warning")) {
    const std::string wanted = expect["warning"].asString();
    const bool found = std::any_of(received.warnings.begin(), received.warnings.end(),
                                   [&](const std::string& w) { return w.find(wanted) != std::string::npos; });
    if (!found) problems.push_back("expected a simulator warning with \"" + wanted + "\", got " + List(received.warnings));
  }
  return problems;
}

}  // namespace scenario
