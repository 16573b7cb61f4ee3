// What the standard controls share: their window procedures (registered with the built-in
// classes), the state object each keeps in its first extra bytes, its font, the colours its
// parent chooses through WM_CTLCOLOR*, and notifications through WM_COMMAND.
#pragma once
#include <string>

#include "windlg.h"
#include "windraw.h"

namespace zx::user::ctl {

LRESULT CALLBACK ButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK StaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK EditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK RichEditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ComboBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The extra bytes of every control class: a pointer to its state object.
constexpr int kControlExtra = sizeof(void*);

// The state object of a control, made at WM_NCCREATE and deleted after WM_NCDESTROY.
template <class State>
State* StateOf(HWND window) {
  return reinterpret_cast<State*>(GetWindowLongPtrW(window, 0));
}
// Makes or deletes the state object for those two messages; answers the state (null once
// deleted or for a window that has none).
template <class State>
State* Track(HWND window, UINT message) {
  if (message == WM_NCCREATE) {
    auto* state = new State;
    SetWindowLongPtrW(window, 0, reinterpret_cast<LONG_PTR>(state));
    return state;
  }
  State* state = StateOf<State>(window);
  if (message == WM_NCDESTROY && state) {
    SetWindowLongPtrW(window, 0, 0);
    delete state;
    return nullptr;
  }
  return state;
}

// The font a control draws with: the one WM_SETFONT gave, else the dialogs' default font.
HFONT FontOrDefault(HFONT font);
// Asks the parent for the control's colours (WM_CTLCOLOR* with the DC); a parent that does
// not answer gets the default handling, as Windows does. Answers the brush to fill with.
HBRUSH ParentColours(HWND control, HDC dc, UINT message);
// WM_COMMAND with the control's id and the code, sent to its parent.
void NotifyParent(HWND control, int code);
std::u16string TextOf(HWND window);
DWORD StyleOf(HWND window);
// Repaints the control at once (WM_PAINT now), without erasing; while a window holding it
// still has a paint due, in the queue's order after that window instead.
void RepaintNow(HWND window);
// Sends WM_DRAWITEM for the control to its parent.
void DrawItem(HWND control, HDC dc, UINT type, UINT itemId, UINT action, UINT state,
              ULONG_PTR data);
// Whether the window is a dialog ("#32770") and the default id it answers (0 when none).
int DefaultIdOfParent(HWND control);
// The common messages of a control with a font: WM_SETFONT / WM_GETFONT.
bool HandleFont(HWND window, HFONT& font, UINT message, WPARAM wParam, LPARAM lParam,
                LRESULT* result);

// The frame of a control with WS_BORDER (a line) or WS_EX_CLIENTEDGE (a sunken edge), drawn
// around its client area.
void PaintFrame(HWND window);

// Paints a control through BeginPaint/EndPaint: paint(dc, client) with its font selected,
// then its frame.
template <class Paint>
void PaintWith(HWND window, HFONT font, Paint paint) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  if (!dc) return;
  RECT client{};
  GetClientRect(window, &client);
  const HGDIOBJ oldFont = SelectObject(dc, FontOrDefault(font));
  paint(dc, client);
  SelectObject(dc, oldFont);
  EndPaint(window, &ps);
  PaintFrame(window);
}

}  // namespace zx::user::ctl
