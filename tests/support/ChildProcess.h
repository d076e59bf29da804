// Runs a piece of a test in a process of its own and reads what it wrote on
// stderr: for what only a whole process can show (its exit, a fresh service
// singleton, a sanitizer's report).
#ifndef VARNIO_TESTS_CHILD_PROCESS_H_
#define VARNIO_TESTS_CHILD_PROCESS_H_

#include <chrono>
#include <functional>
#include <string>
#include <vector>

struct ChildOutcome {
  int exitCode = -1;  // -1 unless the child exited by itself
  int signal = 0;
  bool timedOut = false;  // killed after the time allowed
  std::string stderrText;
  // From the first stderr line equal to the marker to the process's end;
  // negative when the marker never came.
  std::chrono::milliseconds afterMarker{-1};

  bool Succeeded() const { return exitCode == 0 && !timedOut; }
  // A sanitizer's report or a runtime error in the child's stderr.
  bool SanitizerReported() const;
};

struct ChildOptions {
  std::chrono::milliseconds timeout{std::chrono::seconds(60)};
  std::string marker;  // see ChildOutcome::afterMarker
};

// Runs `argv` (argv[0] a path, or a name found on PATH) with this process's environment.
ChildOutcome RunProgram(const std::vector<std::string>& argv, const ChildOptions& options);

// Forks and runs `body` in the child, which exits with body's result. Only
// from a process that has started no thread: the child gets just the one.
ChildOutcome RunForked(const std::function<int()>& body, const ChildOptions& options);

#endif  // VARNIO_TESTS_CHILD_PROCESS_H_
