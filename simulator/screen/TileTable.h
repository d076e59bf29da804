// A tile list as the terminal shows it: per section its title, then one
// table row per tile with the columns that any tile of the section fills.
#ifndef VARNIO_SIMULATOR_SCREEN_TILE_TABLE_H_
#define VARNIO_SIMULATOR_SCREEN_TILE_TABLE_H_

#include <string>

#include "TileList.h"

namespace demo {

// Lines end in '\n' and start with `indent`. Every line of one table has the
// same display width; long cells are cut, texts are cleaned for the terminal.
std::string RenderTileTable(const TileList& list, const std::string& indent = "  ");

}  // namespace demo

#endif  // VARNIO_SIMULATOR_SCREEN_TILE_TABLE_H_
