// From the contents file of the current language to its tile-list JSON.
#ifndef VARNIO_CONTENTSTILELIST_H_
#define VARNIO_CONTENTSTILELIST_H_

#include <cstdint>
#include <string>

#include "ContentsConnection.h"
#include "ContentsListCache.h"

// Stores the tile-list JSON of `contents` in `out`. True when `contents` is a
// whole contents file; otherwise `out` holds what could be read of it.
bool ContentsFileToJson(const std::string& contents, std::string& out);

struct ContentsTileList {
  std::string url;  // the file's, as the TV language gave it; empty: no file
  std::string json;
  // The number of the download that confirmed this version of the file;
  // 0 when no good file came (the list is what could be read, or none).
  uint64_t download = 0;
};

// Downloads the file as download number `download` over a kept connection,
// asking the host for a 304 when a good list of it is held, and returns its
// tile list. A download that fails (no transfer, a status other than 200 or
// 304, a body that is no contents file) answers with the last good list of
// the same file, and only with none with what could be read.
ContentsTileList FetchTileList(ContentsListCache& lists, ContentsConnectionPool& connections, uint64_t download);

// The answer when no download can be made: the last good list of the
// current language's file, else the fixed tiles with every text empty.
ContentsTileList KeptTileList(const ContentsListCache& lists);

#endif  // VARNIO_CONTENTSTILELIST_H_
