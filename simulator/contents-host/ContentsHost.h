// A local HTTPS host for the contents files, for tests, benchmarks and the
// demo. It serves a directory under "/quorvel-plax/tv/" on the loopback
// address with a certificate made at build time, and on request misbehaves
// the way a real host can: an error page, a stall, a body cut off or reset
// mid-way, a trickle, a body without end, or a file that is not JSON.
#ifndef VARNIO_SIMULATOR_CONTENTS_HOST_H_
#define VARNIO_SIMULATOR_CONTENTS_HOST_H_

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace httplib {
class SSLServer;
struct Request;
struct Response;
}  // namespace httplib

class ContentsHost {
 public:
  enum class Mode {
    kServe,       // the files of the root directory; 404 for anything else
    kNotFound,    // every request gets a 404 page
    kStall,       // accepts, reads the request, never answers
    kCutMidBody,  // announces the full length, sends half and closes
    kReset,       // sends half the body, then resets the connection
    kTrickle,     // a few bytes at a time, far below any sane rate
    kHuge,        // 50 MiB, chunked, so no length is announced
    kMalformed,   // the first third of the file, sent as if whole
    kDelayed,     // the file as it is when asked, answered at the next ReleaseStalled
  };

  struct Options {
    int port = VARNIO_CONTENTS_HOST_PORT;  // the one the test build's library uses
    std::string root;    // directory served under "/quorvel-plax/tv/"
    std::string tlsDir;  // holds server.pem and server.key
  };

  explicit ContentsHost(Options options);
  ~ContentsHost();  // stops

  ContentsHost(const ContentsHost&) = delete;
  ContentsHost& operator=(const ContentsHost&) = delete;

  // Binds and starts serving; returns once connections are accepted and the
  // worker threads exist. False (with a message on stderr) when the port is
  // taken or the certificate cannot be loaded.
  bool Start();

  // Releases stalled and trickling answers, then stops. Idempotent.
  void Stop();

  // Takes effect for the next request. kReset restarts the listener, since
  // the reset comes from a socket option set before binding.
  void SetMode(Mode mode);

  // Ends the answers stalled or trickling so far (an error status, or a cut
  // body) and sends the delayed ones; later requests wait again while the
  // mode says so. Such an answer otherwise holds one of the host's few
  // workers until Stop.
  void ReleaseStalled();

  // Requests received since Start.
  int Requests() const { return m_requests.load(); }
  // True while a request is being answered (a slow or stalled body included).
  bool Answering() const { return m_answering.load() > 0; }

  const Options& options() const { return m_options; }

 private:
  void Handle(const httplib::Request& request, httplib::Response& response);
  void Serve(const std::string& path, httplib::Response& response) const;
  void SendHalfThenFail(const std::string& body, httplib::Response& response);
  // Until Stop or a release after `released`.
  void Trickle(httplib::Response& response, int released);
  void SendHuge(httplib::Response& response);
  // Sleeps for `interval` unless stopping or released since `released`;
  // false then.
  bool PauseUnlessStopping(std::chrono::milliseconds interval, int released);
  int StallsReleased();
  bool StartServer(bool resetOnClose);
  // Ends a streamed answer's count once the server lets go of its body.
  std::function<void(bool)> AnswerSent();
  void StopServer();

  const Options m_options;
  std::unique_ptr<httplib::SSLServer> m_server;
  std::thread m_listener;
  std::atomic<Mode> m_mode{Mode::kServe};
  std::atomic<int> m_requests{0};
  std::atomic<int> m_answering{0};

  std::mutex m_stopMutex;
  std::condition_variable m_stopChanged;
  bool m_stopping = false;
  int m_stallsReleased = 0;
};

// The directory this build's contents files and certificates live in.
std::string DefaultContentsRoot();
std::string DefaultTlsDir();

#endif  // VARNIO_SIMULATOR_CONTENTS_HOST_H_
