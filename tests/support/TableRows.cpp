#include "TableRows.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>

#include "TestData.h"

std::vector<Json::Value> ReadTableRows(const std::string& name) {
  std::ifstream in(TestDataPath("tables/" + name + ".jsonl"), std::ios::binary);
  EXPECT_TRUE(in.good()) << "no table " << name;
  const std::unique_ptr<Json::CharReader> reader(Json::CharReaderBuilder().newCharReader());
  std::vector<Json::Value> rows;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (line.empty() || line[0] == '#') continue;
    Json::Value row;
    std::string errors;
    const bool read = reader->parse(line.data(), line.data() + line.size(), &row, &errors);
    EXPECT_TRUE(read && row.isObject()) << name << ":" << number << ": " << errors;
    rows.push_back(row);
  }
  EXPECT_FALSE(rows.empty()) << name;
  return rows;
}

std::string TableText(const Json::Value& value) {
  if (!value.isArray()) return value.asString();
  std::string text;
  for (const Json::Value& piece : value) {
    if (piece.isString()) {
      text += piece.asString();
    } else if (piece.isMember("hex")) {
      const std::string hex = piece["hex"].asString();
      for (size_t i = 0; i + 1 < hex.size(); i += 2) text += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    } else if (piece.isMember("repeat")) {
      for (int i = 0; i < piece["times"].asInt(); ++i) text += piece["repeat"].asString();
    } else {
      const std::string bytes = ReadTestData(piece["file"].asString());
      EXPECT_FALSE(bytes.empty()) << piece["file"].asString();
      text += bytes;
    }
  }
  return text;
}
