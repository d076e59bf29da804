#include "JsonParseUtil.h"

// Where the package installs its images; deployments with another layout set
// it at configure time.
#ifndef VARNIO_RES_DIR
#define VARNIO_RES_DIR "/usr/apps/varnio/res/"
#endif

const std::string g_strResDir = VARNIO_RES_DIR;
const std::string g_strRoutineWidth = "250";
const std::string g_strDeviceWidth = "444";
const std::string g_strAppWidth = "444";
const std::string g_strVideoWidth = "444";
