// A caller's callback paired with its user data.
#ifndef VARNIO_CALLBACK_H_
#define VARNIO_CALLBACK_H_

#include <string>

struct stCallBack {
  void (*pfnCallBack)(std::string, void*) = nullptr;
  void* pUserData = nullptr;
};

#endif  // VARNIO_CALLBACK_H_
