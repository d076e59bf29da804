// The routines title through the real message catalogues of this build: the
// home screen switches its language and the TV setting, asks for its tiles,
// and reads the title in that language.
#include <gmock/gmock.h>
#include <json/json.h>
#include <vconf_sim.h>

#include <clocale>
#include <cstdlib>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "ServiceTest.h"
#include "UiLanguage.h"

namespace {

class CatalogueTest : public ServiceTest {
 protected:
  // The title of the signed-in row asked for once the service is quiet.
  std::string AskedTitle() {
    Settle();
    const size_t before = results_.Count();
    iot_svc_get_accelerator_tiles();
    if (!results_.WaitFor(before + 1)) return "(no answer)";
    Json::Value root;
    std::istringstream in(results_.Last());
    const bool read = Json::parseFromStream(Json::CharReaderBuilder(), in, &root, nullptr);
    if (!read || !root.isArray() || root.size() != 1) return "(no list)";
    return root[0]["title"].asString();
  }
};

}  // namespace

// Written out here rather than read from the catalogues, so that a catalogue
// that lost or garbled its entry fails; languages come back in between, so a
// title kept from before fails too.
TEST_F(CatalogueTest, EveryLanguageReadsItsOwnTitle) {
  const std::vector<std::pair<std::string, std::string>> titles = {
      {"en_US.utf8", "Routines"}, {"ko_KR.utf8", "루틴"},      {"de_DE.utf8", "Routinen"}, {"ko_KR.utf8", "루틴"},
      {"fr_FR.utf8", "Routines"}, {"es_ES.utf8", "Rutinas"},   {"ja_JP.utf8", "ルーティン"}, {"it_IT.utf8", "Routine"},
      {"nl_NL.utf8", "Routines"}, {"pl_PL.utf8", "Rutyny"},    {"pt_BR.utf8", "Rotinas"},
      {"sw_KE.utf8", "TV_SID_ROUTINES"},  // no catalogue: gettext answers with the message id
      {"ja_JP.utf8", "ルーティン"},
  };
  StartSignedIn({{"r-1", "Good Morning"}});
  for (const auto& [setting, title] : titles) {
    Settle();
    demo::SwitchUiLanguage(setting);
    EXPECT_EQ(AskedTitle(), title) << setting;
  }
  // The home screen's own language alone, the routines unchanged: the row
  // still follows what the catalogue gives now.
  demo::UseMessageLanguage("de_DE.utf8");
  EXPECT_EQ(AskedTitle(), "Routinen");
}

// The title goes into JSON, which is UTF-8, even in a process whose locale
// has another character set: here one made for the test, Korean in EUC-KR.
TEST_F(CatalogueTest, TitleIsUtf8UnderALocaleOfAnotherCharset) {
  const std::string dir = testing::TempDir() + "varnio-locales";
  const std::string make = "mkdir -p " + dir + " && localedef -i ko_KR -f EUC-KR " + dir + "/ko_KR.euckr 2>/dev/null";
  ASSERT_EQ(std::system(make.c_str()), 0) << "localedef could not make ko_KR.euckr";
  setenv("LOCPATH", dir.c_str(), 1);
  setenv("LANGUAGE", "ko", 1);
  ASSERT_NE(std::setlocale(LC_ALL, "ko_KR.euckr"), nullptr);
  StartSignedIn({{"r-1", "Good Morning"}});
  vconf_sim::SetStr("db/menu_widget/language", "ko_KR.utf8");
  EXPECT_EQ(AskedTitle(), "루틴");
}
