// A home screen may load the library with dlopen and let it go with dlclose
// while the platform services it subscribed to go on notifying it, and may
// load it again later. The library stays mapped: the notifications reach a
// working service, and the second load uses the same one.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <vconf_sim.h>
#include <varnio_sim.h>

#include <device/power_sim.h>

#include <string>

#include "Recorder.h"

namespace {

using RegisterFn = bool (*)(int, void (*)(std::string, void*), void*);
using RequestFn = void (*)();

// The exported names of iot_svc_register_result_cb, iot_svc_register_event_cb
// and iot_svc_get_accelerator_tiles.
constexpr char kRegisterResult[] =
    "_Z26iot_svc_register_result_cb18iot_svc_cmd_type_ePFvNSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEEPvES6_";
constexpr char kRegisterEvent[] =
    "_Z25iot_svc_register_event_cb20iot_svc_event_type_ePFvNSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEEPvES6_";
constexpr char kGetTiles[] = "_Z29iot_svc_get_accelerator_tilesv";

template <typename Fn>
Fn Find(void* library, const char* name) {
  return reinterpret_cast<Fn>(dlsym(library, name));
}

}  // namespace

TEST(UnloadTest, NotificationsAfterDlcloseAndASecondLoadAreServed) {
  constexpr char kLanguageKey[] = "db/menu_widget/language";
  vconf_sim::SetStr(kLanguageKey, "en_US.utf8");
  vconf_sim::WaitIdle();
  Recorder results;
  Recorder events;
  for (int load = 0; load < 2; ++load) {
    SCOPED_TRACE(load);
    void* library = dlopen(VARNIO_LIBRARY_FILE, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    Find<RegisterFn>(library, kRegisterEvent)(0, Recorder::Callback, &events);
    Find<RegisterFn>(library, kRegisterResult)(0, Recorder::Callback, &results);
    if (load == 0) {
      ASSERT_TRUE(varnio_sim::TakeThreadBaseline());
    }
    const size_t before = results.Count();
    Find<RequestFn>(library, kGetTiles)();
    ASSERT_TRUE(results.WaitFor(before + 1));
    ASSERT_EQ(dlclose(library), 0);

    // The platform knows nothing of the dlclose.
    vconf_sim::SetStr(kLanguageKey, load == 0 ? "ko_KR.utf8" : "en_US.utf8");
    power_sim::TriggerWakeup();
    EXPECT_TRUE(varnio_sim::WaitIdle());
    EXPECT_TRUE(events.WaitFor(static_cast<size_t>(load) + 1)) << "the language change was not told";
  }
}
