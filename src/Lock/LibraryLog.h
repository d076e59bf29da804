// How the library's own code logs: every line goes through
// ext_log_base_print with the tag "varnio" and starts "file:function(line)>",
// followed directly by the message. Call sites give only the level and the
// message: VARNIO_LOG(0, "routines.size() : %d", count).
#ifndef VARNIO_LIBRARYLOG_H_
#define VARNIO_LIBRARYLOG_H_

#include "Log.h"

namespace varnio_log {

// One line at `level`: the "file:function(line)>" prefix, then the message
// `fmt` and its arguments make. With the log switched off nothing is formatted.
void Line(const char* file, const char* function, int line, int level, const char* fmt, ...)
    __attribute__((format(printf, 5, 6)));

// The bare trace line "file:function(line)>" at level 0, which marks that an
// operation ran.
void Trace(const char* file, const char* function, int line);

}  // namespace varnio_log

#ifdef __FILE_NAME__
#define VARNIO_FILE_BASENAME __FILE_NAME__
#else
#define VARNIO_FILE_BASENAME (__builtin_strrchr("/" __FILE__, '/') + 1)
#endif

#define VARNIO_LOG(...) varnio_log::Line(VARNIO_FILE_BASENAME, __func__, __LINE__, __VA_ARGS__)
#define VARNIO_TRACE() varnio_log::Trace(VARNIO_FILE_BASENAME, __func__, __LINE__)

#endif  // VARNIO_LIBRARYLOG_H_
