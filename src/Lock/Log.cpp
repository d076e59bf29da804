#include "LibraryLog.h"

#include <dlog.h>

#include <cstdarg>
#include <cstdio>
#include <string>

namespace {

constexpr char kTag[] = "varnio";
constexpr char kPrefix[] = "%s:%s(%d)>";

// Library levels 0..4 onto the platform's priorities.
constexpr int kPriorityOfLevel[] = {DLOG_DEBUG, DLOG_INFO, DLOG_WARN, DLOG_ERROR, DLOG_FATAL};
constexpr int kLevelCount = static_cast<int>(sizeof(kPriorityOfLevel) / sizeof(kPriorityOfLevel[0]));

}  // namespace

extern "C" void ext_log_base_print(int level, const char* tag, const char* fmt, ...) {
  // Asked first: a disabled log must cost one call and no formatting.
  if (_get_logging_on(level, tag) == 0) return;
  if (level < 0 || level >= kLevelCount) return;
  va_list ap;
  va_start(ap, fmt);
  __dlog_vprint(LOG_ID_MAIN, kPriorityOfLevel[level], tag, fmt, ap);
  va_end(ap);
}

namespace varnio_log {

void Line(const char* file, const char* function, int line, int level, const char* fmt, ...) {
  if (_get_logging_on(level, kTag) == 0) return;
  // Most messages fit here; a longer one is formatted again at its length.
  char shortMessage[512];
  va_list ap;
  va_start(ap, fmt);
  // clang-analyzer takes the va_list just started for an uninitialised one.
  const int needed = vsnprintf(shortMessage, sizeof(shortMessage), fmt, ap);  // NOLINT(clang-analyzer-valist.Uninitialized)
  va_end(ap);
  if (needed < 0) return;
  std::string longMessage;
  if (static_cast<size_t>(needed) >= sizeof(shortMessage)) {
    longMessage.resize(static_cast<size_t>(needed) + 1);
    va_start(ap, fmt);
    vsnprintf(&longMessage[0], longMessage.size(), fmt, ap);  // NOLINT(clang-analyzer-valist.Uninitialized)
    va_end(ap);
  }
  ext_log_base_print(level, kTag, "%s:%s(%d)>%s", file, function, line,
                     longMessage.empty() ? shortMessage : longMessage.c_str());
}

void Trace(const char* file, const char* function, int line) {
  ext_log_base_print(0, kTag, kPrefix, file, function, line);
}

}  // namespace varnio_log
