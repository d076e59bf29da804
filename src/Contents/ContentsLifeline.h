// What a CContents shares with its request threads. It outlives the
// CContents for as long as a thread holds it, so that a delivery finishing
// after the CContents is gone can tell, and destruction waits for a delivery
// in flight.
//
// The states, all under one mutex:
//  - open: until the CContents is destroyed (Close). Once closed, or once the
//    process exits, nothing is delivered and no download starts.
//  - a request is waiting from Request until a download starts for it; it
//    then belongs to that download's batch until delivered.
//  - a download holds one of a few places from its start until its transfer
//    is over and gives it up before delivering, so that a callback that
//    blocks holds up only its own thread. When no thread can be had for the
//    requests that waited meanwhile, the finishing download keeps its place
//    and serves them itself.
//  - a delivery is in flight between its start and its end; Close waits for
//    those of other threads.
// The last good lists and the kept connections guard themselves.
#ifndef VARNIO_CONTENTSLIFELINE_H_
#define VARNIO_CONTENTSLIFELINE_H_

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "CallBack.h"
#include "ContentsDownload.h"
#include "ContentsListCache.h"

class CContentsLifeline : public std::enable_shared_from_this<CContentsLifeline> {
 public:
  // Replaces the registration that later requests are answered to.
  void Register(const stCallBack& callBack);

  // Queues a request for the current registration and starts a download for
  // it when a place is free. Returns the requests nothing will serve, since
  // no thread could be had and no download runs.
  std::vector<stCallBack> Request();

  // Hands `json`, the list of the file at `url` (null: of no file), to each
  // request of `batch`, unless closed or exiting.
  void Deliver(const std::vector<stCallBack>& batch, const std::string& json, const std::string* url);

  // Inside a delivery: false when the TV language now asks for another file
  // than the one the list came from.
  static bool DeliveryMatchesLanguage();

  // Closes and waits for the deliveries of other threads to end.
  void Close();

 private:
  // One download for every waiting request; false when no thread could be
  // had for it. The caller holds m_mutex.
  bool StartDownloadLocked();
  // A download's transfer is over: its place goes to a new download for the
  // requests that waited meanwhile. Returns those requests when no thread
  // could be had: the finishing thread then serves them itself.
  std::vector<stCallBack> FinishDownload();
  // A request thread's work: download, give up the place, deliver; again
  // for the requests it was left with.
  void RunDownloads(std::vector<stCallBack> batch);

  std::mutex m_mutex;
  std::condition_variable m_deliveryEnded;
  stCallBack m_registration;
  bool m_open = true;
  int m_deliveries = 0;
  int m_downloads = 0;
  std::vector<stCallBack> m_waiting;

  ContentsListCache m_lists;
  ContentsConnectionPool m_connections;
};

#endif  // VARNIO_CONTENTSLIFELINE_H_
