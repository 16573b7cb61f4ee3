// The window objects of this process and the table that names them by handle.
//
// Handles fit in 32 bits (below 0x80000000, so zero- and sign-extension agree) and name the
// same window in every process of the machine root: the bits above kSlotShift hold the
// process's slot in the runtime folder (see channel.h), the bits below a counter of this
// process. Slot 0 marks handles of a process that could not claim a slot: they are private
// to it. Every field here is guarded by TableLock(), which is the innermost lock of the
// window system: nothing else is locked, and no window procedure is called, while it is held.
#pragma once
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "winuser.h"

namespace zx::user {

struct ThreadQueue;

constexpr unsigned kSlotShift = 20;
constexpr std::uint32_t kCounterMask = (1u << kSlotShift) - 1;
constexpr int kMaxSlot = 2047;
// The desktop window's handle (slot 0, never allocated to a window).
constexpr std::uint32_t kDesktopHandle = 0x10010;

inline std::uint32_t HandleValue(HWND window) {
  return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(window));
}
inline HWND MakeHandle(std::uint32_t value) {
  return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(value));
}
// True when the value could be a window handle of this scheme (fits, not a special value).
bool IsHandleShaped(HWND window);
inline int SlotOf(HWND window) { return static_cast<int>(HandleValue(window) >> kSlotShift); }

struct WindowClass {
  std::u16string name;
  ATOM atom = 0;
  UINT style = 0;
  WNDPROC proc = nullptr;
  int classExtra = 0;
  int windowExtra = 0;
  HINSTANCE instance = nullptr;
  HICON icon = nullptr;
  HICON smallIcon = nullptr;
  HCURSOR cursor = nullptr;
  HBRUSH background = nullptr;
  LPCWSTR menuName = nullptr;  // an id (not kept as text)
  std::vector<BYTE> extra;
  int windows = 0;  // live windows of the class
};

struct Window {
  HWND handle = nullptr;
  DWORD threadId = 0;
  std::shared_ptr<ThreadQueue> queue;
  std::shared_ptr<WindowClass> windowClass;
  WNDPROC proc = nullptr;
  DWORD style = 0;
  DWORD exStyle = 0;
  std::u16string text;
  HICON bigIcon = nullptr;  // as WM_SETICON gave them (not owned)
  HICON smallIcon = nullptr;
  LONG_PTR id = 0;  // control id of a child, menu of a top-level window
  LONG_PTR userData = 0;
  HINSTANCE instance = nullptr;
  HWND parent = nullptr;  // null for top-level and message-only windows
  HWND owner = nullptr;
  bool messageOnly = false;
  std::vector<HWND> children;  // z-order, top first; creation order unless moved
  RECT rect{};                 // in the parent's client coordinates (screen for top-level)
  RECT normalRect{};           // the restored rectangle while minimised or maximised
  std::vector<BYTE> extra;
  HWND lastActivePopup = nullptr;
  bool destroying = false;
};

std::mutex& TableLock();
// The live local window a handle names, or null. TableLock() held.
Window* FindLocked(HWND window);
std::shared_ptr<Window> Find(HWND window);
// Top-level windows of this process in z-order, top first (message-only windows apart).
std::vector<HWND>& TopLevelLocked();
std::vector<HWND>& MessageOnlyLocked();
// The list a window is kept in: its parent's children, the top-level or message-only list.
std::vector<HWND>& SiblingsLocked(const Window& window);

// Allocates a handle in the given slot and stores the window under it. TableLock() held.
HWND InsertLocked(std::shared_ptr<Window> window, int slot);
void RemoveLocked(HWND window);
// Every live window of a thread (in no particular order). TableLock() held.
std::vector<HWND> WindowsOfThreadLocked(DWORD threadId);

// Removes every window of a thread that ended, without messages (create.cpp).
void DiscardThreadWindows(DWORD threadId);

// Forgets a window being destroyed as the calling thread's focus or active window (focus.cpp).
void ForgetInputState(HWND window);
// Tells the destroy observers (windowstate.cpp).
void NotifyDestroyed(HWND window);

// True when ancestor is a parent, grandparent... of window. TableLock() held.
bool IsAncestorLocked(HWND ancestor, HWND window);
// The class a name or atom names (null when none). TableLock() held.
std::shared_ptr<WindowClass> FindClassLocked(LPCWSTR nameOrAtom);

// Sets ERROR_INVALID_WINDOW_HANDLE and answers false.
bool BadWindow();

}  // namespace zx::user
