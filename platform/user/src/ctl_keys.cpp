// The shift state the dialog manager reads, from the key messages passing through it.
#include "ctl_keys.h"

namespace zx::user {
namespace {

thread_local bool t_shift = false;

}  // namespace

void NoteKeyMessage(const MSG& msg) {
  if (msg.wParam != VK_SHIFT) return;
  if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) t_shift = true;
  if (msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP) t_shift = false;
}

bool ShiftDown() { return t_shift; }

}  // namespace zx::user
