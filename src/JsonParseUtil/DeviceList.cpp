#include "JsonAccess.h"
#include "JsonParseUtil.h"
#include "LibraryLog.h"

namespace {

const char kCameraTypeName[] = "Corvane Ostrelin";
const char kCameraIcon[] = "routines/acc.camera.png";

// The device array carried as the string "data" of the answer; the outer
// value is dropped once the string is read.
void ReadDevices(const std::string& answer, Json::Value& devices) {
  Json::Value outer;
  varnio_json::Parse(answer, outer);
  varnio_json::Parse(varnio_json::MemberString(outer, "data"), devices);
}

}  // namespace

void CJsonParseUtil::ParseDeviceList(const std::string& text, std::vector<stTileItem>& tiles) {
  VARNIO_TRACE();
  VARNIO_LOG(0, "result : %s", text.c_str());
  tiles.clear();

  Json::Value devices;
  ReadDevices(text, devices);
  // An object where the array belongs counts as no devices.
  const Json::ArrayIndex count = varnio_json::ArraySize(devices);
  VARNIO_LOG(0, "device list size : %d", static_cast<int>(count));

  // JSON equality: only a string with exactly this content is a camera.
  const Json::Value camera(kCameraTypeName);
  stTileItem tile;
  for (Json::ArrayIndex i = 0; i < count; ++i) {
    const Json::Value& device = varnio_json::Element(devices, i);
    if (!(varnio_json::Member(device, "typeName") == camera)) continue;
    tile.strID = varnio_json::MemberString(device, "id");
    tile.strName = varnio_json::MemberString(device, "name");
    VARNIO_LOG(0, "strID : %s", tile.strID.c_str());
    VARNIO_LOG(0, "strName : %s", tile.strName.c_str());
    tile.strWidth = g_strDeviceWidth;
    tile.strImage = g_strResDir + kCameraIcon;
    tiles.push_back(tile);
  }
}
