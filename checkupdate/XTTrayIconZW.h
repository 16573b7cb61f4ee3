// CXTTrayIconZW: the update checker's notification-area icon. The owner window is asked first
// (the icon's callback message); otherwise a left click, the context key or a selection
// toggles the window between the notification area and the screen, and a right click opens
// the tray menu at the cursor.
#pragma once
#include <functional>

#include "XTTrayIcon.h"

class CXTTrayIconZW : public CXTTrayIcon {
 public:
  static constexpr UINT kIconId = 5022;
  static constexpr UINT kMenuId = 5021;
  static constexpr UINT kExitCommand = 5001;

  // Runs when the icon toggles the window.
  void SetToggle(std::function<void()> toggle) { m_toggle = std::move(toggle); }
  LRESULT OnTrayNotification(WPARAM wParam, LPARAM lParam) override;

 private:
  void OpenMenu();

  std::function<void()> m_toggle;
};
