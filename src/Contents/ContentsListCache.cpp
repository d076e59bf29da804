#include "ContentsListCache.h"

#include <utility>

KeptContentsList ContentsListCache::Find(const std::string& url) const {
  std::lock_guard<std::mutex> lock(m_mutex);
  const auto it = m_lists.find(url);
  return it == m_lists.end() ? KeptContentsList() : it->second;
}

void ContentsListCache::Keep(const std::string& url, std::shared_ptr<const GoodContentsList> list,
                             uint64_t download) {
  std::lock_guard<std::mutex> lock(m_mutex);
  KeptContentsList& kept = m_lists[url];
  if (download <= kept.download) return;
  kept.list = std::move(list);
  kept.download = download;
}
