// CContents: the contents request's entry points and the specified static
// operations, each a thin wrapper over the unit that does the work.
#include "Contents.h"

#include "ContentsConnection.h"
#include "ContentsRequests.h"
#include "LibraryLife.h"
#include "LibraryLog.h"

CContents::CContents() : m_pRequests(std::make_shared<CContentsRequests>()) {
  VARNIO_TRACE();
  // On the owner's thread, so that libcurl's and the TLS library's global
  // set-up never races a download.
  library_life::Start();
}

CContents::~CContents() { m_pRequests->Close(); }

bool CContents::RegisterCallback(void (*callback)(std::string, void*), void* userData) {
  VARNIO_TRACE();
  ContentsCallback registration;
  registration.text = callback;
  registration.userData = userData;
  m_pRequests->Register(registration);
  return true;
}

bool CContents::RegisterCallback(void (*callback)(const CContentsDelivery&, void*), void* userData) {
  VARNIO_TRACE();
  ContentsCallback registration;
  registration.delivery = callback;
  registration.userData = userData;
  m_pRequests->Register(registration);
  return true;
}

void CContents::UnregisterCallback() {
  VARNIO_TRACE();
  m_pRequests->Register(ContentsCallback());
}

void CContents::RequestContentsList() {
  VARNIO_TRACE();
  m_pRequests->Request();
}

bool CContents::GetQuorvelJsonFile(std::string& out) {
  VARNIO_TRACE();
  ContentsConnection connection;
  if (!connection.Usable()) return false;
  return connection.Fetch(GetURL(), ContentsValidators(), DownloadSettings(), out).transferred;
}

size_t CContents::m_WriteCb(char* data, size_t size, size_t count, std::string* out) {
  VARNIO_TRACE();
  if (out == nullptr) return 0;
  out->append(data, size * count);
  return size * count;
}
