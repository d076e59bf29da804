// Limits of one contents download. A contents file is a few KiB; a host that
// stalls or sends without end must not hold a thread for ever.
#ifndef VARNIO_CONTENTSDOWNLOAD_H_
#define VARNIO_CONTENTSDOWNLOAD_H_

#include <cstddef>

struct ContentsDownloadLimits {
  long connectTimeoutSeconds = 10;
  long lowSpeedBytesPerSecond = 1;  // slower than this ...
  long lowSpeedSeconds = 30;        // ... for this long aborts the transfer
  long totalTimeoutSeconds = 120;
  size_t maxBodyBytes = size_t{1024} * 1024;
};

// libcurl's global initialisation, once per process, thread-safe. Done when
// the first CContents is made, on its owner's thread, so that TLS set-up
// never races a download thread.
void InitCurlOnce();

// The limits every download uses; tests shorten them.
ContentsDownloadLimits& ContentsLimits();

#endif  // VARNIO_CONTENTSDOWNLOAD_H_
