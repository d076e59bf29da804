#include "TileRow.h"

#include <json/json.h>
#include <varnio.h>

#include <sstream>

bool TileRow::Connect() {
  // The change callback first: a signed-in start announces its routines as
  // soon as the framework answers.
  return iot_svc_register_event_cb(IOT_SVC_EVENT_TILES_CHANGED, &TileRow::OnTilesChanged, this) &&
         iot_svc_register_result_cb(IOT_SVC_CMD_GET_ACCELERATOR_TILES, &TileRow::OnTiles, this);
}

void TileRow::Disconnect() {
  iot_svc_unregister_event_cb(IOT_SVC_EVENT_TILES_CHANGED);
  iot_svc_unregister_result_cb(IOT_SVC_CMD_GET_ACCELERATOR_TILES);
}

void TileRow::Refresh() { iot_svc_get_accelerator_tiles(); }

void TileRow::Execute(const Tile& tile) {
  if (tile.type == "IOT_TILE_ROUTINE") {
    iot_svc_execute_tile(IOT_SVC_TILE_ROUTINE, tile.id);
  } else if (tile.type == "IOT_TILE_VIDEO") {
    iot_svc_execute_tile(IOT_SVC_TILE_INTRO, tile.id);
  } else {
    iot_svc_execute_tile(IOT_SVC_TILE_PAGE, tile.id);
  }
}

std::vector<Tile> TileRow::Tiles() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_tiles;
}

std::vector<std::string> TileRow::Titles() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_titles;
}

// A row: an array of sections, each with its tiles under "data".
void TileRow::OnTiles(std::string json, void* self) {
  Json::Value sections;
  std::istringstream in(json);
  if (!Json::parseFromStream(Json::CharReaderBuilder(), in, &sections, nullptr) || !sections.isArray()) return;
  std::vector<Tile> tiles;
  std::vector<std::string> titles;
  for (const Json::Value& section : sections) {
    titles.push_back(section["title"].asString());
    for (const Json::Value& item : section["data"]) {
      // Routines carry their label as "name", the other tiles as "text".
      const std::string text = item.isMember("name") ? item["name"].asString() : item["text"].asString();
      tiles.push_back({item["type"].asString(), item["id"].asString(), text, item["image"].asString()});
    }
  }
  TileRow* row = static_cast<TileRow*>(self);
  std::lock_guard<std::mutex> lock(row->m_mutex);
  row->m_tiles = std::move(tiles);
  row->m_titles = std::move(titles);
}

// The row shown is out of date: ask again. Calling back in from here is allowed.
void TileRow::OnTilesChanged(std::string /*empty*/, void* self) { static_cast<TileRow*>(self)->Refresh(); }
