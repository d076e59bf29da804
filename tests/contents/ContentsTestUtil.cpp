#include "ContentsTestUtil.h"

#include <chrono>

#include "Contents.h"
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

// The stand-ins start their notification threads on first use; count
// after that.
int ThreadsNow() {
  CContents::GetURL();
  return ThreadCount();
}

bool WaitForThreads(int count) {
  return WaitForThreadCount(count, std::chrono::seconds(15));
}
