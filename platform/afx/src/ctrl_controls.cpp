// The standard controls of the class library: creation under their window classes, the
// reflected owner drawing that reaches DrawItem and MeasureItem, and the combo box's texts.
#include "afxwin.h"

IMPLEMENT_DYNAMIC(CButton, CWnd)
IMPLEMENT_DYNAMIC(CStatic, CWnd)
IMPLEMENT_DYNAMIC(CEdit, CWnd)
IMPLEMENT_DYNAMIC(CComboBox, CWnd)
IMPLEMENT_DYNAMIC(CRichEditCtrl, CWnd)

BEGIN_MESSAGE_MAP(CButton, CWnd)
  ON_WM_DRAWITEM_REFLECT()
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CStatic, CWnd)
  ON_WM_DRAWITEM_REFLECT()
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CComboBox, CWnd)
  ON_WM_DRAWITEM_REFLECT()
  ON_WM_MEASUREITEM_REFLECT()
END_MESSAGE_MAP()

BOOL CButton::Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create(WC_BUTTONW, lpszCaption, dwStyle, rect, pParentWnd, nID);
}

BOOL CStatic::Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create(WC_STATICW, lpszText, dwStyle, rect, pParentWnd, nID);
}

BOOL CEdit::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create(WC_EDITW, u"", dwStyle, rect, pParentWnd, nID);
}

BOOL CComboBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create(WC_COMBOBOXW, u"", dwStyle, rect, pParentWnd, nID);
}

BOOL CRichEditCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create(RICHEDIT_CLASSW, u"", dwStyle, rect, pParentWnd, nID);
}

void CComboBox::GetLBText(int nIndex, CString& rString) const {
  const int length = GetLBTextLen(nIndex);
  if (length == CB_ERR) {
    rString.Empty();
    return;
  }
  LPTSTR buffer = rString.GetBuffer(length);
  GetLBText(nIndex, buffer);
  rString.ReleaseBuffer(length);
}
