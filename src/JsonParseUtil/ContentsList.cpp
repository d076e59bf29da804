#include "JsonAccess.h"
#include "JsonParseUtil.h"
#include "LibraryLog.h"

namespace {

const char kTypeApp[] = "IOT_TILE_APP";
const char kTypeVideo[] = "IOT_TILE_VIDEO";

// The three app tiles in display order: the file's entry and the id the
// caller receives for it.
struct AppEntry {
  const char* member;
  const char* id;
};
const AppEntry kAppEntries[] = {{"how", "how"}, {"ways", "uses"}, {"started", "start"}};

}  // namespace

bool CJsonParseUtil::ParseContentsList(const std::string& contents, std::vector<stTileItem>& tiles) {
  VARNIO_TRACE();
  tiles.clear();

  Json::Value root;
  const bool parsed = varnio_json::Parse(contents, root);
  if (!parsed) {
    // A truncated file still yields what was read before the error.
    VARNIO_LOG(0, "failed rspdata : %s!", contents.c_str());
  }
  const Json::Value& section = varnio_json::Member(varnio_json::Member(root, "sections"), "acceleratorout");

  for (const AppEntry& app : kAppEntries) {
    const Json::Value& entry = varnio_json::Member(section, app.member);
    stTileItem tile;
    tile.strType = kTypeApp;
    tile.strID = app.id;
    tile.strImage = varnio_json::MemberString(entry, "img");
    tile.strName = varnio_json::MemberString(entry, "text");
    tile.strWidth = g_strAppWidth;
    tile.strTitle = varnio_json::MemberString(section, "header2");
    tiles.push_back(tile);
  }

  stTileItem video;
  video.strType = kTypeVideo;
  video.strID = "intro";
  video.strImage = varnio_json::MemberString(section, "intro");
  video.strWidth = g_strVideoWidth;
  video.strTitle = varnio_json::MemberString(section, "header1");
  tiles.push_back(video);
  return parsed && section.isObject();
}
