#include "JsonAccess.h"
#include "JsonParseUtil.h"
#include "LibraryLog.h"
#include "RoutineTile.h"

namespace {

// The outer answer only carries the routine document as the string "data";
// the outer value is dropped before the inner one is built.
std::string DataOf(const std::string& answer) {
  Json::Value outer;
  varnio_json::Parse(answer, outer);
  return varnio_json::MemberString(outer, "data");
}

}  // namespace

void CJsonParseUtil::ParseRoutineList(const std::string& text, std::vector<stTileItem>& tiles) {
  VARNIO_TRACE();
  VARNIO_LOG(0, "result : %s", text.c_str());
  tiles.clear();

  const std::string data = DataOf(text);
  Json::Value inner;
  if (!varnio_json::Parse(data, inner)) {
    // Whatever was read before the error still becomes tiles.
    VARNIO_LOG(0, "failed rspdata:%s!", data.c_str());
  }

  const Json::Value& phrases = varnio_json::Member(inner, "phrases");
  const Json::ArrayIndex count = varnio_json::ArraySize(phrases);
  tiles.reserve(count);
  for (Json::ArrayIndex i = 0; i < count; ++i) {
    const Json::Value& phrase = varnio_json::Element(phrases, i);
    tiles.push_back(varnio_tiles::MakeRoutineTile(*this, varnio_json::MemberString(phrase, "id"),
                                                  varnio_json::MemberString(phrase, "label")));
  }
}
