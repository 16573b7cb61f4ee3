// Text output and measuring: TextOutW, ExtTextOutW, DrawTextW, GetTextExtentPoint32W,
// GetTextExtentExPointW and GetTextMetricsW, with the DC's font, colours and modes.
#include <algorithm>
#include <string>
#include <vector>

#include "dc.h"
#include "layoutcache.h"
#include "errhandlingapi.h"
#include "windraw.h"

using namespace zx::gdi;

namespace {

// Slant of synthetic italics (no italic face ships).
constexpr double kItalicSlant = 0.2;

struct LayoutRef {
  explicit LayoutRef(PangoLayout* layout) : layout(layout) {}
  ~LayoutRef() { g_object_unref(layout); }
  LayoutRef(const LayoutRef&) = delete;
  LayoutRef& operator=(const LayoutRef&) = delete;
  PangoLayout* layout;
};

std::size_t TextLength(LPCWSTR text, int length) {
  if (length >= 0) return static_cast<std::size_t>(length);
  std::size_t n = 0;
  while (text[n]) ++n;
  return n;
}

void SetColour(cairo_t* cr, COLORREF c) {
  cairo_set_source_rgb(cr, GetRValue(c) / 255.0, GetGValue(c) / 255.0, GetBValue(c) / 255.0);
}

void FillBox(cairo_t* cr, COLORREF colour, double x, double y, double width, double height) {
  SetColour(cr, colour);
  cairo_rectangle(cr, x, y, width, height);
  cairo_fill(cr);
}

// Draws one laid-out line with its baseline at (x, baseline).
void ShowLine(cairo_t* cr, PangoLayoutLine* line, double x, double baseline, bool italic,
              COLORREF colour) {
  cairo_save(cr);
  cairo_translate(cr, x, baseline);
  if (italic) {
    cairo_matrix_t shear;
    cairo_matrix_init(&shear, 1, 0, -kItalicSlant, 1, 0, 0);
    cairo_transform(cr, &shear);
  }
  SetColour(cr, colour);
  cairo_move_to(cr, 0, 0);
  pango_cairo_show_layout_line(cr, line);
  cairo_restore(cr);
}

int LineWidth(PangoLayoutLine* line) {
  PangoRectangle logical;
  pango_layout_line_get_pixel_extents(line, nullptr, &logical);
  return logical.width;
}

// Text for DrawText: prefixes resolved, line breaks dropped from single lines.
struct Prepared {
  std::string utf8;
  int underlineByte = -1;
};

Prepared Prepare(LPCWSTR text, std::size_t length, UINT format) {
  const bool single = (format & DT_SINGLELINE) != 0;
  const bool prefixes = !(format & DT_NOPREFIX);
  std::u16string shown;
  shown.reserve(length);
  std::ptrdiff_t underlined = -1;
  for (std::size_t i = 0; i < length; ++i) {
    WCHAR c = text[i];
    if (prefixes && c == u'&') {
      if (i + 1 == length) break;  // a trailing '&' shows nothing
      c = text[++i];
      if (c != u'&' && underlined < 0 && !(format & DT_HIDEPREFIX))
        underlined = static_cast<std::ptrdiff_t>(shown.size());
    }
    if (single && (c == u'\r' || c == u'\n')) continue;
    shown.push_back(c);
  }
  Prepared p;
  std::vector<int> offsets;
  p.utf8 = ToUtf8(shown.data(), shown.size(), &offsets);
  if (underlined >= 0 && underlined < static_cast<std::ptrdiff_t>(shown.size()))
    p.underlineByte = offsets[static_cast<std::size_t>(underlined)];
  return p;
}

}  // namespace

COLORREF SetTextColor(HDC dc, COLORREF color) {
  auto object = DcFromHandle(dc);
  if (!object) return CLR_INVALID;
  const COLORREF previous = object->state().textColor;
  object->state().textColor = color & 0xFFFFFF;
  return previous;
}

COLORREF GetTextColor(HDC dc) {
  auto object = DcFromHandle(dc);
  return object ? object->state().textColor : CLR_INVALID;
}

COLORREF SetBkColor(HDC dc, COLORREF color) {
  auto object = DcFromHandle(dc);
  if (!object) return CLR_INVALID;
  const COLORREF previous = object->state().bkColor;
  object->state().bkColor = color & 0xFFFFFF;
  return previous;
}

COLORREF GetBkColor(HDC dc) {
  auto object = DcFromHandle(dc);
  return object ? object->state().bkColor : CLR_INVALID;
}

