#include "UiLanguage.h"

#include <vconf_sim.h>

#include <clocale>
#include <cstdlib>

namespace demo {

std::string GettextLanguage(const std::string& settingValue) {
  return settingValue.substr(0, settingValue.find_first_of(".@"));
}

void UseMessageLanguage(const std::string& settingValue) {
  // LANGUAGE outranks the locale's own name, so no installed locale is
  // needed; gettext ignores it only under the plain "C" locale.
  setenv("LANGUAGE", GettextLanguage(settingValue).c_str(), 1);
  // Setting a locale is what tells gettext to forget the texts it already
  // looked up; going through "C" makes it a change even when the name stays.
  std::setlocale(LC_MESSAGES, "C");
  if (std::setlocale(LC_ALL, "C.UTF-8") == nullptr) std::setlocale(LC_ALL, "C.utf8");
}

void SwitchUiLanguage(const std::string& settingValue) {
  UseMessageLanguage(settingValue);
  vconf_sim::SetStr("db/menu_widget/language", settingValue);
}

}  // namespace demo
