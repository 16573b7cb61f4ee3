// DCs of the whole screen (GetDC / GetWindowDC of null or of the desktop window): DCs of the
// display for measuring text and reading the screen's capabilities; what is drawn on them is
// not shown.
#pragma once
#include "winuser.h"

namespace zx::user {

HDC OpenScreenDC();
// True (and the DC deleted) when the DC was one of OpenScreenDC's.
bool ReleaseScreenDC(HDC dc);

}  // namespace zx::user
