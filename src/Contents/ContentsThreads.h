// Every contents request thread of the process, so that exit can stop them.
//
// A download thread uses libcurl and its TLS library until it ends, and both
// tear their global state down in exit-time handlers. Exit therefore first
// tells running transfers to abort and wakes the threads that wait for more
// work, then joins the threads that end within a second, and only then lets
// those handlers run.
#ifndef VARNIO_CONTENTSTHREADS_H_
#define VARNIO_CONTENTSTHREADS_H_

#include <functional>

namespace contents_threads {

enum class StartResult { kStarted, kNoThread, kExiting };

// Runs `work` on a thread of its own: one whose earlier work is done and
// that waits a moment for more, else a new one. kNoThread when the system
// has no thread to give; kExiting once the process has begun to exit.
StartResult Start(std::function<void()> work);

// True once the process has begun to exit: transfers abort, nothing more is
// delivered and no thread is started.
bool Exiting();

// Installs the exit-time stop. Call after libcurl's global initialisation,
// so that it runs before the handlers that initialisation registered.
void StopAtExit();

}  // namespace contents_threads

#endif  // VARNIO_CONTENTSTHREADS_H_
