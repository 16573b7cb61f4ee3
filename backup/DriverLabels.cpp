// CDriverLabels: the driver texts kept under a lock between the worker and the page.
#include "DriverLabels.h"

DriverShownFn CDriverLabels::Sink() {
  return [this](const CString& name, const CString& className) {
    {
      std::lock_guard<std::mutex> lock(m_lock);
      m_strName = name;
      m_strClass = className;
    }
    ::PostMessageW(m_page.m_hWnd, m_message, 0, 0);
  };
}

void CDriverLabels::Show(UINT nameId, UINT classId) {
  CString name, className;
  {
    std::lock_guard<std::mutex> lock(m_lock);
    name = m_strName;
    className = m_strClass;
  }
  m_page.SetDlgItemText(nameId, name);
  m_page.SetDlgItemText(classId, className);
}
