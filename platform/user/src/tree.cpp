// The window tree: parents, owners, siblings in z-order, control ids, and finding and
// enumerating windows (top-level windows of every process of the machine root).
#include <algorithm>

#include "errhandlingapi.h"
#include "processthreadsapi.h"
#include "remote.h"
#include "window.h"
#include "zx/casefold.h"
#include "zx/shellwindows.h"

#ifndef ERROR_CONTROL_ID_NOT_FOUND
#define ERROR_CONTROL_ID_NOT_FOUND 1421L
#endif

namespace zx::user {
namespace {

constexpr ATOM kDialogAtom = 0x8002;

struct Candidate {
  HWND window;
  std::u16string className;
  ATOM atom;  // 0 for another process's window
  std::u16string text;
};

bool ClassMatches(LPCWSTR wanted, const Candidate& c) {
  if (!wanted) return true;
  if (IS_INTRESOURCE(wanted)) {
    const auto atom = static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(wanted));
    if (c.atom) return c.atom == atom;
    return atom == kDialogAtom && c.className == u"#32770";
  }
  return EqualNoCase(wanted, c.className.c_str());
}

Candidate Describe(const Window& w) {
  return Candidate{w.handle, w.windowClass->name, w.windowClass->atom, w.text};
}

// Top-level windows of this process then of the others; children of a local parent; or
// message-only windows.
std::vector<Candidate> CandidatesUnder(HWND parent) {
  std::vector<Candidate> out;
  const bool topLevel = !parent || parent == GetDesktopWindow();
  {
    std::lock_guard<std::mutex> guard(TableLock());
    const std::vector<HWND>* list = nullptr;
    if (topLevel)
      list = &TopLevelLocked();
    else if (parent == HWND_MESSAGE)
      list = &MessageOnlyLocked();
    else if (const Window* p = FindLocked(parent))
      list = &p->children;
    if (list)
      for (HWND h : *list) out.push_back(Describe(*FindLocked(h)));
  }
  if (topLevel)
    for (auto& w : remote::ListTopLevel())
      out.push_back(Candidate{w.window, std::move(w.className), 0, std::move(w.text)});
  return out;
}

// Depth-first: each child, then its own children.
void CollectDescendantsLocked(const Window& w, std::vector<HWND>* out) {
  for (HWND child : w.children) {
    out->push_back(child);
    CollectDescendantsLocked(*FindLocked(child), out);
  }
}

BOOL Enumerate(const std::vector<HWND>& windows, WNDENUMPROC callback, LPARAM param) {
  if (!callback) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  for (HWND window : windows)
    if (!callback(window, param)) return FALSE;
  return TRUE;
}

}  // namespace
}  // namespace zx::user

using namespace zx::user;

HWND GetDesktopWindow() { return MakeHandle(kDesktopHandle); }

BOOL IsWindow(HWND window) {
  if (window == GetDesktopWindow() || Find(window)) return TRUE;
  std::int64_t exists = 0;
  return remote::QueryValue(window, remote::Query::kExists, &exists) && exists;
}

HWND GetParent(HWND window) {
  std::lock_guard<std::mutex> guard(TableLock());
  const Window* w = FindLocked(window);
  if (!w) {
    BadWindow();
    return nullptr;
  }
  if (w->style & WS_CHILD) return w->parent;
  return (w->style & WS_POPUP) ? w->owner : nullptr;
}

