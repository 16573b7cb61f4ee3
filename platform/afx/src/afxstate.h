// Per-thread state of the class library's window side: the message being handled, the object
// a window is being created for, temporary window objects, and the thread object.
#pragma once
#include <memory>
#include <unordered_map>

#include "afxwin.h"

namespace zx::afx {

struct ThreadState {
  ThreadState() = default;
  ~ThreadState();
  ThreadState(const ThreadState&) = delete;
  ThreadState& operator=(const ThreadState&) = delete;

  MSG lastSent{};            // what the innermost AfxCallWndProc is handling
  CWnd* creating = nullptr;  // the object CreateEx makes a window for
  HHOOK cbtHook = nullptr;
  CWinThread* thread = nullptr;
  std::unordered_map<HWND, std::unique_ptr<CWnd>> temporary;
};

ThreadState& State();

}  // namespace zx::afx
