// CZWHeaderCtrl: the scheduler's list header: items painted on a one-pixel picture strip with
// a closing edge picture, their texts in the shared list font, and a check box at its left
// that a click turns on and off.
#pragma once
#include <afxcmn.h>

class CZWHeaderCtrl : public CHeaderCtrl {
  DECLARE_DYNAMIC(CZWHeaderCtrl)

 public:
  static constexpr UINT kEdgeBitmap = 128;
  static constexpr UINT kFillBitmap = 129;
  static constexpr UINT kClearBoxBitmap = 132;
  static constexpr UINT kCheckedBoxBitmap = 133;

  CZWHeaderCtrl();

  BOOL IsChecked() const { return m_bChecked; }
  // Whether the check box is drawn and takes clicks (on from construction).
  void SetClickable(BOOL bOn) { m_bClickable = bOn ? TRUE : FALSE; }
  // Where the check box lies: lower on Windows XP.
  static CRect CheckBoxRect();

 protected:
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);

 private:
  BYTE m_bClickable = TRUE;
  BYTE m_bChecked = FALSE;

  DECLARE_MESSAGE_MAP()
};