HWND SetParent(HWND child, HWND newParent) {
  if (newParent == GetDesktopWindow()) newParent = nullptr;
  std::lock_guard<std::mutex> guard(TableLock());
  Window* w = FindLocked(child);
  Window* p = newParent ? FindLocked(newParent) : nullptr;
  if (!w || (newParent && !p)) {
    BadWindow();
    return nullptr;
  }
  if (newParent == child || (newParent && IsAncestorLocked(child, newParent))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const HWND old = w->parent ? w->parent : GetDesktopWindow();
  std::erase(SiblingsLocked(*w), child);
  w->parent = newParent;
  w->messageOnly = false;
  if (p)
    p->children.push_back(child);
  else
    TopLevelLocked().insert(TopLevelLocked().begin(), child);
  return old;
}

HWND GetAncestor(HWND window, UINT flags) {
  std::lock_guard<std::mutex> guard(TableLock());
  const Window* w = FindLocked(window);
  if (!w) {
    BadWindow();
    return nullptr;
  }
  switch (flags) {
    case GA_PARENT:
      return w->parent ? w->parent : GetDesktopWindow();
    case GA_ROOT:
    case GA_ROOTOWNER:
      while (w->parent) w = FindLocked(w->parent);
      if (flags == GA_ROOTOWNER)
        while (w->owner && FindLocked(w->owner)) w = FindLocked(w->owner);
      return w->handle;
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return nullptr;
  }
}

HWND GetWindow(HWND window, UINT command) {
  if (remote::IsForeign(window)) {
    // Another process's window: its process answers from its own tree.
    std::int64_t value = 0;
    if (!remote::QueryValue(window, remote::Query::kRelative, &value, command)) return nullptr;
    return MakeHandle(static_cast<std::uint32_t>(value));
  }
  std::lock_guard<std::mutex> guard(TableLock());
  if (window == GetDesktopWindow() && command == GW_CHILD)
    return TopLevelLocked().empty() ? nullptr : TopLevelLocked().front();
  const Window* w = FindLocked(window);
  if (!w) {
    BadWindow();
    return nullptr;
  }
  const std::vector<HWND>& siblings = SiblingsLocked(*w);
  const auto at = std::find(siblings.begin(), siblings.end(), window);
  switch (command) {
    case GW_HWNDFIRST: return siblings.front();
    case GW_HWNDLAST: return siblings.back();
    case GW_HWNDNEXT: return at + 1 == siblings.end() ? nullptr : *(at + 1);
    case GW_HWNDPREV: return at == siblings.begin() ? nullptr : *(at - 1);
    case GW_OWNER: return w->owner;
    case GW_CHILD: return w->children.empty() ? nullptr : w->children.front();
    case GW_ENABLEDPOPUP:
      for (HWND h : TopLevelLocked()) {
        const Window* popup = FindLocked(h);
        if (popup->owner == window && (popup->style & WS_VISIBLE) && !(popup->style & WS_DISABLED))
          return h;
      }
      return nullptr;
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return nullptr;
  }
}

HWND GetTopWindow(HWND window) {
  return GetWindow(window ? window : GetDesktopWindow(), GW_CHILD);
}

BOOL IsChild(HWND parent, HWND window) {
  std::lock_guard<std::mutex> guard(TableLock());
  return IsAncestorLocked(parent, window);
}

HWND GetDlgItem(HWND dialog, int id) {
  std::lock_guard<std::mutex> guard(TableLock());
  const Window* w = FindLocked(dialog);
  if (!w) {
    BadWindow();
    return nullptr;
  }
  for (HWND child : w->children)
    if (FindLocked(child)->id == id) return child;
  SetLastError(ERROR_CONTROL_ID_NOT_FOUND);
  return nullptr;
}

int GetDlgCtrlID(HWND window) {
  std::lock_guard<std::mutex> guard(TableLock());
  const Window* w = FindLocked(window);
  if (!w) return BadWindow();
  return (w->style & WS_CHILD) ? static_cast<int>(w->id) : 0;
}

HWND FindWindowExW(HWND parent, HWND childAfter, LPCWSTR className, LPCWSTR windowName) {
  if (!parent || parent == GetDesktopWindow()) MakeShellWindows(className);
  const std::vector<Candidate> candidates = CandidatesUnder(parent);
  auto it = candidates.begin();
  if (childAfter) {
    it = std::find_if(candidates.begin(), candidates.end(),
                      [&](const Candidate& c) { return c.window == childAfter; });
    if (it != candidates.end()) ++it;
  }
  for (; it != candidates.end(); ++it)
    if (ClassMatches(className, *it) && (!windowName || zx::EqualNoCase(windowName, it->text.c_str())))
      return it->window;
  SetLastError(ERROR_FILE_NOT_FOUND);
  return nullptr;
}

HWND FindWindowW(LPCWSTR className, LPCWSTR windowName) {
  return FindWindowExW(nullptr, nullptr, className, windowName);
}

BOOL EnumWindows(WNDENUMPROC callback, LPARAM param) {
  std::vector<HWND> windows;
  for (const Candidate& c : CandidatesUnder(nullptr)) windows.push_back(c.window);
  return Enumerate(windows, callback, param);
}

BOOL EnumChildWindows(HWND parent, WNDENUMPROC callback, LPARAM param) {
  if (!parent || parent == GetDesktopWindow()) return EnumWindows(callback, param);
  std::vector<HWND> windows;
  {
    std::lock_guard<std::mutex> guard(TableLock());
    const Window* w = FindLocked(parent);
    if (!w) return BadWindow();
    CollectDescendantsLocked(*w, &windows);
  }
  return Enumerate(windows, callback, param);
}

BOOL EnumThreadWindows(DWORD threadId, WNDENUMPROC callback, LPARAM param) {
  std::vector<HWND> windows;
  {
    std::lock_guard<std::mutex> guard(TableLock());
    for (HWND h : TopLevelLocked())
      if (FindLocked(h)->threadId == threadId) windows.push_back(h);
  }
  return Enumerate(windows, callback, param);
}

DWORD GetWindowThreadProcessId(HWND window, LPDWORD processId) {
  {
    std::lock_guard<std::mutex> guard(TableLock());
    if (const Window* w = FindLocked(window)) {
      if (processId) *processId = GetCurrentProcessId();
      return w->threadId;
    }
  }
  std::int64_t value = 0;
  if (!remote::QueryValue(window, remote::Query::kThreadProcess, &value)) return 0;
  if (processId) *processId = static_cast<DWORD>(static_cast<std::uint64_t>(value) >> 32);
  return static_cast<DWORD>(value);
}
