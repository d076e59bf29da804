#include <json/json.h>

#include <utility>

#include "Contents.h"
#include "ContentsTileList.h"
#include "JsonAccess.h"
#include "LibraryLog.h"

namespace {

// One section of the before-sign-in list: the tiles of `type`, in order,
// titled by the last of them.
Json::Value MakeSection(const std::vector<stTileItem>& tiles, const std::string& type, bool withText) {
  Json::Value section(Json::objectValue);
  Json::Value data(Json::arrayValue);
  for (const stTileItem& tile : tiles) {
    if (tile.strType != type) continue;
    Json::Value item(Json::objectValue);
    item["type"] = tile.strType;
    item["id"] = tile.strID;
    item["image"] = tile.strImage;
    item["width"] = tile.strWidth;
    if (withText) item["text"] = tile.strName;
    data.append(std::move(item));
    section["title"] = tile.strTitle;
  }
  section["data"] = std::move(data);
  return section;
}

}  // namespace

std::string CContents::t_MakeContentsToJson(const std::vector<stTileItem>& tiles) {
  VARNIO_TRACE();
  Json::Value root(Json::arrayValue);
  root.append(MakeSection(tiles, "IOT_TILE_VIDEO", false));
  root.append(MakeSection(tiles, "IOT_TILE_APP", true));
  return varnio_json::ToStyledText(root);
}

bool CContents::GetContentsJson(const std::string& contents, std::string& out) {
  VARNIO_TRACE();
  ContentsFileToJson(contents, out);
  return true;
}

bool ContentsFileToJson(const std::string& contents, std::string& out) {
  std::vector<stTileItem> tiles;
  CJsonParseUtil parser;
  const bool whole = parser.ParseContentsList(contents, tiles);
  out = CContents::t_MakeContentsToJson(tiles);
  return whole;
}
