// HTML laid out and drawn by litehtml: a document container that measures and draws through
// the GDI (pango fonts on cairo surfaces), with the layer's own default style sheet.
#pragma once
#include <functional>
#include <memory>
#include <string>

#include "wingdi.h"

namespace litehtml {
class document;
class element;
}  // namespace litehtml

namespace zx::html {

std::string Utf8Of(std::u16string_view text);
std::u16string Utf16Of(std::string_view text);

// The font and colour that text starts in (the document's defaults).
struct BaseStyle {
  std::u16string face = u"DejaVu Sans";
  int pixels = 16;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  COLORREF colour = RGB(0, 0, 0);
  bool bodyMargin = true;  // a page's 8-pixel body margin; text in a rectangle has none
  HINSTANCE pictures = nullptr;  // the module whose resources hold the pictures (<img src=>)
};
// The style text starts in on a DC: its font and text colour.
BaseStyle BaseStyleOf(HDC dc);

class Container;

// One laid-out document. A page that cannot be read is an empty document.
class PageLayout {
 public:
  PageLayout(const std::string& utf8, const BaseStyle& base, int width);
  ~PageLayout();
  PageLayout(const PageLayout&) = delete;
  PageLayout& operator=(const PageLayout&) = delete;

  int Width() const { return width_; }
  int Height() const;
  // Draws with the document's origin at (x, y), inside `clip`.
  void Draw(HDC dc, int x, int y, const RECT& clip) const;
  // The innermost element at a point of the document, or null.
  std::shared_ptr<litehtml::element> ElementAt(int x, int y) const;
  // Calls `visit` for every element with its attribute `name` (elements without it skipped).
  void ForEachWith(const char* name, const std::function<void(litehtml::element&, const char*)>& visit) const;
  // The box an element takes, as the union of the boxes of what it shows (FALSE: nothing).
  static bool BoxOf(litehtml::element& element, RECT* box);

 private:
  int width_;
  std::unique_ptr<Container> container_;
  std::shared_ptr<litehtml::document> document_;
};

}  // namespace zx::html
