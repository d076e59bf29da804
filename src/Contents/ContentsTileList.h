// From the contents file of the current language to its tile-list JSON.
#ifndef VARNIO_CONTENTSTILELIST_H_
#define VARNIO_CONTENTSTILELIST_H_

#include <string>

#include "ContentsDownload.h"
#include "ContentsListCache.h"

// Stores the tile-list JSON of `contents` in `out`. True when `contents` is a
// whole contents file; otherwise `out` holds what could be read of it.
bool ContentsFileToJson(const std::string& contents, std::string& out);

struct ContentsTileList {
  std::string url;   // the file's, as the TV language gave it when the download began
  std::string json;
};

// Downloads the file over a kept connection, asking the host for a 304 when
// a good list of it is held, and returns its tile list. A download that
// fails (no transfer, a status other than 200 or 304, a body that is no
// contents file) answers with the last good list of the same file, and
// only with none with what could be read.
ContentsTileList FetchTileList(ContentsListCache& lists, ContentsConnectionPool& connections);

#endif  // VARNIO_CONTENTSTILELIST_H_
