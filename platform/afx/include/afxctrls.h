// The class library's standard controls over the window system's classes: CButton, CStatic,
// CEdit, CComboBox and CRichEditCtrl. Each is a CWnd whose members send the control's
// messages; owner drawing reaches the control's DrawItem (and MeasureItem) by reflection.
#pragma once
#include "afxwin.h"
#include "richedit.h"
#include "windlg.h"

class CButton : public CWnd {
  DECLARE_DYNAMIC(CButton)

 public:
  using CWnd::Create;
  BOOL Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  int GetCheck() const { return static_cast<int>(Send(BM_GETCHECK)); }
  void SetCheck(int nCheck) { Send(BM_SETCHECK, static_cast<WPARAM>(nCheck)); }
  UINT GetState() const { return static_cast<UINT>(Send(BM_GETSTATE)); }
  void SetState(BOOL bHighlight) { Send(BM_SETSTATE, static_cast<WPARAM>(bHighlight)); }
  UINT GetButtonStyle() const { return GetStyle() & 0xFFFFu; }
  void SetButtonStyle(UINT nStyle, BOOL bRedraw = TRUE) { Send(BM_SETSTYLE, nStyle, bRedraw); }
  HBITMAP SetBitmap(HBITMAP hBitmap) {
    return reinterpret_cast<HBITMAP>(Send(BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(hBitmap)));
  }
  HBITMAP GetBitmap() const { return reinterpret_cast<HBITMAP>(Send(BM_GETIMAGE, IMAGE_BITMAP)); }
  HICON SetIcon(HICON hIcon) {
    return reinterpret_cast<HICON>(Send(BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(hIcon)));
  }
  HICON GetIcon() const { return reinterpret_cast<HICON>(Send(BM_GETIMAGE, IMAGE_ICON)); }
  void Click() { Send(BM_CLICK); }

 protected:
  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
  }
  DECLARE_MESSAGE_MAP()
};

class CStatic : public CWnd {
  DECLARE_DYNAMIC(CStatic)

 public:
  using CWnd::Create;
  BOOL Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID = 0xFFFF);
  HBITMAP SetBitmap(HBITMAP hBitmap) {
    return reinterpret_cast<HBITMAP>(
        ::SendMessageW(m_hWnd, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(hBitmap)));
  }
  HBITMAP GetBitmap() const {
    return reinterpret_cast<HBITMAP>(::SendMessageW(m_hWnd, STM_GETIMAGE, IMAGE_BITMAP, 0));
  }
  HICON SetIcon(HICON hIcon) {
    return reinterpret_cast<HICON>(::SendMessageW(m_hWnd, STM_SETICON, reinterpret_cast<WPARAM>(hIcon), 0));
  }
  HICON GetIcon() const { return reinterpret_cast<HICON>(::SendMessageW(m_hWnd, STM_GETICON, 0, 0)); }

 protected:
  DECLARE_MESSAGE_MAP()
};

class CEdit : public CWnd {
  DECLARE_DYNAMIC(CEdit)

 public:
  using CWnd::Create;
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  void LimitText(int nChars = 0) { Send(EM_LIMITTEXT, static_cast<WPARAM>(nChars)); }
  void SetLimitText(UINT nMax) { Send(EM_LIMITTEXT, nMax); }
  UINT GetLimitText() const { return static_cast<UINT>(Send(EM_GETLIMITTEXT)); }
  DWORD GetSel() const { return static_cast<DWORD>(Send(EM_GETSEL)); }
  void GetSel(int& nStartChar, int& nEndChar) const {
    DWORD start = 0, end = 0;
    Send(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    nStartChar = static_cast<int>(start);
    nEndChar = static_cast<int>(end);
  }
  void SetSel(int nStartChar, int nEndChar, BOOL = FALSE) {
    Send(EM_SETSEL, static_cast<WPARAM>(nStartChar), static_cast<LPARAM>(nEndChar));
  }
  void SetSel(DWORD dwSelection, BOOL = FALSE) {
    Send(EM_SETSEL, LOWORD(dwSelection), HIWORD(dwSelection));
  }
  void ReplaceSel(LPCTSTR lpszNewText, BOOL bCanUndo = FALSE) {
    Send(EM_REPLACESEL, static_cast<WPARAM>(bCanUndo), reinterpret_cast<LPARAM>(lpszNewText));
  }
  BOOL SetReadOnly(BOOL bReadOnly = TRUE) { return static_cast<BOOL>(Send(EM_SETREADONLY, static_cast<WPARAM>(bReadOnly))); }
  void SetPasswordChar(TCHAR ch) { Send(EM_SETPASSWORDCHAR, ch); }
  TCHAR GetPasswordChar() const { return static_cast<TCHAR>(Send(EM_GETPASSWORDCHAR)); }
  BOOL GetModify() const { return static_cast<BOOL>(Send(EM_GETMODIFY)); }
  void SetModify(BOOL bModified = TRUE) { Send(EM_SETMODIFY, static_cast<WPARAM>(bModified)); }
  int GetLineCount() const { return static_cast<int>(Send(EM_GETLINECOUNT)); }

 protected:
  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
  }
};

