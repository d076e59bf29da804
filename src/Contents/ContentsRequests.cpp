#include "ContentsRequests.h"

#include <algorithm>
#include <chrono>
#include <utility>

#include "ContentsUrl.h"
#include "LibraryLife.h"
#include "LibraryLog.h"

namespace {

// Downloads that may run at once. A caller asking in a loop would otherwise
// start a thread and a transfer per call, without bound: thousands of
// threads, hundreds of MiB, and on the TV's 32-bit address space threads
// that cannot be created at all.
constexpr int kMaxWorkers = 4;

// How long a worker waits for more requests once its own are answered:
// requests in a burst share threads, an idle process keeps none.
constexpr std::chrono::milliseconds kIdleTimeout{50};

}  // namespace

void ContentsCallback::Call(const CContentsDelivery& answer) const {
  if (delivery != nullptr) {
    delivery(answer, userData);
  } else if (text != nullptr) {
    text(answer.Json(), userData);
  }
}

bool CContentsDelivery::OutOfDate() const {
  return (!m_url.empty() && m_url != CurrentContentsUrl()) || m_owner.HandedNewerThan(m_download, m_json);
}

void CContentsRequests::Register(const ContentsCallback& callback) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_registration = callback;
}

void CContentsRequests::Request() {
  Batch unserved;
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_open || m_registration.Empty()) return;
    // Workers not busy with a download take the queued ones in turn, and
    // as many more may start.
    const int waitingWorkers = m_workers - m_busyWorkers;
    if (m_queue.empty() || kMaxWorkers - m_busyWorkers > static_cast<int>(m_queue.size())) m_queue.emplace_back();
    Batch& batch = m_queue.back();
    if (batch.empty() || !(batch.back().callback == m_registration)) batch.push_back({m_registration, 0});
    ++batch.back().count;
    if (waitingWorkers >= static_cast<int>(m_queue.size())) {
      m_changed.notify_all();
      return;
    }
    // With every worker busy, the next one to finish takes the download.
    if (m_workers >= kMaxWorkers || StartWorkerLocked() || m_workers > 0 || library_life::Stopping()) return;
    for (Batch& queued : m_queue) unserved.insert(unserved.end(), queued.begin(), queued.end());
    m_queue.clear();
  }
  // No thread to download on and none running to take the request over: it
  // is answered now, as a failed download is, rather than never.
  VARNIO_LOG(3, "no thread for a contents request; answering with the list kept");
  Deliver(unserved, KeptTileList(m_lists));
}

void CContentsRequests::Close() {
  std::unique_lock<std::mutex> lock(m_mutex);
  m_open = false;
  m_queue.clear();
  m_changed.notify_all();
  // A delivery on this very thread (the owner destroyed from inside its own
  // callback) cannot be waited for.
  const std::thread::id me = std::this_thread::get_id();
  m_changed.wait(lock, [&] {
    return std::all_of(m_delivering.begin(), m_delivering.end(), [&](std::thread::id id) { return id == me; });
  });
}

bool CContentsRequests::HandedNewerThan(uint64_t download, const std::string& json) const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return download != 0 && m_newestHanded > download && m_newestHandedJson != json;
}

bool CContentsRequests::StartWorkerLocked() {
  std::weak_ptr<CContentsRequests> weak = weak_from_this();
  const library_life::StartResult started = library_life::StartThread(
      [self = shared_from_this()] { self->Work(); },
      [weak] {
        if (const std::shared_ptr<CContentsRequests> self = weak.lock()) self->WakeWorkers();
        ContentsConnection::WakeAll();
      });
  if (started != library_life::StartResult::kStarted) return false;
  ++m_workers;
  return true;
}

void CContentsRequests::Work() {
  std::unique_lock<std::mutex> lock(m_mutex);
  for (;;) {
    const auto mayGo = [&] { return !m_open || library_life::Stopping(); };
    m_changed.wait_for(lock, kIdleTimeout, [&] { return !m_queue.empty() || mayGo(); });
    if (m_queue.empty() || mayGo()) break;
    const Batch batch = std::move(m_queue.front());
    m_queue.pop_front();
    const uint64_t download = ++m_downloadsStarted;
    ++m_busyWorkers;
    lock.unlock();
    Deliver(batch, FetchTileList(m_lists, m_connections, download));
    lock.lock();
    --m_busyWorkers;
  }
  --m_workers;
}

void CContentsRequests::Deliver(const Batch& batch, const ContentsTileList& list) {
  const CContentsDelivery delivery(*this, list.json, list.url, list.download);
  const std::thread::id me = std::this_thread::get_id();
  for (const Waiting& waiting : batch) {
    for (size_t i = 0; i < waiting.count; ++i) {
      {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_open || library_life::Stopping()) return;
        if (list.download > m_newestHanded) {
          m_newestHanded = list.download;
          m_newestHandedJson = list.json;
        }
        m_delivering.push_back(me);
      }
      waiting.callback.Call(delivery);
      {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_delivering.erase(std::find(m_delivering.begin(), m_delivering.end(), me));
      }
      m_changed.notify_all();
    }
  }
}

void CContentsRequests::WakeWorkers() {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_changed.notify_all();
}
