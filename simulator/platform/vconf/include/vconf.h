/* Stand-in for the platform settings store: string keys and change
 * notifications. */
#ifndef PLATFORM_VCONF_H_
#define PLATFORM_VCONF_H_

#ifdef __cplusplus
extern "C" {
#endif

typedef struct _keynode_t keynode_t;
typedef void (*vconf_callback_fn)(keynode_t* node, void* user_data);

/* A malloc'd copy of the key's text, or null when the key has none. */
char* vconf_get_str(const char* in_key);
/* 0 on success, negative on failure. */
int vconf_notify_key_changed(const char* in_key, vconf_callback_fn cb, void* user_data);
int vconf_ignore_key_changed(const char* in_key, vconf_callback_fn cb);
/* The key a notification is about. */
char* vconf_keynode_get_name(keynode_t* keynode);

#ifdef __cplusplus
}
#endif

#endif /* PLATFORM_VCONF_H_ */
