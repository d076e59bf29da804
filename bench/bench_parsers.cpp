// The routine-list parser next to jsoncpp's own parse of the same answer,
// and the icon rule per label. Logging is off unless a case says otherwise.
#include <benchmark/benchmark.h>
#include <dlog_sim.h>
#include <json/json.h>

#include <string>
#include <vector>

#include "JsonAccess.h"
#include "JsonParseUtil.h"

namespace {

std::string CompactText(const Json::Value& value) {
  Json::StreamWriterBuilder builder;
  builder["indentation"] = "";
  return Json::writeString(builder, value);
}

// A routine-list answer as the framework sends it, with the members a real
// routine carries besides its id and label.
std::string RoutineListAnswer(int count) {
  static const char* const kLabels[] = {"Good Morning", "Movie night", "Goodbye", "I'm back",
                                        "굿모닝 루틴", "Gute Nacht", "Bonne nuit, au revoir", "Vacation mode"};
  Json::Value phrases(Json::arrayValue);
  for (int i = 0; i < count; ++i) {
    Json::Value phrase;
    phrase["id"] = "3f1c2a9e-6b1d-4f57-9a2e-" + std::to_string(100000000000 + i);
    phrase["label"] = std::string(kLabels[i % 8]) + " " + std::to_string(i);
    phrase["type"] = "scene";
    phrase["enabled"] = true;
    phrase["locationId"] = "b41c3e8a-77d0-4c9b-a1f5-2e6d9c0b8a37";
    phrase["lastUpdatedDate"] = "2024-03-01T19:02:11Z";
    phrases.append(phrase);
  }
  Json::Value inner;
  inner["phrases"] = phrases;
  inner["count"] = count;
  Json::Value outer;
  outer["result"] = "Success";
  outer["data"] = CompactText(inner);
  return CompactText(outer);
}

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
// jsoncpp's Reader, called as plainly as possible: the cost floor of one
// parse of the answer text.
bool BareReaderParse(const std::string& text, Json::Value& root) {
  Json::Reader reader;
  return reader.parse(text, root, true);
}
#pragma GCC diagnostic pop

void BM_Baseline_JsonReaderParse(benchmark::State& state) {
  const std::string answer = RoutineListAnswer(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    Json::Value root;
    benchmark::DoNotOptimize(BareReaderParse(answer, root));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * answer.size()));
}
BENCHMARK(BM_Baseline_JsonReaderParse)->Arg(10)->Arg(100)->Arg(1000);

// Both parses the answer needs (the outer text, then its "data"), and
// nothing else: what any reader of this format pays.
void BM_Baseline_JsonReaderParseNested(benchmark::State& state) {
  const std::string answer = RoutineListAnswer(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    Json::Value outer;
    BareReaderParse(answer, outer);
    Json::Value inner;
    benchmark::DoNotOptimize(BareReaderParse(outer["data"].asString(), inner));
  }
}
BENCHMARK(BM_Baseline_JsonReaderParseNested)->Arg(10)->Arg(100)->Arg(1000);

void RunParseRoutineList(benchmark::State& state, bool loggingOn) {
  const std::string answer = RoutineListAnswer(static_cast<int>(state.range(0)));
  CJsonParseUtil parser;
  std::vector<stTileItem> tiles;
  dlog_sim::SetLoggingOn(loggingOn);
  for (auto _ : state) {
    parser.ParseRoutineList(answer, tiles);
    benchmark::DoNotOptimize(tiles.data());
  }
  dlog_sim::SetLoggingOn(true);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * answer.size()));
}

void BM_ParseRoutineList(benchmark::State& state) { RunParseRoutineList(state, false); }
BENCHMARK(BM_ParseRoutineList)->Arg(10)->Arg(100)->Arg(1000);

void BM_ParseRoutineListLoggingOn(benchmark::State& state) { RunParseRoutineList(state, true); }
BENCHMARK(BM_ParseRoutineListLoggingOn)->Arg(10)->Arg(100)->Arg(1000);

// Time per label of the icon rule, over labels with and without keywords.
void BM_AssignRoutineIconsPerLabel(benchmark::State& state) {
  const std::vector<std::string> labels = {"Good Morning", "Movie time", "Nightly backup", "Bye, good morning",
                                           "굿모닝 루틴", "Gute Nacht", "Je suis de retour — I'm back", ""};
  const CJsonParseUtil parser;
  std::string image, finishImage;
  size_t next = 0;
  for (auto _ : state) {
    parser.AssignRoutineIcons(labels[next], image, finishImage);
    benchmark::DoNotOptimize(image.data());
    next = next + 1 == labels.size() ? 0 : next + 1;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_AssignRoutineIconsPerLabel);

}  // namespace
