// Pieces laid out in lines: words measured in their fonts, lines broken at spaces (or where
// the HTML breaks them), each line as high as its tallest font with the pieces on one
// baseline.
#include <algorithm>

#include "htmltext.h"

namespace zx::html {
namespace {

struct Measured {
  int width = 0;
  int ascent = 0;
  int descent = 0;
};

// Fonts made for the layout, one per style.
class Fonts {
 public:
  explicit Fonts(HDC dc) : dc_(dc), old_(GetCurrentObject(dc, OBJ_FONT)) {}
  ~Fonts() {
    SelectObject(dc_, old_);
    for (auto& [style, font] : made_) DeleteObject(font);
  }
  Fonts(const Fonts&) = delete;
  Fonts& operator=(const Fonts&) = delete;

  Measured Measure(const Piece& piece) {
    SelectObject(dc_, Of(piece.style));
    TEXTMETRICW tm{};
    GetTextMetricsW(dc_, &tm);
    SIZE size{};
    if (!piece.text.empty()) GetTextExtentPoint32W(dc_, piece.text.c_str(), static_cast<int>(piece.text.size()), &size);
    return Measured{size.cx, tm.tmAscent, tm.tmDescent};
  }

 private:
  HFONT Of(const Style& style) {
    for (const auto& [s, font] : made_)
      if (s == style) return font;
    made_.emplace_back(style, FontOf(style));
    return made_.back().second;
  }

  HDC dc_;
  HGDIOBJ old_;
  std::vector<std::pair<Style, HFONT>> made_;
};

struct Line {
  std::vector<std::pair<const Piece*, Measured>> items;
  int width = 0;
};

}  // namespace

HFONT FontOf(const Style& style) {
  LOGFONTW lf{};
  lf.lfHeight = style.height;
  lf.lfWeight = style.bold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = style.italic;
  lf.lfUnderline = style.underline;
  lf.lfCharSet = DEFAULT_CHARSET;
  const std::size_t n = std::min<std::size_t>(style.face.size(), LF_FACESIZE - 1);
  std::copy(style.face.begin(), style.face.begin() + static_cast<std::ptrdiff_t>(n), lf.lfFaceName);
  return CreateFontIndirectW(&lf);
}

Layout Arrange(HDC dc, const std::vector<Piece>& pieces, int width) {
  Layout layout;
  Fonts fonts(dc);
  Line line;
  // Closes the line: its height from its pieces (or from `empty`, the break ending an empty line).
  auto finish = [&](const Piece* empty) {
    while (!line.items.empty() && line.items.back().first->space) line.items.pop_back();
    int ascent = 0;
    int descent = 0;
    for (const auto& [piece, m] : line.items) {
      ascent = std::max(ascent, m.ascent);
      descent = std::max(descent, m.descent);
    }
    if (line.items.empty() && empty) {
      const Measured m = fonts.Measure(*empty);
      ascent = m.ascent;
      descent = m.descent;
    }
    int x = 0;
    for (const auto& [piece, m] : line.items) {
      layout.placed.push_back(Placed{piece, x, layout.height + ascent - m.ascent, layout.height + ascent, m.width,
                                     layout.height + ascent + m.descent});
      x += m.width;
    }
    layout.height += ascent + descent;
    line = Line{};
  };
  for (const Piece& piece : pieces) {
    if (piece.lineBreak) {
      finish(&piece);
      continue;
    }
    if (piece.space && line.items.empty()) continue;
    const Measured m = fonts.Measure(piece);
    if (!piece.space && !line.items.empty() && line.width + m.width > width) finish(nullptr);
    line.items.emplace_back(&piece, m);
    line.width += m.width;
  }
  if (!line.items.empty()) finish(nullptr);
  return layout;
}

}  // namespace zx::html
