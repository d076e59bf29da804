#include "ContentsLifeline.h"

#include <utility>

#include "ContentsThreads.h"
#include "ContentsTileList.h"
#include "ContentsUrl.h"

namespace {

// Downloads that may run at once. A caller asking in a loop would otherwise
// start a thread and a transfer per call, without bound: thousands of
// threads, hundreds of MiB, and on the TV's 32-bit address space threads
// that cannot be created at all. Requests beyond the bound wait, and the
// next download to start serves all of them.
constexpr int kMaxDownloads = 4;

// Set while this thread delivers a contents result, so that an owner
// destroyed from inside its own callback does not wait for itself.
thread_local bool t_delivering = false;
// The file the list being delivered on this thread came from; null when it
// came from no file.
thread_local const std::string* t_deliveredUrl = nullptr;

}  // namespace

void CContentsLifeline::Register(const stCallBack& callBack) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_registration = callBack;
}

std::vector<stCallBack> CContentsLifeline::Request() {
  std::vector<stCallBack> unserved;
  std::lock_guard<std::mutex> lock(m_mutex);
  m_waiting.push_back(m_registration);
  // With every place taken, the next download to finish serves it.
  if (m_downloads < kMaxDownloads && !StartDownloadLocked() && m_downloads == 0) unserved.swap(m_waiting);
  return unserved;
}

void CContentsLifeline::Deliver(const std::vector<stCallBack>& batch, const std::string& json,
                                const std::string* url) {
  for (const stCallBack& callBack : batch) {
    if (callBack.pfnCallBack == nullptr) continue;
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      if (!m_open || contents_threads::Exiting()) return;
      ++m_deliveries;
    }
    t_delivering = true;
    t_deliveredUrl = url;
    callBack.pfnCallBack(json, callBack.pUserData);
    t_deliveredUrl = nullptr;
    t_delivering = false;
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      --m_deliveries;
    }
    m_deliveryEnded.notify_all();
  }
}

bool CContentsLifeline::DeliveryMatchesLanguage() {
  return t_deliveredUrl == nullptr || *t_deliveredUrl == CurrentContentsUrl();
}

void CContentsLifeline::Close() {
  std::unique_lock<std::mutex> lock(m_mutex);
  m_open = false;
  m_waiting.clear();
  const int own = t_delivering ? 1 : 0;
  m_deliveryEnded.wait(lock, [&] { return m_deliveries <= own; });
}

bool CContentsLifeline::StartDownloadLocked() {
  const auto started = contents_threads::Start(
      [batch = m_waiting, self = shared_from_this()]() mutable { self->RunDownloads(std::move(batch)); });
  if (started == contents_threads::StartResult::kStarted) {
    m_waiting.clear();
    ++m_downloads;
  }
  return started != contents_threads::StartResult::kNoThread;
}

std::vector<stCallBack> CContentsLifeline::FinishDownload() {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (m_open && !m_waiting.empty() && !StartDownloadLocked()) {
    std::vector<stCallBack> next;
    next.swap(m_waiting);
    return next;
  }
  --m_downloads;
  return {};
}

void CContentsLifeline::RunDownloads(std::vector<stCallBack> batch) {
  while (!batch.empty()) {
    const ContentsTileList list = FetchTileList(m_lists, m_connections);
    std::vector<stCallBack> next = FinishDownload();
    Deliver(batch, list.json, &list.url);
    batch = std::move(next);
  }
}
