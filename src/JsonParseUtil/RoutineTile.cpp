#include "RoutineTile.h"

#include <utility>

namespace varnio_tiles {
namespace {

const char kRoutineTimeout[] = "5";

}  // namespace

stTileItem MakeRoutineTile(const CJsonParseUtil& parser, std::string id, std::string label) {
  stTileItem tile;
  tile.strID = std::move(id);
  parser.AssignRoutineIcons(label, tile.strImage, tile.strFinishImage);
  tile.strName = std::move(label);
  tile.strTimeout = kRoutineTimeout;
  tile.strWidth = g_strRoutineWidth;
  return tile;
}

void RenameRoutineTile(const CJsonParseUtil& parser, const std::string& label, stTileItem& tile) {
  tile.strName = label;
  parser.AssignRoutineIcons(label, tile.strImage, tile.strFinishImage);
}

}  // namespace varnio_tiles
