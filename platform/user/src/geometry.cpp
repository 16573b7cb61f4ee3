// Window geometry: the non-client frame of each style (the sizes of a Windows 10 desktop at
// 96 dpi), screen and work area from the machine profile, rectangles, coordinate mapping and
// the system metrics.
#include "geometry.h"

#include <algorithm>
#include <charconv>
#include <string>

#include "animate.h"
#include "errhandlingapi.h"
#include "nonclient_metrics.h"
#include "queue.h"
#include "remote.h"
#include "zx/machine.h"

namespace zx::user {
namespace {

constexpr LONG kCaption = 23;
constexpr LONG kToolCaption = 16;
constexpr LONG kBorder = 1;
constexpr LONG kFixedFrame = 3;
constexpr LONG kSizingFrame = 4;
constexpr LONG kPaddedBorder = 4;
constexpr LONG kEdge = 2;
constexpr LONG kMenu = 20;
constexpr LONG kScrollBar = 17;
constexpr LONG kTaskbar = 40;

LONG ProfileNumber(const char* key, LONG fallback) {
  const std::string value = machine::ProfileValue("Display", key, "");
  LONG n = 0;
  const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), n);
  const bool whole = error == std::errc() && end == value.data() + value.size();
  return whole && n >= 320 && n <= 16384 ? n : fallback;
}

}  // namespace

Insets NonClientInsets(DWORD style, DWORD exStyle) {
  LONG frame = 0;
  if (style & WS_THICKFRAME)
    frame = kSizingFrame + kPaddedBorder;
  else if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME))
    frame = kFixedFrame;
  else if (style & WS_BORDER)
    frame = kBorder;
  if (exStyle & WS_EX_CLIENTEDGE) frame += kEdge;
  if (exStyle & WS_EX_STATICEDGE) frame += kBorder;
  LONG caption = 0;
  if ((style & WS_CAPTION) == WS_CAPTION) caption = (exStyle & WS_EX_TOOLWINDOW) ? kToolCaption : kCaption;
  return Insets{frame, frame + caption, frame, frame};
}

RECT ScreenRect() { return RECT{0, 0, ProfileNumber("Width", 1920), ProfileNumber("Height", 1080)}; }

RECT WorkArea() {
  RECT r = ScreenRect();
  r.bottom -= kTaskbar;
  return r;
}

POINT ClientOriginLocked(const Window& window) {
  const RECT r = WindowRectOnScreenLocked(window);
  const Insets insets = NonClientInsets(window.style, window.exStyle);
  return POINT{r.left + insets.left, r.top + insets.top};
}

RECT WindowRectOnScreenLocked(const Window& window) {
  RECT r = window.rect;
  if (const Window* parent = window.parent ? FindLocked(window.parent) : nullptr) {
    const POINT origin = ClientOriginLocked(*parent);
    r.left += origin.x;
    r.right += origin.x;
    r.top += origin.y;
    r.bottom += origin.y;
  }
  return r;
}

RECT ClientRectLocked(const Window& window) {
  if (window.style & WS_MINIMIZE) return RECT{0, 0, 0, 0};
  const Insets insets = NonClientInsets(window.style, window.exStyle);
  const LONG width = window.rect.right - window.rect.left - insets.left - insets.right -
                     ((window.style & WS_VSCROLL) ? kScrollBar : 0);
  const LONG height = window.rect.bottom - window.rect.top - insets.top - insets.bottom -
                      ((window.style & WS_HSCROLL) ? kScrollBar : 0);
  return RECT{0, 0, std::max<LONG>(width, 0), std::max<LONG>(height, 0)};
}

void SendSizeAndMove(HWND window, bool size, bool move) {
  RECT client{};
  POINT origin{};
  WPARAM type = SIZE_RESTORED;
  {
    std::lock_guard<std::mutex> guard(TableLock());
    const Window* w = FindLocked(window);
    if (!w) return;
    client = ClientRectLocked(*w);
    origin = ClientOriginLocked(*w);
    if (const Window* parent = w->parent ? FindLocked(w->parent) : nullptr) {
      const POINT parentOrigin = ClientOriginLocked(*parent);
      origin.x -= parentOrigin.x;
      origin.y -= parentOrigin.y;
    }
    if (w->style & WS_MINIMIZE) type = SIZE_MINIMIZED;
    if (w->style & WS_MAXIMIZE) type = SIZE_MAXIMIZED;
  }
  if (size) SendMessageW(window, WM_SIZE, type, MAKELONG(client.right, client.bottom));
  if (move) SendMessageW(window, WM_MOVE, 0, MAKELONG(origin.x, origin.y));
}

}  // namespace zx::user

using namespace zx::user;

BOOL GetWindowRect(HWND window, LPRECT rect) {
  if (!rect) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (window == GetDesktopWindow()) {
    *rect = ScreenRect();
    return TRUE;
  }
  {
    std::lock_guard<std::mutex> guard(TableLock());
    if (const Window* w = FindLocked(window)) {
      *rect = WindowRectOnScreenLocked(*w);
      return TRUE;
    }
  }
  return remote::QueryRect(window, rect);
}

