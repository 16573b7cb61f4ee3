// The system menu opened by the default window procedure.
#include "sysmenu.h"

#include "winmenu.h"
#include "winuser.h"

namespace zx::user {

bool TrackSystemMenu(HWND window, POINT screen) {
  const HMENU menu = GetSystemMenu(window, FALSE);
  if (menu == nullptr) return false;
  const UINT chosen = static_cast<UINT>(
      TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD, screen.x, screen.y, 0, window, nullptr));
  if (chosen != 0) SendMessageW(window, WM_SYSCOMMAND, chosen, MAKELPARAM(screen.x, screen.y));
  return true;
}

POINT KeyboardSystemMenuPlace(HWND window) {
  RECT frame{};
  GetWindowRect(window, &frame);
  return POINT{frame.left, frame.top};
}

}  // namespace zx::user
