// The input model shared inside the window system: key and button state, the pointer, mouse
// capture and mouse tracking (input_state.cpp), and hit-testing (input_hittest.cpp).
#pragma once
#include <cstdint>

#include "queue.h"
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

// Hover tracking (TrackMouseEvent's TME_HOVER): WM_MOUSEHOVER falls due once the pointer has
// rested within a few pixels for the hover time. The due time for a thread's queue
// (UINT64_MAX: none), taking the message when due (WaitLock() held), and pointer moves that
// restart or end the wait.
std::uint64_t HoverDue(DWORD threadId);
bool TakeDueHover(DWORD threadId, const Filter& filter, bool remove, std::uint64_t now, MSG* msg);
void NoteHoverMove(HWND target, POINT screen);
// The pointer left every window of this process (it went over another program's window, as
// the presenter learns): a tracked window gets WM_MOUSELEAVE, hovering stops.
void NotePointerLeft();

// Moves the window with the pointer while the left button stays down (a drag of its caption:
// DefWindowProcW's WM_NCLBUTTONDOWN with HTCAPTION, and SC_MOVE): a modal loop holding the
// capture, between WM_ENTERSIZEMOVE and WM_EXITSIZEMOVE; Escape puts the window back, and
// WM_QUIT ends the loop and is posted again.
void RunMoveLoop(HWND window);

// The deepest visible, enabled window of this process under a screen point (regions apply).
HWND HitWindow(POINT screen);

}  // namespace zx::user
