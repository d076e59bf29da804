// The routine tiles the service holds and the after-sign-in row rendered
// from them. Every change of the tiles goes through here, counts as one
// change and renders the row at once, so that a tile request only copies the
// text; a request that finds the routines title changed renders it again.
// A row exists once a routine list is in, also when it has no routine, and
// until the session ends (Clear).
// Not locked itself: the service calls it under its state lock.
#ifndef VARNIO_ROUTINEROW_H_
#define VARNIO_ROUTINEROW_H_

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "JsonParseUtil.h"

class CRoutineRow {
 public:
  // A routine list is in.
  bool Held() const { return m_held; }
  // Counts the changes of the tiles.
  uint64_t Version() const { return m_version; }

  // Each changes the tiles and renders the row again.
  void Replace(std::vector<stTileItem> tiles);
  // No list any more: the session ended.
  void Clear();
  template <typename Edit>
  void Change(Edit&& edit) {
    std::forward<Edit>(edit)(m_tiles);
    Changed();
  }

  // The row under the routines title the message catalogue gives now; null
  // while no list is in.
  std::shared_ptr<const std::string> Text();

 private:
  void Changed();
  void Render(std::string title);

  std::vector<stTileItem> m_tiles;
  bool m_held = false;
  uint64_t m_version = 0;
  std::string m_title;
  std::shared_ptr<const std::string> m_text;
};

#endif  // VARNIO_ROUTINEROW_H_
