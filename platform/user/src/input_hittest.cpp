// Hit-testing points against windows: WindowFromPoint and ChildWindowFromPoint(Ex), with
// window regions cutting windows to their shape.
#include <vector>

#include "compositor.h"
#include "errhandlingapi.h"
#include "geometry.h"
#include "input_model.h"

namespace zx::user {
namespace {

struct Candidate {
  HWND handle;
  RECT screen;  // window rectangle on the screen
  DWORD style;
  DWORD exStyle;
};

bool Contains(const RECT& r, POINT p) {
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

// The windows a point can fall on, in z-order, top first: the children of `parent`, or the
// top-level windows for null.
std::vector<Candidate> CandidatesOf(HWND parent, bool* known) {
  std::vector<Candidate> out;
  std::lock_guard<std::mutex> guard(TableLock());
  const Window* p = parent ? FindLocked(parent) : nullptr;
  *known = !parent || p;
  const std::vector<HWND>& list = p ? p->children : TopLevelLocked();
  for (HWND h : list)
    if (const Window* w = FindLocked(h)) out.push_back(Candidate{h, WindowRectOnScreenLocked(*w), w->style, w->exStyle});
  return out;
}

bool Hits(const Candidate& c, POINT screen) {
  return Contains(c.screen, screen) &&
         InWindowRegion(c.handle, POINT{screen.x - c.screen.left, screen.y - c.screen.top});
}

bool ClickThrough(const Candidate& c) {
  return (c.exStyle & (WS_EX_LAYERED | WS_EX_TRANSPARENT)) == (WS_EX_LAYERED | WS_EX_TRANSPARENT);
}

// The first candidate under the point that the flags accept, or null.
HWND FirstHit(HWND parent, POINT screen, UINT flags) {
  bool known = false;
  for (const Candidate& c : CandidatesOf(parent, &known)) {
    if ((flags & CWP_SKIPINVISIBLE) && !(c.style & WS_VISIBLE)) continue;
    if ((flags & CWP_SKIPDISABLED) && (c.style & WS_DISABLED)) continue;
    if ((flags & CWP_SKIPTRANSPARENT) && (c.exStyle & WS_EX_TRANSPARENT)) continue;
    if (!parent && ClickThrough(c)) continue;
    if (Hits(c, screen)) return c.handle;
  }
  return nullptr;
}

bool ParentHits(HWND parent, POINT screen, bool* known) {
  std::lock_guard<std::mutex> guard(TableLock());
  const Window* p = FindLocked(parent);
  *known = p != nullptr;
  if (!p) return false;
  const POINT o = ClientOriginLocked(*p);
  RECT client = ClientRectLocked(*p);
  OffsetRect(&client, o.x, o.y);
  return Contains(client, screen);
}

POINT ClientToScreenPoint(HWND parent, POINT p) {
  ClientToScreen(parent, &p);
  return p;
}

}  // namespace

HWND HitWindow(POINT screen) {
  HWND hit = FirstHit(nullptr, screen, CWP_SKIPINVISIBLE);
  if (!hit) return nullptr;
  // Down through the children: a disabled child leaves the point to its parent.
  for (;;) {
    const HWND child = FirstHit(hit, screen, CWP_SKIPINVISIBLE);
    if (!child || !IsWindowEnabled(child)) return hit;
    hit = child;
  }
}

}  // namespace zx::user

using namespace zx::user;

HWND WindowFromPoint(POINT point) { return HitWindow(point); }

HWND ChildWindowFromPointEx(HWND parent, POINT point, UINT flags) {
  bool known = false;
  const POINT screen = ClientToScreenPoint(parent, point);
  if (!ParentHits(parent, screen, &known)) {
    if (!known) BadWindow();
    return nullptr;
  }
  const HWND child = FirstHit(parent, screen, flags);
  return child ? child : parent;
}

HWND ChildWindowFromPoint(HWND parent, POINT point) {
  return ChildWindowFromPointEx(parent, point, CWP_ALL);
}

HWND RealChildWindowFromPoint(HWND parent, POINT point) {
  return ChildWindowFromPointEx(parent, point, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
}
