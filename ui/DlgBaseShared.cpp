// The library-wide values of the dialog bases and the strip painters.
#include "DlgBaseShared.h"

#include <map>
#include <memory>
#include <utility>

#include "CTransparentCheckRadio.h"
#include "DrawingHelpers.h"
#include "HalvoranApp.h"

BOOL g_bShowTooltips = FALSE;
CString g_strDialogTemplateName;

namespace {

constexpr UINT kDialogIcon = 1294;
// Rows of the application base's shared fonts: the plain dialog font, the bold caption and
// the small font (two units smaller, weight 400).
constexpr int kDialogFontRow = 0;
constexpr int kCaptionFontRow = 4;
constexpr int kSmallFontRow = 10;

HFONT OwnFont(LONG height, LONG weight) {
  LOGFONTW font = GetSharedBaseLogFont();
  if (height) font.lfHeight = height;
  font.lfWeight = weight;
  return ::CreateFontIndirectW(&font);
}

}  // namespace

HICON GetSharedDialogIcon() {
  static HICON icon = nullptr;
  if (icon == nullptr) {
    const LPCTSTR name = MAKEINTRESOURCEW(kDialogIcon);
    if (const HINSTANCE module = AfxFindResourceHandle(name, RT_GROUP_ICON)) icon = ::LoadIconW(module, name);
  }
  return icon;
}

HBRUSH GetSharedWhiteBrush() { return CTransparentCheckRadio::WhiteBrush(); }

const LOGFONTW& GetSharedBaseLogFont() {
  static const LOGFONTW font = [] {
    LOGFONTW base{};
    GetBaseLogFont(base);
    return base;
  }();
  return font;
}

HFONT GetSharedDialogFont() {
  if (g_hSharedFonts[kDialogFontRow]) return g_hSharedFonts[kDialogFontRow];
  static const HFONT own = OwnFont(0, FW_NORMAL);
  return own;
}

HFONT GetSharedCaptionFont() {
  if (g_hSharedFonts[kCaptionFontRow]) return g_hSharedFonts[kCaptionFontRow];
  static const HFONT own = OwnFont(GetSharedBaseLogFont().lfHeight - 1, FW_BOLD);
  return own;
}

HFONT GetSharedSmallFont() {
  if (g_hSharedFonts[kSmallFontRow]) return g_hSharedFonts[kSmallFontRow];
  static const HFONT own = [] {
    const LONG height = GetSharedBaseLogFont().lfHeight;
    return OwnFont(height < 0 ? height + 2 : height - 2, FW_NORMAL);
  }();
  return own;
}

HFONT GetSharedTitleFont(LONG height, LONG weight) {
  static auto* fonts = new std::map<std::pair<LONG, LONG>, HFONT>;
  HFONT& font = (*fonts)[{height, weight}];
  if (font == nullptr) font = OwnFont(height, weight);
  return font;
}

const CHVBitmap& SharedBitmap(UINT nID) {
  // Kept until the process ends: never destroyed, so no bitmap outlives the class library's
  // own state at exit.
  static auto* bitmaps = new std::map<UINT, std::unique_ptr<CHVBitmap>>;
  std::unique_ptr<CHVBitmap>& slot = (*bitmaps)[nID];
  if (!slot || slot->GetWidth() == 0) slot = std::make_unique<CHVBitmap>(nID);
  return *slot;
}

void DrawColumns(CDC* pDC, const CHVBitmap& bitmap, int x0, int x1, int y) {
  const HBITMAP handle = static_cast<HBITMAP>(bitmap.GetSafeHandle());
  if (handle == nullptr || x1 <= x0) return;
  StretchBitmap(pDC, x0, y, x1 - x0, bitmap.GetHeight(), 0, 0, 1, bitmap.GetHeight(), handle, SRCCOPY);
}

void DrawRows(CDC* pDC, const CHVBitmap& bitmap, int x, int y0, int y1) {
  const HBITMAP handle = static_cast<HBITMAP>(bitmap.GetSafeHandle());
  if (handle == nullptr || y1 <= y0) return;
  StretchBitmap(pDC, x, y0, bitmap.GetWidth(), y1 - y0, 0, 0, bitmap.GetWidth(), 1, handle, SRCCOPY);
}

void TileAcross(CDC* pDC, const CHVBitmap& bitmap, int x0, int x1, int y) {
  const HBITMAP handle = static_cast<HBITMAP>(bitmap.GetSafeHandle());
  const int width = bitmap.GetWidth();
  if (handle == nullptr || width <= 0) return;
  for (int x = x0; x < x1; x += width)
    DrawBitmap(pDC, x, y, x1 - x < width ? x1 - x : width, bitmap.GetHeight(), handle, SRCCOPY);
}

bool IsInCaptionBand(const CWnd* pWnd, CPoint point) {
  CRect client;
  pWnd->GetClientRect(&client);
  return point.x >= 0 && point.x <= client.Width() && point.y >= 0 && point.y < kCaptionBandHeight;
}

void DragByCaptionBand(CWnd* pWnd, CPoint point) {
  if (!IsInCaptionBand(pWnd, point)) return;
  CPoint screen(point);
  pWnd->ClientToScreen(&screen);
  pWnd->SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(screen.x, screen.y));
}

void TileDown(CDC* pDC, const CHVBitmap& bitmap, int x, int y0, int y1) {
  const HBITMAP handle = static_cast<HBITMAP>(bitmap.GetSafeHandle());
  const int height = bitmap.GetHeight();
  if (handle == nullptr || height <= 0) return;
  for (int y = y0; y < y1; y += height)
    DrawBitmap(pDC, x, y, bitmap.GetWidth(), y1 - y < height ? y1 - y : height, handle, SRCCOPY);
}

void DrawWhole(CDC* pDC, const CHVBitmap& bitmap, int x, int y) {
  const HBITMAP handle = static_cast<HBITMAP>(bitmap.GetSafeHandle());
  if (handle) DrawBitmap(pDC, x, y, bitmap.GetWidth(), bitmap.GetHeight(), handle, SRCCOPY);
}

void DrawShadowedText(CDC* pDC, const CString& text, const CRect& rect, HFONT font, COLORREF shadow,
                      COLORREF colour, UINT format) {
  const HGDIOBJ oldFont = ::SelectObject(pDC->GetSafeHdc(), font);
  const COLORREF oldColour = pDC->GetTextColor();
  const int oldMode = pDC->SetBkMode(TRANSPARENT);
  CRect moved(rect);
  moved.OffsetRect(1, 1);
  pDC->SetTextColor(shadow);
  pDC->DrawText(text, text.GetLength(), &moved, format);
  CRect place(rect);
  pDC->SetTextColor(colour);
  pDC->DrawText(text, text.GetLength(), &place, format);
  pDC->SetBkMode(oldMode);
  pDC->SetTextColor(oldColour);
  ::SelectObject(pDC->GetSafeHdc(), oldFont);
}
