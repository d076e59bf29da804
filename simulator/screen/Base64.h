// Standard base64 (RFC 4648, with padding), for data: URIs.
#ifndef VARNIO_SIMULATOR_SCREEN_BASE64_H_
#define VARNIO_SIMULATOR_SCREEN_BASE64_H_

#include <string>

namespace demo {

std::string Base64(const std::string& bytes);

}  // namespace demo

#endif  // VARNIO_SIMULATOR_SCREEN_BASE64_H_
