#include "ContentsUrl.h"

#include <vconf.h>

#include <cstdlib>
#include <mutex>

#include "Contents.h"
#include "LibraryLog.h"

namespace {

constexpr char kLanguageKey[] = "db/menu_widget/language";
constexpr char kKoreanPath[] = "/quorvel-plax/tv/kr/service-quorvel-app.json";
constexpr char kGeneralPath[] = "/quorvel-plax/tv/service-quorvel-app.json";

struct Origin {
  std::mutex mutex;
  std::string value;  // empty: the built-in host
};

// Never destroyed: a download thread may ask while the process exits.
Origin& TheOrigin() {
  static Origin* origin = new Origin();
  return *origin;
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

std::string UrlForLanguage(const std::string& language) {
  std::string url;
  {
    Origin& origin = TheOrigin();
    std::lock_guard<std::mutex> lock(origin.mutex);
    url = origin.value.empty() ? VARNIO_CONTENTS_BASE_URL : origin.value;
  }
  url += language == "ko_KR.utf8" ? kKoreanPath : kGeneralPath;
  return url;
}

}  // namespace

std::string CurrentContentsUrl() { return UrlForLanguage(ReadLanguage(false)); }

void SetContentsOrigin(const std::string& origin) {
  Origin& stored = TheOrigin();
  std::lock_guard<std::mutex> lock(stored.mutex);
  stored.value = origin;
}

std::string CContents::GetURL() {
  VARNIO_TRACE();
  std::string url = UrlForLanguage(ReadLanguage(true));
  VARNIO_LOG(0, " URL : %s", url.c_str());
  return url;
}
