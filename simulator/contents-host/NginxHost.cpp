#include "NginxHost.h"

#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>
#include <thread>

namespace {

constexpr std::chrono::seconds kStartWithin{10};

// One process, no daemon, every path inside `dir`: nothing of the machine's
// own nginx set-up is read or written. Keep-alive and validators stay at
// nginx's defaults, as a CDN's would.
std::string Config(const std::string& dir, const NginxHost::Options& options) {
  std::ostringstream conf;
  conf << "daemon off;\nmaster_process off;\nworker_processes 1;\n"
       << "pid " << dir << "/nginx.pid;\nlock_file " << dir << "/nginx.lock;\n"
       << "error_log " << dir << "/error.log warn;\n"
       << "events { worker_connections 256; }\n"
       << "http {\n"
       << "  types { application/json json; }\n  default_type application/octet-stream;\n"
       << "  log_format varnio '$connection $status $uri';\n"
       << "  access_log " << dir << "/access.log varnio;\n"
       << "  keepalive_requests 100000;\n";
  if (options.idleTimeout.count() > 0) conf << "  keepalive_timeout " << options.idleTimeout.count() << "ms;\n";
  for (const char* temp : {"client_body", "proxy", "fastcgi", "uwsgi", "scgi"}) {
    conf << "  " << temp << "_temp_path " << dir << "/" << temp << ";\n";
  }
  conf << "  server {\n    listen 127.0.0.1:" << options.port << " ssl" << (options.http2 ? " http2" : "") << ";\n";
  if (options.rejectHandshakes) {
    conf << "    ssl_reject_handshake on;\n";
  } else {
    conf << "    ssl_certificate " << options.tlsDir << "/server.pem;\n"
         << "    ssl_certificate_key " << options.tlsDir << "/server.key;\n"
         << "    location /quorvel-plax/tv/ { alias " << dir << "/files/; }\n";
  }
  conf << "  }\n}\n";
  return conf.str();
}

// Runs nginx in a child that ends with this process (a crashed test leaves
// no server on the port) and inherits none of its descriptors (a listening
// socket of the test's other host among them). Only async-signal-safe calls
// between fork and exec: the test has threads.
pid_t Spawn(const char* const* argv) {
  const pid_t parent = getpid();
  const long maxDescriptor = sysconf(_SC_OPEN_MAX);
  const pid_t pid = fork();
  if (pid != 0) return pid;
  prctl(PR_SET_PDEATHSIG, SIGTERM);
  if (getppid() != parent) _exit(1);
  for (int fd = 3; fd < maxDescriptor; ++fd) close(fd);
  execv(argv[0], const_cast<char* const*>(argv));
  _exit(127);
}

bool WriteFile(const std::string& path, const std::string& text) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << text;
  return static_cast<bool>(file);
}

}  // namespace

NginxHost::NginxHost(Options options) : m_options(std::move(options)) {}

NginxHost::~NginxHost() { Stop(); }

bool NginxHost::Start() {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp != nullptr && tmp[0] != '\0' ? tmp : "/tmp") + "/varnio-nginx-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) {
    std::perror("nginx host: mkdtemp");
    return false;
  }
  m_dir = pattern;
  std::error_code error;
  std::filesystem::copy(m_options.root, m_dir + "/files", std::filesystem::copy_options::recursive, error);
  if (error || !WriteFile(m_dir + "/nginx.conf", Config(m_dir, m_options))) {
    std::fprintf(stderr, "nginx host: cannot set up %s\n", m_dir.c_str());
    Stop();
    return false;
  }
  const std::string conf = m_dir + "/nginx.conf";
  const std::string errorLog = m_dir + "/error.log";
  const std::string prefix = m_dir + "/";
  const char* argv[] = {VARNIO_NGINX_PROGRAM, "-p", prefix.c_str(), "-c", conf.c_str(), "-e", errorLog.c_str(),
                        nullptr};
  m_pid = Spawn(argv);
  if (m_pid < 0) {
    std::perror("nginx host: fork");
    Stop();
    return false;
  }
  // The pid file is written once the listening socket is bound.
  const auto deadline = std::chrono::steady_clock::now() + kStartWithin;
  while (!std::filesystem::exists(m_dir + "/nginx.pid")) {
    int status = 0;
    if (waitpid(m_pid, &status, WNOHANG) == m_pid || std::chrono::steady_clock::now() > deadline) {
      std::ostringstream log;
      log << std::ifstream(errorLog).rdbuf();
      std::fprintf(stderr, "nginx host: did not start on port %d: %s\n", m_options.port, log.str().c_str());
      Stop();
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

void NginxHost::Stop() {
  if (m_pid > 0) {
    // Without a master process nginx looks for a signal after each wait for
    // events: one landing between that look and the next wait is seen only
    // with the next event, and an idle nginx has none. Ask again until it is
    // gone; after two seconds, end it.
    int status = 0;
    for (int tries = 0; waitpid(m_pid, &status, WNOHANG) == 0; ++tries) {
      kill(m_pid, tries < 200 ? SIGTERM : SIGKILL);
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    m_pid = -1;
  }
  if (!m_dir.empty()) {
    std::error_code ignored;
    std::filesystem::remove_all(m_dir, ignored);
    m_dir.clear();
  }
}

std::string NginxHost::Origin() const { return "https://localhost:" + std::to_string(m_options.port); }

std::string NginxHost::FilePath(const std::string& relative) const { return m_dir + "/files/" + relative; }

std::vector<NginxHost::Request> NginxHost::ReadAccessLog() const {
  std::vector<Request> requests;
  std::ifstream log(m_dir + "/access.log");
  Request request;
  while (log >> request.connection >> request.status >> request.path) requests.push_back(request);
  return requests;
}

std::vector<NginxHost::Request> NginxHost::WaitForRequests(size_t count, std::chrono::milliseconds timeout) const {
  // nginx logs a request once its answer has gone out, so a client may
  // have the answer before the line is there.
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  std::vector<Request> requests = ReadAccessLog();
  while (requests.size() < count && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    requests = ReadAccessLog();
  }
  return requests;
}
