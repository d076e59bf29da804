// Which framework answers the service may use, step by step: each script
// asks ('a'), says the account changed ('x'), says no answer is wanted any
// more ('n'), or takes an answer saying 'A' or 'B' and expects a verdict:
// u(se), i(gnore) or r (ask again).
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>

#include "AnswerBook.h"

namespace {

// What each script shows, and its steps. The service asks again after each
// 'r'; the scripts do so too.
const std::pair<const char*, const char*> kScripts[] = {
    {"an answer to a current request", "a A:u"},
    {"an answer nobody asked for", "A:i a A:u A:i"},
    {"stale, and nothing wanted any more", "a x n A:i a A:u"},
    {"stale, and still wanted", "a x A:r a A:u"},
    {"one stale out: used once two agree", "a x a A:r a A:u"},
    {"one stale out: answers that disagree", "a x a A:r a B:r a B:u"},
    {"two stale out: three must agree", "a a x a A:r a A:r a A:u"},
    {"after a use, the stale one may still come", "a x a A:r a A:u a B:r a B:u"},
    {"the last answer out can only be the stale one", "a x a B:r A:r a A:u"},
    {"a change while agreeing starts over", "a x a A:r x a A:r a A:u"},
    {"asked again a few times at most", "a x a A:r a B:r a C:r a D:r a E:i"},
};

TEST(AnswerBookTest, Scripts) {
  for (const auto& [what, script] : kScripts) {
    CAnswerBook book;
    std::istringstream steps(script);
    for (std::string step; steps >> step;) {
      if (step == "a") {
        book.Asked(CAnswerBook::Clock::now());
      } else if (step == "x") {
        book.AccountChanged();
      } else if (step == "n") {
        book.Unwanted();
      } else {
        const CAnswerBook::Verdict verdict = book.Take(step.substr(0, 1));
        const char got = verdict == CAnswerBook::Verdict::kUse ? 'u' : verdict == CAnswerBook::Verdict::kIgnore ? 'i' : 'r';
        EXPECT_EQ(got, step[2]) << what << ": step " << step << " of \"" << script << "\"";
      }
    }
  }
}

}  // namespace
