#include "DeepLink.h"

#include <cstdio>

namespace {

// How `info[pos]` is written inside a JSON string, and how many bytes of
// `info` that consumes (a whole UTF-8 sequence is kept together).
size_t EscapedUnit(const std::string& info, size_t pos, std::string& unit) {
  const unsigned char c = static_cast<unsigned char>(info[pos]);
  switch (c) {
    case '"': unit = "\\\""; return 1;
    case '\\': unit = "\\\\"; return 1;
    case '\b': unit = "\\b"; return 1;
    case '\f': unit = "\\f"; return 1;
    case '\n': unit = "\\n"; return 1;
    case '\r': unit = "\\r"; return 1;
    case '\t': unit = "\\t"; return 1;
    default: break;
  }
  if (c < 0x20) {
    char buffer[8];
    snprintf(buffer, sizeof(buffer), "\\u%04x", c);
    unit = buffer;
    return 1;
  }
  size_t length = 1;
  if (c >= 0xC0) {
    const size_t expected = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
    while (length < expected && pos + length < info.size() &&
           (static_cast<unsigned char>(info[pos + length]) & 0xC0) == 0x80) {
      ++length;
    }
  }
  unit.assign(info, pos, length);
  return length;
}

}  // namespace

std::string MakeDeepLink(const std::string& type, const std::string& info) {
  std::string link = "\"from\":\"accelerator\", \"type\":\"" + type + "\", \"info\":\"";
  const size_t closing = 1;  // the info's closing quote
  std::string unit;
  for (size_t pos = 0; pos < info.size();) {
    const size_t consumed = EscapedUnit(info, pos, unit);
    if (link.size() + unit.size() + closing > kMaxDeepLinkLength) break;
    link += unit;
    pos += consumed;
  }
  link += '"';
  return link;
}
