#include "AnswerBook.h"

#include <algorithm>

void CAnswerBook::AccountChanged() {
  m_stale = m_out;
  m_agreeing.clear();
  m_staleAgreeing = m_stale;
}

void CAnswerBook::Asked(Clock::time_point now) {
  ++m_out;
  m_wanted = true;
  m_askedAt = now;
}

bool CAnswerBook::Accept(const std::string& key) {
  if (m_out == 0) return false;  // answers nothing that was asked
  const bool mayBeStale = m_stale > 0;
  const bool mustBeStale = m_stale == m_out;
  // One answer fewer to come; as many stale ones as there still can be.
  --m_out;
  m_stale = std::min(m_stale, m_out);
  bool use;
  if (!mayBeStale) {
    use = true;
  } else if (mustBeStale) {
    use = false;
  } else {
    use = ++m_agreeing[key] > m_staleAgreeing;
  }
  if (use) {
    m_wanted = false;
    m_agreeing.clear();
    m_staleAgreeing = m_stale;
  }
  return use;
}
