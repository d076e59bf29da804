// The framework's answer to a routine execution.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "JsonParseUtil.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static CJsonParseUtil* parser = new CJsonParseUtil();
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::string detail = "stale";
  const bool success = parser->ParseExecuteResult(text, detail);
  // A failure needs the word in the text, and the detail is read from it.
  FUZZ_CHECK(success || text.find("Fail") != std::string::npos || text.find("\\u") != std::string::npos);
  FUZZ_CHECK(detail.empty() || text.find("data") != std::string::npos || text.find("\\u") != std::string::npos);
  return 0;
}
