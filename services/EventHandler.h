// CEventHandler: one manual-reset Win32 event with create, set, reset and the combined waits.
// A copy holds its own handle to the same event (both close what they hold).
#pragma once
#include <windows.h>

#include "HelperApi.h"

class ZXHELPER_API CEventHandler {
 public:
  CEventHandler();
  explicit CEventHandler(HANDLE event);
  CEventHandler(const CEventHandler& other);
  CEventHandler& operator=(const CEventHandler& other);
  virtual ~CEventHandler();

  // A new unnamed manual-reset event, not signalled; the handle, or null on failure.
  HANDLE Create();
  void Close();
  BOOL Set();
  BOOL Reset();
  // True when the wait did not end with the event signalled, or there is no event.
  BOOL WaitFailed(DWORD timeoutMs);
  // True when the event was signalled in time, which it then resets.
  BOOL WaitAndReset(DWORD timeoutMs);
  // False when the event was signalled; otherwise sets it and answers true.
  BOOL SignalIfIdle(DWORD timeoutMs);
  BOOL SetIfIdle(DWORD timeoutMs);
  HANDLE GetHandle() const { return m_hEvent; }

 private:
  static HANDLE Duplicate(HANDLE event);

  HANDLE m_hEvent = nullptr;
};
