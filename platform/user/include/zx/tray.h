// The notification area as tests see it: the icons Shell_NotifyIconW keeps, mouse actions
// on an icon (the icon's callback message as the shell posts it), a restarted shell (the
// "TaskbarCreated" broadcast) and a shell that is not there. Platform-internal.
#pragma once
#include <string>
#include <vector>

#include "shellnotify.h"

namespace zx::user {

struct TrayIcon {
  HWND window = nullptr;
  UINT id = 0;
  UINT callbackMessage = 0;
  HICON icon = nullptr;
  std::u16string tip;
  DWORD state = 0;
  UINT version = 0;
  // The last balloon shown, and how many were shown.
  std::u16string balloonText;
  std::u16string balloonTitle;
  UINT balloonTimeoutMs = 0;
  DWORD balloonFlags = 0;
  int balloons = 0;
  int focusRequests = 0;  // NIM_SETFOCUS
};

// The icons in the order they were added.
std::vector<TrayIcon> TrayIcons();
bool FindTrayIcon(HWND window, UINT id, TrayIcon* icon);

// A mouse message on the icon (WM_LBUTTONDBLCLK, WM_RBUTTONUP, WM_CONTEXTMENU, NIN_SELECT
// ...): the callback message is posted to its window with wParam = id and lParam = the
// message (before version 4), or lParam = MAKELPARAM(message, id) and wParam = the cursor
// position (version 4). False when there is no such icon, it is hidden or it has no
// callback message.
bool InjectTrayMouse(HWND window, UINT id, UINT mouseMessage);

// The shell restarts: every icon is forgotten, the shell is available again and
// "TaskbarCreated" is posted to every top-level window. Answers the registered message's id.
UINT RestartShell();

// While unavailable, every Shell_NotifyIconW call fails (a shell that is not running).
void SetShellAvailable(bool available);

// Forgets every icon and makes the shell available (tests start from it).
void ClearTray();

}  // namespace zx::user
