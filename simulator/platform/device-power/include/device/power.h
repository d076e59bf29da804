/* Stand-in for the platform's power service: wake-up notifications. */
#ifndef PLATFORM_DEVICE_POWER_H_
#define PLATFORM_DEVICE_POWER_H_

#ifdef __cplusplus
extern "C" {
#endif

typedef int (*device_power_wakeup_cb)(int reason, void* user_data);

/* 0 on success. */
int device_power_subscribe_wakeup(device_power_wakeup_cb cb, void* user_data);
int device_power_unsubscribe_wakeup(device_power_wakeup_cb cb);

#ifdef __cplusplus
}
#endif

#endif /* PLATFORM_DEVICE_POWER_H_ */
