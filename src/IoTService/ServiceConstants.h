// Fixed values the service shares with the platform and the framework.
#ifndef VARNIO_SERVICECONSTANTS_H_
#define VARNIO_SERVICECONSTANTS_H_

// TV menu language setting.
constexpr char kLanguageKey[] = "db/menu_widget/language";

// Message catalogue of the service's own texts.
constexpr char kTextDomain[] = "varnio";
constexpr char kRoutinesTitleId[] = "TV_SID_ROUTINES";

// Framework request commands.
constexpr int kCommandLoginInfo = 102;
constexpr int kCommandRoutineList = 107;
constexpr int kCommandExecuteRoutine = 111;

// Framework event types.
constexpr int kEventSignedIn = 1000;
constexpr int kEventSignedOut = 1001;
constexpr int kEventNone = 1002;
constexpr int kEventCloud = 1004;
constexpr int kEventRefresh = 1005;

// The companion web application.
constexpr char kWebAppId[] = "Rk2hqTpZ8w.IoTService";

#endif  // VARNIO_SERVICECONSTANTS_H_
