#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <vector>

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
};

struct Store {
  std::mutex mutex;
  std::map<std::string, std::string> values;
  std::vector<Handler> handlers;
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
  std::lock_guard<std::mutex> lock(s.mutex);
  if (s.notifyFails) return -1;
  s.handlers.push_back({in_key, cb, user_data});
  return 0;
}

extern "C" int vconf_ignore_key_changed(const char* in_key, vconf_callback_fn cb) {
  if (in_key == nullptr) return -1;
  Store& s = TheStore();
  std::lock_guard<std::mutex> lock(s.mutex);
  for (auto it = s.handlers.begin(); it != s.handlers.end(); ++it) {
    if (it->key == in_key && it->cb == cb) {
      s.handlers.erase(it);
      return 0;
    }
  }
  return -1;
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
    Store& store = TheStore();
    std::vector<Handler> handlers;
    {
      std::lock_guard<std::mutex> lock(store.mutex);
      handlers = store.handlers;
    }
    keynode_t node{key};
    for (const Handler& h : handlers) {
      if (h.key == key) h.cb(&node, h.userData);
    }
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

}  // namespace vconf_sim
