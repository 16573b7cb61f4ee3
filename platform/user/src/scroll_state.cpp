// The two scroll bars of each window and the calls over them: SetScrollInfo, GetScrollInfo,
// the position and range calls, ShowScrollBar and EnableScrollBar. SB_CTL asks the control
// through its SBM_* messages.
#include <algorithm>
#include <climits>
#include <mutex>
#include <unordered_map>

#include "errhandlingapi.h"
#include "scroll.h"
#include "window.h"
#include "zx/windowstate.h"

namespace zx::user {
namespace {

struct Bars {
  ScrollBarState bar[2];
  bool set[2] = {false, false};  // given a range, page or position at least once
};

struct Table {
  std::mutex lock;
  std::unordered_map<HWND, Bars> byWindow;
};

Table& TheTable() {
  static Table* table = [] {
    auto* t = new Table;
    AddDestroyObserver([t](HWND window) {
      std::lock_guard<std::mutex> guard(t->lock);
      t->byWindow.erase(window);
    });
    return t;
  }();
  return *table;
}

DWORD StyleBit(int bar) { return bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL; }

bool StyleOf(HWND window, DWORD* style) {
  std::lock_guard<std::mutex> guard(TableLock());
  const Window* w = FindLocked(window);
  if (!w) return BadWindow();
  *style = w->style;
  return true;
}

bool ValidRecord(const SCROLLINFO* info) {
  return info && (info->cbSize == sizeof(SCROLLINFO) || info->cbSize == sizeof(SCROLLINFO) - sizeof(int));
}

bool IsWindowBar(int bar) { return bar == SB_HORZ || bar == SB_VERT; }

bool InvalidParameter() {
  SetLastError(ERROR_INVALID_PARAMETER);
  return false;
}

void Apply(SCROLLINFO& to, const SCROLLINFO& from) {
  if (from.fMask & SIF_RANGE) {
    to.nMin = from.nMin;
    to.nMax = std::max(from.nMin, from.nMax);
  }
  if (from.fMask & SIF_PAGE) to.nPage = from.nPage;
  const long long span = static_cast<long long>(to.nMax) - to.nMin + 1;
  to.nPage = static_cast<UINT>(std::min<long long>(to.nPage, span));
  if (from.fMask & SIF_POS) to.nPos = from.nPos;
  to.nPos = std::clamp(to.nPos, to.nMin, MaxScrollPosition(to));
}

// Adds or removes the style bits of bars and lets the frame follow (WM_SIZE, repaint).
void ShowBars(HWND window, DWORD bits, bool show) {
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
  const DWORD wanted = show ? style | bits : style & ~bits;
  if (wanted == style) return;
  SetWindowLongPtrW(window, GWL_STYLE, static_cast<LONG_PTR>(wanted));
  SetWindowPos(window, nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

int MaxScrollPosition(const SCROLLINFO& info) {
  const long long top = static_cast<long long>(info.nMax) - (info.nPage ? info.nPage - 1 : 0);
  return static_cast<int>(std::max<long long>(info.nMin, top));
}

bool CanScroll(const SCROLLINFO& info) {
  const long long span = static_cast<long long>(info.nMax) - info.nMin + 1;
  return info.nPage ? span > static_cast<long long>(info.nPage) : span > 1;
}

bool ReadScrollBar(HWND window, int bar, ScrollBarState& state) {
  DWORD style = 0;
  if (!IsWindowBar(bar) || !StyleOf(window, &style)) return false;
  Table& table = TheTable();
  std::lock_guard<std::mutex> guard(table.lock);
  const auto found = table.byWindow.find(window);
  state = found == table.byWindow.end() ? ScrollBarState{} : found->second.bar[bar];
  return true;
}

void SetScrollTracking(HWND window, int bar, bool tracking, int position) {
  if (!IsWindowBar(bar)) return;
  Table& table = TheTable();
  std::lock_guard<std::mutex> guard(table.lock);
  ScrollBarState& state = table.byWindow[window].bar[bar];
  state.tracking = tracking;
  state.info.nTrackPos = tracking ? position : state.info.nPos;
}

}  // namespace zx::user

using namespace zx::user;

int SetScrollInfo(HWND window, int bar, LPCSCROLLINFO info, BOOL redraw) {
  if (bar == SB_CTL)
    return static_cast<int>(SendMessageW(window, SBM_SETSCROLLINFO, static_cast<WPARAM>(redraw),
                                         reinterpret_cast<LPARAM>(info)));
  if (!IsWindowBar(bar) || !ValidRecord(info)) return InvalidParameter();
  DWORD style = 0;
  if (!StyleOf(window, &style)) return 0;
  int position = 0;
  int show = -1;  // -1: leave the bar as it is
  {
    Table& table = TheTable();
    std::lock_guard<std::mutex> guard(table.lock);
    Bars& bars = table.byWindow[window];
    ScrollBarState& state = bars.bar[bar];
    Apply(state.info, *info);
    bars.set[bar] = true;
    position = state.info.nPos;
    if (info->fMask & (SIF_RANGE | SIF_PAGE)) {
      const bool scrollable = CanScroll(state.info);
      if (info->fMask & SIF_DISABLENOSCROLL) {
        state.disabledArrows = scrollable ? ESB_ENABLE_BOTH : ESB_DISABLE_BOTH;
        show = 1;
      } else {
        show = scrollable ? 1 : 0;
      }
    }
  }
  const bool shown = (style & StyleBit(bar)) != 0;
  if (show >= 0 && (show == 1) != shown) ShowBars(window, StyleBit(bar), show == 1);
  else if (redraw && shown) PaintScrollBars(window);
  return position;
}

BOOL GetScrollInfo(HWND window, int bar, LPSCROLLINFO info) {
  if (bar == SB_CTL)
    return SendMessageW(window, SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(info)) ? TRUE : FALSE;
  if (!IsWindowBar(bar) || !ValidRecord(info)) return InvalidParameter();
  DWORD style = 0;
  if (!StyleOf(window, &style)) return FALSE;
  ScrollBarState state;
  {
    Table& table = TheTable();
    std::lock_guard<std::mutex> guard(table.lock);
    const auto found = table.byWindow.find(window);
    const bool set = found != table.byWindow.end() && found->second.set[bar];
    if (!set && !(style & StyleBit(bar))) {
      SetLastError(ERROR_NO_SCROLLBARS);
      return FALSE;
    }
    if (found != table.byWindow.end()) state = found->second.bar[bar];
  }
  if (info->fMask & SIF_RANGE) {
    info->nMin = state.info.nMin;
    info->nMax = state.info.nMax;
  }
  if (info->fMask & SIF_PAGE) info->nPage = state.info.nPage;
  if (info->fMask & SIF_POS) info->nPos = state.info.nPos;
  if ((info->fMask & SIF_TRACKPOS) && info->cbSize == sizeof(SCROLLINFO))
    info->nTrackPos = state.tracking ? state.info.nTrackPos : state.info.nPos;
  return TRUE;
}

int SetScrollPos(HWND window, int bar, int position, BOOL redraw) {
  if (bar == SB_CTL)
    return static_cast<int>(SendMessageW(window, SBM_SETPOS, static_cast<WPARAM>(position), redraw));
  const int previous = GetScrollPos(window, bar);
  SCROLLINFO info{sizeof info, SIF_POS, 0, 0, 0, position, 0};
  SetScrollInfo(window, bar, &info, redraw);
  return previous;
}

int GetScrollPos(HWND window, int bar) {
  if (bar == SB_CTL) return static_cast<int>(SendMessageW(window, SBM_GETPOS, 0, 0));
  SCROLLINFO info{sizeof info, SIF_POS, 0, 0, 0, 0, 0};
  return GetScrollInfo(window, bar, &info) ? info.nPos : 0;
}

BOOL SetScrollRange(HWND window, int bar, int minimum, int maximum, BOOL redraw) {
  if (static_cast<long long>(maximum) - minimum > INT_MAX) {
    SetLastError(ERROR_INVALID_SCROLLBAR_RANGE);
    return FALSE;
  }
  if (bar == SB_CTL) {
    SendMessageW(window, redraw ? SBM_SETRANGEREDRAW : SBM_SETRANGE, static_cast<WPARAM>(minimum), maximum);
    return TRUE;
  }
  if (!IsWindowBar(bar)) return InvalidParameter();
  SetLastError(ERROR_SUCCESS);
  SCROLLINFO info{sizeof info, SIF_RANGE, minimum, maximum, 0, 0, 0};
  SetScrollInfo(window, bar, &info, redraw);
  return GetLastError() == ERROR_SUCCESS;
}

BOOL GetScrollRange(HWND window, int bar, int* minimum, int* maximum) {
  if (!minimum || !maximum) return InvalidParameter();
  *minimum = *maximum = 0;
  if (bar == SB_CTL) {
    SendMessageW(window, SBM_GETRANGE, reinterpret_cast<WPARAM>(minimum), reinterpret_cast<LPARAM>(maximum));
    return TRUE;
  }
  SCROLLINFO info{sizeof info, SIF_RANGE, 0, 0, 0, 0, 0};
  if (!GetScrollInfo(window, bar, &info)) return FALSE;
  *minimum = info.nMin;
  *maximum = info.nMax;
  return TRUE;
}

BOOL ShowScrollBar(HWND window, int bar, BOOL show) {
  DWORD style = 0;
  if (!StyleOf(window, &style)) return FALSE;
  switch (bar) {
    case SB_CTL: ShowWindow(window, show ? SW_SHOW : SW_HIDE); return TRUE;
    case SB_HORZ: ShowBars(window, WS_HSCROLL, show); return TRUE;
    case SB_VERT: ShowBars(window, WS_VSCROLL, show); return TRUE;
    case SB_BOTH: ShowBars(window, WS_HSCROLL | WS_VSCROLL, show); return TRUE;
    default: return InvalidParameter();
  }
}

BOOL EnableScrollBar(HWND window, UINT bar, UINT arrows) {
  if (bar == SB_CTL) return SendMessageW(window, SBM_ENABLE_ARROWS, arrows, 0) ? TRUE : FALSE;
  if ((bar != SB_HORZ && bar != SB_VERT && bar != SB_BOTH) || arrows > ESB_DISABLE_BOTH) return InvalidParameter();
  DWORD style = 0;
  if (!StyleOf(window, &style)) return FALSE;
  bool changed = false;
  {
    Table& table = TheTable();
    std::lock_guard<std::mutex> guard(table.lock);
    Bars& bars = table.byWindow[window];
    for (int b = SB_HORZ; b <= SB_VERT; ++b) {
      if (bar != SB_BOTH && static_cast<int>(bar) != b) continue;
      changed = changed || bars.bar[b].disabledArrows != arrows;
      bars.bar[b].disabledArrows = arrows;
    }
  }
  if (changed) PaintScrollBars(window);
  return changed ? TRUE : FALSE;
}
