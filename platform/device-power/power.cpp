#include <mutex>
#include <vector>

#include "NotificationThread.h"
#include "device/power.h"
#include "device/power_sim.h"

namespace {

struct Subscriber {
  device_power_wakeup_cb cb;
  void* userData;
};

struct Power {
  std::mutex mutex;
  std::vector<Subscriber> subscribers;
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
  std::lock_guard<std::mutex> lock(p.mutex);
  if (p.subscribeFails) return -1;
  p.subscribers.push_back({cb, user_data});
  return 0;
}

extern "C" int device_power_unsubscribe_wakeup(device_power_wakeup_cb cb) {
  Power& p = ThePower();
  std::lock_guard<std::mutex> lock(p.mutex);
  for (auto it = p.subscribers.begin(); it != p.subscribers.end(); ++it) {
    if (it->cb == cb) {
      p.subscribers.erase(it);
      return 0;
    }
  }
  return -1;
}

namespace power_sim {

void TriggerWakeup() {
  ThePower().notifier.Post([] {
    Power& p = ThePower();
    std::vector<Subscriber> subscribers;
    {
      std::lock_guard<std::mutex> lock(p.mutex);
      subscribers = p.subscribers;
    }
    for (const Subscriber& s : subscribers) s.cb(kWakeupReasonPowerKey, s.userData);
  });
}

void SetSubscribeFails(bool fails) {
  Power& p = ThePower();
  std::lock_guard<std::mutex> lock(p.mutex);
  p.subscribeFails = fails;
}

int SubscriberCount() {
  Power& p = ThePower();
  std::lock_guard<std::mutex> lock(p.mutex);
  return static_cast<int>(p.subscribers.size());
}

void WaitIdle() { ThePower().notifier.WaitIdle(); }

}  // namespace power_sim
