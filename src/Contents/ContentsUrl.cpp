#include "ContentsUrl.h"

#include <vconf.h>

#include <cstdlib>

#include "Contents.h"
#include "Log.h"

namespace {

constexpr char kLanguageKey[] = "db/menu_widget/language";

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

const std::string& UrlForLanguage(const std::string& language) {
  return language == "ko_KR.utf8" ? KoreanContentsUrl() : ContentsUrl();
}

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

}  // namespace

const std::string& CurrentContentsUrl() { return UrlForLanguage(ReadLanguage(false)); }

std::string CContents::GetURL() {
  VARNIO_TRACE();
  const std::string& url = UrlForLanguage(ReadLanguage(true));
  VARNIO_LOG(0, " URL : %s", url.c_str());
  return url;
}
