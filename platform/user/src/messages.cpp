// Thread message queues.
#include "winuser.h"

BOOL PeekMessageW(LPMSG, HWND, UINT, UINT, UINT) { return FALSE; }

BOOL TranslateMessage(const MSG*) { return FALSE; }

LRESULT DispatchMessageW(const MSG*) { return 0; }
