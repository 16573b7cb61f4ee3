// The frame and caption of a standard top-level window (a dialog or sizing frame, a full
// caption) in the classic look: the frame in the face colour with a raised edge, the caption
// bar in the active caption colour with the window's text in the caption font, and a close box
// when the window has a system menu. Windows that draw their own look have none of these styles.
#include <algorithm>
#include <string>

#include "geometry.h"
#include "nonclient_paint.h"
#include "windraw.h"
#include "wininput.h"
#include "wingdi.h"
#include "winmetrics.h"

namespace zx::user {
namespace {

struct Frame {
  DWORD style = 0;
  SIZE size{};
  std::u16string text;
  Insets insets{};
};

bool Standard(DWORD style, DWORD exStyle) {
  if (style & WS_CHILD) return false;
  return (style & WS_CAPTION) == WS_CAPTION || (style & (WS_DLGFRAME | WS_THICKFRAME)) || (exStyle & WS_EX_DLGMODALFRAME);
}

bool FrameOf(HWND window, Frame& frame) {
  std::lock_guard<std::mutex> guard(TableLock());
  const Window* w = FindLocked(window);
  if (!w || !Standard(w->style, w->exStyle)) return false;
  const RECT r = WindowRectOnScreenLocked(*w);
  frame = Frame{w->style, SIZE{r.right - r.left, r.bottom - r.top}, w->text, NonClientInsets(w->style, w->exStyle)};
  return true;
}

bool HasCaption(const Frame& frame) { return (frame.style & WS_CAPTION) == WS_CAPTION; }

// The caption bar and its close box, in window coordinates.
RECT CaptionBar(const Frame& frame) {
  return RECT{frame.insets.left, frame.insets.left, frame.size.cx - frame.insets.right, frame.insets.top - 1};
}
RECT CloseBox(const Frame& frame) {
  const RECT bar = CaptionBar(frame);
  const LONG side = std::max<LONG>(bar.bottom - bar.top - 4, 0);
  return RECT{bar.right - 2 - side, bar.top + 2, bar.right - 2, bar.top + 2 + side};
}

void PaintCloseBox(HDC dc, RECT box) {
  FillRect(dc, &box, GetSysColorBrush(COLOR_3DFACE));
  DrawEdge(dc, &box, EDGE_RAISED, BF_RECT);
  HPEN pen = CreatePen(PS_SOLID, 2, GetSysColor(COLOR_BTNTEXT));
  HGDIOBJ old = SelectObject(dc, pen);
  const LONG inset = (box.bottom - box.top) / 4 + 1;
  MoveToEx(dc, box.left + inset, box.top + inset, nullptr);
  LineTo(dc, box.right - inset, box.bottom - inset);
  MoveToEx(dc, box.right - inset, box.top + inset, nullptr);
  LineTo(dc, box.left + inset, box.bottom - inset);
  SelectObject(dc, old);
  DeleteObject(pen);
}

void PaintCaption(HDC dc, const Frame& frame) {
  RECT bar = CaptionBar(frame);
  FillRect(dc, &bar, GetSysColorBrush(COLOR_ACTIVECAPTION));
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  metrics.lfCaptionFont.lfWeight = FW_BOLD;
  HFONT font = CreateFontIndirectW(&metrics.lfCaptionFont);
  HGDIOBJ old = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_CAPTIONTEXT));
  RECT text = bar;
  text.left += 5;
  if (frame.style & WS_SYSMENU) text.right = CloseBox(frame).left - 4;
  DrawTextW(dc, frame.text.c_str(), static_cast<int>(frame.text.size()), &text,
            DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  SelectObject(dc, old);
  DeleteObject(font);
  if (frame.style & WS_SYSMENU) PaintCloseBox(dc, CloseBox(frame));
}

}  // namespace

void PaintWindowFrame(HWND window) {
  Frame frame;
  if (!FrameOf(window, frame)) return;
  HDC dc = GetWindowDC(window);
  if (!dc) return;
  const RECT whole{0, 0, frame.size.cx, frame.size.cy};
  // The bands between the window's edge and its client area.
  const RECT bands[4] = {{0, 0, whole.right, frame.insets.top},
                         {0, whole.bottom - frame.insets.bottom, whole.right, whole.bottom},
                         {0, 0, frame.insets.left, whole.bottom},
                         {whole.right - frame.insets.right, 0, whole.right, whole.bottom}};
  for (const RECT& band : bands) FillRect(dc, &band, GetSysColorBrush(COLOR_3DFACE));
  RECT edge = whole;
  DrawEdge(dc, &edge, EDGE_RAISED, BF_RECT);
  if (HasCaption(frame)) PaintCaption(dc, frame);
  ReleaseDC(window, dc);
}

LRESULT FrameHitTest(HWND window, POINT screen) {
  Frame frame;
  if (!FrameOf(window, frame) || !HasCaption(frame)) return HTNOWHERE;
  RECT place{};
  GetWindowRect(window, &place);
  const POINT at{screen.x - place.left, screen.y - place.top};
  const RECT close = CloseBox(frame);
  if ((frame.style & WS_SYSMENU) && PtInRect(&close, at)) return HTCLOSE;
  const RECT bar = CaptionBar(frame);
  return PtInRect(&bar, at) ? HTCAPTION : HTNOWHERE;
}

}  // namespace zx::user
