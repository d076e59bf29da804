#include "TileTable.h"

#include <algorithm>
#include <vector>

#include "TerminalText.h"

namespace demo {
namespace {

struct Column {
  const char* heading;
  std::string Tile::*field;
  int maxWidth;
  Keep keep;     // paths keep their file name, texts their beginning
  bool always;   // shown even when no tile of the section fills it
};

const std::vector<Column>& Columns() {
  static const std::vector<Column> columns = {
      {"type", &Tile::type, 18, Keep::kHead, true},
      {"id", &Tile::id, 14, Keep::kHead, true},
      {"text", &Tile::text, 44, Keep::kHead, true},
      {"image", &Tile::image, 34, Keep::kTail, false},
      {"finish image", &Tile::finishImage, 34, Keep::kTail, false},
      {"width", &Tile::width, 5, Keep::kHead, false},
      {"timeout", &Tile::timeout, 7, Keep::kHead, false},
  };
  return columns;
}

struct Shown {
  const Column* column;
  int width;
};

std::vector<Shown> ColumnsFor(const TileSection& section) {
  std::vector<Shown> shown;
  for (const Column& column : Columns()) {
    int width = DisplayWidth(column.heading);
    bool filled = false;
    for (const Tile& tile : section.tiles) {
      const std::string& value = tile.*column.field;
      filled = filled || !value.empty();
      width = std::max(width, DisplayWidth(CleanForTerminal(value)));
    }
    if (filled || column.always) shown.push_back({&column, std::min(width, column.maxWidth)});
  }
  return shown;
}

std::string Rule(const std::vector<Shown>& columns, const std::string& indent) {
  std::string line = indent + "+";
  for (const Shown& c : columns) line += std::string(static_cast<size_t>(c.width) + 2, '-') + "+";
  return line + "\n";
}

template <typename CellText>
std::string Row(const std::vector<Shown>& columns, const std::string& indent, CellText cellText) {
  std::string line = indent + "|";
  for (const Shown& c : columns) line += " " + FitCell(cellText(c), c.width, c.column->keep) + " |";
  return line + "\n";
}

}  // namespace

std::string RenderTileTable(const TileList& list, const std::string& indent) {
  if (!list.valid) return indent + "(not a tile list: " + CleanForTerminal(list.error) + ")\n";
  if (list.sections.empty()) return indent + "(no sections)\n";
  std::string out;
  for (const TileSection& section : list.sections) {
    out += indent + (section.hasTitle ? "[" + CleanForTerminal(section.title) + "]" : "(no title)") + "\n";
    if (section.tiles.empty()) {
      out += indent + "(no tiles)\n";
      continue;
    }
    const std::vector<Shown> columns = ColumnsFor(section);
    out += Rule(columns, indent);
    out += Row(columns, indent, [](const Shown& c) { return std::string(c.column->heading); });
    out += Rule(columns, indent);
    for (const Tile& tile : section.tiles) {
      out += Row(columns, indent, [&tile](const Shown& c) { return tile.*c.column->field; });
    }
    out += Rule(columns, indent);
  }
  return out;
}

}  // namespace demo
