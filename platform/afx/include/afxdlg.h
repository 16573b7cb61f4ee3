// CDialog: the class library's dialog over the window system's dialog manager. The dialog
// window is attached to the object when it gets WM_INITDIALOG, so OnInitDialog and the
// message map see every message from then on; IDOK and IDCANCEL go to OnOK and OnCancel.
#pragma once
#include "afxwin.h"
#include "windlg.h"

class CDialog : public CWnd {
  DECLARE_DYNAMIC(CDialog)

 public:
  CDialog() = default;
  explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

  // A modal dialog from the resource template (of AfxGetResourceHandle) or the one given to
  // InitModalIndirect: EndDialog's result, or -1 when the dialog could not be made.
  virtual INT_PTR DoModal();
  BOOL InitModalIndirect(LPCDLGTEMPLATEW lpDialogTemplate, CWnd* pParentWnd = nullptr);
  // Modeless dialogs.
  using CWnd::Create;
  virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
  virtual BOOL CreateIndirect(LPCDLGTEMPLATEW lpDialogTemplate, CWnd* pParentWnd = nullptr);

  virtual BOOL OnInitDialog();
  void EndDialog(int nResult);

  // The default push button's id and moving the focus among the items.
  void SetDefID(UINT nID) { ::SendMessageW(m_hWnd, DM_SETDEFID, nID, 0); }
  DWORD GetDefID() const { return static_cast<DWORD>(::SendMessageW(m_hWnd, DM_GETDEFID, 0, 0)); }
  void NextDlgCtrl() const { ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, 0, FALSE); }
  void PrevDlgCtrl() const { ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, 1, FALSE); }
  void GotoDlgCtrl(CWnd* pWndCtrl) {
    if (pWndCtrl) ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(pWndCtrl->m_hWnd), TRUE);
  }
  void MapDialogRect(LPRECT lpRect) const { ::MapDialogRect(m_hWnd, lpRect); }

 protected:
  virtual void OnOK();
  virtual void OnCancel();

  UINT m_nIDTemplate = 0;
  LPCDLGTEMPLATEW m_lpDialogTemplate = nullptr;
  CWnd* m_pParentWnd = nullptr;

 private:
  static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
  HWND ParentHandle(CWnd* pParentWnd) const;

  DECLARE_MESSAGE_MAP()
};
