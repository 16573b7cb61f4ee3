// Injected input for a given window: performed here for this process's windows, handed to the
// owning process through the window channel for another's.
#include "drive.h"
#include "remote.h"
#include "zx/input.h"

namespace zx::user {
namespace {

HWND Perform(const drive::InputEvent& event) {
  if (!remote::IsForeign(event.window)) return drive::PerformInput(event);
  HWND reached = nullptr;
  return remote::Input(event, &reached) ? reached : nullptr;
}

}  // namespace

HWND InjectMouseTo(HWND window, POINT screen, UINT message, short wheelDelta) {
  return Perform(drive::InputEvent{window, message, wheelDelta, screen});
}

HWND InjectKeyTo(HWND window, int virtualKey, bool down) {
  return Perform(drive::InputEvent{window, static_cast<UINT>(down ? WM_KEYDOWN : WM_KEYUP), virtualKey, {}});
}

}  // namespace zx::user
