// The TV menu language: the catalogue of the service's own texts, and a
// refetch of language-dependent data when it changes.
#include <libintl.h>
#include <vconf.h>

#include "IoTService.h"
#include "LibraryFiles.h"
#include "LibraryLog.h"
#include "ServiceConstants.h"

void CIoTService::m_SetLanguage() {
  VARNIO_TRACE();
  if (vconf_notify_key_changed(kLanguageKey, m_LanguageChangedCb, this) < 0) {
    VARNIO_LOG(0, "Unable to register a vconf changed cb to %s.", kLanguageKey);
  } else {
    m_bLanguageSubscribed = true;
  }
  bindtextdomain(kTextDomain, library_files::LocaleDir().c_str());
  // The titles go into JSON, which is UTF-8 whatever the process's locale.
  bind_textdomain_codeset(kTextDomain, "UTF-8");
}

void CIoTService::m_LanguageChangedCb(keynode_t* /*node*/, void* userData) {
  CIoTService* service = static_cast<CIoTService*>(userData);
  VARNIO_TRACE();
  {
    CAutoLock lock(service->m_StateLock);
    ++service->m_nLanguageDrops;
  }
  service->m_Contents.RequestContentsList();
  // The row the caller holds is in the old language (signed in, its
  // routines title), and no answer of its own will reach it: it must ask
  // again.
  service->m_ExecuteEventCallback(IOT_SVC_EVENT_TILES_CHANGED, "");
  if (service->GetIsLoggedIn()) service->m_RefreshLocationAndRequestRoutines();
}
