#include "TileList.h"

#include <json/json.h>

#include <memory>

#include "JsonText.h"

namespace demo {
namespace {

std::string StringMember(const Json::Value& object, const char* key) {
  const Json::Value& value = object[key];
  return value.isString() ? value.asString() : std::string();
}

}  // namespace

size_t TileList::TileCount() const {
  size_t count = 0;
  for (const TileSection& section : sections) count += section.tiles.size();
  return count;
}

std::vector<std::string> TileList::Ids() const {
  std::vector<std::string> ids;
  for (const TileSection& section : sections) {
    for (const Tile& tile : section.tiles) ids.push_back(tile.id);
  }
  return ids;
}

const Tile* TileList::Find(const std::string& id) const {
  for (const TileSection& section : sections) {
    for (const Tile& tile : section.tiles) {
      if (tile.id == id) return &tile;
    }
  }
  return nullptr;
}

TileList ParseTileList(const std::string& json) {
  TileList list;
  Json::CharReaderBuilder builder;
  std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
  Json::Value root;
  std::string errors;
  if (!ReadJson(*reader, json, root, errors)) {
    list.error = "not JSON: " + errors;
    return list;
  }
  if (!root.isArray()) {
    list.error = "top level is not an array";
    return list;
  }
  for (const Json::Value& sectionValue : root) {
    if (!sectionValue.isObject() || !sectionValue["data"].isArray()) {
      list.error = "a section is not an object with a \"data\" array";
      return list;
    }
    TileSection section;
    section.hasTitle = sectionValue.isMember("title");
    section.title = StringMember(sectionValue, "title");
    for (const Json::Value& item : sectionValue["data"]) {
      if (!item.isObject()) continue;
      Tile tile;
      tile.type = StringMember(item, "type");
      tile.id = StringMember(item, "id");
      tile.text = item.isMember("name") ? StringMember(item, "name") : StringMember(item, "text");
      tile.image = StringMember(item, "image");
      tile.finishImage = StringMember(item, "finish_image");
      tile.timeout = StringMember(item, "timeout");
      tile.width = StringMember(item, "width");
      section.tiles.push_back(tile);
    }
    list.sections.push_back(section);
  }
  list.valid = true;
  return list;
}

}  // namespace demo
