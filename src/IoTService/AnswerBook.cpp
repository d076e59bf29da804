#include "AnswerBook.h"

#include <algorithm>

void CAnswerBook::AccountChanged() {
  m_stale = m_out;
  m_agreeing.clear();
  m_staleAgreeing = m_stale;
  m_askedAgain = 0;
}

void CAnswerBook::Asked(Clock::time_point now) {
  ++m_out;
  m_wanted = true;
  m_askedAt = now;
}

CAnswerBook::Verdict CAnswerBook::Take(const std::string& key) {
  if (m_out == 0) return Verdict::kIgnore;  // answers nothing that was asked
  const bool mayBeStale = m_stale > 0;
  const bool mustBeStale = m_stale == m_out;
  // One answer fewer to come; as many stale ones as there still can be.
  --m_out;
  m_stale = std::min(m_stale, m_out);
  if (mustBeStale) return Unused();
  if (mayBeStale && ++m_agreeing[key] <= m_staleAgreeing) return Unused();
  m_wanted = false;
  m_agreeing.clear();
  m_staleAgreeing = m_stale;
  m_askedAgain = 0;
  return Verdict::kUse;
}

CAnswerBook::Verdict CAnswerBook::Unused() {
  // Each answer asked for again brings the agreement nearer; past a few
  // more than it can take, the service's timer asks at its own pace.
  if (!m_wanted || m_askedAgain > 2 * m_staleAgreeing + 1) return Verdict::kIgnore;
  ++m_askedAgain;
  return Verdict::kAskAgain;
}
