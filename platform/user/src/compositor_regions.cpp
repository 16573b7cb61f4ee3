// Window regions and layered windows' attributes: SetWindowRgn/GetWindowRgn and
// SetLayeredWindowAttributes/GetLayeredWindowAttributes, forgotten with their window.
#include <mutex>
#include <unordered_map>

#include "compositor.h"
#include "errhandlingapi.h"
#include "window.h"
#include "wingdi.h"
#include "zx/windowstate.h"

namespace zx::user {
namespace {

struct Kept {
  std::mutex lock;
  std::unordered_map<HWND, HRGN> regions;
  std::unordered_map<HWND, Layering> layering;
};

Kept& TheKept() {
  static Kept* kept = [] {
    auto* k = new Kept;
    AddDestroyObserver([k](HWND window) {
      std::lock_guard<std::mutex> guard(k->lock);
      if (const auto found = k->regions.find(window); found != k->regions.end()) {
        DeleteObject(found->second);
        k->regions.erase(found);
      }
      k->layering.erase(window);
    });
    return k;
  }();
  return *kept;
}

DWORD ExStyleOf(HWND window, bool* known) {
  std::lock_guard<std::mutex> guard(TableLock());
  const Window* w = FindLocked(window);
  *known = w != nullptr;
  return w ? w->exStyle : 0;
}

// The whole window (and its frame) is drawn again and the screen behind it changes.
void Repaint(HWND window) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

}  // namespace

HRGN CopyWindowRegion(HWND window, int dx, int dy) {
  Kept& k = TheKept();
  std::lock_guard<std::mutex> guard(k.lock);
  const auto found = k.regions.find(window);
  if (found == k.regions.end()) return nullptr;
  HRGN copy = CreateRectRgn(0, 0, 0, 0);
  CombineRgn(copy, found->second, nullptr, RGN_COPY);
  OffsetRgn(copy, dx, dy);
  return copy;
}

bool InWindowRegion(HWND window, POINT windowPoint) {
  Kept& k = TheKept();
  std::lock_guard<std::mutex> guard(k.lock);
  const auto found = k.regions.find(window);
  return found == k.regions.end() || PtInRegion(found->second, windowPoint.x, windowPoint.y);
}

Layering LayeringOf(HWND window) {
  bool known = false;
  if (!(ExStyleOf(window, &known) & WS_EX_LAYERED)) return Layering{};
  Kept& k = TheKept();
  std::lock_guard<std::mutex> guard(k.lock);
  const auto found = k.layering.find(window);
  return found == k.layering.end() ? Layering{} : found->second;
}

}  // namespace zx::user

using namespace zx::user;

int SetWindowRgn(HWND window, HRGN region, BOOL redraw) {
  bool known = false;
  ExStyleOf(window, &known);
  if (!known) return BadWindow();
  RECT box{};
  if (region && GetRgnBox(region, &box) == ERROR) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  {
    Kept& k = TheKept();
    std::lock_guard<std::mutex> guard(k.lock);
    HRGN& slot = k.regions[window];
    if (slot && slot != region) DeleteObject(slot);
    slot = region;
    if (!region) k.regions.erase(window);
  }
  if (redraw) Repaint(window);
  return 1;
}

int GetWindowRgn(HWND window, HRGN region) {
  bool known = false;
  ExStyleOf(window, &known);
  if (!known || !region) {
    if (!known) BadWindow();
    return ERROR;
  }
  HRGN copy = CopyWindowRegion(window, 0, 0);
  if (!copy) return ERROR;
  const int type = CombineRgn(region, copy, nullptr, RGN_COPY);
  DeleteObject(copy);
  return type;
}

int GetWindowRgnBox(HWND window, LPRECT rect) {
  HRGN copy = CopyWindowRegion(window, 0, 0);
  if (!copy || !rect) {
    if (copy) DeleteObject(copy);
    return ERROR;
  }
  const int type = GetRgnBox(copy, rect);
  DeleteObject(copy);
  return type;
}

BOOL SetLayeredWindowAttributes(HWND window, COLORREF key, BYTE alpha, DWORD flags) {
  bool known = false;
  const DWORD exStyle = ExStyleOf(window, &known);
  if (!known) return BadWindow();
  if (!(exStyle & WS_EX_LAYERED) || (flags & ~(LWA_ALPHA | LWA_COLORKEY))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  {
    Kept& k = TheKept();
    std::lock_guard<std::mutex> guard(k.lock);
    k.layering[window] = Layering{true, key, alpha, flags};
  }
  Repaint(window);
  return TRUE;
}

BOOL GetLayeredWindowAttributes(HWND window, COLORREF* key, BYTE* alpha, DWORD* flags) {
  bool known = false;
  const DWORD exStyle = ExStyleOf(window, &known);
  if (!known) return BadWindow();
  const Layering l = LayeringOf(window);
  if (!(exStyle & WS_EX_LAYERED) || !l.set) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (key) *key = l.key;
  if (alpha) *alpha = l.alpha;
  if (flags) *flags = l.flags;
  return TRUE;
}
