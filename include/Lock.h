// A recursive lock behind a small interface, and a scoped guard for it.
#ifndef VARNIO_LOCK_H_
#define VARNIO_LOCK_H_

#include <pthread.h>

#include "varnio.h"

class VARNIO_EXPORT ILock {
 public:
  virtual ~ILock();
  virtual void Lock() const = 0;
  virtual void Unlock() const = 0;
};

// Recursive POSIX mutex: the holder may lock again and must unlock as often
// as it locked. Failing to create the mutex ends the process.
class VARNIO_EXPORT CLockMutex : public ILock {
 public:
  CLockMutex();
  ~CLockMutex() override;
  CLockMutex(const CLockMutex&) = delete;
  CLockMutex& operator=(const CLockMutex&) = delete;

  void Lock() const override;
  void Unlock() const override;

 private:
  mutable pthread_mutex_t m_mutex;
  pthread_mutexattr_t m_attr;
};

// Holds `lock` for the guard's scope, exceptions included.
class VARNIO_EXPORT CAutoLock {
 public:
  explicit CAutoLock(const ILock& lock);
  ~CAutoLock();
  CAutoLock(const CAutoLock&) = delete;
  CAutoLock& operator=(const CAutoLock&) = delete;

 private:
  const ILock& m_lock;
};

#endif  // VARNIO_LOCK_H_
