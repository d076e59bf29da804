// The tile rows of a demo run as one self-contained HTML page: local icons
// are embedded, remote images (which the page does not fetch) are drawn as
// labelled placeholders, and every text from the library is escaped.
#ifndef VARNIO_SIMULATOR_SCREEN_HTML_PAGE_H_
#define VARNIO_SIMULATOR_SCREEN_HTML_PAGE_H_

#include <string>
#include <vector>

#include "IconFiles.h"
#include "TileList.h"

namespace demo {

// One tile list as it arrived during the run.
struct ShownRow {
  std::string step;     // what the day was doing
  std::string arrival;  // how it arrived, e.g. "on another thread"
  TileList list;
};

// Text safe inside HTML elements and quoted attributes.
std::string EscapeHtml(const std::string& text);

std::string RenderHtmlPage(const std::string& heading, const std::vector<ShownRow>& rows, const IconFiles& icons);

}  // namespace demo

#endif  // VARNIO_SIMULATOR_SCREEN_HTML_PAGE_H_
