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

// Which lines are printed to stderr as "P/tag: text". By default warnings
// and worse, so that a program developed against the simulator hears of
// misuse and of downloads that fail; VARNIO_SIM_QUIET=1 in the environment
// starts it at kNone.
enum class Echo { kNone, kWarnings, kAll };
void SetEcho(Echo echo);
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
