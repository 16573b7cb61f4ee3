// Creating and destroying windows: CreateWindowExW with WM_NCCREATE, WM_CREATE, WM_SIZE and
// WM_MOVE; DestroyWindow with WM_DESTROY (the window, then its children) and WM_NCDESTROY
// (children first); and the silent end of the windows of a thread that ended.
#include <algorithm>

#include "channel.h"
#include "errhandlingapi.h"
#include "geometry.h"
#include "hooks.h"
#include "minmax.h"
#include "processthreadsapi.h"
#include "queue.h"
#include "remote.h"

namespace zx::user {
namespace {

constexpr int kDefaultPosition = 26;

// Takes a window out of the tree and the table. TableLock() held.
void UnlinkLocked(Window& w) {
  std::erase(SiblingsLocked(w), w.handle);
  for (HWND child : w.children) {
    // Children of another thread outlive their parent as top-level windows.
    if (Window* c = FindLocked(child)) {
      c->parent = nullptr;
      TopLevelLocked().insert(TopLevelLocked().begin(), child);
    }
  }
  --w.windowClass->windows;
  RemoveLocked(w.handle);
}

void Remove(HWND window) {
  DWORD threadId = 0;
  {
    std::lock_guard<std::mutex> guard(TableLock());
    Window* w = FindLocked(window);
    if (!w) return;
    threadId = w->threadId;
    for (HWND h : TopLevelLocked())
      if (Window* owned = FindLocked(h); owned->owner == window) owned->owner = nullptr;
    UnlinkLocked(*w);
  }
  ForgetWindow(window, threadId);
  NotifyDestroyed(window);
}

// WM_DESTROY to a window and then to each of its children, top-down.
void SendDestroy(HWND window) {
  std::vector<HWND> children;
  {
    std::lock_guard<std::mutex> guard(TableLock());
    Window* w = FindLocked(window);
    if (!w) return;
    w->destroying = true;
    w->style &= ~WS_VISIBLE;
    children = w->children;
  }
  ForgetInputState(window);
  SendMessageW(window, WM_DESTROY, 0, 0);
  for (HWND child : children) SendDestroy(child);
}

// WM_NCDESTROY to the children, then to the window, each removed after its message.
void SendFinalDestroy(HWND window) {
  std::vector<HWND> children;
  {
    std::lock_guard<std::mutex> guard(TableLock());
    const Window* w = FindLocked(window);
    if (!w) return;
    children = w->children;
  }
  for (HWND child : children) {
    const auto c = Find(child);
    if (c && !c->destroying) SendDestroy(child);  // made while its parent was being destroyed
    SendFinalDestroy(child);
  }
  SendMessageW(window, WM_NCDESTROY, 0, 0);
  Remove(window);
}

void NotifyParent(HWND window, UINT event) {
  HWND parent = nullptr;
  LONG_PTR id = 0;
  {
    std::lock_guard<std::mutex> guard(TableLock());
    const Window* w = FindLocked(window);
    if (!w || !(w->style & WS_CHILD) || (w->exStyle & WS_EX_NOPARENTNOTIFY)) return;
    parent = w->parent;
    id = w->id;
  }
  SendMessageW(parent, WM_PARENTNOTIFY, MAKELONG(event, static_cast<WORD>(id)),
               reinterpret_cast<LPARAM>(window));
}

struct Placement {
  HWND parent = nullptr;
  HWND owner = nullptr;
  bool messageOnly = false;
};

// Where a new window goes: a child under its parent, an owned or plain top-level window, or
// a message-only window.
bool Place(HWND parent, DWORD style, Placement* out) {
  if (parent == HWND_MESSAGE) {
    out->messageOnly = true;
    return true;
  }
  if (parent == GetDesktopWindow()) parent = nullptr;
  if ((style & WS_CHILD) && !parent) {
    SetLastError(ERROR_TLW_WITH_WSCHILD);
    return false;
  }
  if (!parent) return true;
  // A popup may be owned by a window of another process (a program's dialog over the window of
  // the program that started it); this process cannot track that owner, so the popup is
  // placed as a plain top-level window here.
  if (!(style & WS_CHILD) && remote::IsForeign(parent)) return true;
  if (!Find(parent)) return BadWindow();
  if (style & WS_CHILD)
    out->parent = parent;
  else
    out->owner = GetAncestor(parent, GA_ROOT);
  return true;
}

void ResolveDefaults(DWORD style, bool child, int* x, int* y, int* width, int* height) {
  const bool overlapped = !child && !(style & WS_POPUP);
  if (*x == CW_USEDEFAULT) {
    *x = overlapped ? kDefaultPosition : 0;
    *y = overlapped ? kDefaultPosition : 0;
  }
  if (*width == CW_USEDEFAULT) {
    const RECT work = WorkArea();
    *width = overlapped ? (work.right - work.left) * 3 / 4 : 0;
    *height = overlapped ? (work.bottom - work.top) * 3 / 4 : 0;
  }
}

}  // namespace

void DiscardThreadWindows(DWORD threadId) {
  std::vector<HWND> gone;
  {
    std::lock_guard<std::mutex> guard(TableLock());
    gone = WindowsOfThreadLocked(threadId);
    for (HWND h : gone)
      if (Window* w = FindLocked(h)) UnlinkLocked(*w);
  }
  for (HWND h : gone) NotifyDestroyed(h);
}

}  // namespace zx::user

