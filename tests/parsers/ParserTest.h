// What the parser tests share: sample files and framework answers.
#ifndef VARNIO_TESTS_PARSER_TEST_H_
#define VARNIO_TESTS_PARSER_TEST_H_

#include <string>

#include "JsonParseUtil.h"
#include "TestData.h"

// The bytes of tests/data/<relative>.
inline std::string ReadTestData(const std::string& relative) {
  std::string bytes;
  ReadFileBytes(TestDataPath(relative), bytes);
  return bytes;
}

// A framework answer carrying `inner` as its string "data"; only quotes and
// backslashes are escaped, so every other byte arrives as it is.
inline std::string Answer(const std::string& inner) {
  std::string quoted;
  for (const char c : inner) {
    if (c == '"' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return R"({"result":"Success","data":")" + quoted + "\"}";
}

// `depth` times `open`, then `core`, then `depth` times `close`.
inline std::string Nested(int depth, const std::string& open, const std::string& core, const std::string& close) {
  std::string text;
  for (int i = 0; i < depth; ++i) text += open;
  text += core;
  for (int i = 0; i < depth; ++i) text += close;
  return text;
}

#endif  // VARNIO_TESTS_PARSER_TEST_H_
