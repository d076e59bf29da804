// What the contents tests share: the list every failed download turns into,
// the expected lists of the sample files, and thread accounting.
#ifndef VARNIO_TESTS_CONTENTS_TEST_UTIL_H_
#define VARNIO_TESTS_CONTENTS_TEST_UTIL_H_

#include <string>
#include <vector>

// The two-section list of the four fixed tiles with every image, text and
// title empty.
extern const char kFourEmptyTiles[];

// The list the sample file "general" or "kr" must turn into.
std::string ExpectedTiles(const std::string& name);

// The "id"s of a before-sign-in list, section by section; empty when the
// text is no such list.
std::vector<std::string> TileIds(const std::string& json);

// Threads of this process once the stand-ins' own threads run.
int ThreadsNow();

// Waits (bounded) until no more than `count` threads are left.
bool WaitForThreads(int count);

#endif  // VARNIO_TESTS_CONTENTS_TEST_UTIL_H_
