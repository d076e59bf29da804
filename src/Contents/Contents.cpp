#include "Contents.h"

#include <condition_variable>
#include <mutex>
#include <system_error>
#include <utility>

#include "ContentsDownload.h"
#include "Log.h"

// Outlives the CContents for as long as a request thread holds it. The
// registration and the thread handle are guarded here too: requests come
// from the caller's thread and the platform's notification threads at once.
class CContentsLifeline {
 public:
  std::mutex mutex;
  std::condition_variable idle;
  bool alive = true;
  int deliveries = 0;

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
};

namespace {

// Set while this thread delivers a contents result, so that an owner
// destroyed from inside its own callback does not wait for itself.
thread_local bool t_delivering = false;

void ContentsRequestThreadMain(stCallBack callBack, std::shared_ptr<CContentsLifeline> lifeline) {
  std::string contents;
  CContents::GetQuorvelJsonFile(contents);
  std::string json;
  CContents::GetContentsJson(contents, json);
  if (callBack.pfnCallBack == nullptr || !lifeline->BeginDelivery()) return;
  t_delivering = true;
  callBack.pfnCallBack(json, callBack.pUserData);
  t_delivering = false;
  lifeline->EndDelivery();
}

}  // namespace

CContents::CContents() : m_pLifeline(std::make_shared<CContentsLifeline>()) {
  VARNIO_TRACE();
  InitCurlOnce();
}

CContents::~CContents() {
  std::unique_lock<std::mutex> lock(m_pLifeline->mutex);
  m_pLifeline->alive = false;
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
  try {
    m_Thread = std::thread(ContentsRequestThreadMain, m_stCallBack, m_pLifeline);
    m_Thread.detach();
  } catch (const std::system_error& error) {
    // Out of threads: this request is lost, but the caller must not see a throw.
    VARNIO_LOG(3, "cannot start a contents request: %s", error.what());
  }
}
