#include <curl/curl.h>

#include <mutex>

#include "Contents.h"
#include "ContentsDownload.h"
#include "ContentsThreads.h"
#include "Log.h"

namespace {

// What the write callback appends to, and the cap it enforces itself:
// libcurl's own size limit does not stop a body of unknown length.
struct DownloadSink {
  std::string* out;
  size_t received;
  size_t maxBytes;
};

size_t WriteToSink(char* data, size_t size, size_t count, void* userData) {
  DownloadSink* sink = static_cast<DownloadSink*>(userData);
  const size_t bytes = size * count;
  if (sink->received + bytes > sink->maxBytes) return 0;  // aborts: body too large
  sink->received += bytes;
  return CContents::m_WriteCb(data, size, count, sink->out);
}

// Aborts the transfer once the process has begun to exit; libcurl asks at
// least about once a second, also while nothing arrives.
int AbortWhenExiting(void* /*userData*/, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  return contents_threads::Exiting() ? 1 : 0;
}

}  // namespace

void InitCurlOnce() {
  static std::once_flag once;
  std::call_once(once, [] {
    curl_global_init(CURL_GLOBAL_DEFAULT);
    // Registered after the TLS library's own exit handler, so it runs first.
    contents_threads::StopAtExit();
  });
}

ContentsDownloadLimits& ContentsLimits() {
  static ContentsDownloadLimits* limits = new ContentsDownloadLimits();
  return *limits;
}

size_t CContents::m_WriteCb(char* data, size_t size, size_t count, std::string* out) {
  VARNIO_TRACE();
  if (out == nullptr) return 0;
  out->append(data, size * count);
  return size * count;
}

bool CContents::GetQuorvelJsonFile(std::string& out) {
  VARNIO_TRACE();
  InitCurlOnce();
  CURL* curl = curl_easy_init();
  if (curl == nullptr) return false;

  const ContentsDownloadLimits limits = ContentsLimits();
  const std::string url = GetURL();
  DownloadSink sink{&out, 0, limits.maxBodyBytes};
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, WriteToSink);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &sink);
  // Signals are no way to time out a transfer with other threads about.
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, limits.connectTimeoutSeconds);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, limits.lowSpeedBytesPerSecond);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, limits.lowSpeedSeconds);
  curl_easy_setopt(curl, CURLOPT_TIMEOUT, limits.totalTimeoutSeconds);
  curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, AbortWhenExiting);
  curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(limits.maxBodyBytes));
  if (VARNIO_CONTENTS_CA_FILE[0] != '\0') curl_easy_setopt(curl, CURLOPT_CAINFO, VARNIO_CONTENTS_CA_FILE);

  const CURLcode code = curl_easy_perform(curl);
  bool result = true;
  if (code == CURLE_OK) {
    VARNIO_LOG(0, "get json success");
  } else {
    VARNIO_LOG(0, "[ErrorCode = %d]", static_cast<int>(code));
    VARNIO_LOG(0, "[Curl Error message = %s]", curl_easy_strerror(code));
    result = false;
  }
  curl_easy_cleanup(curl);
  return result;
}
