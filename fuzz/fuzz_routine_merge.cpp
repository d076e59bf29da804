// A run of routine creations, updates and deletions on one list. The input
// picks each operation, its id (mostly from a small set, so that changes
// meet existing tiles) and the change's data text.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "JsonParseUtil.h"

namespace {

std::string PickId(FuzzedDataProvider& input) {
  static const char* const kIds[] = {"a1", "b2", "c3", ""};
  if (input.ConsumeBool()) return kIds[input.ConsumeIntegralInRange<size_t>(0, 3)];
  return input.ConsumeRandomLengthString(24);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static CJsonParseUtil* parser = new CJsonParseUtil();
  FuzzedDataProvider input(data, size);
  std::vector<stTileItem> tiles;
  for (int step = 0; step < 64 && input.remaining_bytes() > 0; ++step) {
    const int op = input.ConsumeIntegralInRange(0, 2);
    const std::string id = PickId(input);
    const std::vector<stTileItem> before = tiles;
    const bool present = std::any_of(tiles.begin(), tiles.end(), [&id](const stTileItem& t) { return t.strID == id; });
    if (op == 0) {
      parser->AddRoutine(id, input.ConsumeRandomLengthString(4096), tiles);
      FUZZ_CHECK(tiles.size() == before.size() + 1 && tiles.back().strID == id);
    } else if (op == 1) {
      parser->UpdateRoutine(id, input.ConsumeRandomLengthString(4096), tiles);
      FUZZ_CHECK(tiles.size() == before.size());
      for (size_t i = 0; i < tiles.size(); ++i) FUZZ_CHECK(tiles[i].strID == before[i].strID);
    } else {
      parser->DeleteRoutine(id, tiles);
      FUZZ_CHECK(tiles.size() == before.size() - (present ? 1 : 0));
    }
    for (const stTileItem& tile : tiles) fuzz_check::RoutineTileShape(tile);
  }
  return 0;
}
