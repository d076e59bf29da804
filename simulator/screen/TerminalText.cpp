#include "TerminalText.h"

#include <vector>

namespace demo {
namespace {

constexpr char32_t kInvalid = 0xFFFFFFFF;

// Decodes one code point at `pos` and advances past it; kInvalid (advancing
// one byte) for a malformed, overlong or surrogate sequence.
char32_t NextCodePoint(const std::string& text, size_t& pos) {
  const unsigned char lead = static_cast<unsigned char>(text[pos]);
  int length = 0;
  char32_t cp = 0;
  char32_t minimum = 0;
  if (lead < 0x80) {
    ++pos;
    return lead;
  } else if ((lead & 0xE0) == 0xC0) {
    length = 2;
    cp = lead & 0x1F;
    minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3;
    cp = lead & 0x0F;
    minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4;
    cp = lead & 0x07;
    minimum = 0x10000;
  } else {
    ++pos;
    return kInvalid;
  }
  if (pos + length > text.size()) {
    ++pos;
    return kInvalid;
  }
  for (int i = 1; i < length; ++i) {
    const unsigned char next = static_cast<unsigned char>(text[pos + i]);
    if ((next & 0xC0) != 0x80) {
      ++pos;
      return kInvalid;
    }
    cp = (cp << 6) | (next & 0x3F);
  }
  if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++pos;
    return kInvalid;
  }
  pos += length;
  return cp;
}

void AppendUtf8(char32_t cp, std::string& out) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

bool IsControl(char32_t cp) { return cp < 0x20 || (cp >= 0x7F && cp < 0xA0); }

// The ranges a terminal draws two columns wide (Hangul, CJK, kana, full-width
// forms); enough for the languages the catalogue carries.
int Columns(char32_t cp) {
  const bool wide = (cp >= 0x1100 && cp <= 0x115F) || (cp >= 0x2E80 && cp <= 0xA4CF) ||
                    (cp >= 0xAC00 && cp <= 0xD7A3) || (cp >= 0xF900 && cp <= 0xFAFF) ||
                    (cp >= 0xFE30 && cp <= 0xFE4F) || (cp >= 0xFF00 && cp <= 0xFF60) ||
                    (cp >= 0xFFE0 && cp <= 0xFFE6) || (cp >= 0x20000 && cp <= 0x3FFFD);
  return wide ? 2 : 1;
}

std::vector<char32_t> CleanCodePoints(const std::string& text) {
  std::vector<char32_t> out;
  size_t pos = 0;
  while (pos < text.size()) {
    const char32_t cp = NextCodePoint(text, pos);
    out.push_back(cp == kInvalid || IsControl(cp) ? U'?' : cp);
  }
  return out;
}

std::string Encode(const std::vector<char32_t>& cps, size_t first, size_t last) {
  std::string out;
  for (size_t i = first; i < last; ++i) AppendUtf8(cps[i], out);
  return out;
}

}  // namespace

std::string CleanForTerminal(const std::string& text) {
  const std::vector<char32_t> cps = CleanCodePoints(text);
  return Encode(cps, 0, cps.size());
}

int DisplayWidth(const std::string& clean) {
  int width = 0;
  for (char32_t cp : CleanCodePoints(clean)) width += Columns(cp);
  return width;
}

std::string FitCell(const std::string& text, int width, Keep keep) {
  if (width <= 0) return std::string();
  const std::vector<char32_t> cps = CleanCodePoints(text);
  int total = 0;
  for (char32_t cp : cps) total += Columns(cp);
  std::string cell;
  int used = 0;
  if (total <= width) {
    cell = Encode(cps, 0, cps.size());
    used = total;
  } else {
    const int room = width - 1;  // one column for the ellipsis
    size_t count = 0;
    if (keep == Keep::kHead) {
      while (count < cps.size() && used + Columns(cps[count]) <= room) used += Columns(cps[count++]);
      cell = Encode(cps, 0, count) + "…";
    } else {
      while (count < cps.size() && used + Columns(cps[cps.size() - 1 - count]) <= room) {
        used += Columns(cps[cps.size() - 1 - count++]);
      }
      cell = "…" + Encode(cps, cps.size() - count, cps.size());
    }
    ++used;
  }
  cell.append(static_cast<size_t>(width - used), ' ');
  return cell;
}

}  // namespace demo
