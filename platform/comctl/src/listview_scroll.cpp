// List view scrolling: the top row and the horizontal offset in pixels, kept inside the
// content and mirrored on the window's own scroll bars, which appear when the rows or the
// columns outgrow the client area (taking their room from it) and go when they fit again;
// the WM_VSCROLL / WM_HSCROLL requests, the wheel, LVM_SCROLL and LVM_ENSUREVISIBLE.
#include <algorithm>

#include "listview.h"

namespace zx::comctl::listview {
namespace {

constexpr int kLineWidth = 16;  // pixels of one horizontal line step
constexpr int kWheelLines = 3;  // rows of one wheel notch

DWORD Style(const ListView& lv) { return static_cast<DWORD>(GetWindowLongW(lv.window, GWL_STYLE)); }

RECT Client(const ListView& lv) {
  RECT r{};
  GetClientRect(lv.window, &r);
  return r;
}

int RowCount(const ListView& lv) { return static_cast<int>(lv.rows.size()); }

// Whole rows that fit under the header in a client area `height` pixels high.
int RowsFitting(const ListView& lv, int height) {
  return std::max(0, (height - HeaderHeight(lv)) / RowHeight(lv));
}

int LastTop(const ListView& lv, int perPage) { return std::max(0, RowCount(lv) - std::max(1, perPage)); }

// The bars the content needs and the client size they leave, decided from the client area
// the window would have with no bars at all.
struct Bars {
  bool vertical = false;
  bool horizontal = false;
  int width = 0;
  int height = 0;
};

Bars DecideBars(const ListView& lv, int total) {
  const RECT client = Client(lv);
  const DWORD style = Style(lv);
  Bars bars{false, false, static_cast<int>(client.right), static_cast<int>(client.bottom)};
  if (style & LVS_NOSCROLL) return bars;
  const int cx = lv.barSize.cx;
  const int cy = lv.barSize.cy;
  const int width = bars.width + ((style & WS_VSCROLL) ? cx : 0);
  const int height = bars.height + ((style & WS_HSCROLL) ? cy : 0);
  bars.vertical = RowCount(lv) > RowsFitting(lv, height);
  bars.horizontal = total > width - (bars.vertical ? cx : 0);
  if (bars.horizontal && !bars.vertical) bars.vertical = RowCount(lv) > RowsFitting(lv, height - cy);
  bars.width = std::max(0, width - (bars.vertical ? cx : 0));
  bars.height = std::max(0, height - (bars.horizontal ? cy : 0));
  return bars;
}

// Sets a bar unless it holds these values already. The bars are drawn again with the list,
// which every change of them redraws.
void SetBar(ListView& lv, int bar, int count, int page, int position) {
  const BarValues wanted{count, std::max(0, page), position};
  BarValues& held = lv.bars[bar];
  if (held.count == wanted.count && held.page == wanted.page && held.position == wanted.position) return;
  held = wanted;
  SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, 0, std::max(0, count - 1),
                  static_cast<UINT>(wanted.page), position, 0};
  SetScrollInfo(lv.window, bar, &info, FALSE);
}

void MirrorPosition(ListView& lv, int bar, int position) {
  if (Style(lv) & LVS_NOSCROLL) return;
  lv.bars[bar].position = position;
  SetScrollPos(lv.window, bar, position, FALSE);
}

// The position a thumb request carries: its 16 bits, widened to the bar's own track
// position when that agrees with them (ranges beyond 65535).
int ThumbPosition(const ListView& lv, int bar, UINT position16) {
  SCROLLINFO info{sizeof info, SIF_TRACKPOS, 0, 0, 0, 0, 0};
  if (GetScrollInfo(lv.window, bar, &info) && (static_cast<UINT>(info.nTrackPos) & 0xFFFFu) == position16)
    return info.nTrackPos;
  return static_cast<int>(position16);
}

}  // namespace

void UpdateScrollBars(ListView& lv) {
  if (lv.settingBars) return;  // the bars' own WM_SIZE while they change
  lv.settingBars = true;
  // Showing a bar resizes the client (and may make an owner measure its rows again), so the
  // decision is checked once more against the result.
  for (int pass = 0; pass < 3; ++pass) {
    const int total = TotalWidth(lv);
    const Bars bars = DecideBars(lv, total);
    const int perPage = RowsFitting(lv, bars.height);
    lv.top = std::clamp(lv.top, 0, LastTop(lv, perPage));
    lv.scrollX = std::clamp(lv.scrollX, 0, std::max(0, total - bars.width));
    if (!(Style(lv) & LVS_NOSCROLL)) {
      SetBar(lv, SB_VERT, RowCount(lv), perPage, lv.top);
      SetBar(lv, SB_HORZ, total, bars.width, lv.scrollX);
    }
    const RECT client = Client(lv);
    if (client.right == bars.width && client.bottom == bars.height) break;
  }
  lv.settingBars = false;
  LayoutHeader(lv);
}

