// The exported entry points: each reaches the one service and forwards.
#include <utility>

#include "IoTService.h"
#include "varnio.h"

bool iot_svc_register_result_cb(iot_svc_cmd_type_e type, void (*callback)(std::string, void*), void* user_data) {
  return CIoTService::GetInstance()->RegisterResultCallback(type, callback, user_data);
}

void iot_svc_unregister_result_cb(iot_svc_cmd_type_e type) {
  CIoTService::GetInstance()->UnregisterResultCallback(type);
}

bool iot_svc_register_event_cb(iot_svc_event_type_e type, void (*callback)(std::string, void*), void* user_data) {
  return CIoTService::GetInstance()->RegisterEventCallback(type, callback, user_data);
}

void iot_svc_unregister_event_cb(iot_svc_event_type_e type) {
  CIoTService::GetInstance()->UnregisterEventCallback(type);
}

void iot_svc_get_accelerator_tiles() { CIoTService::GetInstance()->GetAcceleratorTiles(); }

void iot_svc_execute_tile(iot_svc_tile_type_e type, std::string info) {
  CIoTService::GetInstance()->RequestExecuteTile(type, std::move(info));
}
