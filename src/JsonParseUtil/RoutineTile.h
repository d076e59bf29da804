// The one form of a routine tile, shared by the list parser and the merges.
#ifndef VARNIO_ROUTINETILE_H_
#define VARNIO_ROUTINETILE_H_

#include <string>

#include "JsonParseUtil.h"

namespace varnio_tiles {

// A routine tile for `id` named `label`: icons from the label, timeout "5",
// routine width; type and title empty.
stTileItem MakeRoutineTile(const CJsonParseUtil& parser, std::string id, std::string label);

// Renames `tile` and chooses its icons again; every other field stays.
void RenameRoutineTile(const CJsonParseUtil& parser, const std::string& label, stTileItem& tile);

}  // namespace varnio_tiles

#endif  // VARNIO_ROUTINETILE_H_
