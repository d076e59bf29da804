#include "ContentsHost.h"

#include <httplib.h>
#include <sys/socket.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <future>
#include <sstream>

namespace {

constexpr char kPrefix[] = "/quorvel-plax/tv/";
constexpr size_t kWorkers = 8;
constexpr size_t kHugeBytes = 50u * 1024 * 1024;
constexpr std::chrono::milliseconds kTrickleInterval(100);
constexpr char kNotFoundPage[] = "<html><body><h1>404 Not Found</h1></body></html>\n";

bool ReadFile(const std::string& path, std::string& out) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  std::ostringstream body;
  body << file.rdbuf();
  out = body.str();
  return true;
}

// Maps a request path onto a file below the root; empty when the path is
// outside the served prefix or tries to climb out of the root.
std::string FileFor(const std::string& root, const std::string& path) {
  if (path.compare(0, sizeof(kPrefix) - 1, kPrefix) != 0) return std::string();
  const std::string relative = path.substr(sizeof(kPrefix) - 1);
  if (relative.empty() || relative.find("..") != std::string::npos) return std::string();
  return root + "/" + relative;
}

// SO_REUSEADDR lets a restarted host bind while old connections linger, but
// unlike the library default there is no SO_REUSEPORT: a second host on the
// same port must fail instead of sharing the requests.
void ListenerOptions(int socket, bool resetOnClose) {
  int yes = 1;
  setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof(yes));
  if (resetOnClose) {
    // Accepted sockets inherit this: close() then sends RST, not FIN.
    linger abort{1, 0};
    setsockopt(socket, SOL_SOCKET, SO_LINGER, &abort, sizeof(abort));
  }
}

// Where an installed program finds the simulator's files, relative to itself
// wherever the prefix is; empty in the build tree, which is laid out as the
// prefix but holds only the certificate there.
std::string InstalledDataDir() {
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return std::string();
  const std::filesystem::path data = program.parent_path() / VARNIO_CONTENTS_HOST_DATA_FROM_BIN;
  const bool installed = std::filesystem::is_directory(data / "tls", error) &&
                         std::filesystem::is_directory(data / "contents", error);
  return installed ? data.lexically_normal().string() : std::string();
}

}  // namespace

std::string DefaultContentsRoot() {
  const std::string installed = InstalledDataDir();
  return installed.empty() ? VARNIO_CONTENTS_HOST_ROOT : installed + "/contents";
}

std::string DefaultTlsDir() {
  const std::string installed = InstalledDataDir();
  return installed.empty() ? VARNIO_CONTENTS_HOST_TLS_DIR : installed + "/tls";
}

ContentsHost::ContentsHost(Options options) : m_options(std::move(options)) {}

ContentsHost::~ContentsHost() { Stop(); }

bool ContentsHost::Start() {
  // A client that hangs up mid-answer must not kill the host with SIGPIPE.
  std::signal(SIGPIPE, SIG_IGN);
  return StartServer(m_mode.load() == Mode::kReset);
}

void ContentsHost::Stop() {
  {
    std::lock_guard<std::mutex> lock(m_stopMutex);
    m_stopping = true;
  }
  m_stopChanged.notify_all();
  StopServer();
}

void ContentsHost::ReleaseStalled() {
  {
    std::lock_guard<std::mutex> lock(m_stopMutex);
    ++m_stallsReleased;
  }
  m_stopChanged.notify_all();
}

void ContentsHost::SetMode(Mode mode) {
  const bool wasReset = m_mode.exchange(mode) == Mode::kReset;
  const bool isReset = mode == Mode::kReset;
  if (wasReset != isReset && m_server != nullptr) {
    Stop();
    StartServer(isReset);
  }
}

bool ContentsHost::StartServer(bool resetOnClose) {
  {
    std::lock_guard<std::mutex> lock(m_stopMutex);
    m_stopping = false;
  }
  const std::string cert = m_options.tlsDir + "/server.pem";
  const std::string key = m_options.tlsDir + "/server.key";
  auto server = std::make_unique<httplib::SSLServer>(cert.c_str(), key.c_str());
  if (!server->is_valid()) {
    std::fprintf(stderr, "contents host: cannot load %s and %s\n", cert.c_str(), key.c_str());
    return false;
  }
  int listener = -1;
  server->set_socket_options([resetOnClose, &listener](int socket) {
    ListenerOptions(socket, resetOnClose);
    listener = socket;
  });
  // One request per connection: a stop never waits for an idle keep-alive.
  server->set_keep_alive_max_count(1);
  server->Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
    Handle(request, response);
  });
  std::promise<void> workersReady;
  std::future<void> ready = workersReady.get_future();
  server->new_task_queue = [&workersReady] {
    auto* pool = new httplib::ThreadPool(kWorkers);
    workersReady.set_value();
    return pool;
  };
  if (!server->bind_to_port("127.0.0.1", m_options.port)) {
    std::fprintf(stderr, "contents host: cannot bind 127.0.0.1:%d\n", m_options.port);
    return false;
  }
  // The library listens with a backlog of 5; a burst of requests beyond that
  // would wait for SYN retries, a second each. Listening again widens it.
  if (listener >= 0) ::listen(listener, SOMAXCONN);
  m_server = std::move(server);
  m_listener = std::thread([this] { m_server->listen_after_bind(); });
  ready.wait();
  return true;
}

