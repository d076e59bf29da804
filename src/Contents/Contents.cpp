#include "Contents.h"

#include <condition_variable>
#include <mutex>
#include <system_error>
#include <utility>

#include "ContentsDownload.h"
#include "Log.h"

namespace {

// Downloads that may run at once. A caller asking in a loop would otherwise
// start a thread and a TLS connection per call, without bound: thousands of
// threads, hundreds of MiB, and on the TV's 32-bit address space threads
// that cannot be created at all. Requests beyond the bound wait, and the
// next download to start serves all of them.
constexpr int kMaxDownloads = 4;

// Set while this thread delivers a contents result, so that an owner
// destroyed from inside its own callback does not wait for itself.
thread_local bool t_delivering = false;

void ContentsRequestThreadMain(std::vector<stCallBack> batch, std::shared_ptr<CContentsLifeline> lifeline);

}  // namespace

// Outlives the CContents for as long as a request thread holds it. The
// registration, the thread handle and the waiting requests are guarded here
// too: requests come from the caller's thread and the platform's
// notification threads at once.
class CContentsLifeline {
 public:
  std::mutex mutex;
  std::condition_variable idle;
  bool alive = true;
  int deliveries = 0;
  int downloads = 0;                // request threads still downloading
  std::vector<stCallBack> waiting;  // requests no download has started for yet

  // Marks a delivery in flight; false once the owner is gone.
  bool BeginDelivery() {
    std::lock_guard<std::mutex> lock(mutex);
    if (!alive) return false;
    ++deliveries;
    return true;
  }

  void EndDelivery() {
    {
      std::lock_guard<std::mutex> lock(mutex);
      --deliveries;
    }
    idle.notify_all();
  }

  // One download for every waiting request; the caller holds `mutex`. When
  // no thread can be had the requests go on waiting for the next download.
  void StartDownloadLocked(const std::shared_ptr<CContentsLifeline>& self, std::thread& handle) {
    try {
      handle = std::thread(ContentsRequestThreadMain, waiting, self);
    } catch (const std::system_error& error) {
      VARNIO_LOG(3, "cannot start a contents request: %s", error.what());
      return;
    }
    handle.detach();
    waiting.clear();
    ++downloads;
  }

  // A download is done: its place goes to the requests that waited for one.
  void FinishDownload(const std::shared_ptr<CContentsLifeline>& self) {
    std::lock_guard<std::mutex> lock(mutex);
    --downloads;
    if (!alive || waiting.empty()) return;
    std::thread handle;
    StartDownloadLocked(self, handle);
  }
};

namespace {

void Deliver(const stCallBack& callBack, const std::string& json, CContentsLifeline& lifeline) {
  if (callBack.pfnCallBack == nullptr || !lifeline.BeginDelivery()) return;
  t_delivering = true;
  callBack.pfnCallBack(json, callBack.pUserData);
  t_delivering = false;
  lifeline.EndDelivery();
}

// Each request in `batch` gets its own delivery of one download made after
// it was asked for. The download's place is given up before delivering, so
// a caller's callback that blocks holds up only its own thread.
void ContentsRequestThreadMain(std::vector<stCallBack> batch, std::shared_ptr<CContentsLifeline> lifeline) {
  std::string contents;
  CContents::GetQuorvelJsonFile(contents);
  std::string json;
  CContents::GetContentsJson(contents, json);
  lifeline->FinishDownload(lifeline);
  for (const stCallBack& callBack : batch) Deliver(callBack, json, *lifeline);
}

}  // namespace

CContents::CContents() : m_pLifeline(std::make_shared<CContentsLifeline>()) {
  VARNIO_TRACE();
  InitCurlOnce();
}

CContents::~CContents() {
  std::unique_lock<std::mutex> lock(m_pLifeline->mutex);
  m_pLifeline->alive = false;
  m_pLifeline->waiting.clear();
  const int own = t_delivering ? 1 : 0;
  m_pLifeline->idle.wait(lock, [&] { return m_pLifeline->deliveries <= own; });
}

bool CContents::RegisterCallback(void (*callback)(std::string, void*), void* userData) {
  VARNIO_TRACE();
  std::lock_guard<std::mutex> lock(m_pLifeline->mutex);
  m_stCallBack.pfnCallBack = callback;
  m_stCallBack.pUserData = userData;
  return true;
}

void CContents::UnregisterCallback() {
  VARNIO_TRACE();
  std::lock_guard<std::mutex> lock(m_pLifeline->mutex);
  m_stCallBack = stCallBack();
}

void CContents::RequestContentsList() {
  VARNIO_TRACE();
  std::lock_guard<std::mutex> lock(m_pLifeline->mutex);
  m_pLifeline->waiting.push_back(m_stCallBack);
  // With every place taken, the next download to finish starts one for it.
  if (m_pLifeline->downloads < kMaxDownloads) m_pLifeline->StartDownloadLocked(m_pLifeline, m_Thread);
}
