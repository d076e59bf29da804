// The last good tile list of each contents file, in memory only, with what
// lets the host answer 304 while its file has not changed. Downloads may
// end in any order: a list is kept only when the download that confirmed it
// started after the one that confirmed the list it replaces.
#ifndef VARNIO_CONTENTSLISTCACHE_H_
#define VARNIO_CONTENTSLISTCACHE_H_

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "ContentsConnection.h"

struct GoodContentsList {
  ContentsValidators validators;
  std::string json;  // the tile-list JSON the file turned into
};

struct KeptContentsList {
  std::shared_ptr<const GoodContentsList> list;  // null when none came yet
  // The number of the download that last confirmed it (downloads are
  // numbered as they start, from 1).
  uint64_t download = 0;
};

class ContentsListCache {
 public:
  // The last good list of the file at `url`.
  KeptContentsList Find(const std::string& url) const;
  // Keeps `list` as confirmed by `download` unless a later-started download
  // already confirmed the list kept.
  void Keep(const std::string& url, std::shared_ptr<const GoodContentsList> list, uint64_t download);

 private:
  mutable std::mutex m_mutex;
  // Keyed by URL: a list never answers for another language's file.
  std::map<std::string, KeptContentsList> m_lists;
};

#endif  // VARNIO_CONTENTSLISTCACHE_H_
