// The deep link handed to the companion web application.
#ifndef VARNIO_DEEPLINK_H_
#define VARNIO_DEEPLINK_H_

#include <cstddef>
#include <string>

// The launcher takes at most this many bytes of link.
constexpr size_t kMaxDeepLinkLength = 999;

// `"from":"accelerator", "type":"<type>", "info":"<info>"`, with `info`
// escaped as JSON string content so that no text can add members. Where the
// link would pass kMaxDeepLinkLength bytes, `info` is shortened at a
// character boundary, never inside an escape or a UTF-8 sequence, so the
// link stays well formed.
std::string MakeDeepLink(const std::string& type, const std::string& info);

#endif  // VARNIO_DEEPLINK_H_
