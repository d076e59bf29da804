// The tile-list JSON that the library hands to the result callback, read
// into plain rows for display. Both kinds of list are understood: the
// two-section list before sign-in (items with "text") and the routines
// section after it (items with "name", "finish_image" and "timeout").
#ifndef VARNIO_SIMULATOR_SCREEN_TILE_LIST_H_
#define VARNIO_SIMULATOR_SCREEN_TILE_LIST_H_

#include <string>
#include <vector>

namespace demo {

struct Tile {
  std::string type;
  std::string id;
  std::string text;  // "name" of a routine, "text" of an app tile
  std::string image;
  std::string finishImage;
  std::string timeout;
  std::string width;
};

struct TileSection {
  bool hasTitle = false;
  std::string title;
  std::vector<Tile> tiles;
};

struct TileList {
  bool valid = false;  // the text was a JSON array of section objects
  std::string error;   // why it was not, when !valid
  std::vector<TileSection> sections;

  size_t TileCount() const;
  std::vector<std::string> Ids() const;
  const Tile* Find(const std::string& id) const;
};

// Never fails: a text that is not a tile list gives valid == false.
TileList ParseTileList(const std::string& json);

}  // namespace demo

#endif  // VARNIO_SIMULATOR_SCREEN_TILE_LIST_H_
