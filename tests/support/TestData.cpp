#include "TestData.h"

#include <cstdio>
#include <fstream>
#include <sstream>

std::string TestDataPath(const std::string& relative) { return std::string(VARNIO_TEST_DATA_DIR) + "/" + relative; }

std::string ReadTestData(const std::string& relative) {
  const std::string path = TestDataPath(relative);
  std::ifstream in(path, std::ios::binary);
  if (!in.good()) {
    std::fprintf(stderr, "cannot read %s\n", path.c_str());
    return std::string();
  }
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}
