// Input of the window system: key and button state, mouse capture, the cursor, hit-testing
// points against windows (with their regions), mouse tracking, waits on handles or queue
// input, window regions and layered windows. Numeric values are those of Windows.
#pragma once
#include "winuser.h"

struct HRGN__;
using HRGN = HRGN__*;
using COLORREF = DWORD;

#ifndef MAKELPARAM
#define MAKELPARAM(low, high) (static_cast<LPARAM>(static_cast<DWORD>(MAKELONG(low, high))))
#endif
#ifndef MAKEWPARAM
#define MAKEWPARAM(low, high) (static_cast<WPARAM>(static_cast<DWORD>(MAKELONG(low, high))))
#endif
#ifndef MAKELRESULT
#define MAKELRESULT(low, high) (static_cast<LRESULT>(static_cast<DWORD>(MAKELONG(low, high))))
#endif

// WM_NCHITTEST answers.
#ifndef HTERROR
#define HTERROR (-2)
#endif
#ifndef HTTRANSPARENT
#define HTTRANSPARENT (-1)
#endif
#ifndef HTNOWHERE
#define HTNOWHERE 0
#endif
#ifndef HTCAPTION
#define HTCAPTION 2
#endif
#ifndef HTSYSMENU
#define HTSYSMENU 3
#endif
#ifndef HTMENU
#define HTMENU 5
#endif
#ifndef HTBORDER
#define HTBORDER 18
#endif
#ifndef HTCLOSE
#define HTCLOSE 20
#endif

// Non-client mouse messages beyond those winuser.h names.
#ifndef WM_NCLBUTTONUP
#define WM_NCLBUTTONUP 0x00A2u
#endif
#ifndef WM_NCLBUTTONDBLCLK
#define WM_NCLBUTTONDBLCLK 0x00A3u
#endif
#ifndef WM_NCRBUTTONDOWN
#define WM_NCRBUTTONDOWN 0x00A4u
#endif
#ifndef WM_NCRBUTTONUP
#define WM_NCRBUTTONUP 0x00A5u
#endif
#ifndef WM_NCRBUTTONDBLCLK
#define WM_NCRBUTTONDBLCLK 0x00A6u
#endif
#ifndef WM_NCMBUTTONDOWN
#define WM_NCMBUTTONDOWN 0x00A7u
#endif
#ifndef WM_NCMBUTTONUP
#define WM_NCMBUTTONUP 0x00A8u
#endif
#ifndef WM_NCMBUTTONDBLCLK
#define WM_NCMBUTTONDBLCLK 0x00A9u
#endif
#ifndef WM_NCMOUSELEAVE
#define WM_NCMOUSELEAVE 0x02A2u
#endif

// WM_MOUSEACTIVATE answers beyond MA_ACTIVATE.
#ifndef MA_ACTIVATEANDEAT
#define MA_ACTIVATEANDEAT 2
#endif
#ifndef MA_NOACTIVATE
#define MA_NOACTIVATE 3
#endif
#ifndef MA_NOACTIVATEANDEAT
#define MA_NOACTIVATEANDEAT 4
#endif

// The move loop of a caption drag.
#ifndef WM_ENTERSIZEMOVE
#define WM_ENTERSIZEMOVE 0x0231u
#endif
#ifndef WM_EXITSIZEMOVE
#define WM_EXITSIZEMOVE 0x0232u
#endif

// ChildWindowFromPointEx.
#define CWP_ALL 0x0000u
#define CWP_SKIPINVISIBLE 0x0001u
#define CWP_SKIPDISABLED 0x0002u
#define CWP_SKIPTRANSPARENT 0x0004u

// TrackMouseEvent.
#define TME_HOVER 0x00000001u
#define TME_LEAVE 0x00000002u
#define TME_NONCLIENT 0x00000010u
#define TME_QUERY 0x40000000u
#define TME_CANCEL 0x80000000u
#define HOVER_DEFAULT 0xFFFFFFFFu

struct TRACKMOUSEEVENT {
  DWORD cbSize;
  DWORD dwFlags;
  HWND hwndTrack;
  DWORD dwHoverTime;
};
using LPTRACKMOUSEEVENT = TRACKMOUSEEVENT*;

