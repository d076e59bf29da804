// One before-sign-in tile list from the local HTTPS host: the library's whole
// road (thread, download, parse, styled JSON, callback) next to a bare
// libcurl GET of the same file in the same run, and what 1000 requests leave
// behind. Each download makes its own connection, in both cases.
#include <benchmark/benchmark.h>
#include <curl/curl.h>
#include <dlog_sim.h>
#include <vconf_sim.h>

#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>

#include "Contents.h"
#include "ContentsHost.h"
#include "ResidentMemory.h"
#include "ThreadCount.h"

namespace {

ContentsHost& SharedHost() {
  static ContentsHost* host = [] {
    auto* started = new ContentsHost({VARNIO_CONTENTS_HOST_PORT, DefaultContentsRoot(), DefaultTlsDir()});
    if (!started->Start()) std::fprintf(stderr, "contents host did not start\n");
    return started;
  }();
  return *host;
}

// Waits for the contents callback the way a caller would.
class Arrivals {
 public:
  static void Callback(std::string text, void* userData) {
    auto* self = static_cast<Arrivals*>(userData);
    std::lock_guard<std::mutex> lock(self->m_mutex);
    self->m_bytes += text.size();
    ++self->m_count;
    self->m_changed.notify_all();
  }

  void WaitFor(size_t count) {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [&] { return m_count >= count; });
  }

  size_t Bytes() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_bytes;
  }

 private:
  std::mutex m_mutex;
  std::condition_variable m_changed;
  size_t m_count = 0;
  size_t m_bytes = 0;
};

size_t Append(char* data, size_t size, size_t count, void* out) {
  static_cast<std::string*>(out)->append(data, size * count);
  return size * count;
}

void BM_Baseline_CurlGet(benchmark::State& state) {
  SharedHost();
  const std::string url = CContents::GetURL();
  for (auto _ : state) {
    std::string body;
    CURL* curl = curl_easy_init();
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, Append);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);
    curl_easy_setopt(curl, CURLOPT_CAINFO, VARNIO_CONTENTS_CA_FILE);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    if (curl_easy_perform(curl) != CURLE_OK) state.SkipWithError("download failed");
    curl_easy_cleanup(curl);
    benchmark::DoNotOptimize(body.data());
  }
}
BENCHMARK(BM_Baseline_CurlGet)->UseRealTime()->Unit(benchmark::kMicrosecond);

void BM_ContentsRequestEndToEnd(benchmark::State& state) {
  SharedHost();
  dlog_sim::SetLoggingOn(false);
  CContents contents;
  Arrivals arrivals;
  contents.RegisterCallback(Arrivals::Callback, &arrivals);
  size_t requests = 0;
  for (auto _ : state) {
    contents.RequestContentsList();
    arrivals.WaitFor(++requests);
  }
  state.counters["list_bytes"] = static_cast<double>(arrivals.Bytes()) / static_cast<double>(requests);
  dlog_sim::SetLoggingOn(true);
}
BENCHMARK(BM_ContentsRequestEndToEnd)->UseRealTime()->Unit(benchmark::kMicrosecond);

// 1000 requests, asked 50 at a time (the few downloads that may run at once
// answer the rest), after a warm-up batch, and then 1000 more: the first
// figure includes the allocator's per-thread arenas filling up, the second
// shows whether anything keeps growing.
void BM_ContentsThousandRequests(benchmark::State& state) {
  SharedHost();
  dlog_sim::SetLoggingOn(false);
  CContents contents;
  Arrivals arrivals;
  contents.RegisterCallback(Arrivals::Callback, &arrivals);
  size_t requests = 0;
  auto batch = [&](size_t count) {
    for (size_t i = 0; i < count; ++i) contents.RequestContentsList();
    arrivals.WaitFor(requests += count);
  };
  batch(50);
  const int threadsBefore = ThreadCount();
  const long rssBefore = ResidentKib();
  long rssAfterFirst = 0;
  for (auto _ : state) {
    for (int i = 0; i < 20; ++i) batch(50);
    rssAfterFirst = ResidentKib();
    state.PauseTiming();
    for (int i = 0; i < 20; ++i) batch(50);
    state.ResumeTiming();
  }
  // The last threads may still be returning from the callback.
  WaitForThreadCount(threadsBefore, std::chrono::seconds(5));
  state.counters["rss_delta_kib"] = static_cast<double>(rssAfterFirst - rssBefore);
  state.counters["rss_growth_next_1000_kib"] = static_cast<double>(ResidentKib() - rssAfterFirst);
  state.counters["threads_delta"] = ThreadCount() - threadsBefore;
  dlog_sim::SetLoggingOn(true);
}
BENCHMARK(BM_ContentsThousandRequests)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
