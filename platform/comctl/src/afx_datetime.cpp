// CDateTimeCtrl: the class library's date and time picker over its messages.
#include "afxdtctl.h"

IMPLEMENT_DYNAMIC(CDateTimeCtrl, CWnd)

BOOL CDateTimeCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  InitCommonControls();
  return CWnd::Create(DATETIMEPICK_CLASSW, nullptr, dwStyle, rect, pParentWnd, nID);
}

DWORD CDateTimeCtrl::GetTime(LPSYSTEMTIME pTimeDest) const {
  return DateTime_GetSystemtime(m_hWnd, pTimeDest);
}

DWORD CDateTimeCtrl::GetTime(CTime& timeDest) const {
  SYSTEMTIME time{};
  const DWORD answer = GetTime(&time);
  if (answer == GDT_VALID) timeDest = CTime(time);
  return answer;
}

BOOL CDateTimeCtrl::SetTime(LPSYSTEMTIME pTimeNew) {
  return DateTime_SetSystemtime(m_hWnd, pTimeNew ? GDT_VALID : GDT_NONE, pTimeNew);
}

BOOL CDateTimeCtrl::SetTime(const CTime* pTimeNew) {
  if (!pTimeNew) return SetTime(static_cast<LPSYSTEMTIME>(nullptr));
  SYSTEMTIME time{};
  if (!pTimeNew->GetAsSystemTime(time)) return FALSE;
  return SetTime(&time);
}

BOOL CDateTimeCtrl::SetTime(const CTime& timeNew) { return SetTime(&timeNew); }

BOOL CDateTimeCtrl::SetFormat(LPCTSTR pstrFormat) { return DateTime_SetFormat(m_hWnd, pstrFormat); }
