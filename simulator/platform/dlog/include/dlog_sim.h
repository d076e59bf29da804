// Control of the logger stand-in, for tests and the demo.
#ifndef PLATFORM_DLOG_SIM_H_
#define PLATFORM_DLOG_SIM_H_

#include <cstdint>
#include <string>
#include <vector>

namespace dlog_sim {

struct Line {
  int priority;
  std::string tag;
  std::string text;
};

// The logging switch (on by default).
void SetLoggingOn(bool on);
// Print each line to stderr as "P/tag: text" (off by default).
void SetEchoToStderr(bool on);
// Keep each line in memory until StopCapture; StartCapture drops what was kept.
void StartCapture();
void StopCapture();
std::vector<Line> Captured();
// Number of writer calls so far, captured or not.
uint64_t WriteCount();
// Makes `percent` of the writer's calls yield or sleep up to
// `maxMicroseconds`, chosen by a random sequence per thread that `seed`
// starts: a log line is a point where the logging thread may lose the CPU.
// 0 percent (the default) turns it off.
void SetJitter(unsigned seed, int percent, int maxMicroseconds);

}  // namespace dlog_sim

#endif  // PLATFORM_DLOG_SIM_H_
