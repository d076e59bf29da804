// Before-sign-in contents: download of the contents file over HTTPS, its
// conversion to the tile-list JSON, and the request threads that deliver
// the result to the registered callback.
#ifndef VARNIO_CONTENTS_H_
#define VARNIO_CONTENTS_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "JsonParseUtil.h"

class CContentsRequests;

// One answer to a contents request, as a delivery callback sees it; valid
// for the length of the call.
class CContentsDelivery {
 public:
  // The tile-list JSON.
  const std::string& Json() const { return m_json; }
  // The URL of the contents file the list came from; empty when it came from
  // none (no thread could be had and no good list was kept).
  const std::string& Url() const { return m_url; }
  // Asked after handing the list on: true when the receiver may now hold an
  // out-of-date list and should ask again. That is when the TV language has
  // changed to one that asks for another file, or when a list of a download
  // begun later has been handed out too, so this older one may have arrived
  // last.
  bool OutOfDate() const;

 private:
  friend class CContentsRequests;
  CContentsDelivery(const CContentsRequests& owner, const std::string& json, const std::string& url,
                    uint64_t download)
      : m_owner(owner), m_json(json), m_url(url), m_download(download) {}

  const CContentsRequests& m_owner;
  const std::string& m_json;
  const std::string& m_url;
  uint64_t m_download;
};

class CContents {
 public:
  CContents();
  ~CContents();
  CContents(const CContents&) = delete;
  CContents& operator=(const CContents&) = delete;

  // Always true. A null callback is stored like any other; it is never
  // called. The first form receives the tile-list text, the second the whole
  // delivery.
  bool RegisterCallback(void (*callback)(std::string, void*), void* userData);
  bool RegisterCallback(void (*callback)(const CContentsDelivery&, void*), void* userData);
  void UnregisterCallback();

  // Asks for the tile list and returns at once. The callback registered now
  // receives exactly one list, from a download begun after this call: that
  // of the file, or when the download fails the last good one of the same
  // language's file, and with none the fixed tiles with what could be read.
  // At most four downloads run at once, each on a library thread that also
  // delivers its result; requests made meanwhile wait, and the next download
  // to start serves them all. A callback that blocks holds up its thread:
  // with every thread in a callback, requests wait for one to return. When no
  // thread can be had and none runs, the answer (the last good list, else
  // the fixed tiles without texts) reaches the callback before this returns.
  // With nothing registered nothing is downloaded. Once the process has
  // begun to exit nothing is delivered.
  void RequestContentsList();

  // The contents URL for the current TV language.
  static std::string GetURL();
  // Appends the contents file to `out` over a connection of its own; true
  // when the transfer completed, whatever the HTTP status.
  static bool GetQuorvelJsonFile(std::string& out);
  // The before-sign-in tile-list JSON of `tiles`.
  static std::string t_MakeContentsToJson(const std::vector<stTileItem>& tiles);
  // Parses a contents file and stores its tile-list JSON in `out`. Always true.
  static bool GetContentsJson(const std::string& contents, std::string& out);

  static size_t m_WriteCb(char* data, size_t size, size_t count, std::string* out);

 private:
  std::shared_ptr<CContentsRequests> m_pRequests;
};

#endif  // VARNIO_CONTENTS_H_
