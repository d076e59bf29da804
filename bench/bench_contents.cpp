// One before-sign-in tile list: the library's whole road (thread, download,
// parse, styled JSON, callback) next to a bare libcurl GET of the same file
// in the same run, and what 1000 requests leave behind. Against the local
// HTTPS host, which closes every connection, each download makes its own
// (the library's resumes its TLS session); against nginx, as against a CDN,
// both reuse theirs.
#include <benchmark/benchmark.h>
#include <curl/curl.h>
#include <dlog_sim.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <vconf_sim.h>

#include <condition_variable>
#include <cstdio>
#include <ctime>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "Contents.h"
#include "ContentsHost.h"
#include "ContentsUrl.h"
#include "NginxHost.h"
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

NginxHost& SharedNginx() {
  static NginxHost* host = [] {
    auto* started = new NginxHost({VARNIO_NGINX_HOST_PORT, DefaultContentsRoot(), DefaultTlsDir()});
    if (!started->Start()) std::fprintf(stderr, "nginx did not start\n");
    return started;
  }();
  return *host;
}

// Gives the general file another modification second, and so nginx another
// ETag and Last-Modified: the next conditional GET gets the whole file.
void ChangeGeneralFile() {
  static time_t seconds = 1000000000;
  const timespec times[2] = {{++seconds, 0}, {seconds, 0}};
  utimensat(AT_FDCWD, SharedNginx().FilePath("service-quorvel-app.json").c_str(), times, 0);
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

CURL* NewGet(const std::string& url, std::string* body) {
  CURL* curl = curl_easy_init();
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, Append);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, body);
  curl_easy_setopt(curl, CURLOPT_CAINFO, VARNIO_CONTENTS_CA_FILE);
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  return curl;
}

// Points downloads at nginx for one benchmark.
class AtNginx {
 public:
  AtNginx() {
    SetContentsOrigin(SharedNginx().Origin());
    dlog_sim::SetLoggingOn(false);
  }
  ~AtNginx() {
    SetContentsOrigin("");
    dlog_sim::SetLoggingOn(true);
  }
  AtNginx(const AtNginx&) = delete;
  AtNginx& operator=(const AtNginx&) = delete;
};

// GETs of the general file from nginx on one handle kept warm: the whole
// file, or with the validators of its current version for a 304.
class WarmGet {
 public:
  explicit WarmGet(bool conditional) : m_curl(NewGet(CContents::GetURL(), &m_body)) {
    if (!conditional) return;
    curl_easy_perform(m_curl);
    curl_header* etag = nullptr;
    curl_easy_header(m_curl, "ETag", 0, CURLH_HEADER, -1, &etag);
    m_headers = curl_slist_append(m_headers, (std::string("If-None-Match: ") + (etag ? etag->value : "")).c_str());
    curl_easy_setopt(m_curl, CURLOPT_HTTPHEADER, m_headers);
  }
  ~WarmGet() {
    curl_easy_cleanup(m_curl);
    curl_slist_free_all(m_headers);
  }
  WarmGet(const WarmGet&) = delete;
  WarmGet& operator=(const WarmGet&) = delete;

  // The HTTP status; 0 when the transfer failed.
  long Run() {
    m_body.clear();
    long status = 0;
    if (curl_easy_perform(m_curl) != CURLE_OK) return 0;
    curl_easy_getinfo(m_curl, CURLINFO_RESPONSE_CODE, &status);
    benchmark::DoNotOptimize(m_body.data());
    return status;
  }

 private:
  std::string m_body;
  curl_slist* m_headers = nullptr;
  CURL* m_curl;
};

