// One contents download over a kept libcurl handle, and the settings every
// download starts with.
#ifndef VARNIO_CONTENTSDOWNLOAD_H_
#define VARNIO_CONTENTSDOWNLOAD_H_

#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

// A contents file is a few KiB; a host that stalls or sends without end
// must not hold a thread for ever.
struct ContentsDownloadSettings {
  std::string origin;  // scheme, host and port; empty: the built-in contents host
  long connectTimeoutSeconds = 10;
  long lowSpeedBytesPerSecond = 1;  // slower than this ...
  long lowSpeedSeconds = 30;        // ... for this long aborts the transfer
  long totalTimeoutSeconds = 120;
  size_t maxBodyBytes = size_t{1024} * 1024;
};

// A copy of the settings, taken by each download when it starts.
ContentsDownloadSettings DownloadSettings();
// Tests shorten the limits and point downloads at another host.
void SetDownloadSettings(const ContentsDownloadSettings& settings);

// libcurl's global initialisation, once per process, thread-safe. Done when
// the first CContents is made, on its owner's thread, so that TLS set-up
// never races a download thread.
void InitCurlOnce();

// What identifies one version of a file at the host: sent back so that the
// host answers 304 while its file is still that version. Either may be empty.
struct ContentsValidators {
  std::string etag;
  std::string lastModified;
};

struct FetchResult {
  bool transferred = false;  // the transfer completed, whatever the status
  long status = 0;           // the HTTP status; 0 when none came
  ContentsValidators validators;  // of the answer, those fit to send back
};

// A libcurl easy handle kept across downloads: the next download to the same
// host reuses its connection and TLS session. Used by one thread at a time.
class ContentsConnection {
 public:
  ContentsConnection();
  ~ContentsConnection();
  ContentsConnection(const ContentsConnection&) = delete;
  ContentsConnection& operator=(const ContentsConnection&) = delete;

  // False when libcurl gave no handle.
  bool Usable() const { return m_curl != nullptr; }

  // Appends the file at `url` to `out`, within the limits of `settings`.
  // Non-empty `ifChanged` validators ask for a 304 while they still hold.
  FetchResult Fetch(const std::string& url, const ContentsValidators& ifChanged,
                    const ContentsDownloadSettings& settings, std::string& out);

 private:
  void* m_curl;  // CURL*, kept out of this header
};

// Connections between downloads, the most recently used first: at most one
// per download that ran at once.
class ContentsConnectionPool {
 public:
  // A kept connection, else a new one.
  std::unique_ptr<ContentsConnection> Take();
  void Give(std::unique_ptr<ContentsConnection> connection);

 private:
  std::mutex m_mutex;
  std::vector<std::unique_ptr<ContentsConnection>> m_idle;
};

#endif  // VARNIO_CONTENTSDOWNLOAD_H_
