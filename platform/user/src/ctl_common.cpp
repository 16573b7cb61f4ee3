// What the standard controls share: fonts, the parent's colours, notifications, repainting
// and owner drawing.
#include "ctl_common.h"

#include "dialog.h"
#include "usertext.h"
#include "zx/windowstate.h"

namespace zx::user::ctl {

HFONT FontOrDefault(HFONT font) { return font ? font : DefaultDialogFont().font; }

HBRUSH ParentColours(HWND control, HDC dc, UINT message) {
  const HWND parent = GetParent(control);
  const auto wParam = reinterpret_cast<WPARAM>(dc);
  const auto lParam = reinterpret_cast<LPARAM>(control);
  LRESULT brush = parent ? SendMessageW(parent, message, wParam, lParam) : 0;
  if (!brush) brush = DefWindowProcW(parent ? parent : control, message, wParam, lParam);
  return reinterpret_cast<HBRUSH>(brush);
}

void NotifyParent(HWND control, int code) {
  const HWND parent = GetParent(control);
  if (!parent) return;
  SendMessageW(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code),
               reinterpret_cast<LPARAM>(control));
}

std::u16string TextOf(HWND window) {
  std::u16string text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, u'\0');
  text.resize(static_cast<std::size_t>(
      GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

DWORD StyleOf(HWND window) { return static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)); }

namespace {

// Whether a window that holds this one still has a paint due. One without WS_CLIPCHILDREN
// paints over its children when its turn comes.
bool AncestorPaintDue(HWND window) {
  for (HWND up = GetAncestor(window, GA_PARENT); up && (StyleOf(window) & WS_CHILD);
       window = up, up = GetAncestor(up, GA_PARENT)) {
    if (IsUpdatePending(up)) return true;
  }
  return false;
}

}  // namespace

void RepaintNow(HWND window) {
  InvalidateRect(window, nullptr, FALSE);
  // While a parent's paint is still due the control waits for its own turn, after the
  // parent's, or the parent would paint over what it drew.
  if (!AncestorPaintDue(window)) UpdateWindow(window);
}

void DrawItem(HWND control, HDC dc, UINT type, UINT itemId, UINT action, UINT state,
              ULONG_PTR data) {
  const HWND parent = GetParent(control);
  if (!parent) return;
  DRAWITEMSTRUCT item{type, static_cast<UINT>(GetDlgCtrlID(control)), itemId, action, state,
                      control, dc, RECT{}, data};
  GetClientRect(control, &item.rcItem);
  const int saved = SaveDC(dc);
  SendMessageW(parent, WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
  RestoreDC(dc, saved);
}

int DefaultIdOfParent(HWND control) {
  const HWND parent = GetParent(control);
  WCHAR name[8];
  if (!parent || GetClassNameW(parent, name, 8) != 6 || FoldedName(name) != u"#32770") return 0;
  const LRESULT answer = SendMessageW(parent, DM_GETDEFID, 0, 0);
  return HIWORD(answer) == DC_HASDEFID ? LOWORD(answer) : 0;
}

void PaintFrame(HWND window) {
  const DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
  const bool edge = (exStyle & WS_EX_CLIENTEDGE) != 0;
  if (!edge && !(StyleOf(window) & WS_BORDER)) return;
  HDC dc = GetWindowDC(window);
  if (!dc) return;
  RECT frame{};
  GetWindowRect(window, &frame);
  OffsetRect(&frame, -frame.left, -frame.top);
  if (edge) DrawEdge(dc, &frame, EDGE_SUNKEN, BF_RECT);
  else FrameRect(dc, &frame, GetSysColorBrush(COLOR_WINDOWFRAME));
  ReleaseDC(window, dc);
}

bool HandleFont(HWND window, HFONT& font, UINT message, WPARAM wParam, LPARAM lParam,
                LRESULT* result) {
  if (message == WM_SETFONT) {
    font = reinterpret_cast<HFONT>(wParam);
    if (LOWORD(lParam)) InvalidateRect(window, nullptr, TRUE);
    *result = 0;
    return true;
  }
  if (message == WM_GETFONT) {
    *result = reinterpret_cast<LRESULT>(font);
    return true;
  }
  return false;
}

}  // namespace zx::user::ctl
