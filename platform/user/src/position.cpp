// Position, size, z-order and visibility: SetWindowPos and what is built on it (MoveWindow,
// ShowWindow with minimise, maximise and restore, BringWindowToTop), on the window's own thread.
#include <algorithm>

#include "errhandlingapi.h"
#include "geometry.h"
#include "minmax.h"
#include "queue.h"
#include "remote.h"
#include "x11_presenter.h"

namespace zx::user {
namespace {

constexpr LONG kIconicPosition = -32000;
constexpr LONG kIconicWidth = 160;
constexpr LONG kIconicHeight = 28;

// Moves a window within its siblings' z-order. TableLock() held.
void Reorder(Window& w, HWND after) {
  auto& siblings = SiblingsLocked(w);
  if (after == HWND_TOPMOST) w.exStyle |= WS_EX_TOPMOST;
  if (after == HWND_NOTOPMOST) w.exStyle &= ~WS_EX_TOPMOST;
  if (after == HWND_NOTOPMOST) return;
  std::erase(siblings, w.handle);
  if (after == HWND_TOP || after == HWND_TOPMOST) {
    siblings.insert(siblings.begin(), w.handle);
    return;
  }
  const auto it = std::find(siblings.begin(), siblings.end(), after);
  siblings.insert(it == siblings.end() ? siblings.end() : it + 1, w.handle);
}

bool IsTopLevelLocked(const Window& w) { return !w.parent && !w.messageOnly; }

// SetWindowPos on the window's thread.
BOOL Position(HWND window, HWND after, int x, int y, int width, int height, UINT flags) {
  WINDOWPOS pos{window, after, x, y, width, height, flags};
  bool limited = false;
  DWORD style = 0;
  DWORD exStyle = 0;
  {
    std::lock_guard<std::mutex> guard(TableLock());
    const Window* w = FindLocked(window);
    if (!w) return BadWindow();
    limited = !(flags & SWP_NOSIZE) && HasSizeLimits(w->style, IsTopLevelLocked(*w));
    style = w->style;
    exStyle = w->exStyle;
    if (flags & SWP_NOMOVE) {
      pos.x = w->rect.left;
      pos.y = w->rect.top;
    }
    if (flags & SWP_NOSIZE) {
      pos.cx = w->rect.right - w->rect.left;
      pos.cy = w->rect.bottom - w->rect.top;
    }
  }
  if (limited) ClampToTrackSize(AskSizeLimits(window, style, exStyle), &pos.cx, &pos.cy);
  if (!(flags & SWP_NOSENDCHANGING))
    SendMessageW(window, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
  bool activate = false;
  bool shown = false;
  bool uncovered = false;
  bool topLevel = false;
  HWND parent = nullptr;
  RECT oldRect{};
  {
    std::lock_guard<std::mutex> guard(TableLock());
    Window* w = FindLocked(window);
    if (!w) return BadWindow();
    const bool wasVisible = (w->style & WS_VISIBLE) != 0;
    oldRect = w->rect;
    const RECT oldClient = ClientRectLocked(*w);
    const POINT oldOrigin = ClientOriginLocked(*w);
    RECT& r = w->rect;
    if (!(pos.flags & SWP_NOMOVE)) r = RECT{pos.x, pos.y, pos.x + r.right - r.left, pos.y + r.bottom - r.top};
    if (!(pos.flags & SWP_NOSIZE)) r = RECT{r.left, r.top, r.left + std::max(pos.cx, 0), r.top + std::max(pos.cy, 0)};
    if (!(pos.flags & SWP_NOZORDER)) Reorder(*w, pos.hwndInsertAfter);
    if (pos.flags & SWP_SHOWWINDOW) w->style |= WS_VISIBLE;
    if (pos.flags & SWP_HIDEWINDOW) w->style &= ~WS_VISIBLE;
    const RECT newClient = ClientRectLocked(*w);
    const POINT newOrigin = ClientOriginLocked(*w);
    // A changed frame (minimise, maximise, restore) always reports the client area again.
    const bool frameChanged = pos.flags & SWP_FRAMECHANGED;
    if (!frameChanged && newClient.right == oldClient.right && newClient.bottom == oldClient.bottom)
      pos.flags |= SWP_NOCLIENTSIZE;
    if (!frameChanged && newOrigin.x == oldOrigin.x && newOrigin.y == oldOrigin.y)
      pos.flags |= SWP_NOCLIENTMOVE;
    activate = !(pos.flags & SWP_NOACTIVATE) && IsTopLevelLocked(*w) && (w->style & WS_VISIBLE) &&
               !(pos.flags & SWP_HIDEWINDOW);
    const bool visible = (w->style & WS_VISIBLE) != 0;
    shown = visible && (!wasVisible || !(pos.flags & SWP_NOCLIENTSIZE));
    uncovered = wasVisible && w->parent && (!visible || oldRect.left != r.left || oldRect.top != r.top ||
                                            oldRect.right != r.right || oldRect.bottom != r.bottom);
    parent = w->parent;
    topLevel = IsTopLevelLocked(*w);
  }
  // A window shown or resized is drawn again; a child hidden or moved uncovers its parent.
  if (uncovered) InvalidateRect(parent, &oldRect, TRUE);
  if (shown && IsWindowVisible(window)) RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
  if (topLevel) PresenterNoteWindows();
  SendMessageW(window, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
  if (activate) SetActiveWindow(window);
  return TRUE;
}

// The rectangle a window takes when minimised or maximised. TableLock() held.
RECT StateRect(const Window& w, bool minimise) {
  if (minimise) {
    if (IsTopLevelLocked(w))
      return RECT{kIconicPosition, kIconicPosition, kIconicPosition + kIconicWidth,
                  kIconicPosition + kIconicHeight};
    const Window* parent = FindLocked(w.parent);
    const RECT area = parent ? ClientRectLocked(*parent) : WorkArea();
    return RECT{0, area.bottom - kIconicHeight, kIconicWidth, area.bottom};
  }
  const Window* parent = w.parent ? FindLocked(w.parent) : nullptr;
  RECT area = parent ? ClientRectLocked(*parent) : WorkArea();
  const LONG frame = NonClientInsets(w.style & ~WS_CAPTION, w.exStyle).left;
  return RECT{area.left - frame, area.top - frame, area.right + frame, area.bottom + frame};
}

// Minimises (minimise true), maximises or restores (both false), then moves the window.
void ChangeState(HWND window, bool minimise, bool maximise) {
  RECT target{};
  bool limited = false;
  DWORD style = 0;
  DWORD exStyle = 0;
  {
    std::lock_guard<std::mutex> guard(TableLock());
    Window* w = FindLocked(window);
    if (!w) return;
    const DWORD state = w->style & (WS_MINIMIZE | WS_MAXIMIZE);
    const DWORD wanted = minimise ? WS_MINIMIZE : maximise ? WS_MAXIMIZE : 0;
    if (state == wanted) return;
    if (state == 0) w->normalRect = w->rect;
    w->style = (w->style & ~(WS_MINIMIZE | WS_MAXIMIZE)) | wanted;
    target = wanted ? StateRect(*w, minimise) : w->normalRect;
    limited = maximise && HasSizeLimits(w->style, IsTopLevelLocked(*w));
    style = w->style;
    exStyle = w->exStyle;
  }
  if (limited) {
    // A top-level window may choose where and how large it is when maximised.
    const MINMAXINFO limits = AskSizeLimits(window, style, exStyle);
    target = RECT{limits.ptMaxPosition.x, limits.ptMaxPosition.y,
                  limits.ptMaxPosition.x + limits.ptMaxSize.x, limits.ptMaxPosition.y + limits.ptMaxSize.y};
  }
  Position(window, nullptr, target.left, target.top, target.right - target.left,
           target.bottom - target.top, SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

BOOL Show(HWND window, int command) {
  DWORD style;
  bool topLevel;
  {
    std::lock_guard<std::mutex> guard(TableLock());
    const Window* w = FindLocked(window);
    if (!w) return BadWindow();
    style = w->style;
    topLevel = IsTopLevelLocked(*w);
  }
  const bool wasVisible = style & WS_VISIBLE;
  if (command == SW_HIDE) {
    if (!wasVisible) return FALSE;
    SendMessageW(window, WM_SHOWWINDOW, FALSE, 0);
    Position(window, nullptr, 0, 0, 0, 0,
             SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (GetActiveWindow() == window) SetActiveWindow(GetWindow(window, GW_OWNER));
    const HWND focus = GetFocus();
    if (focus && (focus == window || IsChild(window, focus))) SetFocus(nullptr);
    return TRUE;
  }
  bool activate = true;
  switch (command) {
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
    case SW_FORCEMINIMIZE:
      activate = false;
      [[fallthrough]];
    case SW_SHOWMINIMIZED:
      ChangeState(window, true, false);
      break;
    case SW_SHOWMAXIMIZED:
      ChangeState(window, false, true);
      break;
    case SW_SHOWNOACTIVATE:
      activate = false;
      [[fallthrough]];
    case SW_SHOWNORMAL:
    case SW_RESTORE:
    case SW_SHOWDEFAULT:
      ChangeState(window, false, false);
      break;
    case SW_SHOWNA:
      activate = false;
      break;
    case SW_SHOW:
      break;
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
  }
  activate = activate && topLevel;
  if (!wasVisible) {
    SendMessageW(window, WM_SHOWWINDOW, TRUE, 0);
    Position(window, nullptr, 0, 0, 0, 0,
             SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER |
                 (activate ? 0u : SWP_NOACTIVATE));
  } else if (activate) {
    SetActiveWindow(window);
  }
  return wasVisible;
}

bool HasStyle(HWND window, DWORD bit, remote::Query query) {
  {
    std::lock_guard<std::mutex> guard(TableLock());
    if (const Window* w = FindLocked(window)) return (w->style & bit) != 0;
  }
  std::int64_t value = 0;
  return remote::QueryValue(window, query, &value) && value != 0;
}

}  // namespace
}  // namespace zx::user

using namespace zx::user;

BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags) {
  if (remote::IsForeign(window)) {
    // Another process's window can be shown and brought to the top, as a second start does.
    std::int64_t value = 0;
    if ((flags & SWP_SHOWWINDOW) && !remote::Act(window, remote::Action::kShow, SW_SHOWNA, &value))
      return FALSE;
    if (!(flags & SWP_NOZORDER) && !remote::Act(window, remote::Action::kBringToTop, 0, &value))
      return FALSE;
    return TRUE;
  }
  return static_cast<BOOL>(RunOnOwner(window, [=] {
           return static_cast<LRESULT>(Position(window, insertAfter, x, y, width, height, flags));
         })) || BadWindow();
}

BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint) {
  return SetWindowPos(window, nullptr, x, y, width, height,
                      SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0u : SWP_NOREDRAW));
}

BOOL ShowWindow(HWND window, int command) {
  if (remote::IsForeign(window)) {
    std::int64_t value = 0;
    return remote::Act(window, remote::Action::kShow, static_cast<std::uint64_t>(command), &value) &&
           value != 0;
  }
  if (!Find(window)) return BadWindow();
  return static_cast<BOOL>(RunOnOwner(window, [=] { return static_cast<LRESULT>(Show(window, command)); }));
}

BOOL BringWindowToTop(HWND window) {
  if (remote::IsForeign(window)) {
    std::int64_t value = 0;
    return remote::Act(window, remote::Action::kBringToTop, 0, &value) && value != 0;
  }
  return SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

BOOL IsWindowVisible(HWND window) {
  {
    std::lock_guard<std::mutex> guard(TableLock());
    if (const Window* w = FindLocked(window)) {
      for (; w; w = w->parent ? FindLocked(w->parent) : nullptr)
        if (!(w->style & WS_VISIBLE)) return FALSE;
      return TRUE;
    }
  }
  return HasStyle(window, WS_VISIBLE, remote::Query::kVisible);
}

BOOL IsIconic(HWND window) { return HasStyle(window, WS_MINIMIZE, remote::Query::kIconic); }

BOOL IsZoomed(HWND window) { return HasStyle(window, WS_MAXIMIZE, remote::Query::kZoomed); }
