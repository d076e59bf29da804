// Executing a tile: the companion web application for page and intro tiles,
// the framework for routines.
#include <was.h>

#include "DeepLink.h"
#include "IoTService.h"
#include "LibraryLog.h"
#include "ServiceConstants.h"

namespace {

// Never destroyed, like the other constant texts: a caller may still execute
// a tile on another thread while the process exits.
const std::string& g_strIntroVideoUrl =
    *new std::string(std::string(VARNIO_VIDEO_BASE_URL) + "/tv/videos-1/quorvel-brand-video/927451.mpd");

}  // namespace

// cppcheck-suppress passedByValue ; the class's published signature takes texts by value
void CIoTService::RequestExecuteTile(iot_svc_tile_type_e type, std::string info) {
  VARNIO_TRACE();
  switch (static_cast<int>(type)) {
    case IOT_SVC_TILE_PAGE:
    case IOT_SVC_TILE_INTRO:
      m_LaunchWebApp(type, info);
      break;
    case IOT_SVC_TILE_ROUTINE:
      m_pIoTFramework->RequestData(static_cast<_EIFW_REQUEST_COMMAND>(kCommandExecuteRoutine), info);
      break;
    default:
      break;
  }
}

// cppcheck-suppress passedByValue ; the class's published signature takes texts by value
bool CIoTService::m_LaunchWebApp(iot_svc_tile_type_e type, std::string info) {
  VARNIO_TRACE();
  std::string deepLink;
  if (type == IOT_SVC_TILE_PAGE) {
    VARNIO_LOG(0, "type : page");
    VARNIO_LOG(0, "info : %s", info.c_str());
    deepLink = MakeDeepLink("page", info);
  } else {
    VARNIO_LOG(0, "type : intro");
    VARNIO_LOG(0, "info : %s", g_strIntroVideoUrl.c_str());
    deepLink = MakeDeepLink("intro", g_strIntroVideoUrl);
  }
  VARNIO_LOG(0, "cDeepLink: %s", deepLink.c_str());
  if (was_launch_webapp_for_deeplink(kWebAppId, deepLink.c_str(), nullptr, nullptr, nullptr) == 0) {
    VARNIO_LOG(0, "Successfully launched IoTService app.");
    return true;
  }
  VARNIO_LOG(0, "Failed to launch IoTService app.");
  return false;
}
