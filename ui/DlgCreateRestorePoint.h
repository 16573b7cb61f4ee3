// CDlgCreateRestorePoint: the small modal "please wait" dialog with an animation shown while
// a System Restore point is made; it makes the point 512 ms after it opens and closes itself
// 512 ms after that.
#pragma once
#include <afxcmn.h>

#include "DlgBaseWnd.h"

class ZXHELPER_API CDlgCreateRestorePoint : public CDlgBaseWnd {
  DECLARE_DYNAMIC(CDlgCreateRestorePoint)

 public:
  static constexpr UINT kTemplateId = 12560;

  CDlgCreateRestorePoint();
  explicit CDlgCreateRestorePoint(CWnd* pParentWnd);

  // Shows the dialog while the point with this description is made; IDOK once done.
  virtual INT_PTR Run(LPCTSTR lpszDescription);
  // Refused with E_NOTIMPL: the dialog only runs through Run.
  INT_PTR DoModal() override;
  BOOL OnInitDialog() override;
  // The animation 1408 played without end.
  void StartAnimation();

 protected:
  afx_msg void OnTimer(UINT_PTR nIDEvent);

  CString m_strDescription;
  CStatic m_waitText;
  CAnimateCtrl m_animation;

  DECLARE_MESSAGE_MAP()
};
