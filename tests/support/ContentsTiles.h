// Reading tile lists in tests: their tile ids, and the before-sign-in lists
// the sample contents files must turn into.
#ifndef VARNIO_TESTS_CONTENTS_TILES_H_
#define VARNIO_TESTS_CONTENTS_TILES_H_

#include <string>
#include <vector>

// The four fixed ids of a before-sign-in list, section by section.
extern const std::vector<std::string> kContentsIds;

// The "id"s of a tile list of `sections` sections, in order; empty when the
// text is no such list.
std::vector<std::string> TileIds(const std::string& json, unsigned sections);

// The "id"s of a before-sign-in list, its two sections.
inline std::vector<std::string> ContentsIds(const std::string& json) { return TileIds(json, 2); }

// The list the sample file "general" or "kr" must turn into, or "empty":
// the four fixed tiles with every image, text and title empty, which a failed
// download turns into. Empty, with a line on stderr, when its expected file
// cannot be read.
std::string ExpectedTiles(const std::string& name);

#endif  // VARNIO_TESTS_CONTENTS_TILES_H_
