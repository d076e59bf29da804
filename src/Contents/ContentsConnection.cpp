#include "ContentsConnection.h"

#include <curl/curl.h>

#include <set>
#include <utility>

#include "CloseOnExec.h"
#include "Contents.h"
#include "LibraryFiles.h"
#include "LibraryLife.h"
#include "LibraryLog.h"

namespace {

// Longer validators are not sent back: a host has no need of them, and they
// would make every later request as long.
constexpr size_t kMaxValidatorBytes = 512;

// How long a transfer waits for its sockets between looks at the library
// stopping; a stop wakes it at once, so this is only a backstop.
constexpr int kPollMilliseconds = 1000;

// Failures of a request that a kept connection closed by the host causes
// when nothing of the answer came yet: the host reset it or closed it
// (HTTP/1.1), or ended it with a GOAWAY or broke its framing (HTTP/2).
constexpr CURLcode kClosedConnectionErrors[] = {CURLE_SEND_ERROR, CURLE_RECV_ERROR, CURLE_GOT_NOTHING,
                                                CURLE_HTTP2, CURLE_HTTP2_STREAM};

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

struct SettingsStore {
  std::mutex mutex;
  ContentsDownloadSettings settings;
};

// Never destroyed: a download thread may start while the process exits.
SettingsStore& TheSettings() {
  static SettingsStore* store = new SettingsStore();
  return *store;
}

// The multi handles whose transfers are under way, for the stop to wake.
struct Transfers {
  std::mutex mutex;
  std::set<CURLM*> running;
};

Transfers& TheTransfers() {
  static Transfers* transfers = new Transfers();
  return *transfers;
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

// Drives the transfer of the easy handle in `multi` to its end and returns
// its result; aborted once the library is stopping, which wakes the wait.
CURLcode Drive(CURLM* multi) {
  for (;;) {
    if (library_life::Stopping()) return CURLE_ABORTED_BY_CALLBACK;
    int running = 0;
    if (curl_multi_perform(multi, &running) != CURLM_OK) return CURLE_OUT_OF_MEMORY;
    if (running == 0) {
      int left = 0;
      const CURLMsg* message = curl_multi_info_read(multi, &left);
      return message != nullptr && message->msg == CURLMSG_DONE ? message->data.result : CURLE_OUT_OF_MEMORY;
    }
    curl_multi_poll(multi, nullptr, 0, kPollMilliseconds, nullptr);
  }
}

// The transfer of `easy` on `multi`, where the stop can wake it.
CURLcode Run(CURLM* multi, CURL* easy) {
  Transfers& transfers = TheTransfers();
  {
    std::lock_guard<std::mutex> lock(transfers.mutex);
    transfers.running.insert(multi);
  }
  CURLcode code = CURLE_OUT_OF_MEMORY;
  if (curl_multi_add_handle(multi, easy) == CURLM_OK) {
    code = Drive(multi);
    curl_multi_remove_handle(multi, easy);
  }
  std::lock_guard<std::mutex> lock(transfers.mutex);
  transfers.running.erase(multi);
  return code;
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

struct ContentsConnection::Attempt {
  CURLcode code = CURLE_OK;
  std::string error;  // libcurl's text of what went wrong
  FetchResult result;
  // Failed on a kept connection before any byte of the answer came.
  bool keptConnectionClosed = false;
};

ContentsConnection::ContentsConnection() {
  library_life::Start();
  m_multi = NewCloseOnExecMulti();
  m_easy = curl_easy_init();
}

ContentsConnection::~ContentsConnection() {
  // The easy handle is never left in the multi, so the order is free.
  if (m_easy != nullptr) curl_easy_cleanup(m_easy);
  if (m_multi != nullptr) curl_multi_cleanup(m_multi);
}

void ContentsConnection::WakeAll() {
  Transfers& transfers = TheTransfers();
  std::lock_guard<std::mutex> lock(transfers.mutex);
  for (CURLM* multi : transfers.running) curl_multi_wakeup(multi);
}

FetchResult ContentsConnection::Fetch(const std::string& url, const ContentsValidators& ifChanged,
                                      const ContentsDownloadSettings& settings, std::string& out) {
  Attempt attempt = Transfer(url, ifChanged, settings, false, out);
  if (attempt.keptConnectionClosed && !library_life::Stopping()) {
    VARNIO_LOG(1, "the host closed the kept connection (%s); asking again on a new one", attempt.error.c_str());
    attempt = Transfer(url, ifChanged, settings, true, out);
  }
  if (attempt.code != CURLE_OK && !library_life::Stopping()) {
    VARNIO_LOG(2, "contents download of %s failed: %s", url.c_str(), attempt.error.c_str());
  }
  return attempt.result;
}

ContentsConnection::Attempt ContentsConnection::Transfer(const std::string& url, const ContentsValidators& ifChanged,
                                                         const ContentsDownloadSettings& settings,
                                                         bool freshConnection, std::string& out) {
  CURL* curl = m_easy;
  // Options go, the connections and the TLS session cache stay.
  curl_easy_reset(curl);
  DownloadSink sink{&out, 0, settings.maxBodyBytes};
  char error[CURL_ERROR_SIZE] = "";
  curl_slist* headers = ConditionHeaders(ifChanged);
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, WriteToSink);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &sink);
  curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
  curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, error);
  curl_easy_setopt(curl, CURLOPT_OPENSOCKETFUNCTION, OpenCloseOnExecSocket);
  curl_easy_setopt(curl, CURLOPT_FRESH_CONNECT, freshConnection ? 1L : 0L);
  // Signals are no way to time out a transfer with other threads about.
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  // A transfer ended while its name lookup runs leaves the lookup behind
  // instead of waiting for it.
  curl_easy_setopt(curl, CURLOPT_QUICK_EXIT, 1L);
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, settings.connectTimeoutSeconds);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, settings.lowSpeedBytesPerSecond);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, settings.lowSpeedSeconds);
  curl_easy_setopt(curl, CURLOPT_TIMEOUT, settings.totalTimeoutSeconds);
  curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(settings.maxBodyBytes));
  const std::string& caFile = library_files::ContentsCaFile();
  if (!caFile.empty()) curl_easy_setopt(curl, CURLOPT_CAINFO, caFile.c_str());

  Attempt attempt;
  attempt.code = Run(m_multi, curl);
  curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, nullptr);  // this frame's, as are the sink and the headers
  curl_slist_free_all(headers);
  curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &attempt.result.status);
  if (attempt.code != CURLE_OK) {
    VARNIO_LOG(0, "[ErrorCode = %d]", static_cast<int>(attempt.code));
    VARNIO_LOG(0, "[Curl Error message = %s]", curl_easy_strerror(attempt.code));
    attempt.error = error[0] != '\0' ? error : curl_easy_strerror(attempt.code);
    long newConnections = 0;
    long headerBytes = 0;
    curl_easy_getinfo(curl, CURLINFO_NUM_CONNECTS, &newConnections);
    curl_easy_getinfo(curl, CURLINFO_HEADER_SIZE, &headerBytes);
    const bool nothingCame = headerBytes == 0 && sink.received == 0;
    for (const CURLcode closed : kClosedConnectionErrors) {
      attempt.keptConnectionClosed |= attempt.code == closed && newConnections == 0 && nothingCame;
    }
    return attempt;
  }
  VARNIO_LOG(0, "get json success");
  attempt.result.transferred = true;
  attempt.result.validators.etag = Validator(curl, "ETag");
  attempt.result.validators.lastModified = Validator(curl, "Last-Modified");
  return attempt;
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
