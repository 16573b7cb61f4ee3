// Calls on windows of other processes, made through the window channel (channel.h).
// Each answers false with the last error set when the handle does not name a window of
// another live process or that process cannot be reached.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "drive.h"
#include "winuser.h"

namespace zx::user::remote {

enum class Query : std::uint32_t {
  kExists = 1,
  kEnabled = 2,
  kVisible = 3,
  kIconic = 4,
  kZoomed = 5,
  kThreadProcess = 6,  // thread id, and the process id in the high 32 bits
  kLong = 7,           // GetWindowLongPtr of the argument's index (numbers only)
  kText = 8,
  kClassName = 9,
  kRect = 10,
  kLastActivePopup = 11,
  kRelative = 12,      // GetWindow of the argument's command
  kClientOrigin = 13,  // the client area's origin on the screen: x in the high 32 bits, y
};

enum class Action : std::uint32_t {
  kEnable = 1,
  kShow = 2,
  kSetForeground = 3,
  kBringToTop = 4,
};

struct TopLevel {
  HWND window;
  DWORD style;
  DWORD exStyle;
  DWORD processId;
  DWORD threadId;
  std::u16string className;
  std::u16string text;
};

// Does the handle's value name a window of another process (not checked to exist)?
bool IsForeign(HWND window);

bool QueryValue(HWND window, Query what, std::int64_t* value, std::uint64_t argument = 0);
bool QueryText(HWND window, Query what, std::u16string* text);
bool QueryRect(HWND window, RECT* rect);
bool QueryClientOrigin(HWND window, POINT* origin);
// Runs an action on the thread that owns the window.
bool Act(HWND window, Action what, std::uint64_t argument, std::int64_t* value);

bool Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
bool Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD timeoutMs,
          LRESULT* result);

// An injected pointer or key event (drive.h) performed by the window's process on the thread
// that owns it; `reached` takes the window the event was posted to (null: none).
bool Input(const drive::InputEvent& event, HWND* reached);
// The window's picture as PNG bytes, taken by the thread that owns it (drawn afresh first
// with `redrawn`).
bool Picture(HWND window, bool redrawn, std::string* png);

// Top-level windows of every other process, process by process in slot order, each in its
// process's z-order.
std::vector<TopLevel> ListTopLevel();
// Posts (or sends and waits for) a message to the top-level windows of every other process;
// answers how many windows it reached.
std::uint32_t Broadcast(UINT message, WPARAM wParam, LPARAM lParam, bool post, DWORD timeoutMs);

}  // namespace zx::user::remote
