#include "Summary.h"

#include <cstdio>

namespace scenario {

void Summary::Say(Kind kind, const std::string& where, const std::string& text) {
  if (m_quiet) return;
  if (kind == Kind::kWarning && m_warningsShown.insert(text).second) {
    std::fprintf(stderr, "%s: warning: %s\n", where.c_str(), text.c_str());
  } else if (kind == Kind::kNote) {
    std::fprintf(stderr, "%s: note: %s\n", where.c_str(), text.c_str());
  }
}

void Summary::Failure(const std::string& where, const std::string& what) {
  std::fprintf(stderr, "%s: %s\n", where.c_str(), what.c_str());
}

void Summary::Finish(int expectations, int failures) {
  if (failures == 0) {
    std::printf("%s: ok, %d expectation(s) held\n", m_name.c_str(), expectations);
  } else {
    std::printf("%s: FAILED, %d failure(s), %d expectation(s)\n", m_name.c_str(), failures, expectations);
  }
  std::fflush(stdout);
}

}  // namespace scenario
