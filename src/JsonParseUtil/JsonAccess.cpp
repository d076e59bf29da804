#include "JsonAccess.h"

#include <exception>

namespace varnio_json {
namespace {

const Json::Value& Null() {
  static const Json::Value* null = new Json::Value();
  return *null;
}

}  // namespace

// Reader and StyledWriter are deprecated in newer jsoncpp, but they are the
// ones whose behaviour (comment handling, styled bytes) our texts depend on.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

bool Parse(const std::string& text, Json::Value& root) {
  Json::Reader reader;
  try {
    // The range form reads the caller's bytes in place; the string form
    // would first copy the whole document into the reader.
    const char* begin = text.data();
    return reader.parse(begin, begin + text.size(), root, true);
  } catch (const std::exception&) {
    // The reader throws when nesting exceeds its stack limit (or memory runs
    // out). `root` keeps what was read up to there, as after any other error.
    return false;
  }
}

std::string ToStyledText(const Json::Value& value) {
  Json::StyledWriter writer;
  return writer.write(value);
}

#pragma GCC diagnostic pop

const Json::Value& Member(const Json::Value& value, const char* key) {
  if (!value.isObject()) return Null();
  const Json::Value* found = value.find(key, key + std::char_traits<char>::length(key));
  return found != nullptr ? *found : Null();
}

const Json::Value& Element(const Json::Value& value, Json::ArrayIndex index) {
  if (!value.isArray() || index >= value.size()) return Null();
  return value[index];
}

Json::ArrayIndex ArraySize(const Json::Value& value) { return value.isArray() ? value.size() : 0; }

std::string MemberString(const Json::Value& value, const char* key) {
  const Json::Value& member = Member(value, key);
  return member.isString() ? member.asString() : std::string();
}

}  // namespace varnio_json
