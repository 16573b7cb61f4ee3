// Files dropped on windows: DragAcceptFiles marks a window as taking dropped files
// (WS_EX_ACCEPTFILES); WM_DROPFILES carries an HDROP that DragFinish releases. No drag source
// exists in this layer, so no drop ever arrives; windows that refuse drops stay refusing.
#pragma once
#include "winuser.h"

#ifndef WS_EX_ACCEPTFILES
#define WS_EX_ACCEPTFILES 0x00000010u
#endif
#define WM_DROPFILES 0x0233u

struct HDROP__;
using HDROP = HDROP__*;

void DragAcceptFiles(HWND window, BOOL accept);
// Releases the drop's record (a null drop is ignored).
void DragFinish(HDROP drop);
