// The shift state the dialog manager reads (Shift+Tab), as the key messages passing through
// IsDialogMessage leave it.
#pragma once
#include "winuser.h"

namespace zx::user {

// Notes a key message of the calling thread (VK_SHIFT down or up).
void NoteKeyMessage(const MSG& msg);
bool ShiftDown();

}  // namespace zx::user
