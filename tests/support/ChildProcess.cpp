#include "ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// Takes over the pipe whose write end the child `pid` got as its stderr:
// reads it until it closes or the time runs out, then reaps the child
// (killing it when late). A child that never started (pid <= 0) gives an
// outcome that is no success.
ChildOutcome Collect(pid_t pid, const int pipeEnds[2], const ChildOptions& options) {
  ChildOutcome outcome;
  close(pipeEnds[1]);
  const int readEnd = pipeEnds[0];
  if (pid <= 0) {
    close(readEnd);
    return outcome;
  }
  const Clock::time_point deadline = Clock::now() + options.timeout;
  Clock::time_point markedAt;
  bool marked = false;
  char buffer[4096];
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) {
      outcome.timedOut = true;
      kill(pid, SIGKILL);
      break;
    }
    pollfd fd{readEnd, POLLIN, 0};
    if (poll(&fd, 1, static_cast<int>(left.count())) <= 0) continue;
    const ssize_t n = read(readEnd, buffer, sizeof(buffer));
    if (n <= 0) break;
    outcome.stderrText.append(buffer, static_cast<size_t>(n));
    if (!marked && !options.marker.empty() &&
        outcome.stderrText.find(options.marker + "\n") != std::string::npos) {
      marked = true;
      markedAt = Clock::now();
    }
  }
  close(readEnd);
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
  }
  if (marked) {
    outcome.afterMarker = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - markedAt);
  }
  outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  outcome.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
  return outcome;
}

}  // namespace

bool ChildOutcome::SanitizerReported() const {
  return stderrText.find("Sanitizer") != std::string::npos || stderrText.find("runtime error:") != std::string::npos;
}

ChildOutcome RunProgram(const std::vector<std::string>& argv, const ChildOptions& options) {
  int pipeEnds[2];
  if (pipe2(pipeEnds, O_CLOEXEC) != 0) return {};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDERR_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  ChildOutcome outcome = Collect(pid, pipeEnds, options);
  if (pid < 0) outcome.stderrText = "cannot start " + argv[0];
  return outcome;
}

ChildOutcome RunForked(const std::function<int()>& body, const ChildOptions& options) {
  int pipeEnds[2];
  if (pipe2(pipeEnds, O_CLOEXEC) != 0) return {};
  fflush(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(pipeEnds[1], STDERR_FILENO);
    close(pipeEnds[0]);
    close(pipeEnds[1]);
    // exit(), not _exit(): the exit handlers, the library's and the
    // sanitizers' leak check among them, are part of what is tested.
    exit(body());
  }
  return Collect(pid, pipeEnds, options);
}
