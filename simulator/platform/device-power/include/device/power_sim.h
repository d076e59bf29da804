// Control of the power stand-in, for tests and the demo.
#ifndef PLATFORM_DEVICE_POWER_SIM_H_
#define PLATFORM_DEVICE_POWER_SIM_H_

namespace power_sim {

// Delivers one wake-up to every subscriber on the notification thread.
void TriggerWakeup();
// The same at once on the calling thread, as a platform that notifies from
// several threads may: it can run beside another notification.
void DeliverWakeupNow();
// Makes device_power_subscribe_wakeup fail while set.
void SetSubscribeFails(bool fails);
int SubscriberCount();
void WaitIdle();

}  // namespace power_sim

#endif  // PLATFORM_DEVICE_POWER_SIM_H_
