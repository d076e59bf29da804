// The library's life in its host process: what it sets up once for the whole
// process, the threads it starts, and the stop that ends them.
//
// The library is linked so that it is never unmapped (-z nodelete): a
// dlclose leaves it in place, since the platform services it subscribed to
// may call it at any time. Its life therefore ends with the process. At exit,
// before libcurl's TLS library tears down its global state in its own exit
// handlers, the stop
//   1. marks the library as stopping: no thread starts any more;
//   2. calls the wake function of every library thread still running;
//   3. waits up to a second for them to end, and joins those that did.
// A thread running a caller's callback cannot be woken and may be left; so
// is the thread that called exit(). Threads are joined only here: one that
// has ended is joined by the next thread started, or by the stop.
#ifndef VARNIO_LIBRARYLIFE_H_
#define VARNIO_LIBRARYLIFE_H_

#include <functional>

namespace library_life {

// libcurl's global set-up, then the stop, registered to run at exit after
// that set-up's handlers were. Once per process; safe from any thread. Every
// entry into libcurl comes after it.
void Start();

enum class StartResult { kStarted, kNoThread, kStopping };

// Runs `body` on a new library thread. `wake` must make `body` return soon
// once Stopping() is true: it is called from the stopping thread with no lock
// of this unit held, possibly before `body` starts, while it runs or after it
// returned, so it must hold what it touches alive (by shared_ptr) and be safe
// from any thread. kNoThread when the system gives no thread; kStopping once
// the stop has begun.
StartResult StartThread(std::function<void()> body, std::function<void()> wake);

// True once the stop has begun.
bool Stopping();

}  // namespace library_life

#endif  // VARNIO_LIBRARYLIFE_H_
