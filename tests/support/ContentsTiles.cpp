#include "ContentsTiles.h"

#include <json/json.h>

#include <sstream>

#include "TestData.h"

const std::vector<std::string> kContentsIds = {"intro", "how", "uses", "start"};

std::vector<std::string> TileIds(const std::string& json, unsigned sections) {
  std::vector<std::string> ids;
  Json::Value root;
  Json::CharReaderBuilder builder;
  std::string errors;
  std::istringstream in(json);
  if (!Json::parseFromStream(builder, in, &root, &errors) || !root.isArray() || root.size() != sections) return ids;
  for (const Json::Value& section : root) {
    for (const Json::Value& item : section["data"]) ids.push_back(item["id"].asString());
  }
  return ids;
}

std::string ExpectedTiles(const std::string& name) { return ReadTestData("contents/expected/" + name + "-tiles.json"); }
