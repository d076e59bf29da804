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

}  // namespace dlog_sim

#endif  // PLATFORM_DLOG_SIM_H_
