#include "HtmlPage.h"

#include <algorithm>
#include <cstdio>

namespace demo {
namespace {

const char kStyle[] =
    "body{margin:0;padding:24px 40px;background:#0d1b2a;color:#e0e6ee;"
    "font-family:'DejaVu Sans','Noto Sans CJK KR',sans-serif}"
    "h1{font-size:26px;margin:0 0 16px}"
    ".row{margin:0 0 28px;padding:14px 18px;background:#1b2a3c;border-radius:10px}"
    ".row h2{font-size:18px;margin:0 0 4px;color:#ffd166}"
    ".arrival{font-size:12px;color:#8fa3b8;margin:0 0 10px}"
    ".section h3{font-size:15px;margin:8px 0;color:#a8dadc}"
    ".tiles{display:flex;flex-wrap:wrap;gap:12px}"
    ".tile{background:#243b55;border-radius:8px;padding:8px;box-sizing:border-box}"
    ".art{display:flex;gap:6px;align-items:center;justify-content:center;height:96px;"
    "border-radius:6px;background:#31506f}"
    ".art img{height:60px;width:60px}"
    ".art.remote{background:linear-gradient(135deg,#e76f51,#2a9d8f);font-size:13px;font-weight:bold}"
    ".caption{font-size:13px;margin:6px 0 2px}"
    ".meta{font-size:11px;color:#8fa3b8}"
    ".empty{color:#8fa3b8;font-style:italic}";

// Tiles are drawn at 60% of the width the library asks for, within bounds,
// so that a whole row fits a 1280-pixel window.
int PixelWidth(const std::string& width) {
  const bool digits = !width.empty() && width.size() <= 4 &&
                      std::all_of(width.begin(), width.end(), [](char c) { return c >= '0' && c <= '9'; });
  const int asked = digits ? std::stoi(width) : 250;
  return std::clamp(asked, 150, 600) * 3 / 5;
}

std::string Image(const std::string& image, const std::string& alt, const IconFiles& icons) {
  const std::string uri = icons.DataUri(image);
  if (uri.empty()) return std::string();
  return "<img src=\"" + uri + "\" alt=\"" + EscapeHtml(alt) + "\">";
}

std::string RenderTile(const Tile& tile, const IconFiles& icons) {
  std::string art = Image(tile.image, tile.id, icons);
  if (!tile.finishImage.empty()) art += Image(tile.finishImage, tile.id + " (done)", icons);
  std::string artClass = "art";
  if (art.empty()) {
    artClass += " remote";
    art = "<span>" + EscapeHtml(tile.id.empty() ? "no image" : tile.id) + "</span>";
  }
  char style[64];
  std::snprintf(style, sizeof style, "width:%dpx", PixelWidth(tile.width));
  return "<div class=\"tile\" style=\"" + std::string(style) + "\" title=\"" + EscapeHtml(tile.image) + "\">" +
         "<div class=\"" + artClass + "\">" + art + "</div>" + "<div class=\"caption\">" + EscapeHtml(tile.text) +
         "</div>" + "<div class=\"meta\">" + EscapeHtml(tile.type) + " &middot; " + EscapeHtml(tile.id) +
         "</div></div>\n";
}

std::string RenderSection(const TileSection& section, const IconFiles& icons) {
  std::string out = "<div class=\"section\"><h3>" + EscapeHtml(section.hasTitle ? section.title : "(no title)") +
                    "</h3><div class=\"tiles\">\n";
  for (const Tile& tile : section.tiles) out += RenderTile(tile, icons);
  if (section.tiles.empty()) out += "<p class=\"empty\">no tiles</p>\n";
  return out + "</div></div>\n";
}

std::string RenderRow(const ShownRow& row, const IconFiles& icons) {
  std::string out = "<section class=\"row\"><h2>" + EscapeHtml(row.step) + "</h2><p class=\"arrival\">" +
                    EscapeHtml(row.arrival) + "</p>\n";
  if (!row.list.valid) out += "<p class=\"empty\">not a tile list: " + EscapeHtml(row.list.error) + "</p>\n";
  for (const TileSection& section : row.list.sections) out += RenderSection(section, icons);
  return out + "</section>\n";
}

}  // namespace

std::string EscapeHtml(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string RenderHtmlPage(const std::string& heading, const std::vector<ShownRow>& rows, const IconFiles& icons) {
  std::string out =
      "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>" + EscapeHtml(heading) + "</title><style>" +
      kStyle + "</style></head>\n<body><h1>" + EscapeHtml(heading) + "</h1>\n";
  for (const ShownRow& row : rows) out += RenderRow(row, icons);
  return out + "</body></html>\n";
}

}  // namespace demo
