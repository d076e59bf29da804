/* Stand-in for the platform logger: the priorities, log ids and the va_list
 * writer that the library uses. */
#ifndef PLATFORM_DLOG_H_
#define PLATFORM_DLOG_H_

#include <stdarg.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef enum {
  DLOG_UNKNOWN = 0,
  DLOG_DEFAULT,
  DLOG_VERBOSE,
  DLOG_DEBUG,
  DLOG_INFO,
  DLOG_WARN,
  DLOG_ERROR,
  DLOG_FATAL,
  DLOG_SILENT,
  DLOG_PRIO_MAX
} log_priority;

typedef enum { LOG_ID_MAIN = 0, LOG_ID_RADIO, LOG_ID_SYSTEM, LOG_ID_APPS, LOG_ID_MAX } log_id_t;

int __dlog_vprint(log_id_t log_id, int prio, const char* tag, const char* fmt, va_list ap);

/* The platform's logging switch: nonzero while logging is on. */
int _get_logging_on(int level, const char* tag);

#ifdef __cplusplus
}
#endif

#endif /* PLATFORM_DLOG_H_ */
