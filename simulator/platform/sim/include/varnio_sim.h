// The simulated platform as a whole, for a home screen developed on a PC:
// waits until the stand-ins and the library's contents downloads are quiet,
// so that a program can check what its callbacks received instead of
// sleeping.
#ifndef PLATFORM_VARNIO_SIM_H_
#define PLATFORM_VARNIO_SIM_H_

#include <chrono>

namespace varnio_sim {

// Counts the threads the process has now as its own. Call it once the
// library's service has started (after the first exported call) and while no
// tile request is outstanding: every thread that starts later is taken for a
// contents download until it ends, so threads of the caller's own started
// later are waited for too. Let the stand-ins deliver what was set before the
// service started (vconf_sim::WaitIdle) first: a language change the service
// hears of as it starts begins a download.
void TakeThreadBaseline();

// Returns true once the settings and power stand-ins have sent every
// notification, the framework stand-in has delivered everything queued on its
// callback thread, and no contents download runs; checked over again after
// downloads end, since their deliveries may ask for more. False when
// downloads still run after `timeout`. With the framework's callbacks held
// (iotfw_sim::HoldCallbacks) it waits for their release. Must not be called
// from a callback. Without a baseline it does not wait for downloads and says
// so in the log.
bool WaitIdle(std::chrono::milliseconds timeout = std::chrono::seconds(30));

// The same, leaving out the framework's callback thread: for while its
// callbacks are held.
bool WaitIdleExceptFramework(std::chrono::milliseconds timeout = std::chrono::seconds(30));

}  // namespace varnio_sim

#endif  // PLATFORM_VARNIO_SIM_H_
