// The checks below must survive release builds: a mutex that was never
// created would fail silently on every later use.
#undef NDEBUG
#include <cassert>

#include "Lock.h"

ILock::~ILock() = default;

CLockMutex::CLockMutex() {
  assert(0 == pthread_mutexattr_init(&m_attr));
  pthread_mutexattr_settype(&m_attr, PTHREAD_MUTEX_RECURSIVE);
  assert(0 == pthread_mutex_init(&m_mutex, &m_attr));
}

CLockMutex::~CLockMutex() { pthread_mutex_destroy(&m_mutex); }

void CLockMutex::Lock() const { pthread_mutex_lock(&m_mutex); }

void CLockMutex::Unlock() const { pthread_mutex_unlock(&m_mutex); }

CAutoLock::CAutoLock(const ILock& lock) : m_lock(lock) { m_lock.Lock(); }

CAutoLock::~CAutoLock() { m_lock.Unlock(); }
