// varnio: accelerator tiles of the home-IoT cloud service for the TV home screen.
//
// This header is the whole contract for a home screen: what to call, what
// comes back, on which thread, how soon, and in which language.
//
// ---- In short
//
// Register one result callback and one event callback, then ask for the row:
//
//   iot_svc_register_event_cb(IOT_SVC_EVENT_TILES_CHANGED, OnChanged, screen);
//   iot_svc_register_result_cb(IOT_SVC_CMD_GET_ACCELERATOR_TILES, OnRow, screen);
//   iot_svc_get_accelerator_tiles();  // the row arrives at OnRow
//
// Answers never come back as return values: each request is answered once,
// with the row (a JSON text, below) at the result callback. A notice
// (IOT_SVC_EVENT_TILES_CHANGED, with an empty text) says the row the caller
// holds is out of date: ask again. A caller that asks again on every notice
// ends up holding the row the account shows. The first call of any function
// below starts the service, which lives until the process ends; register the
// event callback first, since a signed-in start announces its routines as
// soon as the framework answers, and both before the first request.
//
// ---- The row: a JSON array of sections
//
// Every value is a JSON string (widths and timeouts too); texts are UTF-8,
// and non-ASCII characters may come as \u escapes. Members of an object come
// in the order of their names.
//
// Signed out: two sections, the introduction video and three app tiles.
// Their texts, images and titles come from the contents file of the TV's
// language, downloaded over HTTPS:
//
//   [ { "data" : [ { "id" : "intro",
//                    "image" : "https://.../intro_thumb_1920x1080.jpg",
//                    "type" : "IOT_TILE_VIDEO",
//                    "width" : "444" } ],
//       "title" : "Get started with Quorvel" },
//     { "data" : [ { "id" : "how",
//                    "image" : "https://.../how_444x250.png",
//                    "text" : "Quorvel connects your TV and the devices around your home.",
//                    "type" : "IOT_TILE_APP",
//                    "width" : "444" },
//                  { "id" : "uses", ... },
//                  { "id" : "start", ... } ],
//       "title" : "Make your home smarter with Quorvel" } ]
//
//   "id"     "intro" for the video tile; "how", "uses", "start" for the app tiles
//   "image"  the tile's picture, a URL from the contents file
//   "text"   app tiles only: the tile's text
//   "type"   "IOT_TILE_VIDEO" or "IOT_TILE_APP"
//   "width"  the tile's width in pixels, "444"
//   "title"  the section's heading
//
// Signed in: one section, the routines of the account, one tile per routine
// in the account's order; with no routine, the same section with an empty
// "data" array:
//
//   [ { "data" : [ { "finish_image" : "/usr/apps/varnio/res/routines/acc-gdmorn-activated.png",
//                    "id" : "r-1",
//                    "image" : "/usr/apps/varnio/res/routines/acc-gdmorn.png",
//                    "name" : "Good Morning",
//                    "timeout" : "5",
//                    "type" : "IOT_TILE_ROUTINE",
//                    "width" : "250" } ],
//       "title" : "Routines" } ]
//
//   "id"            the routine's id: what iot_svc_execute_tile runs
//   "name"          the routine's name as the user gave it
//   "image"         a local icon chosen from the words of the name
//   "finish_image"  the same icon as shown once the routine ran
//   "timeout"       seconds to show "finish_image" after running, "5"
//   "type"          "IOT_TILE_ROUTINE"
//   "width"         "250"
//   "title"         the translation of "Routines" (see Language)
//
// The icons are files under /usr/apps/varnio/res/routines/ on the TV; a
// simulator kit's library names them under <prefix>/apps/varnio/res/ of
// wherever the kit is installed.
//
// Executing a tile: an "IOT_TILE_APP" tile is IOT_SVC_TILE_PAGE with its
// "id", the video tile IOT_SVC_TILE_INTRO, a routine IOT_SVC_TILE_ROUTINE
// with its "id".
//
// ---- Notices
//
// IOT_SVC_EVENT_TILES_CHANGED follows every change of the row the account
// shows:
//  - the user signed in (once the account's routines are in), or out;
//  - a routine was created, renamed or deleted in the cloud;
//  - a routine list arrived that changes the row (after a wake-up from
//    standby, a refresh the framework asked for, or a move to another
//    location), or that a refresh or wake-up asked for;
//  - the TV's language changed: signed out, the row's language; signed in,
//    the routines title;
//  - a row was already out of date when it was delivered (the user signed
//    in, the language changed, or another row, of a later download,
//    reached the caller first): it is still its request's answer, and the
//    notice follows it.
// A notice carries no row: ask again. Notices may come in bursts, and a row
// may cross a notice: the last row after the last notice is the one to show.
//
// ---- Threads
//
// Callbacks run on the thread that produced the answer, and nothing is
// queued:
//  - the row, signed in with the routines at hand: on the caller's own
//    thread, before iot_svc_get_accelerator_tiles returns;
//  - the row, signed in while the routines are still on their way: on the
//    IoT framework's thread, when they arrive;
//  - the row, signed out: on one of the library's download threads (at most
//    four at a time, each ending soon after its delivery); when no thread can
//    be started, on the caller's thread within the call, with the last good
//    row of the language, else the four tiles without texts;
//  - notices: on the framework's threads (sign-in, sign-out, the cloud's
//    changes, routine lists), on the platform's notification threads (a
//    language change, a wake-up), on a download thread or on the caller's
//    thread right after a row that was out of date;
//  - either, rarely, on the library's thread named "varnio-answers", kept
//    from its first request to the framework, which asks again for an
//    answer that did not come: a framework that answers within the request
//    answers on it.
// A callback may call any function here, including asking again; while it
// runs, the thread that called it waits, so a callback that blocks holds up
// the deliveries of that thread. Do not hold a lock of your own that the
// callbacks take while calling iot_svc_get_accelerator_tiles: the row may
// come inside the call, on your thread.
//
// ---- How soon, and what a failed download gives
//
// Signed in, a request is answered at once when the routines are at hand,
// else when the framework's routine list arrives. The framework's answers
// name no request: one that may belong to a request made before the account
// last changed (another user may have signed in since) is never shown; the
// library asks again and shows no routines meanwhile. A framework answer that
// does not come is asked for again after 10 s, then after 20 s and every
// 40 s while none comes (a simulator kit built by the test presets waits 1 s
// at first); meanwhile no row is delivered.
//
// Signed out, each request is answered once, from a download begun after it:
// within a second against a healthy host. A download gives up when it cannot
// connect within 10 s, when less than a byte a second arrives for 30 s, after
// 120 s in all, or past 1 MiB. At most four downloads run at a time, and a
// request made while four run is served by the next download, once one of
// them ends: at worst an answer comes 240 s after its request.
//
// A download that fails (no connection, an untrusted certificate, a time or
// size limit, an HTTP error, a body that is no contents file) is answered
// with the last good row of the same language, downloaded earlier in this
// process. With none yet, it is answered with the four tiles and what could
// be read: every text, image and title empty when nothing came, some of them
// when a file came broken off. The library logs each failure (a warning with
// the URL for a connection or a certificate that fails); the row itself
// cannot tell, but by its empty strings.
//
// ---- Language
//
// The TV's language is the platform setting "db/menu_widget/language"
// (vconf), a value like "en_US.utf8" or "ko_KR.utf8". The library follows it
// by itself: for "ko_KR.utf8" it downloads the Korean contents file, for any
// other value the general one.
//
// The routines title is looked up with gettext (domain "varnio") in the
// message language of the calling process, as the TV's UI process does. A
// caller must therefore:
//  1. have a locale other than "C" before the first request: setlocale(LC_ALL,
//     "") with an installed locale named in the environment, or
//     setlocale(LC_ALL, "C.UTF-8") with the language in LANGUAGE (for
//     example "ko"); in the plain "C" locale gettext translates nothing and
//     the title stays "TV_SID_ROUTINES";
//  2. follow the TV's language: when it changes, switch the process's message
//     language (LANGUAGE, or the LC_MESSAGES locale) and call setlocale again,
//     before the platform setting changes, so that the row asked for after
//     the notice has the new title.
// The library has catalogues for de, en, es, fr, it, ja, ko, nl, pl and pt;
// for another language the title stays "TV_SID_ROUTINES".
//
// ---- Loading, starting programs, exiting
//
// Once loaded the library stays: dlclose leaves it mapped, since the
// platform services it subscribed to may still call it, and a later dlopen
// finds the same service. Every descriptor it opens is close-on-exec: a
// program the caller starts (system(), posix_spawn, fork and exec) inherits
// none of its connections. A child forked without exec has none of the
// library's threads and shares its connections: it must call nothing here
// and only exec or _exit. At exit the library ends its downloads at once;
// a callback still running on one of its threads is waited for a second at
// most.
//
// ---- Logs
//
// Everything the library does goes to the platform log (dlog) under the tag
// "varnio". Warnings there are worth reading while developing: an answer or a
// notice that found no callback registered, a download that cannot connect
// or whose certificate is not trusted.
#ifndef VARNIO_VARNIO_H_
#define VARNIO_VARNIO_H_

