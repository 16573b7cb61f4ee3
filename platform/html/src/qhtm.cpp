// QHTM_RenderHTMLRect and QHTM_GetHTMLHeight: the HTML laid out from the DC's font and text
// colour, drawn clipped to the rectangle.
#include "htmltext.h"
#include "windraw.h"

namespace zx::html {

Style BaseStyle(HDC dc) {
  Style base;
  LOGFONTW lf{};
  if (GetObjectW(GetCurrentObject(dc, OBJ_FONT), sizeof lf, &lf)) {
    base.face = lf.lfFaceName;
    base.height = lf.lfHeight;
    base.bold = lf.lfWeight >= FW_BOLD;
    base.italic = lf.lfItalic != 0;
    base.underline = lf.lfUnderline != 0;
  }
  if (base.height == 0) base.height = -12;
  base.colour = GetTextColor(dc);
  return base;
}

namespace {

bool Usable(HDC dc, LPCWSTR html, UINT flags) { return dc && html && (flags & QHTM_SOURCE_TEXT); }

}  // namespace
}  // namespace zx::html

using namespace zx::html;

BOOL QHTM_RenderHTMLRect(HDC dc, LPCWSTR html, HINSTANCE, UINT flags, const RECT* rect) {
  if (!Usable(dc, html, flags) || !rect) return FALSE;
  const std::vector<Piece> pieces = Parse(html, BaseStyle(dc));
  const int saved = SaveDC(dc);
  if (!saved) return FALSE;
  IntersectClipRect(dc, rect->left, rect->top, rect->right, rect->bottom);
  if (!(flags & QHTM_RENDER_TRANSPARENT)) {
    HBRUSH back = CreateSolidBrush(GetBkColor(dc));
    FillRect(dc, rect, back);
    DeleteObject(back);
  }
  SetBkMode(dc, TRANSPARENT);
  const Layout layout = Arrange(dc, pieces, rect->right - rect->left);
  for (const Placed& p : layout.placed) {
    if (p.piece->space && !p.piece->style.underline) continue;
    HFONT font = FontOf(p.piece->style);
    const HGDIOBJ old = SelectObject(dc, font);
    SetTextColor(dc, p.piece->style.colour);
    TextOutW(dc, rect->left + p.x, rect->top + p.top, p.piece->text.c_str(), static_cast<int>(p.piece->text.size()));
    SelectObject(dc, old);
    DeleteObject(font);
  }
  RestoreDC(dc, saved);
  return TRUE;
}

UINT QHTM_GetHTMLHeight(HDC dc, LPCWSTR html, HINSTANCE, UINT flags, UINT width) {
  if (!Usable(dc, html, flags)) return 0;
  const std::vector<Piece> pieces = Parse(html, BaseStyle(dc));
  return static_cast<UINT>(Arrange(dc, pieces, static_cast<int>(width)).height);
}
