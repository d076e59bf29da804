// What every parser must hold whatever it is fed; a broken promise stops
// the fuzzer with a crash report like any memory error would.
#ifndef VARNIO_FUZZ_FUZZCHECK_H_
#define VARNIO_FUZZ_FUZZCHECK_H_

#include <cstdio>
#include <cstdlib>
#include <string>

#include "JsonParseUtil.h"

#define FUZZ_CHECK(condition)                                                        \
  do {                                                                               \
    if (!(condition)) {                                                              \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                  \
    }                                                                                \
  } while (0)

namespace fuzz_check {

inline bool StartsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

// A routine tile: fixed timeout and width, no type or title, and both icons
// of the same keyword under the resource directory.
inline void RoutineTileShape(const stTileItem& tile) {
  FUZZ_CHECK(tile.strType.empty() && tile.strTitle.empty());
  FUZZ_CHECK(tile.strTimeout == "5" && tile.strWidth == g_strRoutineWidth);
  const size_t stem = tile.strImage.size() - 4;  // before ".png"
  FUZZ_CHECK(StartsWith(tile.strImage, g_strResDir + "routines/acc-") && tile.strImage.compare(stem, 4, ".png") == 0);
  FUZZ_CHECK(tile.strFinishImage == tile.strImage.substr(0, stem) + "-activated.png");
}

}  // namespace fuzz_check

#endif  // VARNIO_FUZZ_FUZZCHECK_H_