#include <string>

#define VARNIO_EXPORT __attribute__((visibility("default")))

// Each enumeration is stored as an int; values outside the named ones are
// accepted and rejected or ignored by the function they are passed to.

// Result types: what a result callback is registered for.
enum iot_svc_cmd_type_e : int {
  // The row (the tile-list JSON above), answer to iot_svc_get_accelerator_tiles.
  IOT_SVC_CMD_GET_ACCELERATOR_TILES = 0,
  // Accepted by registration; nothing is ever delivered under it.
  IOT_SVC_CMD_RESERVED = 1,
};

// Event types: always delivered with an empty text.
enum iot_svc_event_type_e : int {
  // The row the caller holds is out of date; ask again.
  IOT_SVC_EVENT_TILES_CHANGED = 0,
};

// What executing a tile does.
enum iot_svc_tile_type_e : int {
  IOT_SVC_TILE_PAGE = 0,     // open a page of the companion web app; info is the tile's "id"
  IOT_SVC_TILE_INTRO = 1,    // play the introduction video; info is not used
  IOT_SVC_TILE_ROUTINE = 2,  // run the routine whose "id" is info
};

// A callback gets its own copy of the text and the user data given at
// registration. The caller keeps the function and the data valid while the
// callback is registered: once an unregister function returns, that callback
// is not called again and no call of it runs on another thread, so the data
// may be freed. Called from inside one of the caller's callbacks, an
// unregister function does not wait (a call on another thread may be waiting
// for this one): a call already on its way elsewhere may still run, even
// after it returned.
typedef void (*iot_svc_callback)(std::string text, void* user_data);

