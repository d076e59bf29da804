// The library's logging function, exported so that a caller may write to the
// platform log the way the library does.
#ifndef VARNIO_LOG_H_
#define VARNIO_LOG_H_

#include "varnio.h"

// Writes one message to the main platform log at `level` 0..4 (debug, info,
// warn, error, fatal) under `tag`; other levels and a disabled log write
// nothing, and a disabled log formats nothing.
extern "C" VARNIO_EXPORT void ext_log_base_print(int level, const char* tag, const char* fmt, ...)
    __attribute__((format(printf, 3, 4)));

#endif  // VARNIO_LOG_H_
