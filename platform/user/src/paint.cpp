// Update regions and WM_PAINT: InvalidateRect/Rgn, ValidateRect/Rgn, RedrawWindow,
// GetUpdateRect, UpdateWindow, BeginPaint and EndPaint. Each window's update region is kept
// in its client coordinates; a window with one is listed in its queue for WM_PAINT.
#include <mutex>
#include <unordered_map>
#include <vector>

#include "errhandlingapi.h"
#include "geometry.h"
#include "nonclient_paint.h"
#include "scroll.h"
#include "windowdc.h"
#include "wingdi.h"
#include "zx/windowstate.h"

namespace zx::user {
namespace {

struct Update {
  HRGN region = nullptr;
  bool erase = false;
};

struct Updates {
  std::mutex lock;
  std::unordered_map<HWND, Update> byWindow;
};

Updates& TheUpdates() {
  static Updates* updates = [] {
    auto* u = new Updates;
    AddDestroyObserver([u](HWND window) {
      std::lock_guard<std::mutex> guard(u->lock);
      const auto found = u->byWindow.find(window);
      if (found == u->byWindow.end()) return;
      DeleteObject(found->second.region);
      u->byWindow.erase(found);
    });
    return u;
  }();
  return *updates;
}

// Adds to (or with `validate` takes from) the window's update region, then lists or unlists
// the window for WM_PAINT.
void ChangeUpdate(HWND window, HRGN area, bool validate, bool erase) {
  Updates& updates = TheUpdates();
  bool pending = false;
  {
    std::lock_guard<std::mutex> guard(updates.lock);
    Update& u = updates.byWindow[window];
    if (!u.region) u.region = CreateRectRgn(0, 0, 0, 0);
    CombineRgn(u.region, u.region, area, validate ? RGN_DIFF : RGN_OR);
    RECT box{};
    pending = GetRgnBox(u.region, &box) != NULLREGION;
    if (pending) u.erase = u.erase || erase;
    else u.erase = false;
  }
  SetUpdatePending(window, pending);
}

// Removes the window's update region and erase flag, answering them (a null region when none).
Update TakeUpdate(HWND window) {
  Updates& updates = TheUpdates();
  std::lock_guard<std::mutex> guard(updates.lock);
  const auto found = updates.byWindow.find(window);
  if (found == updates.byWindow.end()) return Update{};
  const Update u = found->second;
  updates.byWindow.erase(found);
  return u;
}

struct Family {
  bool known = false;
  DWORD style = 0;
  RECT client{};
  POINT clientOrigin{};
  std::vector<HWND> children;
};

Family FamilyOf(HWND window) {
  std::lock_guard<std::mutex> guard(TableLock());
  const Window* w = FindLocked(window);
  if (!w) return Family{};
  return Family{true, w->style, ClientRectLocked(*w), ClientOriginLocked(*w), w->children};
}

POINT ClientOriginOf(HWND window) {
  std::lock_guard<std::mutex> guard(TableLock());
  const Window* w = FindLocked(window);
  return w ? ClientOriginLocked(*w) : POINT{};
}

bool ReachesChildren(UINT flags, DWORD style) {
  if (flags & RDW_ALLCHILDREN) return true;
  return !(flags & RDW_NOCHILDREN) && !(style & WS_CLIPCHILDREN);
}

// Invalidates or validates `area` (client coordinates; taken over) of the window and, as the
// flags and its style say, of its children.
void ChangeArea(HWND window, HRGN area, UINT flags) {
  const Family family = FamilyOf(window);
  if (family.known) {
    HRGN client = CreateRectRgnIndirect(&family.client);
    CombineRgn(area, area, client, RGN_AND);
    DeleteObject(client);
    if (flags & RDW_INVALIDATE) ChangeUpdate(window, area, false, flags & RDW_ERASE);
    else if (flags & RDW_VALIDATE) ChangeUpdate(window, area, true, false);
    if (flags & RDW_INTERNALPAINT) SetUpdatePending(window, true);
    if (ReachesChildren(flags, family.style)) {
      for (HWND child : family.children) {
        // A hidden child is not painted; it is invalidated whole when it is shown.
        if (!(GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE)) continue;
        const POINT o = ClientOriginOf(child);
        HRGN part = CreateRectRgn(0, 0, 0, 0);
        CombineRgn(part, area, nullptr, RGN_COPY);
        OffsetRgn(part, family.clientOrigin.x - o.x, family.clientOrigin.y - o.y);
        ChangeArea(child, part, flags);
      }
    }
  }
  DeleteObject(area);
}

// WM_ERASEBKGND now when the window's background is due, over a DC clipped to its update
// region; the erase stays due when the window did not erase.
void EraseNow(HWND window) {
  HRGN region = nullptr;
  {
    Updates& updates = TheUpdates();
    std::lock_guard<std::mutex> guard(updates.lock);
    const auto found = updates.byWindow.find(window);
    if (found == updates.byWindow.end() || !found->second.erase) return;
    found->second.erase = false;
    region = CreateRectRgn(0, 0, 0, 0);
    CombineRgn(region, found->second.region, nullptr, RGN_COPY);
  }
  HDC dc = OpenWindowDC(window, false, region);
  DeleteObject(region);
  if (!dc) return;
  const bool erased = SendMessageW(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) != 0;
  ReleaseDC(window, dc);
  if (erased) return;
  Updates& updates = TheUpdates();
  std::lock_guard<std::mutex> guard(updates.lock);
  const auto found = updates.byWindow.find(window);
  if (found != updates.byWindow.end()) found->second.erase = true;
}

// WM_ERASEBKGND and WM_PAINT now where due, for the window and, as the flags say, its children.
void UpdateNow(HWND window, UINT flags) {
  if (flags & (RDW_ERASENOW | RDW_UPDATENOW)) EraseNow(window);
  if ((flags & RDW_UPDATENOW) && IsUpdatePending(window)) SendMessageW(window, WM_PAINT, 0, 0);
  const Family family = FamilyOf(window);
  if (!ReachesChildren(flags, family.style)) return;
  for (HWND child : family.children) UpdateNow(child, flags);
}

bool Known(HWND window) {
  std::lock_guard<std::mutex> guard(TableLock());
  return FindLocked(window) != nullptr;
}

}  // namespace
}  // namespace zx::user

