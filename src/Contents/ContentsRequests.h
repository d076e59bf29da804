// Every contents request of one CContents, from the call to its delivery.
//
// Under one mutex:
//  - the registration later requests are answered to;
//  - the queue of downloads not yet begun, each with the requests it will
//    answer: per registration, a count. A request gets a download of its
//    own while a worker is free for it, and otherwise joins the last one
//    queued; the queue never holds more downloads than there are workers
//    to take them, so its memory stays the same however often the caller
//    asks;
//  - the workers: at most four library threads, each taking the first
//    download of the queue, running it and delivering its list, then
//    waiting a moment for another before it ends;
//  - the deliveries in flight, which Close waits for;
//  - the newest list handed out, for telling a receiver that an older one
//    may have reached it last.
// The last good lists and the kept connections guard themselves.
//
// The object outlives its CContents for as long as a worker holds it; once
// closed, or once the library stops, nothing is delivered or started.
#ifndef VARNIO_CONTENTSREQUESTS_H_
#define VARNIO_CONTENTSREQUESTS_H_

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "Contents.h"
#include "ContentsConnection.h"
#include "ContentsListCache.h"
#include "ContentsTileList.h"

// A registered contents callback, of either form.
struct ContentsCallback {
  void (*text)(std::string, void*) = nullptr;
  void (*delivery)(const CContentsDelivery&, void*) = nullptr;
  void* userData = nullptr;

  bool Empty() const { return text == nullptr && delivery == nullptr; }
  bool operator==(const ContentsCallback& other) const {
    return text == other.text && delivery == other.delivery && userData == other.userData;
  }
  void Call(const CContentsDelivery& answer) const;
};

class CContentsRequests : public std::enable_shared_from_this<CContentsRequests> {
 public:
  void Register(const ContentsCallback& callback);

  // One request for the current registration (see CContents::RequestContentsList).
  void Request();

  // Nothing more is delivered; waits for the deliveries of other threads.
  void Close();

  // Whether another list than `json`, confirmed by a download started after
  // `download`, has been handed out; never for a list of no download (0).
  // The same list of a newer download leaves the receiver's row right.
  bool HandedNewerThan(uint64_t download, const std::string& json) const;

 private:
  struct Waiting {
    ContentsCallback callback;
    size_t count;
  };
  // The requests one download answers.
  using Batch = std::vector<Waiting>;

  // Starts a worker; false when no thread could be had. The caller holds
  // m_mutex.
  bool StartWorkerLocked();
  // A worker's life: the queued downloads one after the other, until none
  // comes for a moment.
  void Work();
  // Hands `list` to each request of `batch` unless closed or stopping.
  void Deliver(const Batch& batch, const ContentsTileList& list);
  // Makes idle workers look again (for Close and the library's stop).
  void WakeWorkers();

  mutable std::mutex m_mutex;
  std::condition_variable m_changed;  // work arrived, a delivery ended, closed or stopping
  ContentsCallback m_registration;
  std::deque<Batch> m_queue;
  int m_workers = 0;
  int m_busyWorkers = 0;  // running a download or delivering its list
  uint64_t m_downloadsStarted = 0;
  uint64_t m_newestHanded = 0;
  std::string m_newestHandedJson;
  std::vector<std::thread::id> m_delivering;  // a thread per delivery in flight
  bool m_open = true;

  ContentsListCache m_lists;
  ContentsConnectionPool m_connections;
};

#endif  // VARNIO_CONTENTSREQUESTS_H_
