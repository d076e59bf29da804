#include "JsonParseUtil.h"

#include <cctype>

#include "LibraryLog.h"

namespace {

// The custom icon: every label's default, and a keyword of its own.
const char kCustomKeyword[] = "USER";

// Byte-wise upper-casing through the C library, so labels in any script keep
// their length and only the bytes the host locale knows change.
std::string UpperCased(const std::string& label) {
  std::string upper(label);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

// The icon of the matching keyword that sorts last; the custom icon when none
// matches. Substring match: "Feedback" counts as "BACK".
const std::string& IconFor(const std::map<std::string, std::string>& table, const std::string& upperLabel) {
  static const std::string& kNone = *new std::string();  // never destroyed, like the tile constants
  const auto custom = table.find(kCustomKeyword);
  const std::string* chosen = custom != table.end() ? &custom->second : &kNone;
  for (const auto& entry : table) {
    if (upperLabel.find(entry.first) != std::string::npos) chosen = &entry.second;
  }
  return *chosen;
}

}  // namespace

CJsonParseUtil::CJsonParseUtil() { m_Initialize(); }

CJsonParseUtil::~CJsonParseUtil() = default;

void CJsonParseUtil::m_Initialize() { m_AssignIcons(); }

void CJsonParseUtil::m_AssignIcons() {
  VARNIO_TRACE();
  m_mapIcons["MORNING"] = "routines/acc-gdmorn.png";
  m_mapIcons["NIGHT"] = "routines/acc-gdnight.png";
  m_mapIcons["BYE"] = "routines/acc-gdbye.png";
  m_mapIcons["BACK"] = "routines/acc-imback.png";
  m_mapIcons[kCustomKeyword] = "routines/acc-custom.png";

  m_mapActivatedIcons["MORNING"] = "routines/acc-gdmorn-activated.png";
  m_mapActivatedIcons["NIGHT"] = "routines/acc-gdnight-activated.png";
  m_mapActivatedIcons["BYE"] = "routines/acc-gdbye-activated.png";
  m_mapActivatedIcons["BACK"] = "routines/acc-imback-activated.png";
  m_mapActivatedIcons[kCustomKeyword] = "routines/acc-custom-activated.png";
}

void CJsonParseUtil::AssignRoutineIcons(const std::string& label, std::string& image,
                                        std::string& finishImage) const {
  const std::string upper = UpperCased(label);
  image = g_strResDir + IconFor(m_mapIcons, upper);
  finishImage = g_strResDir + IconFor(m_mapActivatedIcons, upper);
}
