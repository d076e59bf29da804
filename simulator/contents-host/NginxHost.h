// Debian's nginx serving the contents files on the loopback address with the
// test certificate, as a CDN serves static files: keep-alive, ETag,
// Last-Modified and 304 answers. It serves a copy of the files in a
// directory of its own, so that tests may change them, and logs each request
// with the serial number of its connection, so that tests can count TLS
// handshakes.
#ifndef VARNIO_SIMULATOR_NGINX_HOST_H_
#define VARNIO_SIMULATOR_NGINX_HOST_H_

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

class NginxHost {
 public:
  struct Options {
    int port = VARNIO_NGINX_HOST_PORT;
    std::string root;    // directory served under "/quorvel-plax/tv/"
    std::string tlsDir;  // holds server.pem and server.key
    bool rejectHandshakes = false;  // ends every TLS handshake with an alert
    bool http2 = false;             // offers HTTP/2, as most CDNs do
    // How long an idle connection is kept open; 0 keeps nginx's default.
    std::chrono::milliseconds idleTimeout{0};
  };

  // One line of the access log.
  struct Request {
    long connection = 0;  // nginx's serial number of the connection
    int status = 0;
    std::string path;
  };

  explicit NginxHost(Options options);
  ~NginxHost();  // stops

  NginxHost(const NginxHost&) = delete;
  NginxHost& operator=(const NginxHost&) = delete;

  // Copies the files, starts nginx and returns once it listens. False, with
  // a message on stderr, when it cannot start (the port taken, no nginx).
  bool Start();
  // Stops nginx and removes its directory. Idempotent.
  void Stop();

  // "https://localhost:<port>", for pointing downloads here.
  std::string Origin() const;
  // The served copy of a file, e.g. "kr/service-quorvel-app.json".
  std::string FilePath(const std::string& relative) const;
  // The requests logged so far, once there are at least `count` (bounded wait).
  std::vector<Request> WaitForRequests(size_t count,
                                       std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;

 private:
  std::vector<Request> ReadAccessLog() const;

  const Options m_options;
  std::string m_dir;
  pid_t m_pid = -1;
};

#endif  // VARNIO_SIMULATOR_NGINX_HOST_H_
