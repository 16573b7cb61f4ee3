// The input model shared inside the window system: key and button state, the pointer, mouse
// capture and mouse tracking (input_state.cpp), and hit-testing (input_hittest.cpp).
#pragma once
#include "wininput.h"

namespace zx::user {

// The calling thread took a message from its queue: GetKeyState follows key and button
// messages as they are taken.
void NoteTakenInput(const MSG& msg);

// Input as it happens (injection, the presenter): the asynchronous key state.
void SetAsyncKey(int virtualKey, bool down);
bool IsAsyncKeyDown(int virtualKey);
// The MK_ flags of the buttons and modifier keys down now.
WPARAM MouseKeyFlags();
void MoveCursor(POINT screen);
// The capture window, whatever thread owns it (null when none).
HWND CaptureWindow();
// The window TrackMouseEvent watches for leaving, cleared when answered.
HWND TakeLeaveTracking(HWND now);
void ResetInputModel();

// The deepest visible, enabled window of this process under a screen point (regions apply).
HWND HitWindow(POINT screen);

}  // namespace zx::user
