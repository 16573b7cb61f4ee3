// The move loop of a caption drag: the window follows the pointer until the left button
// goes up (or Escape puts it back).
#include "input_model.h"

namespace zx::user {
namespace {

void MoveTo(HWND window, POINT at) {
  SetWindowPos(window, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

void RunMoveLoop(HWND window) {
  if (!IsWindow(window) || !IsAsyncKeyDown(VK_LBUTTON)) return;
  RECT start{};
  GetWindowRect(window, &start);
  // A child moves in its parent's client coordinates.
  if (const HWND parent = GetParent(window)) MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&start), 2);
  POINT from{};
  GetCursorPos(&from);
  SendMessageW(window, WM_ENTERSIZEMOVE, 0, 0);
  SetCapture(window);
  MSG msg;
  bool done = false;
  while (!done && GetCapture() == window) {
    if (!GetMessageW(&msg, nullptr, 0, 0)) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    switch (msg.message) {
      case WM_MOUSEMOVE: {
        POINT at{};
        GetCursorPos(&at);
        MoveTo(window, POINT{start.left + at.x - from.x, start.top + at.y - from.y});
        break;
      }
      case WM_LBUTTONUP:
        done = true;
        break;
      case WM_KEYDOWN:
        if (msg.wParam == VK_ESCAPE) {
          MoveTo(window, POINT{start.left, start.top});
          done = true;
        }
        break;
      default:
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
        break;
    }
  }
  if (GetCapture() == window) ReleaseCapture();
  if (IsWindow(window)) SendMessageW(window, WM_EXITSIZEMOVE, 0, 0);
}

}  // namespace zx::user
