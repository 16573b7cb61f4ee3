// The retained 32-bit surface of each top-level window (made at first use, remade with the
// window's size keeping its pixels, freed with the window), the DCs drawing into it
// (GetDC, GetWindowDC, BeginPaint's) and the saving of a window as PNG.
#include "windowdc.h"

#include <algorithm>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "compositor.h"
#include "errhandlingapi.h"
#include "geometry.h"
#include "remote.h"
#include "screendc.h"
#include "x11_presenter.h"
#include "wingdi.h"
#include "zx/gdi.h"
#include "zx/windowpaint.h"
#include "zx/windowstate.h"

namespace zx::user {
namespace {

struct Surface {
  HBITMAP bitmap = nullptr;
  SIZE size{};
  std::uint64_t generation = 0;  // counts the DCs released over it
};

struct HandedOut {
  HWND window;
  HWND top;
};

struct Surfaces {
  std::mutex lock;
  std::unordered_map<HWND, Surface> byWindow;  // top-level windows
  std::unordered_map<HDC, HandedOut> dcs;      // DCs handed out, until released
};

Surfaces& TheSurfaces() {
  static Surfaces* surfaces = [] {
    auto* s = new Surfaces;
    AddDestroyObserver([s](HWND window) {
      std::lock_guard<std::mutex> guard(s->lock);
      const auto found = s->byWindow.find(window);
      if (found == s->byWindow.end()) return;
      DeleteObject(found->second.bitmap);
      s->byWindow.erase(found);
    });
    return s;
  }();
  return *surfaces;
}

// Where a window's DC draws in its top-level window's surface, in the DC's coordinates.
struct Placement {
  HWND top = nullptr;
  SIZE topSize{};
  POINT origin{};  // device (0, 0) in the surface
  RECT bounds{};
  std::vector<RECT> cutouts;
  // The window and its ancestors with the place of their window rectangles in the DC's
  // coordinates: their regions clip the DC.
  std::vector<std::pair<HWND, POINT>> shaped;
};

void Offset(RECT& r, LONG dx, LONG dy) {
  r.left += dx;
  r.right += dx;
  r.top += dy;
  r.bottom += dy;
}

void Intersect(RECT& r, const RECT& with) {
  r = RECT{std::max(r.left, with.left), std::max(r.top, with.top), std::min(r.right, with.right),
           std::min(r.bottom, with.bottom)};
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
}

bool PlaceLocked(HWND window, bool wholeWindow, Placement& out) {
  const Window* w = FindLocked(window);
  if (!w || w->messageOnly) return false;
  const Window* top = w;
  while (top->parent) {
    top = FindLocked(top->parent);
    if (!top) return false;
  }
  const RECT topRect = WindowRectOnScreenLocked(*top);
  POINT at{};
  if (wholeWindow) {
    const RECT r = WindowRectOnScreenLocked(*w);
    at = POINT{r.left, r.top};
    out.bounds = RECT{0, 0, r.right - r.left, r.bottom - r.top};
  } else {
    at = ClientOriginLocked(*w);
    out.bounds = ClientRectLocked(*w);
  }
  const auto placeOf = [&at](const Window& of) {
    const RECT r = WindowRectOnScreenLocked(of);
    return POINT{r.left - at.x, r.top - at.y};
  };
  out.shaped.emplace_back(w->handle, placeOf(*w));
  // A child that is hidden, or lies in a hidden child, has nothing on the screen to draw on
  // (a hidden top-level window keeps its surface, which is drawn and shown later).
  if (w->parent && !(w->style & WS_VISIBLE)) out.bounds = RECT{};
  for (const Window* a = w->parent ? FindLocked(w->parent) : nullptr; a;
       a = a->parent ? FindLocked(a->parent) : nullptr) {
    if (a->parent && !(a->style & WS_VISIBLE)) out.bounds = RECT{};
    out.shaped.emplace_back(a->handle, placeOf(*a));
    RECT client = ClientRectLocked(*a);
    const POINT o = ClientOriginLocked(*a);
    Offset(client, o.x - at.x, o.y - at.y);
    Intersect(out.bounds, client);
  }
  out.top = top->handle;
  out.topSize = SIZE{std::max<LONG>(topRect.right - topRect.left, 1),
                     std::max<LONG>(topRect.bottom - topRect.top, 1)};
  out.origin = POINT{at.x - topRect.left, at.y - topRect.top};
  RECT surface{0, 0, out.topSize.cx, out.topSize.cy};
  Offset(surface, -out.origin.x, -out.origin.y);
  Intersect(out.bounds, surface);
  if (w->style & WS_CLIPCHILDREN) {
    const POINT o = ClientOriginLocked(*w);
    for (HWND child : w->children) {
      const Window* c = FindLocked(child);
      if (!c || !(c->style & WS_VISIBLE)) continue;
      RECT r = c->rect;
      Offset(r, o.x - at.x, o.y - at.y);
      out.cutouts.push_back(r);
    }
  }
  return true;
}

// The top-level window's surface at its present size, made or remade as needed. Lock held.
HBITMAP SurfaceLocked(Surfaces& surfaces, HWND top, SIZE size) {
  Surface& s = surfaces.byWindow[top];
  if (s.bitmap && s.size.cx == size.cx && s.size.cy == size.cy) return s.bitmap;
  HBITMAP fresh = gdi::CreateSurfaceBitmap(size.cx, size.cy);
  if (!fresh) return nullptr;
  if (s.bitmap) {
    HDC from = gdi::CreateSurfaceDC(s.bitmap);
    HDC to = gdi::CreateSurfaceDC(fresh);
    BitBlt(to, 0, 0, std::min(size.cx, s.size.cx), std::min(size.cy, s.size.cy), from, 0, 0, SRCCOPY);
    DeleteDC(to);
    DeleteDC(from);
    DeleteObject(s.bitmap);
  }
  s = Surface{fresh, size};
  return fresh;
}

}  // namespace

HDC OpenWindowDC(HWND window, bool wholeWindow, HRGN clip) {
  Placement place;
  {
    std::lock_guard<std::mutex> guard(TableLock());
    if (!PlaceLocked(window, wholeWindow, place)) {
      BadWindow();
      return nullptr;
    }
  }
  HRGN visible = CreateRectRgnIndirect(&place.bounds);
  for (const RECT& cut : place.cutouts) {
    HRGN piece = CreateRectRgnIndirect(&cut);
    CombineRgn(visible, visible, piece, RGN_DIFF);
    DeleteObject(piece);
  }
  for (const auto& [shaped, place] : place.shaped) {
    if (HRGN region = CopyWindowRegion(shaped, place.x, place.y)) {
      CombineRgn(visible, visible, region, RGN_AND);
      DeleteObject(region);
    }
  }
  if (clip) CombineRgn(visible, visible, clip, RGN_AND);
  Surfaces& surfaces = TheSurfaces();
  std::lock_guard<std::mutex> guard(surfaces.lock);
  HDC dc = nullptr;
  if (HBITMAP surface = SurfaceLocked(surfaces, place.top, place.topSize)) dc = gdi::CreateSurfaceDC(surface);
  if (dc) {
    gdi::SetSurfaceDCArea(dc, place.origin, visible);
    surfaces.dcs[dc] = HandedOut{window, place.top};
  }
  DeleteObject(visible);
  return dc;
}

bool CopySurface(HWND top, std::vector<DWORD>& pixels, SIZE& size, std::uint64_t* generation) {
  Surfaces& surfaces = TheSurfaces();
  std::lock_guard<std::mutex> guard(surfaces.lock);
  const auto found = surfaces.byWindow.find(top);
  if (found == surfaces.byWindow.end()) return false;
  if (generation) *generation = found->second.generation;
  return gdi::CopyBitmapPixels(found->second.bitmap, pixels, size);
}

bool WindowPngBytes(HWND window, bool redrawn, std::string* bytes) {
  if (redrawn) RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  RECT r{};
  if (!GetWindowRect(window, &r)) return false;
  HDC source = GetWindowDC(window);
  if (!source) return false;
  const int width = std::max<int>(r.right - r.left, 1);
  const int height = std::max<int>(r.bottom - r.top, 1);
  HBITMAP copy = gdi::CreateSurfaceBitmap(width, height);
  HDC target = copy ? gdi::CreateSurfaceDC(copy) : nullptr;
  bool taken = false;
  if (target) {
    taken = BitBlt(target, 0, 0, width, height, source, 0, 0, SRCCOPY) && gdi::EncodeBitmapPng(copy, bytes);
    DeleteDC(target);
  }
  if (copy) DeleteObject(copy);
  ReleaseDC(window, source);
  return taken;
}

namespace {

bool SavePicture(HWND window, bool redrawn, const std::string& hostPath) {
  std::string bytes;
  const bool taken = remote::IsForeign(window) ? remote::Picture(window, redrawn, &bytes)
                                               : WindowPngBytes(window, redrawn, &bytes);
  return taken && gdi::SavePngBytes(hostPath, bytes);
}

}  // namespace

bool SaveWindowPng(HWND window, const std::string& hostPath) { return SavePicture(window, false, hostPath); }

bool SaveRedrawnWindowPng(HWND window, const std::string& hostPath) { return SavePicture(window, true, hostPath); }

}  // namespace zx::user

