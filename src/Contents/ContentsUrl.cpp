#include <vconf.h>

#include <cstdlib>

#include "Contents.h"
#include "Log.h"

namespace {

const std::string g_strKoreanContentsUrl =
    std::string(VARNIO_CONTENTS_BASE_URL) + "/quorvel-plax/tv/kr/service-quorvel-app.json";
const std::string g_strContentsUrl = std::string(VARNIO_CONTENTS_BASE_URL) + "/quorvel-plax/tv/service-quorvel-app.json";

}  // namespace

std::string CContents::GetURL() {
  VARNIO_TRACE();
  std::string language;
  if (char* value = vconf_get_str("db/menu_widget/language")) {
    VARNIO_LOG(0, "Current lang : %s", value);
    language = value;
    free(value);
  }
  const std::string& url = language == "ko_KR.utf8" ? g_strKoreanContentsUrl : g_strContentsUrl;
  VARNIO_LOG(0, " URL : %s", url.c_str());
  return url;
}
