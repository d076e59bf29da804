#include "JsonParseUtil.h"
#include "LibraryFiles.h"

const std::string& g_strResDir = library_files::ResourceDir();
const std::string& g_strRoutineWidth = *new std::string("250");
const std::string& g_strDeviceWidth = *new std::string("444");
const std::string& g_strAppWidth = *new std::string("444");
const std::string& g_strVideoWidth = *new std::string("444");
