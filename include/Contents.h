// Before-sign-in contents: download of the contents file over HTTPS, its
// conversion to the tile-list JSON, and a few request threads that deliver
// the result to the registered callback.
#ifndef VARNIO_CONTENTS_H_
#define VARNIO_CONTENTS_H_

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "CallBack.h"
#include "JsonParseUtil.h"

// The registration, the requests and the downloads, shared with the request
// threads.
class CContentsLifeline;

class CContents {
 public:
  CContents();
  ~CContents();
  CContents(const CContents&) = delete;
  CContents& operator=(const CContents&) = delete;

  // Always true. A null callback is stored like any other; it is never called.
  bool RegisterCallback(void (*callback)(std::string, void*), void* userData);
  void UnregisterCallback();

  // Starts one download on a library thread and returns at once; while a
  // few downloads already run, the request instead waits for the next one
  // to start. Either way the callback current now receives exactly one tile
  // list, from a download begun after this call. When that download fails,
  // the list is the last good one of the same language's file, and with
  // none the fixed tiles with what could be read; when no thread can be had
  // and none runs, the fixed tiles without texts reach it before this
  // returns. A callback that blocks holds up its own thread, not later
  // downloads. Once the process has begun to exit nothing is delivered.
  void RequestContentsList();

  // Inside the contents callback: false when the TV language changed, since
  // the download being delivered began, to one that asks for another file.
  static bool DeliveryMatchesLanguage();

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
  std::shared_ptr<CContentsLifeline> m_pLifeline;
};

#endif  // VARNIO_CONTENTS_H_
