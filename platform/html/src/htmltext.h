// The HTML text control inside: HTML turned into styled words and breaks, and the words laid
// out in lines of a width with the fonts of a DC.
#pragma once
#include <string>
#include <vector>

#include "qhtm.h"

namespace zx::html {

struct Style {
  std::u16string face;
  LONG height = 0;  // LOGFONT height (negative: character height in pixels)
  bool bold = false;
  bool italic = false;
  bool underline = false;
  COLORREF colour = 0;
  int element = -1;  // the element of an HTML dialog's page the text belongs to (<zxel n=...>)
  bool operator==(const Style&) const = default;
};

// A word (text without spaces, or one space), or a line break (`lineBreak`, text empty).
struct Piece {
  std::u16string text;
  Style style;
  bool space = false;
  bool lineBreak = false;
};

// The inside of <...> read as a tag name (lower case), closing flag and attributes (names in
// lower case, values as written).
struct Tag {
  std::u16string name;
  bool closing = false;
  std::vector<std::pair<std::u16string, std::u16string>> attributes;
};
Tag ReadTag(const std::u16string& inside);
// Text with its character entities decoded (unknown ones kept as written).
std::u16string Decoded(const std::u16string& text);

// The pieces of the HTML, starting from the base style.
std::vector<Piece> Parse(const std::u16string& html, const Style& base);

// A piece placed on a line: x from the line's left, its line's top and baseline.
struct Placed {
  const Piece* piece;
  int x;
  int top;
  int baseline;
  int width;
  int bottom;  // the foot of the piece's own font below the baseline
};
struct Layout {
  std::vector<Placed> placed;
  int height = 0;
};
// Lays the pieces out in lines no wider than `width` (a word wider than it stands alone).
Layout Arrange(HDC dc, const std::vector<Piece>& pieces, int width);

// The style text starts in on a DC: its font and text colour.
Style BaseStyle(HDC dc);

// A font of the style; the caller deletes it.
HFONT FontOf(const Style& style);

}  // namespace zx::html
