// Input without a person at the keyboard: tests and the presenter hand the window system
// pointer and key events as the hardware would. Each goes through the input model (key and
// button state, cursor position), hit-testing with window regions, WM_NCHITTEST and mouse
// capture, and is posted to the queue of the window it reaches. Platform-internal.
#pragma once
#include "winuser.h"

namespace zx::user {

// A mouse event at a screen point: WM_MOUSEMOVE, WM_LBUTTONDOWN/UP, WM_RBUTTONDOWN/UP,
// WM_MBUTTONDOWN/UP, the double clicks or WM_MOUSEWHEEL (with wheelDelta). The pointer
// moves there first. Answers the window the message was posted to (null when the point is
// over no window of this process, or over a disabled one).
HWND InjectMouse(POINT screen, UINT message, short wheelDelta = 0);

// A key going down or up (a virtual-key code). WM_KEYDOWN/WM_KEYUP (WM_SYSKEYDOWN/UP while
// Alt is held, and for F10) go to the focus window of the foreground window's thread (its
// active window when nothing has the focus). Answers the window reached, or null.
HWND InjectKey(int virtualKey, bool down);

// A character typed on a key the window system has no key code for (another keyboard layout,
// a dead key's composition): VK_PACKET going down and up with the character in lParam's
// high word, which TranslateMessage turns into WM_CHAR. Answers the window reached, or null.
HWND InjectCharacter(char16_t character);

// The same for a given window of any process. For a window of this process they are
// InjectMouse and InjectKey; another process's window has the event performed by its own
// process, on the thread that owns the window, against that process's windows and input
// state (the pointer at `screen` of its screen). Answer the window reached, or null (also
// when that process cannot be reached; the last error then says why).
HWND InjectMouseTo(HWND window, POINT screen, UINT message, short wheelDelta = 0);
HWND InjectKeyTo(HWND window, int virtualKey, bool down);

// A window of this process becomes the foreground window (the presenter's focus change).
void InjectFocus(HWND window);

// Forgets every key and button as up, the cursor at (0, 0), no capture, nothing tracked
// (tests start from it).
void ResetInput();

}  // namespace zx::user
