#include "RoutineRow.h"

#include <json/json.h>
#include <libintl.h>

#include "JsonAccess.h"
#include "LibraryLog.h"
#include "ServiceConstants.h"

namespace {

const char* RoutinesTitle() { return dgettext(kTextDomain, kRoutinesTitleId); }

}  // namespace

void CRoutineRow::Replace(std::vector<stTileItem> tiles) {
  m_tiles.swap(tiles);
  m_held = true;
  Changed();
}

void CRoutineRow::Clear() {
  m_tiles.clear();
  m_held = false;
  Changed();
}

std::shared_ptr<const std::string> CRoutineRow::Text() {
  if (!m_held) return nullptr;
  const char* title = RoutinesTitle();
  if (m_title != title) Render(title);
  return m_text;
}

void CRoutineRow::Changed() {
  ++m_version;
  Render(RoutinesTitle());
}

void CRoutineRow::Render(std::string title) {
  m_title = std::move(title);
  if (!m_held) {
    m_text = nullptr;
    return;
  }
  VARNIO_LOG(0, "routines.size() : %d", static_cast<int>(m_tiles.size()));
  Json::Value data(Json::arrayValue);
  for (const stTileItem& tile : m_tiles) {
    Json::Value item(Json::objectValue);
    item["type"] = "IOT_TILE_ROUTINE";
    item["id"] = tile.strID;
    item["name"] = tile.strName;
    item["image"] = tile.strImage;
    item["width"] = tile.strWidth;
    item["finish_image"] = tile.strFinishImage;
    item["timeout"] = tile.strTimeout;
    data.append(std::move(item));
  }
  Json::Value section(Json::objectValue);
  section["title"] = m_title;
  section["data"] = std::move(data);
  Json::Value root(Json::arrayValue);
  root.append(std::move(section));
  m_text = std::make_shared<const std::string>(varnio_json::ToStyledText(root));
}
