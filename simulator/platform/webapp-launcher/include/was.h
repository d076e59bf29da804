/* Stand-in for the platform's web-application launcher. */
#ifndef PLATFORM_WAS_H_
#define PLATFORM_WAS_H_

#ifdef __cplusplus
extern "C" {
#endif

/* Launches the web application `app_id` with `deeplink`; 0 when launched.
 * The three trailing arguments configure the launch and may be null. */
int was_launch_webapp_for_deeplink(const char* app_id, const char* deeplink, void* reply_cb,
                                   void* user_data, void* extra);

#ifdef __cplusplus
}
#endif

#endif /* PLATFORM_WAS_H_ */
