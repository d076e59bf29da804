// Shared helpers of the parser tests: the sample answers under tests/data,
// expected icon paths written out independently of the parser's tables, and
// builders for answers the samples do not cover.
#ifndef VARNIO_TESTS_PARSER_TEST_UTIL_H_
#define VARNIO_TESTS_PARSER_TEST_UTIL_H_

#include <json/json.h>

#include <string>
#include <vector>

#include "JsonParseUtil.h"

// The bytes of tests/data/<relative>; the test fails when it is missing.
std::string ReadTestData(const std::string& relative);

// The pair of absolute icon paths a routine tile gets for `keyword`
// ("MORNING", "NIGHT", "BYE", "BACK" or "USER").
struct IconPair {
  std::string image;
  std::string finishImage;
};
IconPair ExpectedIcons(const std::string& keyword);

// JSON text without any layout.
std::string Compact(const Json::Value& value);

// `text` as a JSON string, bytes beyond ASCII left as they are.
std::string Quoted(const std::string& text);

// A routine-list answer as the framework sends it: the inner document as
// the string "data" of the outer one.
std::string RoutineListAnswer(const std::string& innerText);
std::string RoutineListAnswer(const Json::Value& inner);

// {"phrases":[{"id":..,"label":..},...]} for (id, label) pairs.
Json::Value Phrases(const std::vector<std::pair<std::string, std::string>>& routines);

// `depth` times `open`, then `core`, then `depth` times `close`.
std::string Nested(int depth, const std::string& open, const std::string& core, const std::string& close);

// A routine tile as every routine producer must make it.
stTileItem RoutineTile(const std::string& id, const std::string& name, const std::string& keyword);

// The ids of `tiles` in order.
std::vector<std::string> Ids(const std::vector<stTileItem>& tiles);

// Every field, for readable failure messages and whole-record comparison.
std::vector<std::string> Fields(const stTileItem& tile);

// Whole-record comparison of two tile lists.
void ExpectTiles(const std::vector<stTileItem>& actual, const std::vector<stTileItem>& expected);

#endif  // VARNIO_TESTS_PARSER_TEST_UTIL_H_
