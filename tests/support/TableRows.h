// Test tables kept as data: tests/data/tables/NAME.jsonl holds one case a
// line, a JSON object of inputs and expected outputs ('#' lines and blank
// lines are skipped).
#ifndef VARNIO_TESTS_TABLE_ROWS_H_
#define VARNIO_TESTS_TABLE_ROWS_H_

#include <json/json.h>

#include <string>
#include <vector>

// The rows of a table; a line that is no JSON object fails the test.
std::vector<Json::Value> ReadTableRows(const std::string& name);

// A text as a table writes it: a string, or an array of pieces joined, each
// a string, {"hex": "ff00"} (raw bytes), {"repeat": "x", "times": 999} or
// {"file": "routines/routine-list.json"} (a sample under tests/data).
std::string TableText(const Json::Value& value);

#endif  // VARNIO_TESTS_TABLE_ROWS_H_
