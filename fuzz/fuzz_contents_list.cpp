// The contents host's file: always the same four tiles, whatever arrives.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "JsonParseUtil.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static CJsonParseUtil* parser = new CJsonParseUtil();
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<stTileItem> tiles(5);
  parser->ParseContentsList(text, tiles);
  FUZZ_CHECK(tiles.size() == 4);
  FUZZ_CHECK(tiles[0].strID == "how" && tiles[1].strID == "uses" && tiles[2].strID == "start");
  FUZZ_CHECK(tiles[3].strID == "intro" && tiles[3].strType == "IOT_TILE_VIDEO" && tiles[3].strName.empty());
  for (size_t i = 0; i < 3; ++i) {
    FUZZ_CHECK(tiles[i].strType == "IOT_TILE_APP" && tiles[i].strWidth == g_strAppWidth);
    FUZZ_CHECK(tiles[i].strTitle == tiles[0].strTitle);
  }
  for (const stTileItem& tile : tiles) FUZZ_CHECK(tile.strFinishImage.empty() && tile.strTimeout.empty());
  return 0;
}
