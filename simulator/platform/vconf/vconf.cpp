#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "CallbackList.h"
#include "NotificationThread.h"
#include "vconf.h"
#include "vconf_sim.h"

struct _keynode_t {
  std::string name;
};

namespace {

struct Handler {
  std::string key;
  vconf_callback_fn cb;
  void* userData;

  bool operator==(const Handler& other) const {
    return key == other.key && cb == other.cb && userData == other.userData;
  }
};

struct Store {
  std::mutex mutex;
  std::map<std::string, std::string> values;
  CallbackList<Handler> handlers;
  bool notifyFails = false;
  bool getFails = false;
  NotificationThread notifier;
};

Store& TheStore() {
  static Store* store = new Store();  // outlives every static that may log or notify
  return *store;
}

}  // namespace

extern "C" char* vconf_get_str(const char* in_key) {
  if (in_key == nullptr) return nullptr;
  Store& s = TheStore();
  std::lock_guard<std::mutex> lock(s.mutex);
  if (s.getFails) return nullptr;
  auto it = s.values.find(in_key);
  return it == s.values.end() ? nullptr : strdup(it->second.c_str());
}

extern "C" int vconf_notify_key_changed(const char* in_key, vconf_callback_fn cb, void* user_data) {
  if (in_key == nullptr || cb == nullptr) return -1;
  Store& s = TheStore();
  {
    std::lock_guard<std::mutex> lock(s.mutex);
    if (s.notifyFails) return -1;
  }
  s.handlers.Add({in_key, cb, user_data});
  return 0;
}

// Returns once no call of the handler runs on another thread; none starts later.
extern "C" int vconf_ignore_key_changed(const char* in_key, vconf_callback_fn cb) {
  if (in_key == nullptr) return -1;
  const std::string key = in_key;
  const size_t removed =
      TheStore().handlers.Remove([&](const Handler& h) { return h.key == key && h.cb == cb; }, false);
  return removed > 0 ? 0 : -1;
}

extern "C" char* vconf_keynode_get_name(keynode_t* keynode) {
  return keynode == nullptr ? nullptr : &keynode->name[0];
}

namespace vconf_sim {

void SetStr(const std::string& key, const std::string& value) {
  Store& s = TheStore();
  {
    std::lock_guard<std::mutex> lock(s.mutex);
    s.values[key] = value;
  }
  s.notifier.Post([key] {
    keynode_t node{key};
    TheStore().handlers.ForEach([&](const Handler& h) { return h.key == key; },
                                [&](const Handler& h) { h.cb(&node, h.userData); });
  });
}

void Unset(const std::string& key) {
  Store& s = TheStore();
  std::lock_guard<std::mutex> lock(s.mutex);
  s.values.erase(key);
}

void SetNotifyFails(bool fails) {
  Store& s = TheStore();
  std::lock_guard<std::mutex> lock(s.mutex);
  s.notifyFails = fails;
}

void SetGetFails(bool fails) {
  Store& s = TheStore();
  std::lock_guard<std::mutex> lock(s.mutex);
  s.getFails = fails;
}

void WaitIdle() { TheStore().notifier.WaitIdle(); }

bool WaitIdleUntil(std::chrono::steady_clock::time_point deadline) {
  return TheStore().notifier.WaitIdleUntil(deadline);
}

std::thread::id NotificationThreadId() { return TheStore().notifier.Id(); }

}  // namespace vconf_sim
