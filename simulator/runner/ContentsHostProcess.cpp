#include "ContentsHostProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <vector>

namespace scenario {
namespace {

constexpr std::chrono::seconds kStartWithin(10);
constexpr int kCannotRun = 127;  // the child's status when exec failed, as a shell's

// Reads the host's output until it says it listens; false when it exits or
// stays silent for too long first.
bool AwaitListening(int fd, std::string& output) {
  const auto deadline = std::chrono::steady_clock::now() + kStartWithin;
  char buffer[512];
  for (;;) {
    if (output.find("listening on ") != std::string::npos) return true;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    pollfd readable{fd, POLLIN, 0};
    if (poll(&readable, 1, static_cast<int>(left.count())) <= 0) continue;
    const ssize_t got = read(fd, buffer, sizeof(buffer));
    if (got <= 0) return false;
    output.append(buffer, static_cast<size_t>(got));
  }
}

}  // namespace

bool ContentsHostProcess::SetMode(const std::string& mode, std::string& error) {
  Stop();
  return mode == "down" || Start(mode, error);
}

bool ContentsHostProcess::Start(const std::string& mode, std::string& error) {
  const std::string port = std::to_string(m_port);
  std::vector<const char*> argv = {m_program.c_str(), "--port", port.c_str(), "--mode", mode.c_str(), nullptr};
  int pipeFds[2];
  if (pipe2(pipeFds, O_CLOEXEC) != 0) {
    error = "cannot make a pipe for the contents host";
    return false;
  }
  const pid_t pid = fork();
  if (pid == 0) {
    // Only async-signal-safe calls between fork and exec. The host goes
    // when this process goes, however it ends.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    dup2(pipeFds[1], STDOUT_FILENO);
    dup2(pipeFds[1], STDERR_FILENO);
    execv(m_program.c_str(), const_cast<char* const*>(argv.data()));
    _exit(kCannotRun);
  }
  close(pipeFds[1]);
  if (pid < 0) {
    close(pipeFds[0]);
    error = "cannot start the contents host";
    return false;
  }
  m_pid = pid;
  std::string output;
  const bool listening = AwaitListening(pipeFds[0], output);
  close(pipeFds[0]);  // the host ignores SIGPIPE; anything it says later is lost
  if (!listening) {
    const int status = Stop();
    const bool notRun = WIFEXITED(status) && WEXITSTATUS(status) == kCannotRun;
    error = "the contents host " + m_program + " did not start on port " + port + ": " +
            (notRun ? "it cannot be run" : output);
    while (!error.empty() && error.back() == '\n') error.pop_back();
  }
  return listening;
}

int ContentsHostProcess::Stop() {
  if (m_pid <= 0) return 0;
  kill(m_pid, SIGTERM);
  int status = 0;
  waitpid(m_pid, &status, 0);
  m_pid = -1;
  return status;
}

}  // namespace scenario
