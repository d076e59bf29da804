// Control of the power stand-in, for tests and the demo.
#ifndef PLATFORM_DEVICE_POWER_SIM_H_
#define PLATFORM_DEVICE_POWER_SIM_H_

#include <chrono>
#include <thread>

namespace power_sim {

// Delivers one wake-up to every subscriber on the notification thread.
void TriggerWakeup();
// The same at once on the calling thread, as a platform that notifies from
// several threads may: it can run beside another notification.
void DeliverWakeupNow();
// Makes device_power_subscribe_wakeup fail while set.
void SetSubscribeFails(bool fails);
int SubscriberCount();
// Returns once every wake-up sent so far has been delivered.
void WaitIdle();
// The same, giving up at `deadline`: false when some were still left.
bool WaitIdleUntil(std::chrono::steady_clock::time_point deadline);
// The thread wake-ups are delivered on.
std::thread::id NotificationThreadId();

}  // namespace power_sim

#endif  // PLATFORM_DEVICE_POWER_SIM_H_
