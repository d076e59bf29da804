// The part of a home screen that shows the row of accelerator tiles: it is
// told of new rows and of changes through libvarnio's two callbacks, which
// may run on any thread, and keeps the row it shows.
#ifndef HOME_SCREEN_TILE_ROW_H_
#define HOME_SCREEN_TILE_ROW_H_

#include <mutex>
#include <string>
#include <vector>

struct Tile {
  std::string type;  // IOT_TILE_VIDEO, IOT_TILE_APP or IOT_TILE_ROUTINE
  std::string id;
  std::string text;
  std::string image;  // a URL, or for a routine the path of a local icon
};

class TileRow {
 public:
  // Registers both callbacks. Ask for the row only after both are in: the
  // library may announce a change as soon as the first call starts it.
  bool Connect();
  void Disconnect();
  // Asks for the row; it arrives at OnTiles, inside this call or later.
  void Refresh();
  void Execute(const Tile& tile);

  std::vector<Tile> Tiles() const;
  std::vector<std::string> Titles() const;  // one per section

 private:
  static void OnTiles(std::string json, void* self);
  static void OnTilesChanged(std::string empty, void* self);

  mutable std::mutex m_mutex;
  std::vector<Tile> m_tiles;
  std::vector<std::string> m_titles;
};

#endif  // HOME_SCREEN_TILE_ROW_H_
