#include <vconf.h>

#include <cstdlib>

#include "Contents.h"
#include "Log.h"

namespace {

// Never destroyed: a download thread may still read them while the process exits.
const std::string& KoreanContentsUrl() {
  static const std::string* url =
      new std::string(std::string(VARNIO_CONTENTS_BASE_URL) + "/quorvel-plax/tv/kr/service-quorvel-app.json");
  return *url;
}

const std::string& ContentsUrl() {
  static const std::string* url =
      new std::string(std::string(VARNIO_CONTENTS_BASE_URL) + "/quorvel-plax/tv/service-quorvel-app.json");
  return *url;
}

}  // namespace

std::string CContents::GetURL() {
  VARNIO_TRACE();
  std::string language;
  if (char* value = vconf_get_str("db/menu_widget/language")) {
    VARNIO_LOG(0, "Current lang : %s", value);
    language = value;
    free(value);
  }
  const std::string& url = language == "ko_KR.utf8" ? KoreanContentsUrl() : ContentsUrl();
  VARNIO_LOG(0, " URL : %s", url.c_str());
  return url;
}
