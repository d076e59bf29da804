// Which answers to one framework command the service may use.
//
// An answer names no request. The framework may give it during the request
// or later, on any of its threads, after any number of later events, in any
// order, or never. So an answer to a request made before the account last
// changed (a sign-in, a sign-out, a routine changed in the cloud) reads
// exactly like one made after it, and may tell of another account. The book
// counts what was asked and when, and lets an answer through only when it
// cannot be such a stale one, or when more answers agree on it than stale
// requests can still be answering: one of those must then be current.
//
// Not locked itself: the service calls it under its state lock.
#ifndef VARNIO_IOTSERVICE_ANSWERBOOK_H_
#define VARNIO_IOTSERVICE_ANSWERBOOK_H_

#include <chrono>
#include <map>
#include <string>

class CAnswerBook {
 public:
  using Clock = std::chrono::steady_clock;

  enum class Verdict {
    kUse,       // it cannot be stale, or enough answers agree on it
    kIgnore,    // it may be stale, and no answer is wanted now
    kAskAgain,  // it may be stale: ask again for one that is not
  };

  // The account may have changed: every request still out is stale.
  void AccountChanged();
  // Whoever wanted an answer is gone: none is wanted until the next request.
  void Unwanted() { m_wanted = false; }
  // A request went out.
  void Asked(Clock::time_point now);
  // An answer came, `key` being what it says.
  Verdict Take(const std::string& key);

  // An answer is wanted and none was used within `wait` of the last request.
  bool Overdue(Clock::time_point now, Clock::duration wait) const { return m_wanted && now - m_askedAt >= wait; }
  bool Wanted() const { return m_wanted; }

 private:
  // The answer just taken was not used: asks again while that can help.
  Verdict Unused();

  int m_out = 0;    // requests out: asked and not answered (a lost answer stays counted)
  int m_stale = 0;  // of them, at most this many asked before the account last changed
  // Answers that may have been stale, by what they say; of them, at most
  // m_staleAgreeing were; and how often the book asked again for more.
  std::map<std::string, int> m_agreeing;
  int m_staleAgreeing = 0;
  int m_askedAgain = 0;
  bool m_wanted = false;  // asked for since an answer was last used
  Clock::time_point m_askedAt;
};

#endif  // VARNIO_IOTSERVICE_ANSWERBOOK_H_