using namespace zx::user;

HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x,
                     int y, int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                     LPVOID param) {
  Placement place;
  if (!Place(parent, style, &place)) return nullptr;
  const bool child = place.parent != nullptr;
  if (!child && !place.messageOnly) style |= WS_CLIPSIBLINGS | ((style & WS_POPUP) ? 0 : WS_CAPTION);
  ResolveDefaults(style, child, &x, &y, &width, &height);
  const int slot = channel::LocalSlot();
  auto w = std::make_shared<Window>();
  w->threadId = GetCurrentThreadId();
  w->queue = CurrentQueueShared();
  w->style = style & ~(WS_VISIBLE | WS_MINIMIZE | WS_MAXIMIZE);
  w->exStyle = exStyle;
  w->text = windowName && !IS_INTRESOURCE(windowName) ? windowName : u"";
  w->id = child ? reinterpret_cast<LONG_PTR>(menu) : 0;
  w->instance = instance;
  w->parent = place.parent;
  w->owner = place.owner;
  w->messageOnly = place.messageOnly;
  w->rect = RECT{x, y, x + std::max(width, 0), y + std::max(height, 0)};
  w->normalRect = w->rect;
  HWND window;
  {
    std::lock_guard<std::mutex> guard(TableLock());
    w->windowClass = FindClassLocked(className);
    if (!w->windowClass) {
      SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
      return nullptr;
    }
    if (place.parent && !FindLocked(place.parent)) {
      BadWindow();
      return nullptr;
    }
    w->proc = w->windowClass->proc;
    w->extra.assign(static_cast<std::size_t>(w->windowClass->windowExtra), 0);
    ++w->windowClass->windows;
    Window* raw = w.get();
    window = InsertLocked(std::move(w), slot);
    if (!window) {
      --raw->windowClass->windows;
      SetLastError(ERROR_NOT_ENOUGH_MEMORY);
      return nullptr;
    }
    auto& siblings = SiblingsLocked(*raw);
    if (child || place.messageOnly)
      siblings.push_back(window);
    else
      siblings.insert(siblings.begin(), window);
  }

  CREATESTRUCTW create{param,  instance, menu,   place.parent, height,    width,
                       y,      x,        static_cast<LONG>(style), windowName, className,
                       exStyle};
  CBT_CREATEWNDW cbt{&create, HWND_TOP};
  if (CbtHookStops(HCBT_CREATEWND, reinterpret_cast<WPARAM>(window), reinterpret_cast<LPARAM>(&cbt))) {
    Remove(window);
    return nullptr;
  }
  if (HasSizeLimits(style, !child && !place.messageOnly)) {
    const MINMAXINFO limits = AskSizeLimits(window, style, exStyle);
    ClampToTrackSize(limits, &create.cx, &create.cy);
    std::lock_guard<std::mutex> guard(TableLock());
    Window* w = FindLocked(window);
    if (!w) return nullptr;
    w->rect = RECT{x, y, x + create.cx, y + create.cy};
    w->normalRect = w->rect;
  }
  if (!SendMessageW(window, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&create))) {
    SendFinalDestroy(window);
    return nullptr;
  }
  if (SendMessageW(window, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
    DestroyWindow(window);
    return nullptr;
  }
  if (!IsWindow(window)) return nullptr;
  SendSizeAndMove(window);
  NotifyParent(window, WM_CREATE);
  if (style & WS_MINIMIZE)
    ShowWindow(window, (style & WS_VISIBLE) ? SW_SHOWMINNOACTIVE : SW_MINIMIZE);
  else if (style & WS_MAXIMIZE)
    ShowWindow(window, SW_SHOWMAXIMIZED);
  else if (style & WS_VISIBLE)
    ShowWindow(window, SW_SHOW);
  return IsWindow(window) ? window : nullptr;
}

BOOL DestroyWindow(HWND window) {
  const auto w = Find(window);
  if (!w) {
    SetLastError(remote::IsForeign(window) ? ERROR_ACCESS_DENIED : ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (w->threadId != GetCurrentThreadId()) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  {
    std::lock_guard<std::mutex> guard(TableLock());
    if (w->destroying) return TRUE;
  }
  if (CbtHookStops(HCBT_DESTROYWND, reinterpret_cast<WPARAM>(window), 0)) return FALSE;
  // Owned windows of this thread go first.
  std::vector<HWND> owned;
  {
    std::lock_guard<std::mutex> guard(TableLock());
    for (HWND h : TopLevelLocked())
      if (const Window* o = FindLocked(h); o->owner == window && o->threadId == w->threadId)
        owned.push_back(h);
  }
  for (HWND h : owned) DestroyWindow(h);
  NotifyParent(window, WM_DESTROY);
  if (GetActiveWindow() == window) {
    const HWND owner = GetWindow(window, GW_OWNER);
    SetActiveWindow(owner && IsWindowEnabled(owner) ? owner : nullptr);
  }
  SendDestroy(window);
  SendFinalDestroy(window);
  return TRUE;
}
