#include "ContentsDownload.h"

#include <curl/curl.h>

#include <utility>

#include "Contents.h"
#include "ContentsThreads.h"
#include "LibraryFiles.h"
#include "LibraryLog.h"

namespace {

// Longer validators are not sent back: a host has no need of them, and they
// would make every later request as long.
constexpr size_t kMaxValidatorBytes = 512;

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

struct SettingsStore {
  std::mutex mutex;
  ContentsDownloadSettings settings;
};

// Never destroyed: a download thread may start while the process exits.
SettingsStore& TheSettings() {
  static SettingsStore* store = new SettingsStore();
  return *store;
}

// A validator goes back into a request header line: one with a control
// character (a line break above all) or of any length is not kept.
bool FitToSendBack(const std::string& value) {
  if (value.size() > kMaxValidatorBytes) return false;
  for (const char c : value) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7f) return false;
  }
  return true;
}

// The answer's header `name` when it is fit to send back, else empty.
std::string Validator(CURL* curl, const char* name) {
  curl_header* header = nullptr;
  if (curl_easy_header(curl, name, 0, CURLH_HEADER, -1, &header) != CURLHE_OK) return std::string();
  std::string value = header->value;
  if (FitToSendBack(value)) return value;
  VARNIO_LOG(2, "%s of %zu bytes not kept", name, value.size());
  return std::string();
}

curl_slist* ConditionHeaders(const ContentsValidators& ifChanged) {
  curl_slist* headers = nullptr;
  if (!ifChanged.etag.empty()) {
    headers = curl_slist_append(headers, ("If-None-Match: " + ifChanged.etag).c_str());
  }
  if (!ifChanged.lastModified.empty()) {
    headers = curl_slist_append(headers, ("If-Modified-Since: " + ifChanged.lastModified).c_str());
  }
  return headers;
}

}  // namespace

ContentsDownloadSettings DownloadSettings() {
  SettingsStore& store = TheSettings();
  std::lock_guard<std::mutex> lock(store.mutex);
  return store.settings;
}

void SetDownloadSettings(const ContentsDownloadSettings& settings) {
  SettingsStore& store = TheSettings();
  std::lock_guard<std::mutex> lock(store.mutex);
  store.settings = settings;
}

void InitCurlOnce() {
  static std::once_flag once;
  std::call_once(once, [] {
    curl_global_init(CURL_GLOBAL_DEFAULT);
    // Registered after the TLS library's own exit handler, so it runs first.
    contents_threads::StopAtExit();
  });
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
  ContentsConnection connection;
  if (!connection.Usable()) return false;
  return connection.Fetch(GetURL(), ContentsValidators(), DownloadSettings(), out).transferred;
}

ContentsConnection::ContentsConnection() : m_curl(curl_easy_init()) {}

ContentsConnection::~ContentsConnection() {
  if (m_curl != nullptr) curl_easy_cleanup(m_curl);
}

FetchResult ContentsConnection::Fetch(const std::string& url, const ContentsValidators& ifChanged,
                                      const ContentsDownloadSettings& settings, std::string& out) {
  CURL* curl = m_curl;
  // Options go, the connections and the TLS session cache stay.
  curl_easy_reset(curl);
  DownloadSink sink{&out, 0, settings.maxBodyBytes};
  curl_slist* headers = ConditionHeaders(ifChanged);
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, WriteToSink);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &sink);
  curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
  // Signals are no way to time out a transfer with other threads about.
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, settings.connectTimeoutSeconds);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, settings.lowSpeedBytesPerSecond);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, settings.lowSpeedSeconds);
  curl_easy_setopt(curl, CURLOPT_TIMEOUT, settings.totalTimeoutSeconds);
  curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, AbortWhenExiting);
  curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(settings.maxBodyBytes));
  const std::string& caFile = library_files::ContentsCaFile();
  if (!caFile.empty()) curl_easy_setopt(curl, CURLOPT_CAINFO, caFile.c_str());

  const CURLcode code = curl_easy_perform(curl);
  curl_slist_free_all(headers);
  FetchResult result;
  curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &result.status);
  if (code != CURLE_OK) {
    VARNIO_LOG(0, "[ErrorCode = %d]", static_cast<int>(code));
    VARNIO_LOG(0, "[Curl Error message = %s]", curl_easy_strerror(code));
    return result;
  }
  VARNIO_LOG(0, "get json success");
  result.transferred = true;
  result.validators.etag = Validator(curl, "ETag");
  result.validators.lastModified = Validator(curl, "Last-Modified");
  return result;
}

std::unique_ptr<ContentsConnection> ContentsConnectionPool::Take() {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_idle.empty()) {
      std::unique_ptr<ContentsConnection> connection = std::move(m_idle.back());
      m_idle.pop_back();
      return connection;
    }
  }
  return std::make_unique<ContentsConnection>();
}

void ContentsConnectionPool::Give(std::unique_ptr<ContentsConnection> connection) {
  if (connection == nullptr || !connection->Usable()) return;
  std::lock_guard<std::mutex> lock(m_mutex);
  m_idle.push_back(std::move(connection));
}
