// The handlers registered with one notification source. A handler is called
// only while registered, and removing it returns only once no call of it
// runs on another thread: what lets a subscriber free its data right after.
#ifndef PLATFORM_CALLBACK_LIST_H_
#define PLATFORM_CALLBACK_LIST_H_

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <vector>

template <typename Entry>
class CallbackList {
 public:
  void Add(const Entry& entry) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_entries.push_back(entry);
  }

  // Removes the first entry `match` accepts (every one with `all`) and waits
  // for calls in flight on other threads; a handler removing itself from
  // inside its call does not wait for itself. Returns how many were removed.
  template <typename Match>
  size_t Remove(Match match, bool all) {
    std::unique_lock<std::mutex> lock(m_mutex);
    size_t removed = 0;
    for (auto it = m_entries.begin(); it != m_entries.end();) {
      if (match(*it) && (all || removed == 0)) {
        it = m_entries.erase(it);
        ++removed;
      } else {
        ++it;
      }
    }
    const int own = Depth();
    m_callDone.wait(lock, [&] { return m_callsInFlight <= own; });
    return removed;
  }

  // Calls `call` with each entry `match` accepts that is still registered at
  // the moment of its call.
  template <typename Match, typename Call>
  void ForEach(Match match, Call call) {
    std::vector<Entry> snapshot;
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      snapshot = m_entries;
    }
    for (const Entry& entry : snapshot) {
      if (!match(entry)) continue;
      {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (std::find(m_entries.begin(), m_entries.end(), entry) == m_entries.end()) continue;
        ++m_callsInFlight;
      }
      ++Depth();
      call(entry);
      --Depth();
      {
        std::lock_guard<std::mutex> lock(m_mutex);
        --m_callsInFlight;
      }
      m_callDone.notify_all();
    }
  }

  size_t Size() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_entries.size();
  }

 private:
  // Calls of this list's handlers running on the current thread.
  static int& Depth() {
    thread_local int depth = 0;
    return depth;
  }

  std::mutex m_mutex;
  std::condition_variable m_callDone;
  int m_callsInFlight = 0;
  std::vector<Entry> m_entries;
};

#endif  // PLATFORM_CALLBACK_LIST_H_
