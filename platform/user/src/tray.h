// The notification area's table shared by Shell_NotifyIconW (tray_table.cpp) and what tests
// do to it (tray_events.cpp).
#pragma once
#include <mutex>
#include <vector>

#include "zx/tray.h"

namespace zx::user {

struct Tray {
  std::mutex lock;
  std::vector<TrayIcon> icons;
  bool available = true;
};
Tray& TheTray();

}  // namespace zx::user
