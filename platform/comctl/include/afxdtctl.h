// CDateTimeCtrl: the class library's date and time picker over its messages.
#pragma once
#include "afxwin.h"
#include "atltime.h"
#include "datetimepick.h"

class CDateTimeCtrl : public CWnd {
  DECLARE_DYNAMIC(CDateTimeCtrl)

 public:
  using CWnd::Create;
  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  // GDT_VALID with the time, GDT_NONE (the time left as it was) or GDT_ERROR.
  DWORD GetTime(CTime& timeDest) const;
  DWORD GetTime(LPSYSTEMTIME pTimeDest) const;
  // A null time sets "no time" (only with DTS_SHOWNONE).
  BOOL SetTime(const CTime* pTimeNew);
  BOOL SetTime(const CTime& timeNew);
  BOOL SetTime(LPSYSTEMTIME pTimeNew = nullptr);
  BOOL SetFormat(LPCTSTR pstrFormat);
};
