// The update checker's notification-area icon.
#include "XTTrayIconZW.h"

#include <winresource.h>

LRESULT CXTTrayIconZW::OnTrayNotification(WPARAM wParam, LPARAM lParam) {
  // The owner window is asked, not the icon's own window that this message came to.
  if (wParam != GetNotifyIconData().uID || m_hWndNotify == nullptr) return 0;
  if (::SendMessageW(m_hWndNotify, kCallbackMessage, wParam, lParam)) return 1;
  const auto mouse = static_cast<UINT>(lParam);
  if (mouse == WM_LBUTTONUP || mouse == WM_CONTEXTMENU || mouse == NIN_SELECT || mouse == NIN_KEYSELECT) {
    if (m_toggle) m_toggle();
  } else if (mouse == WM_RBUTTONUP) {
    OpenMenu();
  }
  return 1;
}

void CXTTrayIconZW::OpenMenu() {
  // The menu's commands go to the owner window.
  const HWND owner = m_hWndNotify;
  // The menu is the program's own, wherever the shared resources are looked up first.
  const LPCTSTR name = MAKEINTRESOURCEW(kMenuId);
  CMenu menu;
  if (!menu.Attach(::LoadMenuW(AfxFindResourceHandle(name, RT_MENU), name))) return;
  CMenu* popup = menu.GetSubMenu(0);
  if (popup == nullptr) return;
  ::SetMenuDefaultItem(popup->GetSafeHmenu(), kExitCommand, FALSE);
  POINT at{};
  ::GetCursorPos(&at);
  ::SetForegroundWindow(owner);
  ::TrackPopupMenu(popup->GetSafeHmenu(), TPM_LEFTBUTTON, at.x, at.y, 0, owner, nullptr);
  ::PostMessageW(owner, WM_NULL, 0, 0);
  menu.DestroyMenu();
  ShellNotify(NIM_MODIFY);
}
