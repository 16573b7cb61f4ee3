// The places of a scroll bar's parts (arrows, track, thumb) in the window's non-client area
// and their painting in the classic look: raised arrow buttons with a triangle, the track in
// the scroll-bar colour, a raised thumb sized by the page.
#include <algorithm>

#include "geometry.h"
#include "scroll.h"
#include "windraw.h"
#include "wingdi.h"

namespace zx::user {
namespace {

constexpr LONG kMinThumb = 8;

LONG Thickness() { return GetSystemMetrics(SM_CXVSCROLL); }

// The client area in window coordinates, when the window shows the bar.
bool ClientInWindow(HWND window, int bar, RECT& client) {
  std::lock_guard<std::mutex> guard(TableLock());
  const Window* w = FindLocked(window);
  if (!w || (w->style & WS_MINIMIZE)) return false;
  if (!(w->style & (bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL))) return false;
  const Insets insets = NonClientInsets(w->style, w->exStyle);
  client = ClientRectLocked(*w);
  OffsetRect(&client, insets.left, insets.top);
  return true;
}

// Splits the bar's length into its parts; `along` maps (start, end) to a rectangle.
template <typename Along>
void Split(ScrollBarParts& parts, LONG length, const ScrollBarState& state, Along along) {
  const LONG arrow = std::min(Thickness(), length / 2);
  parts.lineUp = along(0, arrow);
  parts.lineDown = along(length - arrow, length);
  const LONG track = length - 2 * arrow;
  const SCROLLINFO& info = state.info;
  if (state.disabledArrows == ESB_DISABLE_BOTH || !CanScroll(info)) return;
  const long long span = static_cast<long long>(info.nMax) - info.nMin + 1;
  const LONG thumb = info.nPage ? std::max<LONG>(static_cast<LONG>(track * static_cast<long long>(info.nPage) / span), kMinThumb)
                                : Thickness();
  if (thumb > track) return;
  const long long room = static_cast<long long>(MaxScrollPosition(info)) - info.nMin;
  const int position = state.tracking ? info.nTrackPos : info.nPos;
  const LONG offset = room > 0 ? static_cast<LONG>((track - thumb) * (static_cast<long long>(position) - info.nMin) / room) : 0;
  const LONG start = arrow + std::clamp<LONG>(offset, 0, track - thumb);
  parts.pageUp = along(arrow, start);
  parts.thumb = along(start, start + thumb);
  parts.pageDown = along(start + thumb, length - arrow);
}

enum class Pointing { kUp, kDown, kLeft, kRight };

void Triangle(HDC dc, const RECT& r, Pointing way, int colour) {
  const LONG cx = (r.left + r.right) / 2;
  const LONG cy = (r.top + r.bottom) / 2;
  POINT p[3];
  switch (way) {
    case Pointing::kUp: p[0] = {cx, cy - 2}; p[1] = {cx - 4, cy + 2}; p[2] = {cx + 4, cy + 2}; break;
    case Pointing::kDown: p[0] = {cx, cy + 2}; p[1] = {cx - 4, cy - 2}; p[2] = {cx + 4, cy - 2}; break;
    case Pointing::kLeft: p[0] = {cx - 2, cy}; p[1] = {cx + 2, cy - 4}; p[2] = {cx + 2, cy + 4}; break;
    case Pointing::kRight: p[0] = {cx + 2, cy}; p[1] = {cx - 2, cy - 4}; p[2] = {cx - 2, cy + 4}; break;
  }
  HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(colour));
  const HGDIOBJ oldPen = SelectObject(dc, pen);
  const HGDIOBJ oldBrush = SelectObject(dc, GetSysColorBrush(colour));
  Polygon(dc, p, 3);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(pen);
}

void Button(HDC dc, RECT r) {
  FillRect(dc, &r, GetSysColorBrush(COLOR_3DFACE));
  DrawEdge(dc, &r, EDGE_RAISED, BF_RECT);
}

void PaintBar(HDC dc, HWND window, int bar) {
  ScrollBarParts parts;
  ScrollBarState state;
  if (!ScrollBarLayout(window, bar, parts) || !ReadScrollBar(window, bar, state)) return;
  const bool vertical = bar == SB_VERT;
  const bool enabled = IsWindowEnabled(window);
  const bool upOff = !enabled || (state.disabledArrows & ESB_DISABLE_LTUP);
  const bool downOff = !enabled || (state.disabledArrows & ESB_DISABLE_RTDN);
  Button(dc, parts.lineUp);
  Triangle(dc, parts.lineUp, vertical ? Pointing::kUp : Pointing::kLeft, upOff ? COLOR_GRAYTEXT : COLOR_BTNTEXT);
  Button(dc, parts.lineDown);
  Triangle(dc, parts.lineDown, vertical ? Pointing::kDown : Pointing::kRight, downOff ? COLOR_GRAYTEXT : COLOR_BTNTEXT);
  RECT track = parts.whole;
  if (vertical) {
    track.top = parts.lineUp.bottom;
    track.bottom = parts.lineDown.top;
  } else {
    track.left = parts.lineUp.right;
    track.right = parts.lineDown.left;
  }
  FillRect(dc, &track, GetSysColorBrush(COLOR_SCROLLBAR));
  if (!IsRectEmpty(&parts.thumb)) Button(dc, parts.thumb);
}

}  // namespace