class CComboBox : public CWnd {
  DECLARE_DYNAMIC(CComboBox)

 public:
  using CWnd::Create;
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  int AddString(LPCTSTR lpszString) { return Int(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(lpszString)); }
  int InsertString(int nIndex, LPCTSTR lpszString) {
    return Int(CB_INSERTSTRING, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpszString));
  }
  int DeleteString(UINT nIndex) { return Int(CB_DELETESTRING, nIndex); }
  void ResetContent() { Int(CB_RESETCONTENT); }
  int GetCount() const { return Int(CB_GETCOUNT); }
  int GetCurSel() const { return Int(CB_GETCURSEL); }
  int SetCurSel(int nSelect) { return Int(CB_SETCURSEL, static_cast<WPARAM>(nSelect)); }
  int GetLBText(int nIndex, LPTSTR lpszText) const {
    return Int(CB_GETLBTEXT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpszText));
  }
  void GetLBText(int nIndex, CString& rString) const;
  int GetLBTextLen(int nIndex) const { return Int(CB_GETLBTEXTLEN, static_cast<WPARAM>(nIndex)); }
  DWORD_PTR GetItemData(int nIndex) const {
    return static_cast<DWORD_PTR>(::SendMessageW(m_hWnd, CB_GETITEMDATA, static_cast<WPARAM>(nIndex), 0));
  }
  int SetItemData(int nIndex, DWORD_PTR dwItemData) {
    return Int(CB_SETITEMDATA, static_cast<WPARAM>(nIndex), static_cast<LPARAM>(dwItemData));
  }
  void* GetItemDataPtr(int nIndex) const { return reinterpret_cast<void*>(GetItemData(nIndex)); }
  int SetItemDataPtr(int nIndex, void* pData) { return SetItemData(nIndex, reinterpret_cast<DWORD_PTR>(pData)); }
  int FindString(int nStartAfter, LPCTSTR lpszString) const {
    return Int(CB_FINDSTRING, static_cast<WPARAM>(nStartAfter), reinterpret_cast<LPARAM>(lpszString));
  }
  int FindStringExact(int nIndexStart, LPCTSTR lpszFind) const {
    return Int(CB_FINDSTRINGEXACT, static_cast<WPARAM>(nIndexStart), reinterpret_cast<LPARAM>(lpszFind));
  }
  int SelectString(int nStartAfter, LPCTSTR lpszString) {
    return Int(CB_SELECTSTRING, static_cast<WPARAM>(nStartAfter), reinterpret_cast<LPARAM>(lpszString));
  }
  void ShowDropDown(BOOL bShowIt = TRUE) { Int(CB_SHOWDROPDOWN, static_cast<WPARAM>(bShowIt)); }
  BOOL GetDroppedState() const { return Int(CB_GETDROPPEDSTATE); }

 protected:
  int Int(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return static_cast<int>(::SendMessageW(m_hWnd, message, wParam, lParam));
  }
  DECLARE_MESSAGE_MAP()
};

class CRichEditCtrl : public CWnd {
  DECLARE_DYNAMIC(CRichEditCtrl)

 public:
  using CWnd::Create;
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  void LimitText(long nChars = 0) { Send(EM_EXLIMITTEXT, 0, nChars); }
  long GetLimitText() const { return static_cast<long>(Send(EM_GETLIMITTEXT)); }
  void SetSel(long nStartChar, long nEndChar) {
    CHARRANGE range{static_cast<LONG>(nStartChar), static_cast<LONG>(nEndChar)};
    Send(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
  }
  void SetSel(CHARRANGE& cr) { Send(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&cr)); }
  void GetSel(CHARRANGE& cr) const { Send(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&cr)); }
  void GetSel(long& nStartChar, long& nEndChar) const {
    CHARRANGE range{};
    GetSel(range);
    nStartChar = range.cpMin;
    nEndChar = range.cpMax;
  }
  void ReplaceSel(LPCTSTR lpszNewText, BOOL bCanUndo = FALSE) {
    Send(EM_REPLACESEL, static_cast<WPARAM>(bCanUndo), reinterpret_cast<LPARAM>(lpszNewText));
  }
  BOOL SetReadOnly(BOOL bReadOnly = TRUE) { return static_cast<BOOL>(Send(EM_SETREADONLY, static_cast<WPARAM>(bReadOnly))); }
  DWORD SetEventMask(DWORD dwEventMask) { return static_cast<DWORD>(Send(EM_SETEVENTMASK, 0, dwEventMask)); }
  DWORD GetEventMask() const { return static_cast<DWORD>(Send(EM_GETEVENTMASK)); }
  COLORREF SetBackgroundColor(BOOL bSysColor, COLORREF cr) {
    return static_cast<COLORREF>(Send(EM_SETBKGNDCOLOR, static_cast<WPARAM>(bSysColor), cr));
  }
  long GetTextLength() const { return static_cast<long>(Send(WM_GETTEXTLENGTH)); }

 protected:
  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
  }
};
