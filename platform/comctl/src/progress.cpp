// The progress bar "msctls_progress32": a range, a position kept inside it, a step that
// starts over past the end, and colours; painted as a filled bar in a thin frame.
#include <algorithm>
#include <cstdint>

#include "control.h"
#include "windraw.h"

namespace zx::comctl {
namespace {

struct Progress {
  int low = 0;
  int high = 100;
  int pos = 0;
  int step = 10;
  COLORREF bar = CLR_DEFAULT;
  COLORREF background = CLR_DEFAULT;
};

// The previous range as PBM_SETRANGE answers it: low and high in 16 bits each.
LRESULT PackedRange(const Progress& p) { return MAKELONG(p.low, p.high); }

int Clamp(const Progress& p, std::int64_t pos) {
  return static_cast<int>(std::clamp<std::int64_t>(pos, std::min(p.low, p.high), std::max(p.low, p.high)));
}

LRESULT SetRange(HWND window, Progress& p, int low, int high) {
  const LRESULT old = PackedRange(p);
  if (low != p.low || high != p.high) {
    p.low = low;
    p.high = high;
    p.pos = Clamp(p, p.pos);
    InvalidateRect(window, nullptr, TRUE);
  }
  return old;
}

LRESULT SetPos(HWND window, Progress& p, std::int64_t pos) {
  const int old = p.pos;
  p.pos = Clamp(p, pos);
  if (p.pos != old) InvalidateRect(window, nullptr, TRUE);
  return old;
}

// One step; past the end the position starts over from the beginning by what is left.
LRESULT StepIt(HWND window, Progress& p) {
  std::int64_t pos = static_cast<std::int64_t>(p.pos) + p.step;
  const std::int64_t span = static_cast<std::int64_t>(p.high) - p.low;
  if (span > 0 && pos > p.high) pos = p.low + (pos - p.low) % span;
  if (span > 0 && pos < p.low) pos = p.high - (p.high - pos) % span;
  return SetPos(window, p, pos);
}

COLORREF Swap(COLORREF& slot, LPARAM value) {
  const COLORREF old = slot;
  slot = static_cast<COLORREF>(value);
  return old;
}

void Paint(HWND window, const Progress& p) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  if (!dc) return;
  RECT client{};
  GetClientRect(window, &client);
  FrameRect(dc, &client, GetSysColorBrush(COLOR_BTNSHADOW));
  RECT inside{client.left + 1, client.top + 1, client.right - 1, client.bottom - 1};
  HBRUSH back = CreateSolidBrush(p.background == CLR_DEFAULT ? GetSysColor(COLOR_BTNFACE) : p.background);
  FillRect(dc, &inside, back);
  DeleteObject(back);
  const std::int64_t span = static_cast<std::int64_t>(p.high) - p.low;
  if (span > 0 && inside.right > inside.left && inside.bottom > inside.top) {
    const std::int64_t done = static_cast<std::int64_t>(p.pos) - p.low;
    RECT bar = inside;
    if (GetWindowLongW(window, GWL_STYLE) & PBS_VERTICAL)
      bar.top = inside.bottom - static_cast<LONG>(done * (inside.bottom - inside.top) / span);
    else
      bar.right = inside.left + static_cast<LONG>(done * (inside.right - inside.left) / span);
    HBRUSH fill = CreateSolidBrush(p.bar == CLR_DEFAULT ? GetSysColor(COLOR_HIGHLIGHT) : p.bar);
    FillRect(dc, &bar, fill);
    DeleteObject(fill);
  }
  EndPaint(window, &ps);
}

LRESULT CALLBACK ProgressProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Progress* p = StateOf<Progress>(window);
  if (message == WM_NCCREATE) {
    AttachState(window, new Progress);
    return DefWindowProcW(window, message, wParam, lParam);
  }
  if (!p) return DefWindowProcW(window, message, wParam, lParam);
  switch (message) {
    case WM_NCDESTROY:
      AttachState<Progress>(window, nullptr);
      delete p;
      return DefWindowProcW(window, message, wParam, lParam);
    case WM_PAINT:
      Paint(window, *p);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case PBM_SETRANGE:
      return SetRange(window, *p, LOWORD(lParam), HIWORD(lParam));
    case PBM_SETRANGE32:
      return SetRange(window, *p, static_cast<int>(wParam), static_cast<int>(lParam));
    case PBM_GETRANGE: {
      auto* range = reinterpret_cast<PBRANGE*>(lParam);
      if (range) *range = PBRANGE{p->low, p->high};
      return wParam ? p->low : p->high;
    }
    case PBM_SETPOS:
      return SetPos(window, *p, static_cast<int>(wParam));
    case PBM_DELTAPOS:
      return SetPos(window, *p, static_cast<std::int64_t>(p->pos) + static_cast<int>(wParam));
    case PBM_GETPOS:
      return p->pos;
    case PBM_SETSTEP: {
      const int old = p->step;
      p->step = static_cast<int>(wParam);
      return old;
    }
    case PBM_STEPIT:
      return StepIt(window, *p);
    case PBM_SETBARCOLOR: {
      const COLORREF old = Swap(p->bar, lParam);
      InvalidateRect(window, nullptr, TRUE);
      return old;
    }
    case PBM_SETBKCOLOR: {
      const COLORREF old = Swap(p->background, lParam);
      InvalidateRect(window, nullptr, TRUE);
      return old;
    }
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace

bool RegisterProgressClass() { return RegisterControlClass(PROGRESS_CLASSW, ProgressProc, 0); }

}  // namespace zx::comctl