// MsgWaitForMultipleObjects(Ex): what queue input ends the wait, and how.
#define QS_KEY 0x0001u
#define QS_MOUSEMOVE 0x0002u
#define QS_MOUSEBUTTON 0x0004u
#define QS_POSTMESSAGE 0x0008u
#define QS_TIMER 0x0010u
#define QS_PAINT 0x0020u
#define QS_SENDMESSAGE 0x0040u
#define QS_HOTKEY 0x0080u
#define QS_ALLPOSTMESSAGE 0x0100u
#define QS_RAWINPUT 0x0400u
#define QS_MOUSE (QS_MOUSEMOVE | QS_MOUSEBUTTON)
#define QS_INPUT (QS_MOUSE | QS_KEY | QS_RAWINPUT)
#define QS_ALLEVENTS (QS_INPUT | QS_POSTMESSAGE | QS_TIMER | QS_PAINT | QS_HOTKEY)
#define QS_ALLINPUT (QS_INPUT | QS_POSTMESSAGE | QS_TIMER | QS_PAINT | QS_HOTKEY | QS_SENDMESSAGE)
#define MWMO_WAITALL 0x0001u
#define MWMO_ALERTABLE 0x0002u
#define MWMO_INPUTAVAILABLE 0x0004u

// Layered windows.
#define LWA_COLORKEY 0x00000001u
#define LWA_ALPHA 0x00000002u

// Key state: the high bit (0x8000) is set while the key is down; GetKeyState's low bit is
// the toggle (Caps Lock ...), GetAsyncKeyState's low bit says the key was pressed since the
// last GetAsyncKeyState. GetKeyState follows the messages the calling thread has taken;
// GetAsyncKeyState follows input as it happens.
SHORT GetKeyState(int virtualKey);
SHORT GetAsyncKeyState(int virtualKey);

// Joining two threads' input: answers TRUE when both threads have message queues and are
// not the same thread (FALSE with ERROR_INVALID_PARAMETER otherwise), for attaching and
// detaching alike. Nothing more is shared: each thread keeps its own focus, active window,
// capture and key state, so a thread sets focus only to windows of its own.
BOOL AttachThreadInput(DWORD idAttach, DWORD idAttachTo, BOOL fAttach);

// Mouse capture: the capture window gets every mouse message of the machine's pointer, in
// its client coordinates, until it is released (WM_CAPTURECHANGED tells the window losing it).
HWND SetCapture(HWND window);
BOOL ReleaseCapture();
HWND GetCapture();

// Hit-testing: the deepest visible, enabled window under a screen point (window regions cut
// windows to their shape); the child of a parent under a point in its client coordinates
// (the parent itself when no child is there, null outside it).
HWND WindowFromPoint(POINT point);
HWND ChildWindowFromPoint(HWND parent, POINT point);
HWND ChildWindowFromPointEx(HWND parent, POINT point, UINT flags);
HWND RealChildWindowFromPoint(HWND parent, POINT point);

// The pointer and its shape.
BOOL GetCursorPos(LPPOINT point);
BOOL SetCursorPos(int x, int y);
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();
BOOL TrackMouseEvent(LPTRACKMOUSEEVENT track);

// Waits for one (or, with waitAll, all) handles or for queue input the mask names; answers
// WAIT_OBJECT_0 + i, WAIT_OBJECT_0 + count for input, WAIT_TIMEOUT or WAIT_FAILED. Measured
// on the layer's clock; messages sent from other threads are handled meanwhile.
DWORD MsgWaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll,
                                DWORD timeoutMs, DWORD wakeMask);
DWORD MsgWaitForMultipleObjectsEx(DWORD count, const HANDLE* handles, DWORD timeoutMs,
                                  DWORD wakeMask, DWORD flags);
// What input the calling thread's queue holds (high word) in QS_ terms.
DWORD GetQueueStatus(UINT flags);

// Window regions, in window coordinates (the window's top-left corner is 0,0). The window
// owns the region given to SetWindowRgn (null removes it); GetWindowRgn copies it into the
// caller's region and answers its type (ERROR when the window has none).
int SetWindowRgn(HWND window, HRGN region, BOOL redraw);
int GetWindowRgn(HWND window, HRGN region);
int GetWindowRgnBox(HWND window, LPRECT rect);

// Layered windows (WS_EX_LAYERED): composed with a constant alpha and/or a colour key. C
// linkage: callers look SetLayeredWindowAttributes up by name in user32.
extern "C" BOOL SetLayeredWindowAttributes(HWND window, COLORREF key, BYTE alpha, DWORD flags);
extern "C" BOOL GetLayeredWindowAttributes(HWND window, COLORREF* key, BYTE* alpha, DWORD* flags);

// The message filter of User Interface Privilege Isolation: which messages a process of lower
// integrity may send to this one's windows. Every process here has the same integrity, so
// every message passes; the call only checks the request. C linkage: callers look
// it up by name (GetProcAddress(user32, "ChangeWindowMessageFilter")).
#define MSGFLT_ADD 1u
#define MSGFLT_REMOVE 2u
extern "C" BOOL ChangeWindowMessageFilter(UINT message, DWORD flag);
