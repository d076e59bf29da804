#include "ContentsListCache.h"

#include <utility>

std::shared_ptr<const GoodContentsList> ContentsListCache::Find(const std::string& url) const {
  std::lock_guard<std::mutex> lock(m_mutex);
  const auto it = m_lists.find(url);
  return it == m_lists.end() ? nullptr : it->second;
}

void ContentsListCache::Keep(const std::string& url, std::shared_ptr<const GoodContentsList> list) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_lists[url] = std::move(list);
}