bool ScrollBarLayout(HWND window, int bar, ScrollBarParts& parts) {
  parts = ScrollBarParts{};
  RECT client{};
  ScrollBarState state;
  if ((bar != SB_VERT && bar != SB_HORZ) || !ClientInWindow(window, bar, client) ||
      !ReadScrollBar(window, bar, state))
    return false;
  const LONG t = Thickness();
  if (bar == SB_VERT) {
    parts.whole = RECT{client.right, client.top, client.right + t, client.bottom};
    Split(parts, client.bottom - client.top, state, [&](LONG a, LONG b) {
      return RECT{client.right, client.top + a, client.right + t, client.top + b};
    });
  } else {
    parts.whole = RECT{client.left, client.bottom, client.right, client.bottom + t};
    Split(parts, client.right - client.left, state, [&](LONG a, LONG b) {
      return RECT{client.left + a, client.bottom, client.left + b, client.bottom + t};
    });
  }
  return true;
}

int ScrollPositionAt(const ScrollBarParts& parts, int bar, const SCROLLINFO& info, int offset) {
  const bool vertical = bar == SB_VERT;
  const LONG track = vertical ? parts.lineDown.top - parts.lineUp.bottom : parts.lineDown.left - parts.lineUp.right;
  const LONG thumb = vertical ? parts.thumb.bottom - parts.thumb.top : parts.thumb.right - parts.thumb.left;
  const LONG room = track - thumb;
  const int top = MaxScrollPosition(info);
  if (room <= 0) return info.nMin;
  const long long span = static_cast<long long>(top) - info.nMin;
  const long long at = info.nMin + (span * std::clamp<LONG>(offset, 0, room) + room / 2) / room;
  return static_cast<int>(std::clamp<long long>(at, info.nMin, top));
}

void PaintScrollBars(HWND window) {
  ScrollBarParts vertical;
  ScrollBarParts horizontal;
  const bool hasVertical = ScrollBarLayout(window, SB_VERT, vertical);
  const bool hasHorizontal = ScrollBarLayout(window, SB_HORZ, horizontal);
  if (!hasVertical && !hasHorizontal) return;
  HDC dc = GetWindowDC(window);
  if (!dc) return;
  if (hasVertical) PaintBar(dc, window, SB_VERT);
  if (hasHorizontal) PaintBar(dc, window, SB_HORZ);
  if (hasVertical && hasHorizontal) {
    const RECT corner{vertical.whole.left, horizontal.whole.top, vertical.whole.right, horizontal.whole.bottom};
    FillRect(dc, &corner, GetSysColorBrush(COLOR_3DFACE));
  }
  ReleaseDC(window, dc);
}

}  // namespace zx::user
