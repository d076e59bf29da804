// A kept connection to the contents host: downloads over it, the limits each
// download keeps to, what the host's answer lets the next request send back
// (validators), and the pool of connections between downloads.
#ifndef VARNIO_CONTENTSCONNECTION_H_
#define VARNIO_CONTENTSCONNECTION_H_

#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

// A contents file is a few KiB; a host that stalls or sends without end
// must not hold a thread for ever.
struct ContentsDownloadSettings {
  long connectTimeoutSeconds = 10;
  long lowSpeedBytesPerSecond = 1;  // slower than this ...
  long lowSpeedSeconds = 30;        // ... for this long aborts the transfer
  long totalTimeoutSeconds = 120;
  size_t maxBodyBytes = size_t{1024} * 1024;
};

// A copy of the settings, taken by each download when it starts.
ContentsDownloadSettings DownloadSettings();
// Tests shorten the limits.
void SetDownloadSettings(const ContentsDownloadSettings& settings);

// What identifies one version of a file at the host: sent back so that the
// host answers 304 while its file is still that version. Either may be empty.
struct ContentsValidators {
  std::string etag;
  std::string lastModified;
};

struct FetchResult {
  bool transferred = false;       // the transfer completed, whatever the status
  long status = 0;                // the HTTP status; 0 when none came
  ContentsValidators validators;  // of the answer, those fit to send back
};

// A libcurl multi handle with its one easy handle, kept across downloads:
// the next download to the same host reuses the connection and the TLS
// session. Used by one thread at a time. Every socket it opens is
// close-on-exec.
class ContentsConnection {
 public:
  ContentsConnection();
  ~ContentsConnection();
  ContentsConnection(const ContentsConnection&) = delete;
  ContentsConnection& operator=(const ContentsConnection&) = delete;

  // False when libcurl gave no handle.
  bool Usable() const { return m_multi != nullptr && m_easy != nullptr; }

  // Appends the file at `url` to `out`, within the limits of `settings`.
  // Non-empty `ifChanged` validators ask for a 304 while they still hold. A
  // kept connection that turns out to have been closed by the host before
  // any byte of the answer came is given up, and the request sent once more
  // on a new one. Once the library is stopping, returns at once as failed.
  FetchResult Fetch(const std::string& url, const ContentsValidators& ifChanged,
                    const ContentsDownloadSettings& settings, std::string& out);

  // Interrupts every transfer's wait, on every connection, from any thread:
  // each then finds the library stopping and ends as failed.
  static void WakeAll();

 private:
  struct Attempt;
  Attempt Transfer(const std::string& url, const ContentsValidators& ifChanged,
                   const ContentsDownloadSettings& settings, bool freshConnection, std::string& out);

  void* m_multi;  // CURLM*, kept out of this header
  void* m_easy;   // CURL*
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

#endif  // VARNIO_CONTENTSCONNECTION_H_
