// Asks for the signed-out tiles, then ends the process while the downloads
// run, in the way the first argument names:
//   return    returns from main
//   exit      calls exit() on the main thread
//   thread    calls exit() on another thread while main waits
//   callback  calls exit() inside the first tile-list delivery
// Usage: exit_mid_download HOW DELAY_MICROSECONDS REQUESTS
// Prints "exiting" on stderr just before the process starts to exit; once
// the library's exit handler has run, "stopped in N ms", and "threads left:
// N" when N of its threads are still there.
#include <unistd.h>
#include <vconf_sim.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "ThreadCount.h"
#include "varnio.h"

namespace {

bool g_exitInCallback = false;
std::atomic<bool> g_exitCalled{false};
// Threads of the process once the service has started, and the one more
// that exit() on another thread than main leaves running.
int g_threadsBefore = 0;
int g_exitingThread = 0;
std::atomic<int64_t> g_exitingAtMs{0};

int64_t NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

void MarkExiting() {
  g_exitingAtMs = NowMs();
  fprintf(stderr, "exiting\n");
}

// Installed before the library's first call, so it runs after the library's
// own exit handler.
void CountThreadsLeft() {
  fprintf(stderr, "stopped in %lld ms\n", static_cast<long long>(NowMs() - g_exitingAtMs));
  const int left = ThreadCount() - g_threadsBefore - g_exitingThread;
  if (left > 0) fprintf(stderr, "threads left: %d\n", left);
}

void Exit() {
  MarkExiting();
  exit(0);
}

// cppcheck-suppress passedByValue ; the library's callback type
void OnResult(std::string /*text*/, void* /*userData*/) {
  // Only the first: two threads calling exit() at once is the caller's fault.
  if (g_exitInCallback && !g_exitCalled.exchange(true)) Exit();
}

void OnEvent(std::string /*text*/, void* /*userData*/) {}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    fprintf(stderr, "usage: %s return|exit|thread|callback DELAY_US REQUESTS\n", argv[0]);
    return 2;
  }
  const std::string how = argv[1];
  const int delayMicroseconds = atoi(argv[2]);
  const int requests = atoi(argv[3]);
  g_exitInCallback = how == "callback";
  g_exitingThread = how == "callback" || how == "thread" ? 1 : 0;
  atexit(CountThreadsLeft);

  vconf_sim::SetStr("db/menu_widget/language", "en_US.utf8");
  vconf_sim::WaitIdle();
  iot_svc_register_result_cb(IOT_SVC_CMD_GET_ACCELERATOR_TILES, OnResult, nullptr);
  iot_svc_register_event_cb(IOT_SVC_EVENT_TILES_CHANGED, OnEvent, nullptr);
  g_threadsBefore = ThreadCount();
  for (int i = 0; i < requests; ++i) iot_svc_get_accelerator_tiles();
  usleep(static_cast<useconds_t>(delayMicroseconds));

  if (how == "exit") Exit();
  if (how == "thread") std::thread(Exit).join();  // never returns
  if (how == "callback") {
    sleep(30);  // the delivery ends the process long before
    fprintf(stderr, "no tile list arrived\n");
    return 1;
  }
  MarkExiting();
  return 0;
}
