// QHTM_RenderHTMLRect and QHTM_GetHTMLHeight: the HTML laid out by litehtml in the DC's font
// and text colour, drawn clipped to the rectangle.
#include "dhtml_page.h"
#include "litepage.h"
#include "qhtm.h"
#include "windraw.h"

namespace {

bool Usable(HDC dc, LPCWSTR html, UINT flags) { return dc && html && (flags & QHTM_SOURCE_TEXT); }

// The text as the layout reads it: through the element tree, so <font> is styled.
std::string Shown(LPCWSTR html) {
  const zx::html::Page page(html);
  std::vector<const zx::html::Node*> marked;
  return zx::html::Utf8Of(zx::html::DisplayHtml(const_cast<zx::html::Page&>(page).Root(), &marked));
}

}  // namespace

using namespace zx::html;

namespace {

// The DC's style, with the pictures from the caller's module.
BaseStyle StyleOf(HDC dc, HINSTANCE instance) {
  BaseStyle base = BaseStyleOf(dc);
  base.pictures = instance;
  return base;
}

}  // namespace

BOOL QHTM_RenderHTMLRect(HDC dc, LPCWSTR html, HINSTANCE instance, UINT flags, const RECT* rect) {
  if (!Usable(dc, html, flags) || !rect) return FALSE;
  if (!(flags & QHTM_RENDER_TRANSPARENT)) {
    HBRUSH back = CreateSolidBrush(GetBkColor(dc));
    FillRect(dc, rect, back);
    DeleteObject(back);
  }
  const PageLayout layout(Shown(html), StyleOf(dc, instance), rect->right - rect->left);
  layout.Draw(dc, rect->left, rect->top, *rect);
  return TRUE;
}

UINT QHTM_GetHTMLHeight(HDC dc, LPCWSTR html, HINSTANCE instance, UINT flags, UINT width) {
  if (!Usable(dc, html, flags)) return 0;
  const PageLayout layout(Shown(html), StyleOf(dc, instance), static_cast<int>(width));
  return static_cast<UINT>(layout.Height());
}
