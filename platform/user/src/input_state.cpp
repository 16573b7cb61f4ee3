// The input model: key and button state (per thread as messages are taken, and as input
// happens), the pointer and its shape, mouse capture and TrackMouseEvent's leave tracking.
#include <array>
#include <cstdlib>
#include <mutex>

#include "errhandlingapi.h"
#include "geometry.h"
#include "input_model.h"
#include "processthreadsapi.h"
#include "zx/input.h"
#include "zx/waits.h"
#include "zx/windowstate.h"

namespace zx::user {
namespace {

constexpr BYTE kDown = 0x80;
constexpr BYTE kToggled = 0x01;
constexpr BYTE kPressedSinceQuery = 0x02;
constexpr DWORD kDefaultHoverMs = 400;
constexpr LONG kHoverSlack = 4;  // pixels the pointer may move while resting

struct Hover {
  HWND window = nullptr;
  DWORD threadId = 0;
  DWORD timeMs = 0;
  std::uint64_t due = 0;
  POINT at{};
};

struct Model {
  std::mutex lock;
  std::array<BYTE, 256> async{};
  POINT cursor{};
  HCURSOR shape = nullptr;
  HWND capture = nullptr;
  HWND leaveTracked = nullptr;
  Hover hover;
};

Model& TheModel() {
  static Model* model = [] {
    auto* m = new Model;
    AddDestroyObserver([m](HWND window) {
      std::lock_guard<std::mutex> guard(m->lock);
      if (m->capture == window) m->capture = nullptr;
      if (m->leaveTracked == window) m->leaveTracked = nullptr;
      if (m->hover.window == window) m->hover = Hover{};
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
  // The leave ends all the tracking asked for the window: no hover follows it.
  if (m.hover.window == left) m.hover = Hover{};
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
  m.hover = Hover{};
  t_keys.fill(0);
}

std::uint64_t HoverDue(DWORD threadId) {
  Model& m = TheModel();
  std::lock_guard<std::mutex> guard(m.lock);
  return m.hover.window && m.hover.threadId == threadId ? m.hover.due : UINT64_MAX;
}

bool TakeDueHover(DWORD threadId, const Filter& filter, bool remove, std::uint64_t now, MSG* msg) {
  Model& m = TheModel();
  std::lock_guard<std::mutex> guard(m.lock);
  const Hover& h = m.hover;
  if (!h.window || h.threadId != threadId || now < h.due || !Accepts(filter, h.window, WM_MOUSEHOVER))
    return false;
  POINT client = h.at;
  ScreenToClient(h.window, &client);
  WPARAM keys = 0;
  for (const auto& [key, flag] : {std::pair{VK_LBUTTON, MK_LBUTTON}, {VK_RBUTTON, MK_RBUTTON},
                                  {VK_MBUTTON, MK_MBUTTON}, {VK_SHIFT, MK_SHIFT}, {VK_CONTROL, MK_CONTROL}})
    if (m.async[static_cast<std::size_t>(key)] & kDown) keys |= flag;
  *msg = MSG{h.window, WM_MOUSEHOVER, keys,
             MAKELPARAM(static_cast<WORD>(client.x), static_cast<WORD>(client.y)), static_cast<DWORD>(now), h.at};
  if (remove) m.hover = Hover{};  // one message per request
  return true;
}

void NoteHoverMove(HWND target, POINT screen) {
  Model& m = TheModel();
  {
    std::lock_guard<std::mutex> guard(m.lock);
    Hover& h = m.hover;
    if (!h.window) return;
    if (h.window != target) {
      h = Hover{};
      return;
    }
    if (std::abs(screen.x - h.at.x) <= kHoverSlack && std::abs(screen.y - h.at.y) <= kHoverSlack) return;
    h.at = screen;
    h.due = NowMs() + h.timeMs;
  }
  zx::NotifyWaiters();
}

void NotePointerLeft() {
  NoteHoverMove(nullptr, POINT{});
  if (const HWND left = TakeLeaveTracking(nullptr)) PostMessageW(left, WM_MOUSELEAVE, 0, 0);
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
    track->dwFlags = (m.leaveTracked ? TME_LEAVE : 0u) | (m.hover.window ? TME_HOVER : 0u);
    track->hwndTrack = m.leaveTracked ? m.leaveTracked : m.hover.window;
    track->dwHoverTime = m.hover.timeMs;
    return TRUE;
  }
  const auto w = Find(track->hwndTrack);
  if (!w) return BadWindow();
  if (track->dwFlags & TME_HOVER) {
    {
      std::lock_guard<std::mutex> guard(m.lock);
      if (track->dwFlags & TME_CANCEL) {
        if (m.hover.window == track->hwndTrack) m.hover = Hover{};
      } else {
        const DWORD time = track->dwHoverTime == HOVER_DEFAULT ? kDefaultHoverMs : track->dwHoverTime;
        m.hover = Hover{track->hwndTrack, w->threadId, time, NowMs() + time, m.cursor};
      }
    }
    zx::NotifyWaiters();
  }
  if (!(track->dwFlags & TME_LEAVE)) return TRUE;
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
  if (under != track->hwndTrack && TakeLeaveTracking(under)) PostMessageW(track->hwndTrack, WM_MOUSELEAVE, 0, 0);
  return TRUE;
}