// Stores `callback` for result `type`, replacing an earlier one. Returns false
// and stores nothing for a type other than 0 or 1. An answer that comes while
// no callback is registered for its type is lost, with a warning in the log.
VARNIO_EXPORT bool iot_svc_register_result_cb(iot_svc_cmd_type_e type,
                                              void (*callback)(std::string, void*),
                                              void* user_data);
VARNIO_EXPORT void iot_svc_unregister_result_cb(iot_svc_cmd_type_e type);

// Stores `callback` for event `type`; only type 0 is accepted. A notice that
// comes while none is registered is lost, with a warning in the log.
VARNIO_EXPORT bool iot_svc_register_event_cb(iot_svc_event_type_e type,
                                             void (*callback)(std::string, void*),
                                             void* user_data);
VARNIO_EXPORT void iot_svc_unregister_event_cb(iot_svc_event_type_e type);

// Asks for the row. It reaches the result callback of type 0: before this
// returns when signed-in tiles are at hand, later otherwise (see Threads).
VARNIO_EXPORT void iot_svc_get_accelerator_tiles();

// Executes a tile: launches the companion web app (page, intro) or asks the
// framework to run a routine. Other types are ignored. Outcomes are only
// logged.
VARNIO_EXPORT void iot_svc_execute_tile(iot_svc_tile_type_e type, std::string info);

#endif  // VARNIO_VARNIO_H_
