#include "ContentsTestUtil.h"

#include <json/json.h>

#include <chrono>
#include <thread>

#include "Contents.h"
#include "JsonAccess.h"
#include "TestData.h"
#include "ThreadCount.h"

const char kFourEmptyTiles[] =
    "[\n"
    "   {\n"
    "      \"data\" : [\n"
    "         {\n"
    "            \"id\" : \"intro\",\n"
    "            \"image\" : \"\",\n"
    "            \"type\" : \"IOT_TILE_VIDEO\",\n"
    "            \"width\" : \"444\"\n"
    "         }\n"
    "      ],\n"
    "      \"title\" : \"\"\n"
    "   },\n"
    "   {\n"
    "      \"data\" : [\n"
    "         {\n"
    "            \"id\" : \"how\",\n"
    "            \"image\" : \"\",\n"
    "            \"text\" : \"\",\n"
    "            \"type\" : \"IOT_TILE_APP\",\n"
    "            \"width\" : \"444\"\n"
    "         },\n"
    "         {\n"
    "            \"id\" : \"uses\",\n"
    "            \"image\" : \"\",\n"
    "            \"text\" : \"\",\n"
    "            \"type\" : \"IOT_TILE_APP\",\n"
    "            \"width\" : \"444\"\n"
    "         },\n"
    "         {\n"
    "            \"id\" : \"start\",\n"
    "            \"image\" : \"\",\n"
    "            \"text\" : \"\",\n"
    "            \"type\" : \"IOT_TILE_APP\",\n"
    "            \"width\" : \"444\"\n"
    "         }\n"
    "      ],\n"
    "      \"title\" : \"\"\n"
    "   }\n"
    "]\n";

std::string ExpectedTiles(const std::string& name) {
  std::string bytes;
  ReadFileBytes(TestDataPath("contents/expected/" + name + "-tiles.json"), bytes);
  return bytes;
}

std::vector<std::string> TileIds(const std::string& json) {
  std::vector<std::string> ids;
  Json::Value root;
  if (!varnio_json::Parse(json, root) || !root.isArray()) return ids;
  for (const Json::Value& section : root) {
    for (const Json::Value& item : section["data"]) ids.push_back(item["id"].asString());
  }
  return ids;
}

// The stand-ins start their notification threads on first use; count
// after that.
int ThreadsNow() {
  CContents::GetURL();
  return ThreadCount();
}

bool WaitForThreads(int count) {
  for (int i = 0; i < 1500; ++i) {
    if (ThreadsNow() <= count) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}
