// The shell's taskbar windows: "Shell_TrayWnd" along the bottom of the screen, below the
// work area, with the notification area "TrayNotifyWnd" at its right end holding the icons'
// toolbar "ToolbarWindow32" and the clock "TrayClockWClass". Each process has its own, as it
// has its own notification area: they are made on a shell thread of the process the first
// time the process looks for "Shell_TrayWnd" (FindWindow; again should they have been
// destroyed), and laid out afresh at every such look from the screen, the work area and the
// icons shown. They are never visible: the
// host's desktop shows its own taskbar; they are there for their places.
#include <condition_variable>
#include <mutex>
#include <thread>

#include "errhandlingapi.h"
#include "libloaderapi.h"
#include "winuser.h"
#include "zx/casefold.h"
#include "zx/shellwindows.h"
#include "zx/tray.h"

namespace {

constexpr WCHAR kTrayClass[] = u"Shell_TrayWnd";
constexpr WCHAR kNotifyClass[] = u"TrayNotifyWnd";
constexpr WCHAR kToolbarClass[] = u"ToolbarWindow32";
constexpr WCHAR kClockClass[] = u"TrayClockWClass";

constexpr int kIconCell = 24;    // width of one icon's button on the toolbar
constexpr int kClockWidth = 72;  // the clock, right of the icons
constexpr UINT kLayOut = WM_APP + 1;

struct TaskbarWindows {
  HWND tray = nullptr;
  HWND notify = nullptr;
  HWND toolbar = nullptr;
  HWND clock = nullptr;
};

// Made on the shell thread while a maker waits under MakerLock(); read by makers under it.
TaskbarWindows& Windows() {
  static TaskbarWindows windows;
  return windows;
}

int ShownIcons() {
  int shown = 0;
  for (const zx::user::TrayIcon& icon : zx::user::TrayIcons())
    if (!(icon.state & NIS_HIDDEN)) ++shown;
  return shown;
}

void Place(HWND window, int x, int y, int width, int height) {
  SetWindowPos(window, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

// Runs on the shell thread.
void LayOut() {
  const TaskbarWindows& w = Windows();
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  RECT work{0, 0, width, height};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int barHeight = height - work.bottom;
  const int toolbarWidth = kIconCell * ShownIcons();
  const int notifyWidth = toolbarWidth + kClockWidth;
  Place(w.tray, 0, work.bottom, width, barHeight);
  Place(w.notify, width - notifyWidth, 0, notifyWidth, barHeight);
  Place(w.toolbar, 0, 0, toolbarWidth, barHeight);
  Place(w.clock, toolbarWidth, 0, kClockWidth, barHeight);
}

LRESULT CALLBACK TrayProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kLayOut) {
    LayOut();
    return 0;
  }
  if (message == WM_DESTROY) PostQuitMessage(0);  // the shell thread ends with its windows
  return DefWindowProcW(window, message, wParam, lParam);
}

// A class of the shell's; one that is there already (the common controls' toolbar) is used.
bool Register(LPCWSTR name, WNDPROC proc) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = name;
  return RegisterClassExW(&wc) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND Child(LPCWSTR className, HWND parent) {
  return CreateWindowExW(0, className, u"", WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 0, 0, parent, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

bool MakeWindows() {
  if (!Register(kTrayClass, TrayProc) || !Register(kNotifyClass, DefWindowProcW) ||
      !Register(kToolbarClass, DefWindowProcW) || !Register(kClockClass, DefWindowProcW))
    return false;
  TaskbarWindows& w = Windows();
  w.tray = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kTrayClass, u"",
                           WS_POPUP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0, 0, 0, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
  if (!w.tray) return false;
  w.notify = Child(kNotifyClass, w.tray);
  w.toolbar = w.notify ? Child(kToolbarClass, w.notify) : nullptr;
  w.clock = w.notify ? Child(kClockClass, w.notify) : nullptr;
  if (!w.clock || !w.toolbar) {
    DestroyWindow(w.tray);
    w = TaskbarWindows{};
    return false;
  }
  return true;
}

// Starts a shell thread, which makes the windows and then serves their messages until they
// are destroyed; answers whether the windows were made.
bool StartShellThread() {
  std::mutex lock;
  std::condition_variable ready;
  bool done = false;
  bool made = false;
  std::thread([&] {
    const bool ok = MakeWindows();
    {
      // Told under the lock: the waiter's locals live until it is released.
      std::lock_guard<std::mutex> guard(lock);
      made = ok;
      done = true;
      ready.notify_one();
    }
    if (!ok) return;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  }).detach();
  std::unique_lock<std::mutex> guard(lock);
  ready.wait(guard, [&] { return done; });
  return made;
}

std::mutex& MakerLock() {
  static std::mutex lock;
  return lock;
}

// Made when missing (at the first look, or after something destroyed them), then laid out.
void MakeTaskbar(LPCWSTR className) {
  if (!className || IS_INTRESOURCE(className) || !zx::EqualNoCase(className, kTrayClass)) return;
  std::lock_guard<std::mutex> guard(MakerLock());
  if (!IsWindow(Windows().tray) && !StartShellThread()) return;
  SendMessageW(Windows().tray, kLayOut, 0, 0);
}

const bool kMakerSet = (zx::user::SetShellWindowsMaker(&MakeTaskbar), true);

}  // namespace
