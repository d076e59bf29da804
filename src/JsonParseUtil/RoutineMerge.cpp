#include <algorithm>

#include "JsonAccess.h"
#include "JsonParseUtil.h"
#include "LibraryLog.h"
#include "RoutineTile.h"

namespace {

// The routine's new name from a change's data; empty when the data is not
// JSON, not an object, or its "label" is no string.
std::string LabelOf(const std::string& data) {
  Json::Value root;
  varnio_json::Parse(data, root);
  return varnio_json::MemberString(root, "label");
}

}  // namespace

// cppcheck-suppress passedByValue ; the class's published signature takes its own copy of the data
void CJsonParseUtil::AddRoutine(const std::string& id, std::string data, std::vector<stTileItem>& tiles) {
  VARNIO_LOG(0, "strData : %s", data.c_str());
  // Not searched first: a second creation of an id adds a second tile.
  tiles.push_back(varnio_tiles::MakeRoutineTile(*this, id, LabelOf(data)));
}

// cppcheck-suppress passedByValue ; the class's published signature takes its own copy of the data
void CJsonParseUtil::UpdateRoutine(const std::string& id, std::string data, std::vector<stTileItem>& tiles) {
  VARNIO_LOG(0, "strData : %s", data.c_str());
  const std::string label = LabelOf(data);
  for (stTileItem& tile : tiles) {
    if (tile.strID == id) varnio_tiles::RenameRoutineTile(*this, label, tile);
  }
}

void CJsonParseUtil::DeleteRoutine(const std::string& id, std::vector<stTileItem>& tiles) {
  const auto first = std::find_if(tiles.begin(), tiles.end(),
                                  [&id](const stTileItem& tile) { return tile.strID == id; });
  if (first != tiles.end()) tiles.erase(first);
}
