// The class library's OLE start-up: AfxOleInit with the thread's OLE message filter, and
// control containment. Nothing here blocks on another apartment, so the filter's settings
// (how long a pending call waits before the busy and not-responding dialogs, and whether they
// show) are kept for the program to read back; no dialog is ever shown.
#pragma once
#include "wintypes.h"

class COleMessageFilter {
 public:
  void SetMessagePendingDelay(DWORD nTimeout = 5000) { m_nTimeout = nTimeout; }
  void EnableBusyDialog(BOOL bEnableBusy = TRUE) { m_bEnableBusy = bEnableBusy; }
  void EnableNotRespondingDialog(BOOL bEnableNotResponding = TRUE) { m_bEnableNotResponding = bEnableNotResponding; }

  DWORD GetMessagePendingDelay() const { return m_nTimeout; }
  BOOL IsBusyDialogEnabled() const { return m_bEnableBusy; }
  BOOL IsNotRespondingDialogEnabled() const { return m_bEnableNotResponding; }

 private:
  DWORD m_nTimeout = 5000;
  BOOL m_bEnableBusy = TRUE;
  BOOL m_bEnableNotResponding = TRUE;
};

// Starts OLE on the calling thread (a single-threaded apartment, counted like CoInitializeEx)
// and gives the thread its message filter. FALSE when the thread's COM runs in the other
// model; the filter is not made then.
BOOL AfxOleInit();
// The calling thread's message filter; null before AfxOleInit succeeded on the thread.
COleMessageFilter* AfxOleGetMessageFilter();
// Lets the program's dialogs hold controls; the choice lasts for the process.
void AfxEnableControlContainer();

namespace zx::afx {
// Whether AfxEnableControlContainer was called.
bool IsControlContainerEnabled();
}  // namespace zx::afx
