// The input model: key and button state (per thread as messages are taken, and as input
// happens), the pointer and its shape, mouse capture and TrackMouseEvent's leave tracking.
#include <array>
#include <mutex>

#include "errhandlingapi.h"
#include "geometry.h"
#include "input_model.h"
#include "processthreadsapi.h"
#include "zx/input.h"
#include "zx/windowstate.h"

namespace zx::user {
namespace {

constexpr BYTE kDown = 0x80;
constexpr BYTE kToggled = 0x01;
constexpr BYTE kPressedSinceQuery = 0x02;

struct Model {
  std::mutex lock;
  std::array<BYTE, 256> async{};
  POINT cursor{};
  HCURSOR shape = nullptr;
  HWND capture = nullptr;
  HWND leaveTracked = nullptr;
};

Model& TheModel() {
  static Model* model = [] {
    auto* m = new Model;
    AddDestroyObserver([m](HWND window) {
      std::lock_guard<std::mutex> guard(m->lock);
      if (m->capture == window) m->capture = nullptr;
      if (m->leaveTracked == window) m->leaveTracked = nullptr;
    });
    return m;
  }();
  return *model;
}

thread_local std::array<BYTE, 256> t_keys{};

bool ValidKey(int virtualKey) { return virtualKey > 0 && virtualKey < 256; }

// The key a message presses or lets go, and whether it goes down; 0 for other messages.
int KeyOfMessage(const MSG& msg, bool* down) {
  switch (msg.message) {
    case WM_KEYDOWN: case WM_SYSKEYDOWN: *down = true; return static_cast<int>(msg.wParam & 0xFF);
    case WM_KEYUP: case WM_SYSKEYUP: *down = false; return static_cast<int>(msg.wParam & 0xFF);
    case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK: *down = true; return VK_LBUTTON;
    case WM_LBUTTONUP: *down = false; return VK_LBUTTON;
    case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK: *down = true; return VK_RBUTTON;
    case WM_RBUTTONUP: *down = false; return VK_RBUTTON;
    case WM_MBUTTONDOWN: case WM_MBUTTONDBLCLK: *down = true; return VK_MBUTTON;
    case WM_MBUTTONUP: *down = false; return VK_MBUTTON;
    default: return 0;
  }
}

void Press(BYTE& state, bool down) {
  if (down && !(state & kDown)) state ^= kToggled;
  state = static_cast<BYTE>(down ? (state | kDown) : (state & ~kDown));
}

// Left and right variants of the modifier keys move the shared key too.
int SharedKey(int virtualKey) {
  switch (virtualKey) {
    case VK_LSHIFT: case VK_RSHIFT: return VK_SHIFT;
    case VK_LCONTROL: case VK_RCONTROL: return VK_CONTROL;
    case VK_LMENU: case VK_RMENU: return VK_MENU;
    default: return 0;
  }
}

bool OwnedByCaller(HWND window) {
  const auto w = Find(window);
  return w && w->threadId == GetCurrentThreadId();
}

}  // namespace

void NoteTakenInput(const MSG& msg) {
  bool down = false;
  const int key = KeyOfMessage(msg, &down);
  if (!key) return;
  Press(t_keys[static_cast<std::size_t>(key)], down);
  if (const int shared = SharedKey(key)) Press(t_keys[static_cast<std::size_t>(shared)], down);
}

void SetAsyncKey(int virtualKey, bool down) {
  if (!ValidKey(virtualKey)) return;
  Model& m = TheModel();
  std::lock_guard<std::mutex> guard(m.lock);
  for (const int key : {virtualKey, SharedKey(virtualKey)}) {
    if (!key) continue;
    BYTE& state = m.async[static_cast<std::size_t>(key)];
    if (down && !(state & kDown)) state |= kPressedSinceQuery;
    Press(state, down);
  }
}

bool IsAsyncKeyDown(int virtualKey) {
  if (!ValidKey(virtualKey)) return false;
  Model& m = TheModel();
  std::lock_guard<std::mutex> guard(m.lock);
  return (m.async[static_cast<std::size_t>(virtualKey)] & kDown) != 0;
}

WPARAM MouseKeyFlags() {
  WPARAM flags = 0;
  if (IsAsyncKeyDown(VK_LBUTTON)) flags |= MK_LBUTTON;
  if (IsAsyncKeyDown(VK_RBUTTON)) flags |= MK_RBUTTON;
  if (IsAsyncKeyDown(VK_MBUTTON)) flags |= MK_MBUTTON;
  if (IsAsyncKeyDown(VK_SHIFT)) flags |= MK_SHIFT;
  if (IsAsyncKeyDown(VK_CONTROL)) flags |= MK_CONTROL;
  return flags;
}

void MoveCursor(POINT screen) {
  const RECT s = ScreenRect();
  screen.x = std::clamp(screen.x, s.left, s.right - 1);
  screen.y = std::clamp(screen.y, s.top, s.bottom - 1);
  Model& m = TheModel();
  std::lock_guard<std::mutex> guard(m.lock);
  m.cursor = screen;
}

HWND CaptureWindow() {
  Model& m = TheModel();
  std::lock_guard<std::mutex> guard(m.lock);
  return m.capture;
}

HWND TakeLeaveTracking(HWND now) {
  Model& m = TheModel();
  std::lock_guard<std::mutex> guard(m.lock);
  if (!m.leaveTracked || m.leaveTracked == now) return nullptr;
  const HWND left = m.leaveTracked;
  m.leaveTracked = nullptr;
  return left;
}

void ResetInputModel() {
  Model& m = TheModel();
  std::lock_guard<std::mutex> guard(m.lock);
  m.async.fill(0);
  m.cursor = POINT{};
  m.shape = nullptr;
  m.capture = nullptr;
  m.leaveTracked = nullptr;
  t_keys.fill(0);
}

}  // namespace zx::user

