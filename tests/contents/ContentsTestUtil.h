// What the contents tests share: thread accounting and one request's
// delivery (tile ids and the expected lists are in ContentsTiles.h).
#ifndef VARNIO_TESTS_CONTENTS_TEST_UTIL_H_
#define VARNIO_TESTS_CONTENTS_TEST_UTIL_H_

#include <string>

#include "ContentsTiles.h"
#include "ThreadCount.h"

class CContents;
class LogCapture;
class Recorder;

// Threads of this process once the stand-ins' own threads run.
int ThreadsNow();

// Waits (bounded) until no more than `count` threads are left.
bool WaitForThreads(int count);

// One request through `contents`, whose callback records into `deliveries`:
// its single delivery, once the request's thread is gone again.
std::string RequestOnce(CContents& contents, Recorder& deliveries);

// A failed download was answered with the last good list, and said so at
// level 1 (dlog's INFO).
bool AnsweredWithLastGoodList(const LogCapture& capture);

#endif  // VARNIO_TESTS_CONTENTS_TEST_UTIL_H_
