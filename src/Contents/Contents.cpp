#include "Contents.h"

#include "ContentsDownload.h"
#include "ContentsLifeline.h"
#include "LibraryLog.h"

CContents::CContents() : m_pLifeline(std::make_shared<CContentsLifeline>()) {
  VARNIO_TRACE();
  InitCurlOnce();
}

CContents::~CContents() { m_pLifeline->Close(); }

bool CContents::DeliveryMatchesLanguage() { return CContentsLifeline::DeliveryMatchesLanguage(); }

bool CContents::RegisterCallback(void (*callback)(std::string, void*), void* userData) {
  VARNIO_TRACE();
  stCallBack callBack;
  callBack.pfnCallBack = callback;
  callBack.pUserData = userData;
  m_pLifeline->Register(callBack);
  return true;
}

void CContents::UnregisterCallback() {
  VARNIO_TRACE();
  m_pLifeline->Register(stCallBack());
}

void CContents::RequestContentsList() {
  VARNIO_TRACE();
  const std::vector<stCallBack> unserved = m_pLifeline->Request();
  // No thread to download on and none running to take the request over: it
  // is answered now, as a failed download is, rather than never.
  if (unserved.empty()) return;
  VARNIO_LOG(3, "no thread for a contents request; answering with the fixed tiles");
  std::string json;
  GetContentsJson(std::string(), json);
  m_pLifeline->Deliver(unserved, json, nullptr);
}