using namespace zx::user;

SHORT GetKeyState(int virtualKey) {
  if (!ValidKey(virtualKey)) return 0;
  const BYTE state = t_keys[static_cast<std::size_t>(virtualKey)];
  return static_cast<SHORT>(((state & kDown) ? 0x8000 : 0) | (state & kToggled));
}

SHORT GetAsyncKeyState(int virtualKey) {
  if (!ValidKey(virtualKey)) return 0;
  Model& m = TheModel();
  std::lock_guard<std::mutex> guard(m.lock);
  BYTE& state = m.async[static_cast<std::size_t>(virtualKey)];
  const SHORT answer = static_cast<SHORT>(((state & kDown) ? 0x8000 : 0) |
                                          ((state & kPressedSinceQuery) ? 1 : 0));
  state = static_cast<BYTE>(state & ~kPressedSinceQuery);
  return answer;
}

HWND SetCapture(HWND window) {
  if (!OwnedByCaller(window)) {
    if (!Find(window)) BadWindow();
    return nullptr;
  }
  HWND old;
  {
    Model& m = TheModel();
    std::lock_guard<std::mutex> guard(m.lock);
    old = m.capture;
    m.capture = window;
  }
  if (old && old != window) SendMessageW(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(window));
  return old && OwnedByCaller(old) ? old : nullptr;
}

BOOL ReleaseCapture() {
  HWND old;
  {
    Model& m = TheModel();
    std::lock_guard<std::mutex> guard(m.lock);
    old = m.capture;
    if (old && !OwnedByCaller(old)) return TRUE;
    m.capture = nullptr;
  }
  if (old) SendMessageW(old, WM_CAPTURECHANGED, 0, 0);
  return TRUE;
}

HWND GetCapture() {
  const HWND capture = CaptureWindow();
  return capture && OwnedByCaller(capture) ? capture : nullptr;
}

BOOL GetCursorPos(LPPOINT point) {
  if (!point) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  Model& m = TheModel();
  std::lock_guard<std::mutex> guard(m.lock);
  *point = m.cursor;
  return TRUE;
}

BOOL SetCursorPos(int x, int y) {
  MoveCursor(POINT{x, y});
  return TRUE;
}

HCURSOR SetCursor(HCURSOR cursor) {
  Model& m = TheModel();
  std::lock_guard<std::mutex> guard(m.lock);
  const HCURSOR old = m.shape;
  m.shape = cursor;
  return old;
}

HCURSOR GetCursor() {
  Model& m = TheModel();
  std::lock_guard<std::mutex> guard(m.lock);
  return m.shape;
}

BOOL TrackMouseEvent(LPTRACKMOUSEEVENT track) {
  if (!track || track->cbSize != sizeof(TRACKMOUSEEVENT)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  Model& m = TheModel();
  if (track->dwFlags & TME_QUERY) {
    std::lock_guard<std::mutex> guard(m.lock);
    track->dwFlags = m.leaveTracked ? TME_LEAVE : 0;
    track->hwndTrack = m.leaveTracked;
    return TRUE;
  }
  if (!Find(track->hwndTrack)) return BadWindow();
  if (!(track->dwFlags & TME_LEAVE)) return TRUE;
  bool leftAlready = false;
  {
    std::lock_guard<std::mutex> guard(m.lock);
    if (track->dwFlags & TME_CANCEL) {
      if (m.leaveTracked == track->hwndTrack) m.leaveTracked = nullptr;
      return TRUE;
    }
    m.leaveTracked = track->hwndTrack;
  }
  // A pointer already outside the window is answered at once.
  POINT at{};
  GetCursorPos(&at);
  const HWND under = HitWindow(at);
  leftAlready = under != track->hwndTrack;
  if (leftAlready && TakeLeaveTracking(under)) PostMessageW(track->hwndTrack, WM_MOUSELEAVE, 0, 0);
  return TRUE;
}