BOOL GetClientRect(HWND window, LPRECT rect) {
  if (!rect) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (window == GetDesktopWindow()) {
    *rect = ScreenRect();
    return TRUE;
  }
  std::lock_guard<std::mutex> guard(TableLock());
  const Window* w = FindLocked(window);
  if (!w) return BadWindow();
  *rect = ClientRectLocked(*w);
  return TRUE;
}

namespace {

// The screen point of a window's client origin, for a window of this process or another's;
// (0, 0) for the desktop.
bool ClientOrigin(HWND window, POINT* origin) {
  *origin = POINT{0, 0};
  if (!window || window == GetDesktopWindow()) return true;
  if (remote::IsForeign(window)) return remote::QueryClientOrigin(window, origin);
  std::lock_guard<std::mutex> guard(TableLock());
  const Window* w = FindLocked(window);
  if (!w) return BadWindow();
  *origin = ClientOriginLocked(*w);
  return true;
}

}  // namespace

int MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count) {
  POINT fromOrigin{0, 0};
  POINT toOrigin{0, 0};
  if (!ClientOrigin(from, &fromOrigin) || !ClientOrigin(to, &toOrigin)) return 0;
  const LONG dx = fromOrigin.x - toOrigin.x;
  const LONG dy = fromOrigin.y - toOrigin.y;
  for (UINT i = 0; points && i < count; ++i) {
    points[i].x += dx;
    points[i].y += dy;
  }
  SetLastError(ERROR_SUCCESS);
  return MAKELONG(static_cast<WORD>(static_cast<SHORT>(dx)), static_cast<WORD>(static_cast<SHORT>(dy)));
}

BOOL ClientToScreen(HWND window, LPPOINT point) {
  if (!point) return FALSE;
  MapWindowPoints(window, nullptr, point, 1);
  return GetLastError() == ERROR_SUCCESS;
}

BOOL ScreenToClient(HWND window, LPPOINT point) {
  if (!point) return FALSE;
  MapWindowPoints(nullptr, window, point, 1);
  return GetLastError() == ERROR_SUCCESS;
}

BOOL AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL menu, DWORD exStyle) {
  if (!rect) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const Insets insets = NonClientInsets(style, exStyle);
  rect->left -= insets.left;
  rect->top -= insets.top + (menu ? kMenu : 0);
  rect->right += insets.right;
  rect->bottom += insets.bottom;
  return TRUE;
}

int GetSystemMetrics(int index) {
  const RECT screen = ScreenRect();
  const RECT work = WorkArea();
  switch (index) {
    case SM_CXSCREEN: case SM_CXVIRTUALSCREEN: case SM_CXFULLSCREEN: return screen.right;
    case SM_CYSCREEN: case SM_CYVIRTUALSCREEN: return screen.bottom;
    case SM_CYFULLSCREEN: return work.bottom - kCaption;
    case SM_CXVSCROLL: case SM_CYHSCROLL: return kScrollBar;
    case SM_CYCAPTION: return kCaption;
    case SM_CXBORDER: case SM_CYBORDER: return kBorder;
    case SM_CXDLGFRAME: case SM_CYDLGFRAME: return kFixedFrame;
    case SM_CXFRAME: case SM_CYFRAME: return kSizingFrame;
    case SM_CXPADDEDBORDER: return kPaddedBorder;
    case SM_CXEDGE: case SM_CYEDGE: return kEdge;
    case SM_CXICON: case SM_CYICON: case SM_CXCURSOR: case SM_CYCURSOR: return 32;
    case SM_CXSMICON: case SM_CYSMICON: return 16;
    case SM_CYMENU: return kMenu;
    case SM_CXMIN: return 136;
    case SM_CYMIN: return 39;
    case SM_CXMAXIMIZED: return work.right + 2 * (kSizingFrame + kPaddedBorder);
    case SM_CYMAXIMIZED: return work.bottom + 2 * (kSizingFrame + kPaddedBorder);
    case SM_CMONITORS: return 1;
    case SM_CXMAXTRACK: return screen.right + 2 * (kSizingFrame + kPaddedBorder);
    case SM_CYMAXTRACK: return screen.bottom + 2 * (kSizingFrame + kPaddedBorder);
    default: return 0;
  }
}

BOOL SystemParametersInfoW(UINT action, UINT uiParam, PVOID pvParam, UINT) {
  if (action == SPI_GETNONCLIENTMETRICS) return GetNonClientMetrics(uiParam, pvParam);
  if (action == SPI_GETWORKAREA && pvParam) {
    *static_cast<RECT*>(pvParam) = WorkArea();
    return TRUE;
  }
  if (action == SPI_GETANIMATION) return GetAnimationInfo(uiParam, pvParam);
  SetLastError(ERROR_INVALID_PARAMETER);
  return FALSE;
}
