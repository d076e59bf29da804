// The last good tile list of each contents file, in memory only, with what
// lets the host answer 304 while its file has not changed.
#ifndef VARNIO_CONTENTSLISTCACHE_H_
#define VARNIO_CONTENTSLISTCACHE_H_

#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "ContentsDownload.h"

struct GoodContentsList {
  ContentsValidators validators;
  std::string json;  // the tile-list JSON the file turned into
};

class ContentsListCache {
 public:
  // The last good list of the file at `url`; null when none came yet.
  std::shared_ptr<const GoodContentsList> Find(const std::string& url) const;
  void Keep(const std::string& url, std::shared_ptr<const GoodContentsList> list);

 private:
  mutable std::mutex m_mutex;
  // Keyed by URL: a list never answers for another language's file.
  std::map<std::string, std::shared_ptr<const GoodContentsList>> m_lists;
};

#endif  // VARNIO_CONTENTSLISTCACHE_H_
