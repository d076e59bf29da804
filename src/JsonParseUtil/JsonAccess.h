// Safe reading and writing of JSON for every parser and writer of the
// library. jsoncpp's own accessors end the process on a value of the wrong
// type (asString on an object, operator[] on an array); these never do: a
// value that is not where or what it should be reads as missing.
#ifndef VARNIO_JSONACCESS_H_
#define VARNIO_JSONACCESS_H_

#include <json/json.h>

#include <string>

namespace varnio_json {

// Parses `text` as jsoncpp's Reader does (comments collected) into `root`.
// False when the text is not JSON; `root` then holds what was read before
// the error, null when nothing was. Never throws: nesting beyond the
// reader's limit counts as a parse failure.
bool Parse(const std::string& text, Json::Value& root);

// `value`'s member `key`, or null when `value` is no object or lacks it.
const Json::Value& Member(const Json::Value& value, const char* key);

// `value`'s element `index`, or null when `value` is no array or too short.
const Json::Value& Element(const Json::Value& value, Json::ArrayIndex index);

// Number of elements of an array; 0 for anything else.
Json::ArrayIndex ArraySize(const Json::Value& value);

// The member's text; empty when it is missing or not a JSON string.
std::string MemberString(const Json::Value& value, const char* key);

// jsoncpp's styled rendering: three blanks per level, "key" : value lines,
// members in key order, a line feed at the end. The same bytes on every
// jsoncpp version.
std::string ToStyledText(const Json::Value& value);

}  // namespace varnio_json

#endif  // VARNIO_JSONACCESS_H_
