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
  virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
  virtual BOOL CreateIndirect(LPCDLGTEMPLATEW lpDialogTemplate, CWnd* pParentWnd = nullptr);

  virtual BOOL OnInitDialog();
  void EndDialog(int nResult);

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
