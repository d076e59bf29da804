// A device-list answer, fed both as the outer answer and as the device
// array inside "data".
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "JsonParseUtil.h"

namespace {

void CheckCameras(const std::vector<stTileItem>& tiles) {
  for (const stTileItem& tile : tiles) {
    FUZZ_CHECK(tile.strImage == g_strResDir + "routines/acc.camera.png" && tile.strWidth == g_strDeviceWidth);
    FUZZ_CHECK(tile.strType.empty() && tile.strFinishImage.empty() && tile.strTimeout.empty() && tile.strTitle.empty());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static CJsonParseUtil* parser = new CJsonParseUtil();
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<stTileItem> tiles(3);
  parser->ParseDeviceList(text, tiles);
  CheckCameras(tiles);
  parser->ParseDeviceList(fuzz_check::Wrapped(text), tiles);
  CheckCameras(tiles);
  return 0;
}
