// The main program's run seen through the window channel and the user's registry hive.
#include "mainrun.h"

#include <winreg.h>

#include <chrono>
#include <functional>
#include <thread>

#include "zx/windowpaint.h"

namespace zxsample {
namespace {

constexpr const char16_t* kMainClass = u"#32770";
constexpr const char16_t* kMainTitle = u"Zephrin Tunevo";
// The product's registry root and the main program's last-scan key under it.
constexpr const char16_t* kLastScanKey = u"Software\\Corvash Vozivuved\\Zephrin Tunevo\\Zephrin Tunevo\\LastScanStatus";
// The command of the main window's close button.
constexpr WPARAM kCloseCommand = 1182;
constexpr unsigned kPollMs = 20;

// Polls the condition until it holds or the time is up (host time: the main program may run
// with its pauses skipped, this program never does).
bool WaitUntil(unsigned timeoutMs, const std::function<bool()>& condition) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
  }
  return true;
}

}  // namespace

HWND WaitForMainWindow(unsigned timeoutMs) {
  HWND window = nullptr;
  WaitUntil(timeoutMs, [&] {
    window = FindWindowW(kMainClass, kMainTitle);
    return window != nullptr;
  });
  return window;
}

std::u16string LastScanValue(const char16_t* name) {
  char16_t text[256] = {};
  DWORD size = sizeof text - sizeof(char16_t);
  if (RegGetValueW(HKEY_CURRENT_USER, kLastScanKey, name, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
    return {};
  return text;
}

int CountOf(const std::u16string& text) {
  int count = -1;
  for (char16_t c : text) {
    if (c < u'0' || c > u'9' || count > 1000000) break;
    count = (count < 0 ? 0 : count * 10) + (c - u'0');
  }
  return count;
}

void ForgetLastScan() { RegDeleteKeyW(HKEY_CURRENT_USER, kLastScanKey); }

bool WaitForScanRecord(unsigned timeoutMs) {
  return WaitUntil(timeoutMs, [] { return !LastScanValue(u"OutOfDate").empty(); });
}

bool WaitForInstallRun(HWND window, unsigned timeoutMs) {
  if (!WaitUntil(timeoutMs, [&] { return !IsWindow(window) || IsWindowEnabled(window) == FALSE; })) return false;
  // Taking input again, and still so a moment later (the run's popup closes in steps).
  return WaitUntil(timeoutMs, [&] {
    if (!IsWindow(window) || IsWindowEnabled(window) == FALSE) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    return IsWindow(window) && IsWindowEnabled(window) != FALSE;
  });
}

bool SaveWindowPicture(HWND window, const std::string& hostPath) {
  return zx::user::SaveRedrawnWindowPng(window, hostPath);
}

bool CloseMainWindow(HWND window, unsigned timeoutMs) {
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  // The window lets a close request pass while a task of its own still runs, and takes none
  // while a message box of its program waits: the box is answered, the close asked again.
  auto asked = std::chrono::steady_clock::time_point();
  return WaitUntil(timeoutMs, [&] {
    if (!IsWindow(window)) return true;
    const auto now = std::chrono::steady_clock::now();
    if (now - asked < std::chrono::seconds(1)) return false;
    asked = now;
    if (IsWindowEnabled(window) != FALSE) {
      PostMessageW(window, WM_COMMAND, kCloseCommand, 0);
      return false;
    }
    for (HWND box = FindWindowExW(nullptr, nullptr, kMainClass, nullptr); box;
         box = FindWindowExW(nullptr, box, kMainClass, nullptr)) {
      DWORD process = 0;
      GetWindowThreadProcessId(box, &process);
      if (box != window && process == owner && IsWindowVisible(box)) PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
    return false;
  });
}

}  // namespace zxsample
