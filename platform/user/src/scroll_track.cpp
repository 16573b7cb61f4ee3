// Pointer input on a window's scroll bars: which bar a point is on (WM_NCHITTEST), and a press
// on it: one line or page request for the arrows and the track, or a drag of the thumb with
// SB_THUMBTRACK at each new position and SB_THUMBPOSITION where it is let go, each press ended
// by SB_ENDSCROLL. A press is followed with the capture until the left button goes up.
#include <functional>

#include "input_model.h"
#include "scroll.h"

namespace zx::user {
namespace {

POINT InWindow(HWND window, POINT screen) {
  RECT r{};
  GetWindowRect(window, &r);
  return POINT{screen.x - r.left, screen.y - r.top};
}

void Request(HWND window, int bar, int request, int position = 0) {
  SendMessageW(window, bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL,
               MAKEWPARAM(static_cast<WORD>(request), static_cast<WORD>(position)), 0);
}

// Holds the capture until the left button goes up, handing each pointer move (window
// coordinates) to `moved`. WM_QUIT ends it and is posted again.
void FollowButton(HWND window, const std::function<void(POINT)>& moved) {
  if (!IsAsyncKeyDown(VK_LBUTTON)) return;
  SetCapture(window);
  MSG msg;
  while (GetCapture() == window) {
    if (!GetMessageW(&msg, nullptr, 0, 0)) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (msg.message == WM_LBUTTONUP || msg.message == WM_NCLBUTTONUP) break;
    if (msg.message == WM_MOUSEMOVE && msg.hwnd == window) {
      POINT at{};
      GetCursorPos(&at);
      moved(InWindow(window, at));
      continue;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (GetCapture() == window) ReleaseCapture();
}

void DragThumb(HWND window, int bar, const ScrollBarParts& parts, POINT grab) {
  ScrollBarState state;
  if (!IsAsyncKeyDown(VK_LBUTTON) || !ReadScrollBar(window, bar, state)) return;
  const bool vertical = bar == SB_VERT;
  const LONG trackStart = vertical ? parts.lineUp.bottom : parts.lineUp.right;
  const LONG grabOffset = vertical ? grab.y - parts.thumb.top : grab.x - parts.thumb.left;
  int position = state.info.nPos;
  SetScrollTracking(window, bar, true, position);
  FollowButton(window, [&](POINT at) {
    const LONG offset = (vertical ? at.y : at.x) - grabOffset - trackStart;
    const int now = ScrollPositionAt(parts, bar, state.info, offset);
    if (now == position) return;
    position = now;
    SetScrollTracking(window, bar, true, position);
    PaintScrollBars(window);
    Request(window, bar, SB_THUMBTRACK, position);
  });
  SetScrollTracking(window, bar, false, 0);
  if (!IsWindow(window)) return;
  Request(window, bar, SB_THUMBPOSITION, position);
  Request(window, bar, SB_ENDSCROLL);
  PaintScrollBars(window);
}

}  // namespace

LRESULT ScrollBarHitTest(HWND window, POINT screen) {
  const POINT at = InWindow(window, screen);
  ScrollBarParts parts;
  if (ScrollBarLayout(window, SB_VERT, parts) && PtInRect(&parts.whole, at)) return HTVSCROLL;
  if (ScrollBarLayout(window, SB_HORZ, parts) && PtInRect(&parts.whole, at)) return HTHSCROLL;
  return HTCLIENT;
}

void TrackScrollBar(HWND window, WPARAM hit, POINT screen) {
  const int bar = hit == HTVSCROLL ? SB_VERT : SB_HORZ;
  ScrollBarParts parts;
  ScrollBarState state;
  if ((hit != HTVSCROLL && hit != HTHSCROLL) || !IsWindowEnabled(window) ||
      !ScrollBarLayout(window, bar, parts) || !ReadScrollBar(window, bar, state))
    return;
  const POINT at = InWindow(window, screen);
  if (PtInRect(&parts.thumb, at)) {
    DragThumb(window, bar, parts, at);
    return;
  }
  int request = -1;
  if (PtInRect(&parts.lineUp, at) && !(state.disabledArrows & ESB_DISABLE_LTUP)) request = SB_LINEUP;
  else if (PtInRect(&parts.lineDown, at) && !(state.disabledArrows & ESB_DISABLE_RTDN)) request = SB_LINEDOWN;
  else if (PtInRect(&parts.pageUp, at)) request = SB_PAGEUP;
  else if (PtInRect(&parts.pageDown, at)) request = SB_PAGEDOWN;
  if (request < 0) return;
  Request(window, bar, request);
  FollowButton(window, [](POINT) {});
  if (IsWindow(window)) Request(window, bar, SB_ENDSCROLL);
}

}  // namespace zx::user
