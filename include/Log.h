// The library's one way to the platform log.
#ifndef VARNIO_LOG_H_
#define VARNIO_LOG_H_

#include "varnio.h"

// Writes one message to the main platform log at `level` 0..4 (debug, info,
// warn, error, fatal); other levels and a disabled log write nothing, and a
// disabled log formats nothing.
extern "C" VARNIO_EXPORT void ext_log_base_print(int level, const char* tag, const char* fmt, ...)
    __attribute__((format(printf, 3, 4)));

#define VARNIO_LOG_TAG "varnio"

#ifdef __FILE_NAME__
#define VARNIO_FILE_BASENAME __FILE_NAME__
#else
#define VARNIO_FILE_BASENAME (__builtin_strrchr("/" __FILE__, '/') + 1)
#endif

// Every message starts "file:function(line)>"; call sites give only the level
// and what follows the ">": VARNIO_LOG(0, "msg : %s", text). The format and
// up to six arguments; the argument count picks the form without a trailing
// argument list, which standard C++17 macros cannot leave empty.
#define VARNIO_LOG(...)                                                                       \
  VARNIO_LOG_PICK_(__VA_ARGS__, VARNIO_LOG_ARGS_, VARNIO_LOG_ARGS_, VARNIO_LOG_ARGS_,         \
                   VARNIO_LOG_ARGS_, VARNIO_LOG_ARGS_, VARNIO_LOG_ARGS_, VARNIO_LOG_PLAIN_, \
                   unused)(__VA_ARGS__)
#define VARNIO_LOG_PICK_(_1, _2, _3, _4, _5, _6, _7, _8, name, ...) name
#define VARNIO_LOG_PLAIN_(level, fmt) \
  ext_log_base_print((level), VARNIO_LOG_TAG, "%s:%s(%d)>" fmt, VARNIO_FILE_BASENAME, __func__, __LINE__)
#define VARNIO_LOG_ARGS_(level, fmt, ...)                                                                \
  ext_log_base_print((level), VARNIO_LOG_TAG, "%s:%s(%d)>" fmt, VARNIO_FILE_BASENAME, __func__, __LINE__, \
                     __VA_ARGS__)

// The bare trace line "file:function(line)>" that marks an operation's entry.
#define VARNIO_TRACE() VARNIO_LOG_PLAIN_(0, "")

#endif  // VARNIO_LOG_H_
