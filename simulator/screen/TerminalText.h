// Texts from the library (and so from the contents host and the cloud) made
// safe and aligned for a terminal table: no control characters or broken
// UTF-8 reach the terminal, and widths count columns, not bytes.
#ifndef VARNIO_SIMULATOR_SCREEN_TERMINAL_TEXT_H_
#define VARNIO_SIMULATOR_SCREEN_TERMINAL_TEXT_H_

#include <string>

namespace demo {

// Valid UTF-8 with every control character (C0, DEL, C1) and every byte that
// is not part of a well-formed sequence replaced by '?'.
std::string CleanForTerminal(const std::string& text);

// Terminal columns of a cleaned text: East Asian wide characters take two.
int DisplayWidth(const std::string& clean);

enum class Keep { kHead, kTail };

// Exactly `width` columns: the cleaned text, cut with "…" on the side that is
// not kept when it is too wide, padded with blanks when it is narrower.
std::string FitCell(const std::string& text, int width, Keep keep = Keep::kHead);

}  // namespace demo

#endif  // VARNIO_SIMULATOR_SCREEN_TERMINAL_TEXT_H_
