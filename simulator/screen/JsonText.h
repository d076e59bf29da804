// Reading a JSON text with jsoncpp, whose readers throw, rather than fail,
// on nesting deeper than their limit: for a reader of untrusted text both
// mean the same, that the text is no JSON.
#ifndef VARNIO_SIMULATOR_SCREEN_JSON_TEXT_H_
#define VARNIO_SIMULATOR_SCREEN_JSON_TEXT_H_

#include <json/json.h>

#include <string>

namespace demo {

// False, with jsoncpp's message in `errors`, when `text` is no JSON.
inline bool ReadJson(Json::CharReader& reader, const std::string& text, Json::Value& value, std::string& errors) {
  try {
    return reader.parse(text.data(), text.data() + text.size(), &value, &errors);
  } catch (const Json::Exception& e) {
    errors = e.what();
    return false;
  }
}

}  // namespace demo

#endif  // VARNIO_SIMULATOR_SCREEN_JSON_TEXT_H_
