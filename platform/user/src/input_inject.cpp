// Injected input: mouse events hit-tested against the windows (regions, WM_NCHITTEST,
// capture), with activation on a click, WM_SETCURSOR and leave tracking; key events to the
// focus window of the foreground window's thread.
#include "input_model.h"
#include "keychars.h"
#include "queue.h"
#include "window.h"
#include "zx/input.h"

namespace zx::user {
namespace {

LPARAM PointParam(POINT p) {
  return MAKELPARAM(static_cast<WORD>(static_cast<SHORT>(p.x)), static_cast<WORD>(static_cast<SHORT>(p.y)));
}

// The button a mouse message moves (0: none) and whether it goes down.
int ButtonOf(UINT message, bool* down) {
  *down = true;
  switch (message) {
    case WM_LBUTTONUP: *down = false; [[fallthrough]];
    case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK: return VK_LBUTTON;
    case WM_RBUTTONUP: *down = false; [[fallthrough]];
    case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK: return VK_RBUTTON;
    case WM_MBUTTONUP: *down = false; [[fallthrough]];
    case WM_MBUTTONDOWN: case WM_MBUTTONDBLCLK: return VK_MBUTTON;
    default: return 0;
  }
}

bool IsMouseMessage(UINT message) {
  return (message >= WM_MOUSEMOVE && message <= WM_MBUTTONDBLCLK) || message == WM_MOUSEWHEEL;
}

bool IsButtonDown(UINT message) {
  return message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN;
}

// Posts mouse input to the window: marked as input, it is dropped when taken if the window
// was disabled in the meantime.
void PostInput(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (const auto w = Find(window)) PostTo(*w->queue, MSG{window, message, wParam, lParam, 0, {}}, nullptr, true);
  else PostMessageW(window, message, wParam, lParam);
}

// Posts the client-area form of the message to the window.
void PostClient(HWND window, UINT message, POINT screen, short wheelDelta) {
  WPARAM keys = MouseKeyFlags();
  if (message == WM_MOUSEWHEEL) {
    keys |= static_cast<WPARAM>(static_cast<WORD>(wheelDelta)) << 16;
    PostInput(window, message, keys, PointParam(screen));
    return;
  }
  POINT client = screen;
  ScreenToClient(window, &client);
  PostInput(window, message, keys, PointParam(client));
}

// The window a click activates is made the active window of its thread.
void ActivateOnClick(HWND target, UINT message, LRESULT hit) {
  const HWND root = GetAncestor(target, GA_ROOT);
  if (!root || (GetWindowLongPtrW(root, GWL_EXSTYLE) & WS_EX_NOACTIVATE)) return;
  const LRESULT answer = SendMessageW(target, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(root),
                                      MAKELONG(static_cast<WORD>(hit), static_cast<WORD>(message)));
  if (answer == MA_NOACTIVATE || answer == MA_NOACTIVATEANDEAT) return;
  SetForegroundWindow(root);
}

void UpdateCursorShape(HWND target, UINT message, LRESULT hit) {
  if (SendMessageW(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target),
                   MAKELONG(static_cast<WORD>(hit), static_cast<WORD>(message))))
    return;
  if (hit == HTCLIENT)
    if (const auto shape = reinterpret_cast<HCURSOR>(GetClassLongPtrW(target, GCLP_HCURSOR)))
      SetCursor(shape);
}

// The window whose thread takes key input now: the foreground window when it is this
// process's, else the calling thread's active window.
HWND KeyRoot() {
  const HWND foreground = GetForegroundWindow();
  if (foreground && Find(foreground)) return foreground;
  return GetActiveWindow();
}

}  // namespace

HWND InjectMouse(POINT screen, UINT message, short wheelDelta) {
  if (!IsMouseMessage(message)) return nullptr;
  MoveCursor(screen);
  GetCursorPos(&screen);
  bool down = false;
  if (const int button = ButtonOf(message, &down)) SetAsyncKey(button, down);
  if (const HWND capture = CaptureWindow()) {
    PostClient(capture, message, screen, wheelDelta);
    return capture;
  }
  HWND target = HitWindow(screen);
  if (const HWND left = TakeLeaveTracking(target)) PostMessageW(left, WM_MOUSELEAVE, 0, 0);
  NoteHoverMove(target, screen);
  LRESULT hit = HTNOWHERE;
  while (target) {
    hit = SendMessageW(target, WM_NCHITTEST, 0, PointParam(screen));
    if (hit != HTTRANSPARENT) break;
    target = GetParent(target);
  }
  if (!target || !IsWindowEnabled(GetAncestor(target, GA_ROOT))) return nullptr;
  if (IsButtonDown(message)) ActivateOnClick(target, message, hit);
  if (!IsWindow(target)) return nullptr;
  UpdateCursorShape(target, message, hit);
  if (hit == HTCLIENT || message == WM_MOUSEWHEEL)
    PostClient(target, message, screen, wheelDelta);
  else
    PostInput(target, message - WM_MOUSEMOVE + WM_NCMOUSEMOVE, static_cast<WPARAM>(hit), PointParam(screen));
  return target;
}

namespace {

// WM_(SYS)KEYDOWN/UP of a key to the keyboard's window, its lParam's scan-code word `scan`.
HWND PostKey(int virtualKey, bool down, LPARAM scan) {
  const bool wasDown = IsAsyncKeyDown(virtualKey);
  SetAsyncKey(virtualKey, down);
  const HWND root = KeyRoot();
  if (!root) return nullptr;
  const HWND focus = reinterpret_cast<HWND>(
      RunOnOwner(root, [] { return reinterpret_cast<LRESULT>(GetFocus()); }));
  const HWND target = focus ? focus : root;
  const bool alt = IsAsyncKeyDown(VK_MENU);
  const bool system = alt || virtualKey == VK_F10 || virtualKey == VK_MENU;
  const UINT message = system ? (down ? WM_SYSKEYDOWN : WM_SYSKEYUP) : (down ? WM_KEYDOWN : WM_KEYUP);
  const DWORD flags = 1u | (alt ? 1u << 29 : 0u) | (wasDown ? 1u << 30 : 0u) | (down ? 0u : 1u << 31);
  return PostMessageW(target, message, static_cast<WPARAM>(virtualKey), static_cast<LPARAM>(flags) | scan)
             ? target
             : nullptr;
}

}  // namespace

HWND InjectKey(int virtualKey, bool down) {
  if (virtualKey <= 0 || virtualKey > 0xFF || virtualKey == VK_PACKET) return nullptr;
  return PostKey(virtualKey, down, 0);
}

HWND InjectCharacter(char16_t character) {
  if (!character) return nullptr;
  const HWND target = PostKey(VK_PACKET, true, PacketKeyFlags(character));
  PostKey(VK_PACKET, false, PacketKeyFlags(character));
  return target;
}

void InjectFocus(HWND window) {
  if (const HWND root = GetAncestor(window, GA_ROOT)) SetForegroundWindow(root);
}

void ResetInput() { ResetInputModel(); }

}  // namespace zx::user
