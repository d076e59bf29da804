// White-box access to a CIoTService for benchmarks that must set up a state
// the exported API reaches only slowly (thousands of tiles).
#ifndef VARNIO_BENCH_SERVICE_PEER_H_
#define VARNIO_BENCH_SERVICE_PEER_H_

#include <string>
#include <vector>

#include "IoTService.h"

class CIoTServiceTestPeer {
 public:
  explicit CIoTServiceTestPeer(CIoTService* service) : m_service(service) {}

  void SetSignedInWithTiles(std::vector<stTileItem> tiles) {
    CAutoLock lock(m_service->m_StateLock);
    m_service->m_bIsLoggedIn = true;
    m_service->m_RoutineRow.Replace(std::move(tiles));
  }

  void DispatchResult(const std::string& text) {
    m_service->m_ExecuteResultCallback(IOT_SVC_CMD_GET_ACCELERATOR_TILES, text);
  }

 private:
  CIoTService* m_service;
};

#endif  // VARNIO_BENCH_SERVICE_PEER_H_
