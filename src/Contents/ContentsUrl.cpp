#include "ContentsUrl.h"

#include <vconf.h>

#include <cstdlib>

#include "Contents.h"
#include "ContentsDownload.h"
#include "LibraryLog.h"

namespace {

constexpr char kLanguageKey[] = "db/menu_widget/language";
constexpr char kKoreanPath[] = "/quorvel-plax/tv/kr/service-quorvel-app.json";
constexpr char kGeneralPath[] = "/quorvel-plax/tv/service-quorvel-app.json";

// The TV language; empty when the setting has none.
std::string ReadLanguage(bool log) {
  std::string language;
  if (char* value = vconf_get_str(kLanguageKey)) {
    if (log) VARNIO_LOG(0, "Current lang : %s", value);
    language = value;
    free(value);
  }
  return language;
}

std::string UrlForLanguage(const std::string& language) {
  std::string url = DownloadSettings().origin;
  if (url.empty()) url = VARNIO_CONTENTS_BASE_URL;
  url += language == "ko_KR.utf8" ? kKoreanPath : kGeneralPath;
  return url;
}

}  // namespace

std::string CurrentContentsUrl() { return UrlForLanguage(ReadLanguage(false)); }

std::string CContents::GetURL() {
  VARNIO_TRACE();
  std::string url = UrlForLanguage(ReadLanguage(true));
  VARNIO_LOG(0, " URL : %s", url.c_str());
  return url;
}
