// The kit's scenario reader on any bytes: every line is either taken, with
// its action, or reported with the file's name and its own number.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "Scenario.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  scenario::Scenario read;
  std::vector<std::string> errors;
  const bool ok = scenario::ParseScenario(in, "f", read, errors);
  FUZZ_CHECK(ok == errors.empty());
  for (const std::string& error : errors) FUZZ_CHECK(fuzz_check::StartsWith(error, "f:"));
  int previous = 0;
  for (const scenario::Line& line : read.lines) {
    FUZZ_CHECK(line.number > previous && line.value.isObject() && line.value.isMember(line.action));
    previous = line.number;
  }
  return 0;
}
