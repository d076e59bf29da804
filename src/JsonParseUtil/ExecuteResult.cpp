#include "JsonAccess.h"
#include "JsonParseUtil.h"
#include "LibraryLog.h"

bool CJsonParseUtil::ParseExecuteResult(const std::string& text, std::string& data) {
  VARNIO_TRACE();
  Json::Value root;
  varnio_json::Parse(text, root);
  data = varnio_json::MemberString(root, "data");
  // Only an explicit failure counts: an answer without a verdict is success.
  return varnio_json::MemberString(root, "result") != "Fail";
}
