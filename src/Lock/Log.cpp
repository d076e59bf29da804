#include "Log.h"

#include <dlog.h>

#include <cstdarg>

namespace {

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
