// The service's costs on the caller's thread, each next to a baseline
// measured in the same run. Logging is switched off, as on a TV in the field.
#include <benchmark/benchmark.h>
#include <dlog_sim.h>

#include <string>
#include <vector>

#include "IoTService.h"
#include "LibraryLog.h"
#include "RoutineRow.h"
#include "ServicePeer.h"
#include "varnio.h"

namespace {

__attribute__((noinline)) void EmptyFunction(int level, const char* tag, const char* fmt) {
  benchmark::DoNotOptimize(level);
  benchmark::DoNotOptimize(tag);
  benchmark::DoNotOptimize(fmt);
}

void BM_Baseline_EmptyCall(benchmark::State& state) {
  void (*volatile call)(int, const char*, const char*) = EmptyFunction;
  for (auto _ : state) call(0, "varnio", "%s:%s(%d)>");
}
BENCHMARK(BM_Baseline_EmptyCall);

void BM_LogSwitchedOff(benchmark::State& state) {
  dlog_sim::SetLoggingOn(false);
  for (auto _ : state) VARNIO_LOG(0, "routines.size() : %d", 3);
  dlog_sim::SetLoggingOn(true);
}
BENCHMARK(BM_LogSwitchedOff);

void CountingCallback(std::string text, void* userData) {
  *static_cast<size_t*>(userData) += text.size();
}

const std::string kText = "[\n   {\n      \"data\" : [],\n      \"title\" : \"Routines\"\n   }\n]\n";

void BM_Baseline_DirectCallback(benchmark::State& state) {
  size_t total = 0;
  void (*volatile callback)(std::string, void*) = CountingCallback;
  for (auto _ : state) callback(kText, &total);
  benchmark::DoNotOptimize(total);
}
BENCHMARK(BM_Baseline_DirectCallback);

void BM_DispatchToRegisteredCallback(benchmark::State& state) {
  dlog_sim::SetLoggingOn(false);
  size_t total = 0;
  iot_svc_register_result_cb(IOT_SVC_CMD_GET_ACCELERATOR_TILES, CountingCallback, &total);
  CIoTServiceTestPeer peer(CIoTService::GetInstance());
  for (auto _ : state) peer.DispatchResult(kText);
  benchmark::DoNotOptimize(total);
  iot_svc_unregister_result_cb(IOT_SVC_CMD_GET_ACCELERATOR_TILES);
  dlog_sim::SetLoggingOn(true);
}
BENCHMARK(BM_DispatchToRegisteredCallback);

std::vector<stTileItem> MakeTiles(int count) {
  std::vector<stTileItem> tiles;
  for (int i = 0; i < count; ++i) {
    stTileItem tile;
    tile.strID = "routine-" + std::to_string(i);
    tile.strName = "Good Morning " + std::to_string(i);
    tile.strImage = "/usr/apps/varnio/res/routines/acc-gdmorn.png";
    tile.strFinishImage = "/usr/apps/varnio/res/routines/acc-gdmorn-activated.png";
    tile.strTimeout = "5";
    tile.strWidth = "250";
    tiles.push_back(tile);
  }
  return tiles;
}

// The row rendered again from the tiles with jsoncpp, as every signed-in
// request once did.
void BM_Baseline_JsonOfTiles(benchmark::State& state) {
  dlog_sim::SetLoggingOn(false);
  CRoutineRow row;
  row.Replace(MakeTiles(static_cast<int>(state.range(0))));
  size_t total = 0;
  for (auto _ : state) {
    row.Change([](std::vector<stTileItem>&) {});
    total += row.Text()->size();
  }
  benchmark::DoNotOptimize(total);
  dlog_sim::SetLoggingOn(true);
}
BENCHMARK(BM_Baseline_JsonOfTiles)->Arg(10)->Arg(100)->Arg(1000);

// The list written once, then copied into the callback's argument and the
// callback called directly: the least a request can cost.
void BM_Baseline_CopyTextAndCall(benchmark::State& state) {
  CRoutineRow row;
  row.Replace(MakeTiles(static_cast<int>(state.range(0))));
  const std::string text = *row.Text();
  size_t total = 0;
  void (*volatile callback)(std::string, void*) = CountingCallback;
  for (auto _ : state) callback(text, &total);
  benchmark::DoNotOptimize(total);
}
BENCHMARK(BM_Baseline_CopyTextAndCall)->Arg(10)->Arg(100)->Arg(1000);

void BM_GetAcceleratorTilesSignedIn(benchmark::State& state) {
  dlog_sim::SetLoggingOn(false);
  size_t total = 0;
  iot_svc_register_result_cb(IOT_SVC_CMD_GET_ACCELERATOR_TILES, CountingCallback, &total);
  CIoTServiceTestPeer(CIoTService::GetInstance()).SetSignedInWithTiles(MakeTiles(static_cast<int>(state.range(0))));
  for (auto _ : state) iot_svc_get_accelerator_tiles();
  benchmark::DoNotOptimize(total);
  iot_svc_unregister_result_cb(IOT_SVC_CMD_GET_ACCELERATOR_TILES);
  dlog_sim::SetLoggingOn(true);
}
BENCHMARK(BM_GetAcceleratorTilesSignedIn)->Arg(10)->Arg(100)->Arg(1000);

}  // namespace
