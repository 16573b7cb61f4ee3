// The class library's private messages: idle processing in modal loops and the reflection of
// notifications back to the control that sent them.
#pragma once
#include "winuser.h"

// Sent to a modal window while its loop is idle; wParam MSGF_DIALOGBOX, lParam the idle count.
// A non-zero answer asks for more idle time.
#define WM_KICKIDLE 0x036Au
// Sent to the windows of a thread when command user-interface states should be refreshed.
#define WM_IDLEUPDATECMDUI 0x0363u
// A notification reflected to its control arrives as WM_REFLECT_BASE + the message.
#define WM_REFLECT_BASE 0xBC00u
// The timer message Windows uses for blinking carets; idle loops do not count it.
#define WM_SYSTIMER 0x0118u
