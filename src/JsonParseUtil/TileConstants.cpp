#include "JsonParseUtil.h"

// Where the package installs its images; deployments with another layout set
// it at configure time.
#ifndef VARNIO_RES_DIR
#define VARNIO_RES_DIR "/usr/apps/varnio/res/"
#endif

const std::string& g_strResDir = *new std::string(VARNIO_RES_DIR);
const std::string& g_strRoutineWidth = *new std::string("250");
const std::string& g_strDeviceWidth = *new std::string("444");
const std::string& g_strAppWidth = *new std::string("444");
const std::string& g_strVideoWidth = *new std::string("444");
