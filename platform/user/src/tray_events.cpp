// What tests do to the notification area: read its icons, act on an icon with the mouse,
// restart the shell ("TaskbarCreated") or take it away.
#include <algorithm>

#include "input_model.h"
#include "tray.h"

namespace zx::user {

std::vector<TrayIcon> TrayIcons() {
  Tray& tray = TheTray();
  std::lock_guard<std::mutex> guard(tray.lock);
  return tray.icons;
}

bool FindTrayIcon(HWND window, UINT id, TrayIcon* icon) {
  Tray& tray = TheTray();
  std::lock_guard<std::mutex> guard(tray.lock);
  const auto found = std::find_if(tray.icons.begin(), tray.icons.end(), [&](const TrayIcon& i) {
    return i.window == window && i.id == id;
  });
  if (found == tray.icons.end()) return false;
  if (icon) *icon = *found;
  return true;
}

bool InjectTrayMouse(HWND window, UINT id, UINT mouseMessage) {
  TrayIcon icon;
  if (!FindTrayIcon(window, id, &icon) || !icon.callbackMessage || (icon.state & NIS_HIDDEN)) return false;
  if (icon.version < NOTIFYICON_VERSION_4)
    return PostMessageW(window, icon.callbackMessage, id, static_cast<LPARAM>(mouseMessage));
  POINT at{};
  GetCursorPos(&at);
  return PostMessageW(window, icon.callbackMessage,
                      MAKEWPARAM(static_cast<WORD>(at.x), static_cast<WORD>(at.y)),
                      MAKELPARAM(static_cast<WORD>(mouseMessage), static_cast<WORD>(id)));
}

UINT RestartShell() {
  ClearTray();
  const UINT created = RegisterWindowMessageW(u"TaskbarCreated");
  PostMessageW(HWND_BROADCAST, created, 0, 0);
  return created;
}

void SetShellAvailable(bool available) {
  Tray& tray = TheTray();
  std::lock_guard<std::mutex> guard(tray.lock);
  tray.available = available;
}

void ClearTray() {
  Tray& tray = TheTray();
  std::lock_guard<std::mutex> guard(tray.lock);
  tray.icons.clear();
  tray.available = true;
}

}  // namespace zx::user
