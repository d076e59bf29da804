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

std::string Format(const char* fmt, va_list ap) {
  va_list copy;
  va_copy(copy, ap);
  // clang-analyzer takes a copy of a va_list parameter for an uninitialised one.
  const int needed = std::vsnprintf(nullptr, 0, fmt, copy);  // NOLINT(clang-analyzer-valist.Uninitialized)
  va_end(copy);
  if (needed <= 0) return std::string();
  std::string text(static_cast<size_t>(needed) + 1, '\0');
  std::vsnprintf(&text[0], text.size(), fmt, ap);
  text.resize(static_cast<size_t>(needed));
  return text;
}

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
  va_list ap;
  va_start(ap, fmt);
  const std::string message = Format(fmt, ap);
  va_end(ap);
  ext_log_base_print(level, kTag, "%s:%s(%d)>%s", file, function, line, message.c_str());
}

void Trace(const char* file, const char* function, int line) {
  ext_log_base_print(0, kTag, kPrefix, file, function, line);
}

}  // namespace varnio_log
