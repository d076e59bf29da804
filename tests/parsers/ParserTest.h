// The parser tests' shared parts: sample answers, answer builders, tiles as
// the parsers must make them (written out here, not taken from the parsers'
// tables), and the one table every list parser is checked against.
#ifndef VARNIO_TESTS_PARSER_TEST_H_
#define VARNIO_TESTS_PARSER_TEST_H_

#include <gmock/gmock.h>

#include <ostream>
#include <string>
#include <vector>

#include "JsonParseUtil.h"

bool operator==(const stTileItem& a, const stTileItem& b);
void PrintTo(const stTileItem& tile, std::ostream* os);

// The bytes of tests/data/<relative>.
std::string ReadTestData(const std::string& relative);

// A framework answer carrying `inner` as its string "data"; only quotes and
// backslashes are escaped, so every other byte arrives as it is.
std::string Answer(const std::string& inner);

// `depth` times `open`, then `core`, then `depth` times `close`.
std::string Nested(int depth, const std::string& open, const std::string& core, const std::string& close);

// A routine tile whose icons are routines/acc-<icon>.png and its activated twin.
stTileItem Routine(const std::string& id, const std::string& name, const std::string& icon);

// Runs one of the list parsers on the text into the tiles.
using ListParser = void (*)(CJsonParseUtil&, const std::string&, std::vector<stTileItem>&);

struct TileCase {
  const char* name;
  ListParser parse;
  std::string input;
  std::vector<stTileItem> tiles;  // what replaces the list held before
};
// Test listings show the case's name, not its bytes.
void PrintTo(const TileCase& c, std::ostream* os);
std::string CaseName(const testing::TestParamInfo<TileCase>& info);

class ParserTest : public testing::TestWithParam<TileCase> {};

#endif  // VARNIO_TESTS_PARSER_TEST_H_
