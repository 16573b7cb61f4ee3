// The update checker's notification-area icon.
#include "XTTrayIconZW.h"

LRESULT CXTTrayIconZW::OnTrayNotification(WPARAM wParam, LPARAM lParam) {
  const NOTIFYICONDATAW& data = GetNotifyIconData();
  if (wParam != data.uID || GetNotificationWnd() == nullptr) return 0;
  const HWND owner = GetNotificationWnd()->GetSafeHwnd();
  if (::SendMessageW(owner, kCallbackMessage, wParam, lParam)) return 1;
  const auto mouse = static_cast<UINT>(lParam);
  if (mouse == WM_LBUTTONUP || mouse == WM_CONTEXTMENU || mouse == NIN_SELECT || mouse == NIN_KEYSELECT) {
    if (m_toggle) m_toggle();
  } else if (mouse == WM_RBUTTONUP) {
    OpenMenu();
  }
  return 1;
}

void CXTTrayIconZW::OpenMenu() {
  const HWND owner = GetNotificationWnd()->GetSafeHwnd();
  CMenu menu;
  if (!menu.LoadMenu(kMenuId)) return;
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