using namespace zx::user;

BOOL RedrawWindow(HWND window, const RECT* rect, HRGN region, UINT flags) {
  if (!Known(window)) return BadWindow();
  if (flags & (RDW_INVALIDATE | RDW_VALIDATE | RDW_INTERNALPAINT)) {
    HRGN area = nullptr;
    if (region) {
      area = CreateRectRgn(0, 0, 0, 0);
      if (CombineRgn(area, region, nullptr, RGN_COPY) == ERROR) {
        DeleteObject(area);
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
      }
    } else if (rect) {
      area = CreateRectRgnIndirect(rect);
    } else {
      area = CreateRectRgn(0, 0, 0x7FFFFFF, 0x7FFFFFF);
    }
    ChangeArea(window, area, flags);
  }
  UpdateNow(window, flags);
  return TRUE;
}

BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase) {
  return RedrawWindow(window, rect, nullptr, RDW_INVALIDATE | (erase ? RDW_ERASE : 0u));
}

BOOL InvalidateRgn(HWND window, HRGN region, BOOL erase) {
  return RedrawWindow(window, nullptr, region, RDW_INVALIDATE | (erase ? RDW_ERASE : 0u));
}

BOOL ValidateRect(HWND window, const RECT* rect) {
  return RedrawWindow(window, rect, nullptr, RDW_VALIDATE | RDW_NOCHILDREN);
}

BOOL ValidateRgn(HWND window, HRGN region) {
  return RedrawWindow(window, nullptr, region, RDW_VALIDATE | RDW_NOCHILDREN);
}

BOOL GetUpdateRect(HWND window, LPRECT rect, BOOL erase) {
  if (!Known(window)) return BadWindow();
  if (erase) EraseNow(window);
  RECT box{};
  {
    Updates& updates = TheUpdates();
    std::lock_guard<std::mutex> guard(updates.lock);
    const auto found = updates.byWindow.find(window);
    if (found != updates.byWindow.end() && GetRgnBox(found->second.region, &box) == NULLREGION)
      box = RECT{};
  }
  if (rect) *rect = box;
  return box.right > box.left && box.bottom > box.top;
}

BOOL UpdateWindow(HWND window) { return RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_NOCHILDREN); }

HDC BeginPaint(HWND window, LPPAINTSTRUCT paint) {
  if (!paint) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (!Known(window)) {
    BadWindow();
    return nullptr;
  }
  Update update = TakeUpdate(window);
  SetUpdatePending(window, false);
  PaintWindowFrame(window);
  PaintScrollBars(window);
  if (!update.region) update.region = CreateRectRgn(0, 0, 0, 0);
  HDC dc = OpenWindowDC(window, false, update.region);
  *paint = PAINTSTRUCT{};
  if (dc) {
    paint->hdc = dc;
    paint->fErase = update.erase &&
                    !SendMessageW(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    if (GetRgnBox(update.region, &paint->rcPaint) == NULLREGION) paint->rcPaint = RECT{};
  }
  DeleteObject(update.region);
  return dc;
}

BOOL EndPaint(HWND window, const PAINTSTRUCT* paint) {
  if (!paint) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  ReleaseDC(window, paint->hdc);
  return TRUE;
}
