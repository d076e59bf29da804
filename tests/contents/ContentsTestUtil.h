// What the contents tests share: the list every failed download turns into,
// and thread accounting (tile ids and the sample files' lists are in
// ContentsTiles.h).
#ifndef VARNIO_TESTS_CONTENTS_TEST_UTIL_H_
#define VARNIO_TESTS_CONTENTS_TEST_UTIL_H_

#include <string>

#include "ContentsTiles.h"
#include "ThreadCount.h"

class CContents;
class LogCapture;
class Recorder;

// The two-section list of the four fixed tiles with every image, text and
// title empty.
extern const char kFourEmptyTiles[];

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
