// DrawTextExW over DrawTextW, tabbed text laid out piece by piece between tab stops, and
// grayed text in the system's gray text colour.
#include <cstdlib>
#include <string>

#include "errhandlingapi.h"
#include "wintabtext.h"
#include "zx/gdi.h"

namespace {

constexpr int kGrayText = 17;  // COLOR_GRAYTEXT
constexpr int kDefaultTabChars = 8;

int LengthOf(LPCWSTR text, int length) {
  if (length >= 0) return length;
  int n = 0;
  while (text[n]) ++n;
  return n;
}

// The x (from tabOrigin) of the stop after `at`.
int NextStop(int at, int count, const int* stops, int defaultTab) {
  if (count == 1 && stops && stops[0] != 0) {
    const int step = std::abs(stops[0]);
    return (at / step + 1) * step;
  }
  for (int i = 0; count > 1 && stops && i < count; ++i)
    if (std::abs(stops[i]) > at) return std::abs(stops[i]);
  return (at / defaultTab + 1) * defaultTab;
}

// Lays the text out (drawing it when `draw`), answering MAKELONG(width, height).
LONG Tabbed(HDC dc, int x, int y, LPCWSTR text, int length, int count, const int* stops, int origin, bool draw) {
  TEXTMETRICW metrics{};
  if (!text || !GetTextMetricsW(dc, &metrics)) return 0;
  const int defaultTab = std::max<int>(metrics.tmAveCharWidth * kDefaultTabChars, 1);
  int at = x;
  int start = 0;
  length = LengthOf(text, length);
  for (int i = 0; i <= length; ++i) {
    if (i < length && text[i] != u'\t') continue;
    SIZE size{};
    GetTextExtentPoint32W(dc, text + start, i - start, &size);
    if (draw && i > start) TextOutW(dc, at, y, text + start, i - start);
    at += size.cx;
    if (i < length) at = origin + NextStop(at - origin, count, stops, defaultTab);
    start = i + 1;
  }
  return MAKELONG(static_cast<WORD>(at - x), static_cast<WORD>(metrics.tmHeight));
}

}  // namespace

int DrawTextExW(HDC dc, LPWSTR text, int length, LPRECT rect, UINT format, LPDRAWTEXTPARAMS params) {
  if (params && params->cbSize != sizeof(DRAWTEXTPARAMS)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (!rect || !text) return DrawTextW(dc, text, length, rect, format);
  const int left = params ? params->iLeftMargin : 0;
  const int right = params ? params->iRightMargin : 0;
  RECT inner{rect->left + left, rect->top, rect->right - right, rect->bottom};
  const int height = DrawTextW(dc, text, length, &inner, format);
  if (format & DT_CALCRECT) *rect = RECT{inner.left - left, inner.top, inner.right + right, inner.bottom};
  if (params) params->uiLengthDrawn = static_cast<UINT>(LengthOf(text, length));
  return height;
}

LONG TabbedTextOutW(HDC dc, int x, int y, LPCWSTR text, int length, int tabPositions, const int* tabStops,
                    int tabOrigin) {
  return Tabbed(dc, x, y, text, length, tabPositions, tabStops, tabOrigin, true);
}

DWORD GetTabbedTextExtentW(HDC dc, LPCWSTR text, int length, int tabPositions, const int* tabStops) {
  return static_cast<DWORD>(Tabbed(dc, 0, 0, text, length, tabPositions, tabStops, 0, false));
}

BOOL GrayStringW(HDC dc, HBRUSH, GRAYSTRINGPROC output, LPARAM data, int length, int x, int y, int, int) {
  if (!output && !data) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const COLORREF old = SetTextColor(dc, zx::gdi::SystemColour(kGrayText));
  if (old == CLR_INVALID) return FALSE;
  BOOL done = FALSE;
  if (output) {
    // The procedure draws from (0, 0); the text lands at (x, y).
    OffsetViewportOrgEx(dc, x, y, nullptr);
    done = output(dc, data, length);
    OffsetViewportOrgEx(dc, -x, -y, nullptr);
  } else {
    const auto* text = reinterpret_cast<LPCWSTR>(data);
    done = TextOutW(dc, x, y, text, length > 0 ? length : LengthOf(text, -1));
  }
  SetTextColor(dc, old);
  return done;
}
