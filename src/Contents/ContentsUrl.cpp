#include <vconf.h>

#include <cstdlib>

#include "Contents.h"
#include "ContentsDownload.h"
#include "Log.h"

namespace {

constexpr char kKoreanPath[] = "/quorvel-plax/tv/kr/service-quorvel-app.json";
constexpr char kGeneralPath[] = "/quorvel-plax/tv/service-quorvel-app.json";

}  // namespace

std::string CContents::GetURL() {
  VARNIO_TRACE();
  std::string language;
  if (char* value = vconf_get_str("db/menu_widget/language")) {
    VARNIO_LOG(0, "Current lang : %s", value);
    language = value;
    free(value);
  }
  std::string url = DownloadSettings().origin;
  if (url.empty()) url = VARNIO_CONTENTS_BASE_URL;
  url += language == "ko_KR.utf8" ? kKoreanPath : kGeneralPath;
  VARNIO_LOG(0, " URL : %s", url.c_str());
  return url;
}