// Runs work on a second thread that waits for it and reports back through a
// condition variable: what any answer given on a thread other than the
// caller's costs at least, on this machine.
class HandOver {
 public:
  HandOver() : m_thread([this] { Serve(); }) {}
  ~HandOver() {
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      m_stop = true;
    }
    m_changed.notify_all();
    m_thread.join();
  }
  HandOver(const HandOver&) = delete;
  HandOver& operator=(const HandOver&) = delete;

  void Run(std::function<void()> work) {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_work = std::move(work);
    m_changed.notify_all();
    m_changed.wait(lock, [&] { return !m_work; });
  }

 private:
  void Serve() {
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
      m_changed.wait(lock, [&] { return m_stop || m_work; });
      if (m_stop) return;
      lock.unlock();
      m_work();
      lock.lock();
      m_work = nullptr;
      m_changed.notify_all();
    }
  }

  std::mutex m_mutex;
  std::condition_variable m_changed;
  std::function<void()> m_work;
  bool m_stop = false;
  std::thread m_thread;
};

// The GET baselines: a changed file (200) or an unchanged one (304), on this
// thread or handed over to another.
void NginxWarmGet(benchmark::State& state, bool unchanged, bool handedOver) {
  AtNginx nginx;
  vconf_sim::SetStr("db/menu_widget/language", "en_US.utf8");
  WarmGet get(unchanged);
  HandOver other;
  const long expected = unchanged ? 304 : 200;
  for (auto _ : state) {
    if (!unchanged) ChangeGeneralFile();
    long status = 0;
    if (handedOver) {
      other.Run([&] { status = get.Run(); });
    } else {
      status = get.Run();
    }
    if (status != expected) {
      state.SkipWithError("download failed");
      break;
    }
  }
}

void BM_Baseline_NginxWarmGet(benchmark::State& state) { NginxWarmGet(state, false, false); }
BENCHMARK(BM_Baseline_NginxWarmGet)->UseRealTime()->Unit(benchmark::kMicrosecond);

void BM_Baseline_NginxWarmGet304(benchmark::State& state) { NginxWarmGet(state, true, false); }
BENCHMARK(BM_Baseline_NginxWarmGet304)->UseRealTime()->Unit(benchmark::kMicrosecond);

void BM_Baseline_NginxWarmGetHandedOver(benchmark::State& state) { NginxWarmGet(state, false, true); }
BENCHMARK(BM_Baseline_NginxWarmGetHandedOver)->UseRealTime()->Unit(benchmark::kMicrosecond);

void BM_Baseline_NginxWarmGet304HandedOver(benchmark::State& state) { NginxWarmGet(state, true, true); }
BENCHMARK(BM_Baseline_NginxWarmGet304HandedOver)->UseRealTime()->Unit(benchmark::kMicrosecond);

// The library's request after the first, against nginx: a file changed since
// the last request (a 200 with the whole file to parse), or unchanged (a 304
// answered with the list already made).
void NginxRequestEndToEnd(benchmark::State& state, bool changed) {
  AtNginx nginx;
  vconf_sim::SetStr("db/menu_widget/language", "en_US.utf8");
  CContents contents;
  Arrivals arrivals;
  contents.RegisterCallback(Arrivals::Callback, &arrivals);
  size_t requests = 0;
  contents.RequestContentsList();
  arrivals.WaitFor(++requests);
  for (auto _ : state) {
    if (changed) ChangeGeneralFile();
    contents.RequestContentsList();
    arrivals.WaitFor(++requests);
  }
  state.counters["list_bytes"] = static_cast<double>(arrivals.Bytes()) / static_cast<double>(requests);
}

void BM_NginxRequestEndToEnd(benchmark::State& state) { NginxRequestEndToEnd(state, true); }
BENCHMARK(BM_NginxRequestEndToEnd)->UseRealTime()->Unit(benchmark::kMicrosecond);

void BM_NginxRequestUnchanged(benchmark::State& state) { NginxRequestEndToEnd(state, false); }
BENCHMARK(BM_NginxRequestUnchanged)->UseRealTime()->Unit(benchmark::kMicrosecond);

void BM_Baseline_CurlGet(benchmark::State& state) {
  SharedHost();
  const std::string url = CContents::GetURL();
  for (auto _ : state) {
    std::string body;
    CURL* curl = NewGet(url, &body);
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
  CContents::GetURL();  // the stand-ins start their threads on first use
  const int threadsBefore = ThreadCount();
  batch(50);
  // The warm-up's threads wait a moment for more work before they end.
  WaitForThreadCount(threadsBefore, std::chrono::seconds(5));
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
