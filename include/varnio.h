// varnio: accelerator tiles of the home-IoT cloud service for the TV home screen.
//
// The caller registers one result callback and one event callback, asks for
// tiles and executes them. Answers never come back as return values: they are
// handed to the registered callback on whichever thread produced them (the
// caller's own, a contents download thread or the IoT framework's thread), and
// that callback may call back into the library.
//
// The first call of any function below creates the service; it then lives
// until the process ends.
#ifndef VARNIO_VARNIO_H_
#define VARNIO_VARNIO_H_

#include <string>

#define VARNIO_EXPORT __attribute__((visibility("default")))

// Each enumeration is stored as an int; values outside the named ones are
// accepted and rejected or ignored by the function they are passed to.

// Result types: what a result callback is registered for.
enum iot_svc_cmd_type_e : int {
  // The tile-list JSON, answer to iot_svc_get_accelerator_tiles.
  IOT_SVC_CMD_GET_ACCELERATOR_TILES = 0,
  // Accepted by registration; nothing is ever delivered under it.
  IOT_SVC_CMD_RESERVED = 1,
};

// Event types: always delivered with an empty text.
enum iot_svc_event_type_e : int {
  // The tile list the caller holds is out of date; ask again.
  IOT_SVC_EVENT_TILES_CHANGED = 0,
};

// What executing a tile does.
enum iot_svc_tile_type_e : int {
  IOT_SVC_TILE_PAGE = 0,     // open a page of the companion web app; info is the page
  IOT_SVC_TILE_INTRO = 1,    // play the introduction video; info is not used
  IOT_SVC_TILE_ROUTINE = 2,  // run the routine whose id is info
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
// and stores nothing for a type other than 0 or 1.
VARNIO_EXPORT bool iot_svc_register_result_cb(iot_svc_cmd_type_e type,
                                              void (*callback)(std::string, void*),
                                              void* user_data);
VARNIO_EXPORT void iot_svc_unregister_result_cb(iot_svc_cmd_type_e type);

// Stores `callback` for event `type`; only type 0 is accepted.
VARNIO_EXPORT bool iot_svc_register_event_cb(iot_svc_event_type_e type,
                                             void (*callback)(std::string, void*),
                                             void* user_data);
VARNIO_EXPORT void iot_svc_unregister_event_cb(iot_svc_event_type_e type);

// Asks for the tile list. It reaches the result callback of type 0: before
// this returns when signed-in tiles are at hand, later otherwise.
VARNIO_EXPORT void iot_svc_get_accelerator_tiles();

// Executes a tile: launches the companion web app (page, intro) or runs a
// routine. Other types are ignored. Outcomes are only logged.
VARNIO_EXPORT void iot_svc_execute_tile(iot_svc_tile_type_e type, std::string info);

#endif  // VARNIO_VARNIO_H_
