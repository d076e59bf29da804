// The simulated platform as a whole, for a home screen developed on a PC:
// waits until the stand-ins and the library's contents downloads are quiet,
// so that a program can check what its callbacks received instead of
// sleeping.
//
// Misuse is told, not waited out: each function below that cannot do its
// work writes an error to the platform log under the tag "varnio-sim"
// (shown on stderr, see dlog_sim.h) saying what to do instead, and returns
// false at once.
#ifndef PLATFORM_VARNIO_SIM_H_
#define PLATFORM_VARNIO_SIM_H_

#include <chrono>

namespace varnio_sim {

// Counts the threads the process has now as its own. Call it once the
// library's service has started (after the first exported call, such as
// registering a callback) and while no tile request is outstanding, from a
// thread of the program's own: every thread that starts later is taken for
// a contents download until it ends, so threads of the program's own started
// later are waited for too. Let the stand-ins deliver what was set before
// the service started (vconf_sim::WaitIdle) first: a language change the
// service hears of as it starts begins a download. False before the service
// started or from inside a callback.
bool TakeThreadBaseline();

// Returns true once the settings and power stand-ins have sent every
// notification, the framework stand-in has delivered everything queued on
// its callback thread, and no contents download runs; checked over again
// after downloads end, since their deliveries may ask for more. False when
// something is still busy at `timeout`, which bounds the whole wait. With
// the framework's callbacks held (iotfw_sim::HoldCallbacks) it waits for
// their release. False at once, with an error, before the service started,
// before TakeThreadBaseline, and from inside a callback of the library or a
// stand-in, or any thread started after the baseline (it would wait for
// itself): wait on the program's own thread, after the callback returned.
bool WaitIdle(std::chrono::milliseconds timeout = std::chrono::seconds(30));

// The same, leaving out the framework's callback thread: for while its
// callbacks are held.
bool WaitIdleExceptFramework(std::chrono::milliseconds timeout = std::chrono::seconds(30));

}  // namespace varnio_sim

#endif  // PLATFORM_VARNIO_SIM_H_