using namespace zx::user;

HDC GetDC(HWND window) { return !window || window == GetDesktopWindow() ? OpenScreenDC() : OpenWindowDC(window, false, nullptr); }

HDC GetWindowDC(HWND window) { return !window || window == GetDesktopWindow() ? OpenScreenDC() : OpenWindowDC(window, true, nullptr); }

int ReleaseDC(HWND, HDC dc) {
  if (ReleaseScreenDC(dc)) return 1;
  HWND top = nullptr;
  {
    Surfaces& surfaces = TheSurfaces();
    std::lock_guard<std::mutex> guard(surfaces.lock);
    const auto found = surfaces.dcs.find(dc);
    if (found == surfaces.dcs.end()) return 0;
    top = found->second.top;
    surfaces.dcs.erase(found);
    DeleteDC(dc);
    if (const auto s = surfaces.byWindow.find(top); s != surfaces.byWindow.end()) ++s->second.generation;
  }
  NoteSurfaceChanged(top);
  return 1;
}

HWND WindowFromDC(HDC dc) {
  Surfaces& surfaces = TheSurfaces();
  std::lock_guard<std::mutex> guard(surfaces.lock);
  const auto found = surfaces.dcs.find(dc);
  return found == surfaces.dcs.end() ? nullptr : found->second.window;
}
