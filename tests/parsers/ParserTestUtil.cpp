#include "ParserTestUtil.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>

#include "TestData.h"

std::string ReadTestData(const std::string& relative) {
  std::string bytes;
  EXPECT_TRUE(ReadFileBytes(TestDataPath(relative), bytes)) << "missing sample " << relative;
  return bytes;
}

IconPair ExpectedIcons(const std::string& keyword) {
  static const std::map<std::string, std::string> kStem = {
      {"MORNING", "acc-gdmorn"}, {"NIGHT", "acc-gdnight"}, {"BYE", "acc-gdbye"},
      {"BACK", "acc-imback"},    {"USER", "acc-custom"},
  };
  const std::string stem = kStem.at(keyword);
  const std::string dir = std::string(VARNIO_EXPECTED_RES_DIR) + "routines/";
  return {dir + stem + ".png", dir + stem + "-activated.png"};
}

std::string Compact(const Json::Value& value) {
  Json::StreamWriterBuilder builder;
  builder["indentation"] = "";
  return Json::writeString(builder, value);
}

std::string Quoted(const std::string& text) {
  // Escapes only what JSON requires, so bytes that are not UTF-8 reach the
  // parser as they are (jsoncpp's writer would re-encode them).
  std::string quoted = "\"";
  for (const char c : text) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += c;
    } else if (byte < 0x20) {
      char escape[8];
      snprintf(escape, sizeof escape, "\\u%04x", byte);
      quoted += escape;
    } else {
      quoted += c;
    }
  }
  return quoted + "\"";
}

std::string RoutineListAnswer(const std::string& innerText) {
  return R"({"result":"Success","data":)" + Quoted(innerText) + "}";
}

std::string RoutineListAnswer(const Json::Value& inner) { return RoutineListAnswer(Compact(inner)); }

Json::Value Phrases(const std::vector<std::pair<std::string, std::string>>& routines) {
  Json::Value phrases(Json::arrayValue);
  for (const auto& routine : routines) {
    Json::Value phrase;
    phrase["id"] = routine.first;
    phrase["label"] = routine.second;
    phrases.append(phrase);
  }
  Json::Value inner;
  inner["phrases"] = phrases;
  return inner;
}

std::string Nested(int depth, const std::string& open, const std::string& core, const std::string& close) {
  std::string text;
  text.reserve(static_cast<size_t>(depth) * (open.size() + close.size()) + core.size());
  for (int i = 0; i < depth; ++i) text += open;
  text += core;
  for (int i = 0; i < depth; ++i) text += close;
  return text;
}

stTileItem RoutineTile(const std::string& id, const std::string& name, const std::string& keyword) {
  const IconPair icons = ExpectedIcons(keyword);
  stTileItem tile;
  tile.strID = id;
  tile.strName = name;
  tile.strImage = icons.image;
  tile.strFinishImage = icons.finishImage;
  tile.strTimeout = "5";
  tile.strWidth = "250";
  return tile;
}

std::vector<std::string> Ids(const std::vector<stTileItem>& tiles) {
  std::vector<std::string> ids;
  for (const stTileItem& tile : tiles) ids.push_back(tile.strID);
  return ids;
}

std::vector<std::string> Fields(const stTileItem& tile) {
  return {tile.strType,         tile.strID,      tile.strName,     tile.strImage,
          tile.strFinishImage, tile.strTimeout, tile.strWidth,    tile.strTitle};
}

void ExpectTiles(const std::vector<stTileItem>& actual, const std::vector<stTileItem>& expected) {
  ASSERT_EQ(actual.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(Fields(actual[i]), Fields(expected[i])) << "tile " << i;
}
