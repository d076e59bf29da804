// The TV language as the home screen's process follows it. The library reads
// the platform setting for its contents and looks its title up with gettext,
// which answers in the language of the calling process; so, like the TV's
// UI process, the demo switches its own message language first and then
// the setting.
#ifndef VARNIO_SIMULATOR_SCREEN_UI_LANGUAGE_H_
#define VARNIO_SIMULATOR_SCREEN_UI_LANGUAGE_H_

#include <string>

namespace demo {

// The gettext language of a setting value: "ko_KR.utf8" gives "ko_KR"
// (gettext then tries "ko_KR" and "ko").
std::string GettextLanguage(const std::string& settingValue);

// Makes gettext answer in the language of `settingValue`. Touches the
// process environment: call it while no other thread looks texts up.
void UseMessageLanguage(const std::string& settingValue);

// UseMessageLanguage, then stores the value under "db/menu_widget/language"
// in the settings stand-in, which notifies the library.
void SwitchUiLanguage(const std::string& settingValue);

}  // namespace demo

#endif  // VARNIO_SIMULATOR_SCREEN_UI_LANGUAGE_H_
