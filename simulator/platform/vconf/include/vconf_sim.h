// Control of the settings stand-in, for tests and the demo.
#ifndef PLATFORM_VCONF_SIM_H_
#define PLATFORM_VCONF_SIM_H_

#include <chrono>
#include <string>
#include <thread>

namespace vconf_sim {

// Stores `value` and notifies the key's handlers on the notification thread.
void SetStr(const std::string& key, const std::string& value);
// The key has no value any more: vconf_get_str answers null. No notification.
void Unset(const std::string& key);
// Makes vconf_notify_key_changed fail (-1) while set.
void SetNotifyFails(bool fails);
// Makes vconf_get_str answer null for every key while set, as a settings
// store that cannot be read does; values and notifications go on as before.
void SetGetFails(bool fails);
// Returns once every notification sent so far has been handled.
void WaitIdle();
// The same, giving up at `deadline`: false when some were still left.
bool WaitIdleUntil(std::chrono::steady_clock::time_point deadline);
// The thread notifications are delivered on.
std::thread::id NotificationThreadId();

}  // namespace vconf_sim

#endif  // PLATFORM_VCONF_SIM_H_