int SetBkMode(HDC dc, int mode) {
  auto object = DcFromHandle(dc);
  if (!object || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
  const int previous = object->state().bkMode;
  object->state().bkMode = mode;
  return previous;
}

int GetBkMode(HDC dc) {
  auto object = DcFromHandle(dc);
  return object ? object->state().bkMode : 0;
}

UINT SetTextAlign(HDC dc, UINT align) {
  auto object = DcFromHandle(dc);
  if (!object) return GDI_ERROR;
  const UINT previous = object->state().textAlign;
  object->state().textAlign = align;
  return previous;
}

UINT GetTextAlign(HDC dc) {
  auto object = DcFromHandle(dc);
  return object ? object->state().textAlign : GDI_ERROR;
}

BOOL ExtTextOutW(HDC dc, int x, int y, UINT options, const RECT* rect, LPCWSTR text, UINT length,
                 const INT* /*dx*/) {
  auto object = DcFromHandle(dc);
  if (!object || (length > 0 && !text)) return FALSE;
  std::shared_ptr<FontObject> font = object->state().font;
  auto guard = LockTextEngine();
  cairo_t* cr = object->Cairo();
  if (!cr) return TRUE;
  DcState& s = object->state();
  cairo_save(cr);
  if (rect && (options & ETO_OPAQUE))
    FillBox(cr, s.bkColor, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top);
  if (rect && (options & ETO_CLIPPED)) {
    cairo_rectangle(cr, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top);
    cairo_clip(cr);
  }
  if (length > 0) {
    const FontMetrics& m = font->Metrics();
    LayoutRef layout(NewLayout(*font, ToUtf8(text, length), true));
    PangoLayoutLine* line = pango_layout_get_line_readonly(layout.layout, 0);
    const int width = LineWidth(line);
    const bool updateCp = (s.textAlign & TA_UPDATECP) != 0;
    const POINT at = updateCp ? s.current : POINT{x, y};
    int left = at.x;
    const UINT horizontal = s.textAlign & TA_CENTER;
    if (horizontal == TA_CENTER) left -= width / 2;
    else if (horizontal == TA_RIGHT) left -= width;
    int top = at.y;
    const UINT vertical = s.textAlign & TA_BASELINE;
    if (vertical == TA_BASELINE) top -= m.ascent;
    else if (vertical == TA_BOTTOM) top -= m.height;
    if (s.bkMode == OPAQUE && !(options & ETO_OPAQUE)) FillBox(cr, s.bkColor, left, top, width, m.height);
    ShowLine(cr, line, left, top + m.ascent, font->italic(), s.textColor);
    if (updateCp && horizontal != TA_CENTER)
      s.current.x = horizontal == TA_RIGHT ? at.x - width : at.x + width;
  }
  cairo_restore(cr);
  object->Finish();
  return TRUE;
}

BOOL TextOutW(HDC dc, int x, int y, LPCWSTR text, int length) {
  if (length < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return ExtTextOutW(dc, x, y, 0, nullptr, text, static_cast<UINT>(length), nullptr);
}

BOOL GetTextExtentExPointW(HDC dc, LPCWSTR text, int length, int maxExtent, int* fit, int* dx,
                           SIZE* size) {
  auto object = DcFromHandle(dc);
  if (!object || length < 0 || (length > 0 && !text) || !size) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::shared_ptr<FontObject> font = object->state().font;
  auto guard = LockTextEngine();
  const FontMetrics& m = font->Metrics();
  std::vector<int> offsets;
  const std::string utf8 = ToUtf8(text, static_cast<std::size_t>(length), &offsets);
  LayoutRef layout(NewLayout(*font, utf8, true));
  PangoLayoutLine* line = pango_layout_get_line_readonly(layout.layout, 0);
  *size = {LineWidth(line), m.height};
  if (fit || dx) {
    int fitting = 0;
    for (int i = 0; i < length; ++i) {
      int position = 0;
      pango_layout_line_index_to_x(line, offsets[i + 1], FALSE, &position);
      const int extent = i + 1 == length ? size->cx : PANGO_PIXELS(position);
      if (dx) dx[i] = extent;
      if (extent <= maxExtent && fitting == i) fitting = i + 1;
    }
    if (fit) *fit = fitting;
  }
  return TRUE;
}

BOOL GetTextExtentPoint32W(HDC dc, LPCWSTR text, int length, SIZE* size) {
  return GetTextExtentExPointW(dc, text, length, 0, nullptr, nullptr, size);
}

BOOL GetTextMetricsW(HDC dc, LPTEXTMETRICW metrics) {
  auto object = DcFromHandle(dc);
  if (!object || !metrics) return FALSE;
  std::shared_ptr<FontObject> font = object->state().font;
  auto guard = LockTextEngine();
  const FontMetrics& m = font->Metrics();
  const LOGFONTW& lf = font->logFont;
  *metrics = TEXTMETRICW{};
  metrics->tmHeight = m.height;
  metrics->tmAscent = m.ascent;
  metrics->tmDescent = m.descent;
  metrics->tmInternalLeading = m.internalLeading;
  metrics->tmAveCharWidth = m.aveCharWidth;
  metrics->tmMaxCharWidth = m.maxCharWidth;
  metrics->tmWeight = lf.lfWeight >= FW_SEMIBOLD ? FW_BOLD : FW_NORMAL;
  metrics->tmDigitizedAspectX = 96;
  metrics->tmDigitizedAspectY = 96;
  metrics->tmFirstChar = 0x20;
  metrics->tmLastChar = 0xFFFC;
  metrics->tmDefaultChar = 0x1F;
  metrics->tmBreakChar = 0x20;
  metrics->tmItalic = lf.lfItalic ? 1 : 0;
  metrics->tmUnderlined = lf.lfUnderline ? 1 : 0;
  metrics->tmStruckOut = lf.lfStrikeOut ? 1 : 0;
  metrics->tmPitchAndFamily = TMPF_VECTOR | TMPF_TRUETYPE | VARIABLE_PITCH | FF_SWISS;
  metrics->tmCharSet = lf.lfCharSet == DEFAULT_CHARSET ? ANSI_CHARSET : lf.lfCharSet;
  return TRUE;
}

int DrawTextW(HDC dc, LPCWSTR text, int length, LPRECT rect, UINT format) {
  auto object = DcFromHandle(dc);
  if (!object || !rect || (!text && length != 0)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const std::size_t count = text ? TextLength(text, length) : 0;
  std::shared_ptr<FontObject> font = object->state().font;
  auto guard = LockTextEngine();
  const FontMetrics& m = font->Metrics();
  const Prepared prepared = Prepare(text, count, format);
  const bool single = (format & DT_SINGLELINE) != 0;
  const bool wrap = (format & DT_WORDBREAK) && !single;
  const int rectWidth = std::max(0, rect->right - rect->left);
  const LayoutFit fit = wrap ? LayoutFit::WrapWords
                        : (format & DT_PATH_ELLIPSIS) ? LayoutFit::EllipsizeMiddle
                        : (format & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS)) ? LayoutFit::EllipsizeEnd
                                                                            : LayoutFit::None;
  LayoutRef layout(FittedLayout(*font, prepared.utf8, single, prepared.underlineByte, fit, rectWidth));
  const int lines = pango_layout_get_line_count(layout.layout);
  const int textHeight = lines * m.height;
  std::vector<int> widths(static_cast<std::size_t>(lines));
  int widest = 0;
  for (int i = 0; i < lines; ++i) {
    widths[i] = LineWidth(pango_layout_get_line_readonly(layout.layout, i));
    widest = std::max(widest, widths[i]);
  }
  int top = rect->top;
  if (single && (format & DT_VCENTER)) top = rect->top + (rect->bottom - rect->top - textHeight) / 2;
  else if (single && (format & DT_BOTTOM)) top = rect->bottom - textHeight;
  const int answer = single && (format & (DT_VCENTER | DT_BOTTOM)) ? top + textHeight - rect->top
                                                                   : textHeight;
  if (format & DT_CALCRECT) {
    rect->right = rect->left + widest;
    rect->bottom = rect->top + textHeight;
    return textHeight;
  }
  cairo_t* cr = object->Cairo();
  if (!cr) return answer;
  const DcState& s = object->state();
  cairo_save(cr);
  if (!(format & DT_NOCLIP)) {
    cairo_rectangle(cr, rect->left, rect->top, rectWidth, std::max(0, rect->bottom - rect->top));
    cairo_clip(cr);
  }
  for (int i = 0; i < lines; ++i) {
    int left = rect->left;
    if (format & DT_CENTER) left += (rectWidth - widths[i]) / 2;
    else if (format & DT_RIGHT) left += rectWidth - widths[i];
    const int lineTop = top + i * m.height;
    if (s.bkMode == OPAQUE) FillBox(cr, s.bkColor, left, lineTop, widths[i], m.height);
    ShowLine(cr, pango_layout_get_line_readonly(layout.layout, i), left, lineTop + m.ascent,
             font->italic(), s.textColor);
  }
  cairo_restore(cr);
  object->Finish();
  return answer;
}
