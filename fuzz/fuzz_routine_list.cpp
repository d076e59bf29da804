// The framework's routine-list answer, fed both as the outer answer and as
// the routine document inside "data".
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "JsonParseUtil.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static CJsonParseUtil* parser = new CJsonParseUtil();  // built once, like the service's
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<stTileItem> tiles(2);

  parser->ParseRoutineList(text, tiles);
  for (const stTileItem& tile : tiles) fuzz_check::RoutineTileShape(tile);

  parser->ParseRoutineList(fuzz_check::Wrapped(text), tiles);
  for (const stTileItem& tile : tiles) fuzz_check::RoutineTileShape(tile);
  return 0;
}