void ContentChanged(ListView& lv) {
  UpdateScrollBars(lv);
  InvalidateRect(lv.window, nullptr, TRUE);
}

void ScrollTo(ListView& lv, int top) {
  top = std::clamp(top, 0, LastTop(lv, CountPerPage(lv)));
  if (top == lv.top) return;
  lv.top = top;
  MirrorPosition(lv, SB_VERT, top);
  InvalidateRect(lv.window, nullptr, TRUE);
}

void ScrollXTo(ListView& lv, int x) {
  x = std::clamp(x, 0, std::max(0, TotalWidth(lv) - static_cast<int>(Client(lv).right)));
  if (x == lv.scrollX) return;
  lv.scrollX = x;
  MirrorPosition(lv, SB_HORZ, x);
  LayoutHeader(lv);
  InvalidateRect(lv.window, nullptr, TRUE);
}

LRESULT EnsureVisible(ListView& lv, int index, bool partialOk) {
  if (index < 0 || !ValidRow(lv, static_cast<WPARAM>(index))) return FALSE;
  if (index < lv.top) {
    ScrollTo(lv, index);
    return TRUE;
  }
  const int bottom = Client(lv).bottom;
  const int rowTop = HeaderHeight(lv) + (index - lv.top) * RowHeight(lv);
  const bool whole = rowTop + RowHeight(lv) <= bottom;
  if (whole || (partialOk && rowTop < bottom)) return TRUE;
  ScrollTo(lv, index - std::max(1, CountPerPage(lv)) + 1);
  return TRUE;
}

LRESULT Scroll(ListView& lv, int dx, int dy) {
  ScrollXTo(lv, lv.scrollX + dx);
  // Rows move in whole steps; a move of less than a row still moves one.
  const int rowHeight = RowHeight(lv);
  int rows = dy / rowHeight;
  if (dy != 0 && rows == 0) rows = dy > 0 ? 1 : -1;
  ScrollTo(lv, lv.top + rows);
  return TRUE;
}

void OnVScroll(ListView& lv, int request, UINT position) {
  const int page = std::max(1, CountPerPage(lv));
  switch (request) {
    case SB_LINEUP: ScrollTo(lv, lv.top - 1); break;
    case SB_LINEDOWN: ScrollTo(lv, lv.top + 1); break;
    case SB_PAGEUP: ScrollTo(lv, lv.top - page); break;
    case SB_PAGEDOWN: ScrollTo(lv, lv.top + page); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: ScrollTo(lv, ThumbPosition(lv, SB_VERT, position)); break;
    case SB_TOP: ScrollTo(lv, 0); break;
    case SB_BOTTOM: ScrollTo(lv, RowCount(lv)); break;
    default: break;
  }
}

void OnHScroll(ListView& lv, int request, UINT position) {
  const int page = std::max(kLineWidth, static_cast<int>(Client(lv).right));
  switch (request) {
    case SB_LINELEFT: ScrollXTo(lv, lv.scrollX - kLineWidth); break;
    case SB_LINERIGHT: ScrollXTo(lv, lv.scrollX + kLineWidth); break;
    case SB_PAGELEFT: ScrollXTo(lv, lv.scrollX - page); break;
    case SB_PAGERIGHT: ScrollXTo(lv, lv.scrollX + page); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: ScrollXTo(lv, ThumbPosition(lv, SB_HORZ, position)); break;
    case SB_LEFT: ScrollXTo(lv, 0); break;
    case SB_RIGHT: ScrollXTo(lv, TotalWidth(lv)); break;
    default: break;
  }
}

void OnMouseWheel(ListView& lv, int delta) {
  // Turns of less than a notch add up until they make one.
  if ((delta > 0) != (lv.wheelRest > 0)) lv.wheelRest = 0;
  lv.wheelRest += delta;
  const int notches = lv.wheelRest / WHEEL_DELTA;
  lv.wheelRest -= notches * WHEEL_DELTA;
  const int lines = std::min(kWheelLines, std::max(1, CountPerPage(lv)));
  if (notches) ScrollTo(lv, lv.top - notches * lines);
}

}  // namespace zx::comctl::listview
