// CDriverLabels: the name and class of the driver a backup or restore worker has come to,
// handed to the page that shows them. The worker keeps the texts and posts the page a
// message; the page sets its two labels on its own thread, so a worker never waits for it.
#pragma once
#include <afxwin.h>

#include <mutex>

#include "DeviceRecord.h"

class CDriverLabels {
 public:
  // The page and the message it handles by calling Show.
  CDriverLabels(CWnd& page, UINT message) : m_page(page), m_message(message) {}

  // What the worker is told each driver through.
  DriverShownFn Sink();
  // Sets the labels to the last driver told.
  void Show(UINT nameId, UINT classId);

 private:
  CWnd& m_page;
  UINT m_message;
  std::mutex m_lock;
  CString m_strName;
  CString m_strClass;
};
