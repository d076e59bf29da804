#include "TestData.h"

#include <cstdio>
#include <fstream>
#include <sstream>

std::string TestDataPath(const std::string& relative) { return std::string(VARNIO_TEST_DATA_DIR) + "/" + relative; }

bool ReadFileBytes(const std::string& path, std::string& out) {
  out.clear();
  std::ifstream in(path, std::ios::binary);
  if (!in.good()) return false;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  out = bytes.str();
  return true;
}

std::string ReadTestData(const std::string& relative) {
  const std::string path = TestDataPath(relative);
  std::string bytes;
  if (!ReadFileBytes(path, bytes)) std::fprintf(stderr, "cannot read %s\n", path.c_str());
  return bytes;
}
