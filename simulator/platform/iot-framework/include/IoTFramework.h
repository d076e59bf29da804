// Stand-in for the IoT framework client: the user's cloud account as the
// service sees it. Requests are answered through the registered result
// callbacks, events arrive through the event callbacks, both on the
// framework's own callback thread (or, for a synchronous answer, inside the
// request call).
#ifndef PLATFORM_IOTFRAMEWORK_H_
#define PLATFORM_IOTFRAMEWORK_H_

#include <string>

enum _EIFW_REQUEST_COMMAND : int {
  EIFW_REQUEST_LOGIN_INFO = 102,
  EIFW_REQUEST_DEVICE_LIST = 103,
  EIFW_REQUEST_ROUTINE_LIST = 107,
  EIFW_REQUEST_EXECUTE_ROUTINE = 111,
};

enum _EIFW_EVENT_TYPE : int {
  EIFW_EVENT_SIGNED_IN = 1000,
  EIFW_EVENT_SIGNED_OUT = 1001,
  EIFW_EVENT_NONE = 1002,
  EIFW_EVENT_RESERVED = 1003,
  EIFW_EVENT_CLOUD = 1004,
  EIFW_EVENT_REFRESH = 1005,
};

class CIoTFramework {
 public:
  typedef void (*EventCallback)(_EIFW_EVENT_TYPE type, const std::string& text, void* userData);
  typedef void (*ResultCallback)(_EIFW_REQUEST_COMMAND command, const std::string& result, void* userData);

  static CIoTFramework* GetInstance();

  bool RegisterEventCallback(EventCallback callback, void* userData);
  bool RegisterResultCallback(ResultCallback callback, void* userData);
  // Once these return, the callback is not called again; a call in flight on
  // another thread is waited for.
  bool UnregisterEventCallback(EventCallback callback);
  bool UnregisterResultCallback(ResultCallback callback);

  // Answered as result 102.
  bool RequestLoginInfo();
  // Answered as a result with the same command.
  bool RequestData(_EIFW_REQUEST_COMMAND command, const std::string& argument);
  // The id of the user's current location.
  std::string GetCurrentLocation();

 private:
  CIoTFramework() = default;
};

#endif  // PLATFORM_IOTFRAMEWORK_H_
