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

// Compares one row with a description (row, titles, ids, names); `which`
// ("last row", "row 2") heads each message.
void CompareRow(const Json::Value& description, const std::string& text, const std::string& which,
                std::vector<std::string>& problems) {
  const demo::TileList list = demo::ParseTileList(text);
  const std::string kind = RowKind(list);
  if (description.isMember("row") && description["row"].asString() != kind) {
    problems.push_back(which + ": expected a row of " + description["row"].asString() + ", got " + kind);
  }
  std::vector<std::string> titles, names;
  for (const demo::TileSection& section : list.sections) {
    titles.push_back(section.title);
    for (const demo::Tile& tile : section.tiles) names.push_back(tile.text);
  }
  const std::pair<const char*, std::vector<std::string>> lists[] = {
      {"titles", titles}, {"ids", list.Ids()}, {"names", names}};
  for (const auto& got : lists) {
    if (!description.isMember(got.first)) continue;
    const std::vector<std::string> wanted = Strings(description[got.first]);
    if (wanted != got.second) {
      problems.push_back(which + ": expected " + got.first + " " + List(wanted) + ", got " + List(got.second));
    }
  }
}

std::vector<std::string> Rows(const Received& received) {
  std::vector<std::string> rows;
  for (const Arrival& a : received.arrivals) {
    if (a.kind == Arrival::Kind::kRow) rows.push_back(a.text);
  }
  return rows;
}

void CheckRows(const Json::Value& expect, const Received& received, std::vector<std::string>& problems) {
  const std::vector<std::string> rows = Rows(received);
  const bool describesLast =
      expect.isMember("row") || expect.isMember("titles") || expect.isMember("ids") || expect.isMember("names");
  if (describesLast) {
    if (rows.empty()) {
      problems.push_back("expected a tile row, none arrived");
    } else {
      CompareRow(expect, rows.back(), "last row", problems);
    }
  }
  if (expect.isMember("each_row")) {
    const Json::Value& each = expect["each_row"];
    if (each.size() != rows.size()) {
      problems.push_back("expected " + std::to_string(each.size()) + " row(s) in \"each_row\", got " +
                         std::to_string(rows.size()));
    }
    for (size_t i = 0; i < rows.size() && i < each.size(); ++i) {
      CompareRow(each[static_cast<Json::ArrayIndex>(i)], rows[i], "row " + std::to_string(i + 1), problems);
    }
  }
  for (const Json::Value& id : expect["no_row_has"]) {
    for (size_t i = 0; i < rows.size(); ++i) {
      const std::vector<std::string> ids = demo::ParseTileList(rows[i]).Ids();
      if (std::find(ids.begin(), ids.end(), id.asString()) != ids.end()) {
        problems.push_back("row " + std::to_string(i + 1) + ": expected no tile \"" + id.asString() + "\", got " +
                           List(ids));
      }
    }
  }
}

}  // namespace

std::string RowKind(const demo::TileList& list) {
  if (!list.valid) return "no tile list (" + list.error + ")";
  const std::vector<std::string> ids = list.Ids();
  // A failed download still yields the four tiles, only without their texts.
  const bool introIds = ids == std::vector<std::string>{"intro", "how", "uses", "start"} ||
                        ids == std::vector<std::string>(4);
  if (list.sections.size() == 2 && introIds) return "intro";
  // Signed in with no routine, the routines section comes with no tiles.
  const bool allRoutines = list.sections.size() == 1 &&
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
  CheckRows(expect, received, problems);
  std::vector<std::string> launches;
  for (const std::string& link : received.deepLinks) launches.push_back(DeepLinkType(link));
  CompareList(expect, "launches", launches, problems);
  CompareList(expect, "executed", received.executed, problems);
  CompareList(expect, "requests", received.requests, problems);
  if (expect["warning"].isArray()) CompareList(expect, "warning", received.warnings, problems);
  if (expect["warning"].isString()) {
    const std::string wanted = expect["warning"].asString();
    const bool found = std::any_of(received.warnings.begin(), received.warnings.end(),
                                   [&](const std::string& w) { return w.find(wanted) != std::string::npos; });
    if (!found) problems.push_back("expected a warning with \"" + wanted + "\", got " + List(received.warnings));
  }
  if (expect.isMember("log")) {
    const std::vector<std::string> of = Strings(expect["log"]["of"]);
    std::vector<std::string> lines;
    for (const std::string& line : received.log) {
      if (std::find(of.begin(), of.end(), line.substr(0, line.find('>'))) != of.end()) lines.push_back(line);
    }
    CompareList(expect["log"], "lines", lines, problems);
  }
  return problems;
}

}  // namespace scenario
