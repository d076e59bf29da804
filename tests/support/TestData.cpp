#include "TestData.h"

#include <cstdio>
#include <fstream>
#include <sstream>

std::string TestDataPath(const std::string& relative) { return std::string(VARNIO_TEST_DATA_DIR) + "/" + relative; }

std::string ReadTestData(const std::string& relative) {
  std::ifstream in(TestDataPath(relative), std::ios::binary);
  if (!in.good()) {
    std::fprintf(stderr, "cannot read %s\n", TestDataPath(relative).c_str());
    return std::string();
  }
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}
