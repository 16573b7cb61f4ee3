// Size limits of top-level windows: defaults from the work area and the system metrics, and
// the WM_GETMINMAXINFO round trip that lets a window change them.
#include "minmax.h"

#include <algorithm>

#include "geometry.h"
#include "winmetrics.h"

namespace zx::user {

bool HasSizeLimits(DWORD style, bool topLevel) {
  if (!topLevel || (style & WS_MINIMIZE)) return false;
  return (style & WS_THICKFRAME) || !(style & WS_POPUP);
}

MINMAXINFO AskSizeLimits(HWND window, DWORD style, DWORD exStyle) {
  // A maximised window fills the work area with its sizing frame just outside it.
  const RECT work = WorkArea();
  const LONG frame = NonClientInsets(style & ~WS_CAPTION, exStyle).left;
  MINMAXINFO limits{};
  limits.ptMaxSize = POINT{work.right - work.left + 2 * frame, work.bottom - work.top + 2 * frame};
  limits.ptMaxPosition = POINT{work.left - frame, work.top - frame};
  limits.ptMinTrackSize = POINT{GetSystemMetrics(SM_CXMIN), GetSystemMetrics(SM_CYMIN)};
  limits.ptMaxTrackSize = POINT{GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
  SendMessageW(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
  return limits;
}

void ClampToTrackSize(const MINMAXINFO& limits, int* width, int* height) {
  // The largest size wins where a window's answer makes the smallest larger than it.
  *width = std::min(std::max(*width, static_cast<int>(limits.ptMinTrackSize.x)),
                    static_cast<int>(limits.ptMaxTrackSize.x));
  *height = std::min(std::max(*height, static_cast<int>(limits.ptMinTrackSize.y)),
                     static_cast<int>(limits.ptMaxTrackSize.y));
}

}  // namespace zx::user
