// CWnd::CenterWindow: centring a window over its owner, its parent or the work area.
#include <algorithm>

#include "afxwin.h"

namespace {

// Where a window of this size starts when centred on [overLow, overHigh), moved back inside
// [low, high) (the leading edge wins when the window is larger than that).
LONG Centred(LONG size, LONG overLow, LONG overHigh, LONG low, LONG high) {
  const LONG start = overLow + (overHigh - overLow - size) / 2;
  return std::max(low, std::min(start, high - size));
}

}  // namespace

void CWnd::CenterWindow(CWnd* pAlternateOwner) {
  RECT window{};
  if (!::GetWindowRect(m_hWnd, &window)) return;
  const LONG width = window.right - window.left;
  const LONG height = window.bottom - window.top;
  RECT over{};   // the rectangle to centre on
  RECT bound{};  // the rectangle to stay within
  const DWORD style = GetStyle();
  if (style & WS_CHILD) {
    const HWND parent = ::GetParent(m_hWnd);
    if (!parent) return;
    ::GetClientRect(parent, &over);
    bound = over;
  } else {
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &bound, 0);
    over = bound;
    const HWND owner = pAlternateOwner ? pAlternateOwner->m_hWnd : ::GetWindow(m_hWnd, GW_OWNER);
    if (owner && ::IsWindowVisible(owner) && !::IsIconic(owner)) ::GetWindowRect(owner, &over);
  }
  ::SetWindowPos(m_hWnd, nullptr, Centred(width, over.left, over.right, bound.left, bound.right),
                 Centred(height, over.top, over.bottom, bound.top, bound.bottom), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