void ContentsHost::StopServer() {
  if (m_server == nullptr) return;
  m_server->stop();
  if (m_listener.joinable()) m_listener.join();
  m_server.reset();
}

bool ContentsHost::PauseUnlessStopping(std::chrono::milliseconds interval, int released) {
  std::unique_lock<std::mutex> lock(m_stopMutex);
  return !m_stopChanged.wait_for(lock, interval,
                                 [&] { return m_stopping || m_stallsReleased != released; });
}

int ContentsHost::StallsReleased() {
  std::lock_guard<std::mutex> lock(m_stopMutex);
  return m_stallsReleased;
}

void ContentsHost::Handle(const httplib::Request& request, httplib::Response& response) {
  // Taken before the mode: a release that follows a change of mode then
  // also ends an answer that read the mode just before the change.
  const int released = StallsReleased();
  const Mode mode = m_mode.load();
  // A delayed answer is the file as it was when the request came: read
  // before the request counts as received, so a test may then change it.
  if (mode == Mode::kDelayed) Serve(request.path, response);
  ++m_requests;
  ++m_answering;
  // A body sent bit by bit is done when the server lets go of it; any other
  // when the handler returns.
  struct Done {
    ContentsHost* host;
    const httplib::Response& response;
    ~Done() {
      if (!response.content_provider_) --host->m_answering;
    }
  } done{this, response};
  switch (mode) {
    case Mode::kServe:
      Serve(request.path, response);
      return;
    case Mode::kNotFound:
      response.status = 404;
      response.set_content(kNotFoundPage, "text/html");
      return;
    case Mode::kStall:
    case Mode::kDelayed: {
      std::unique_lock<std::mutex> lock(m_stopMutex);
      m_stopChanged.wait(lock, [&] { return m_stopping || m_stallsReleased != released; });
      if (mode == Mode::kStall) response.status = 503;
      return;
    }
    case Mode::kCutMidBody:
    case Mode::kReset: {
      std::string body;
      ReadFile(FileFor(m_options.root, request.path), body);
      SendHalfThenFail(body.empty() ? std::string(4096, ' ') : body, response);
      return;
    }
    case Mode::kTrickle:
      Trickle(response, released);
      return;
    case Mode::kHuge:
      SendHuge(response);
      return;
    case Mode::kMalformed:
      Serve(request.path, response);
      // The file broken off after its first third, sent whole and with
      // success, so that only the parser can tell.
      if (response.status != 404) {
        response.set_content(response.body.substr(0, response.body.size() / 3), "application/json");
      }
      return;
  }
}

void ContentsHost::Serve(const std::string& path, httplib::Response& response) const {
  std::string body;
  const std::string file = FileFor(m_options.root, path);
  if (file.empty() || !ReadFile(file, body)) {
    response.status = 404;
    response.set_content(kNotFoundPage, "text/html");
    return;
  }
  response.set_content(body, "application/json");
}

void ContentsHost::SendHalfThenFail(const std::string& body, httplib::Response& response) {
  auto shared = std::make_shared<std::string>(body);
  response.set_content_provider(
      shared->size(), "application/json",
      [shared](size_t offset, size_t, httplib::DataSink& sink) {
        const size_t half = shared->size() / 2;
        if (offset >= half) return false;  // closes the connection
        return sink.write(shared->data() + offset, half - offset);
      },
      AnswerSent());
}

void ContentsHost::Trickle(httplib::Response& response, int released) {
  response.set_chunked_content_provider(
      "application/json",
      [this, released](size_t offset, httplib::DataSink& sink) {
        if (!PauseUnlessStopping(kTrickleInterval, released)) return false;
        const char byte = "{ \"sections\" : "[offset % 15];
        return sink.write(&byte, 1);
      },
      AnswerSent());
}

void ContentsHost::SendHuge(httplib::Response& response) {
  response.set_chunked_content_provider("application/json", [this](size_t offset, httplib::DataSink& sink) {
    static const std::string chunk(64 * 1024, '[');
    {
      std::lock_guard<std::mutex> lock(m_stopMutex);
      if (m_stopping) return false;
    }
    if (offset >= kHugeBytes) {
      sink.done();
      return true;
    }
    return sink.write(chunk.data(), chunk.size());
  }, AnswerSent());
}

std::function<void(bool)> ContentsHost::AnswerSent() {
  return [this](bool) { --m_answering; };
}
