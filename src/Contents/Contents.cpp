#include "Contents.h"

#include <condition_variable>
#include <mutex>
#include <utility>

#include "ContentsDownload.h"
#include "ContentsThreads.h"
#include "ContentsUrl.h"
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
// The file the result being delivered on this thread came from; null when
// it came from no file.
thread_local const std::string* t_deliveredUrl = nullptr;

void ContentsRequestThreadMain(std::vector<stCallBack> batch, std::shared_ptr<CContentsLifeline> lifeline);

}  // namespace

// Outlives the CContents for as long as a request thread holds it. The
// registration and the waiting requests are guarded here too: requests come
// from the caller's thread and the platform's notification threads at once.
class CContentsLifeline {
 public:
  std::mutex mutex;
  std::condition_variable idle;
  bool alive = true;
  int deliveries = 0;
  int downloads = 0;                // request threads still downloading
  std::vector<stCallBack> waiting;  // requests no download has started for yet

  // Marks a delivery in flight; false once the owner is gone or the process exits.
  bool BeginDelivery() {
    std::lock_guard<std::mutex> lock(mutex);
    if (!alive || contents_threads::Exiting()) return false;
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

  // One download for every waiting request; the caller holds `mutex`.
  contents_threads::StartResult StartDownloadLocked(const std::shared_ptr<CContentsLifeline>& self) {
    const auto result = contents_threads::Start(
        [batch = waiting, self]() mutable { ContentsRequestThreadMain(std::move(batch), self); });
    if (result == contents_threads::StartResult::kStarted) {
      waiting.clear();
      ++downloads;
    }
    return result;
  }

  // A download is done. Its place goes to a new thread for the requests that
  // waited meanwhile; when no thread can be had, the finishing thread keeps
  // its place and serves them itself: the requests it returns.
  std::vector<stCallBack> FinishDownload(const std::shared_ptr<CContentsLifeline>& self) {
    std::lock_guard<std::mutex> lock(mutex);
    if (alive && !waiting.empty() &&
        StartDownloadLocked(self) == contents_threads::StartResult::kNoThread) {
      std::vector<stCallBack> next;
      next.swap(waiting);
      return next;
    }
    --downloads;
    return {};
  }
};

namespace {

void Deliver(const stCallBack& callBack, const std::string& json, const std::string* url, CContentsLifeline& lifeline) {
  if (callBack.pfnCallBack == nullptr || !lifeline.BeginDelivery()) return;
  t_delivering = true;
  t_deliveredUrl = url;
  callBack.pfnCallBack(json, callBack.pUserData);
  t_deliveredUrl = nullptr;
  t_delivering = false;
  lifeline.EndDelivery();
}

// Each request in `batch` gets its own delivery of one download made after
// it was asked for. The download's place is given up before delivering, so
// a caller's callback that blocks holds up only its own thread.
void ContentsRequestThreadMain(std::vector<stCallBack> batch, std::shared_ptr<CContentsLifeline> lifeline) {
  while (!batch.empty()) {
    // Read before the download: should the language change during it, the
    // result counts as out of date even if the download saw the change.
    const std::string* url = &CurrentContentsUrl();
    std::string contents;
    CContents::GetQuorvelJsonFile(contents);
    std::string json;
    CContents::GetContentsJson(contents, json);
    std::vector<stCallBack> next = lifeline->FinishDownload(lifeline);
    for (const stCallBack& callBack : batch) Deliver(callBack, json, url, *lifeline);
    batch = std::move(next);
  }
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
  std::vector<stCallBack> unserved;
  {
    std::lock_guard<std::mutex> lock(m_pLifeline->mutex);
    m_pLifeline->waiting.push_back(m_stCallBack);
    // With every place taken, the next download to finish serves it.
    if (m_pLifeline->downloads < kMaxDownloads &&
        m_pLifeline->StartDownloadLocked(m_pLifeline) == contents_threads::StartResult::kNoThread &&
        m_pLifeline->downloads == 0) {
      unserved.swap(m_pLifeline->waiting);
    }
  }
  // No thread to download on and none running to take the request over: it
  // is answered now, as a failed download is, rather than never.
  if (unserved.empty()) return;
  VARNIO_LOG(3, "no thread for a contents request; answering with the fixed tiles");
  std::string json;
  GetContentsJson(std::string(), json);
  for (const stCallBack& callBack : unserved) Deliver(callBack, json, nullptr, *m_pLifeline);
}

bool CContents::DeliveryMatchesLanguage() {
  return t_deliveredUrl == nullptr || *t_deliveredUrl == CurrentContentsUrl();
}
