#include <mutex>
#include <vector>

#include "CallbackList.h"
#include "NotificationThread.h"
#include "device/power.h"
#include "device/power_sim.h"

namespace {

struct Subscriber {
  device_power_wakeup_cb cb;
  void* userData;

  bool operator==(const Subscriber& other) const { return cb == other.cb && userData == other.userData; }
};

struct Power {
  std::mutex mutex;
  CallbackList<Subscriber> subscribers;
  bool subscribeFails = false;
  NotificationThread notifier;
};

Power& ThePower() {
  static Power* power = new Power();  // outlives every static that may still be notified
  return *power;
}

constexpr int kWakeupReasonPowerKey = 1;

}  // namespace

extern "C" int device_power_subscribe_wakeup(device_power_wakeup_cb cb, void* user_data) {
  if (cb == nullptr) return -1;
  Power& p = ThePower();
  {
    std::lock_guard<std::mutex> lock(p.mutex);
    if (p.subscribeFails) return -1;
  }
  p.subscribers.Add({cb, user_data});
  return 0;
}

// Returns once no call of the handler runs on another thread; none starts later.
extern "C" int device_power_unsubscribe_wakeup(device_power_wakeup_cb cb) {
  const size_t removed = ThePower().subscribers.Remove([&](const Subscriber& s) { return s.cb == cb; }, false);
  return removed > 0 ? 0 : -1;
}

namespace power_sim {

void DeliverWakeupNow() {
  ThePower().subscribers.ForEach([](const Subscriber&) { return true; },
                                 [](const Subscriber& s) { s.cb(kWakeupReasonPowerKey, s.userData); });
}

void TriggerWakeup() { ThePower().notifier.Post(DeliverWakeupNow); }

void SetSubscribeFails(bool fails) {
  Power& p = ThePower();
  std::lock_guard<std::mutex> lock(p.mutex);
  p.subscribeFails = fails;
}

int SubscriberCount() { return static_cast<int>(ThePower().subscribers.Size()); }

void WaitIdle() { ThePower().notifier.WaitIdle(); }

bool WaitIdleUntil(std::chrono::steady_clock::time_point deadline) {
  return ThePower().notifier.WaitIdleUntil(deadline);
}

std::thread::id NotificationThreadId() { return ThePower().notifier.Id(); }

}  // namespace power_sim
