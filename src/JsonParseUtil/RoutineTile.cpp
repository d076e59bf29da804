#include "RoutineTile.h"

namespace varnio_tiles {
namespace {

const char kRoutineTimeout[] = "5";

}  // namespace

stTileItem MakeRoutineTile(const CJsonParseUtil& parser, const std::string& id, const std::string& label) {
  stTileItem tile;
  tile.strID = id;
  RenameRoutineTile(parser, label, tile);
  tile.strTimeout = kRoutineTimeout;
  tile.strWidth = g_strRoutineWidth;
  return tile;
}

void RenameRoutineTile(const CJsonParseUtil& parser, const std::string& label, stTileItem& tile) {
  tile.strName = label;
  parser.AssignRoutineIcons(label, tile.strImage, tile.strFinishImage);
}

}  // namespace varnio_tiles
