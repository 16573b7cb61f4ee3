// CDialog: modal and modeless dialogs of the class library, attached on WM_INITDIALOG.
#include "afxdlg.h"
#include "winresource.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
  ON_COMMAND(IDOK, &CDialog::OnOK)
  ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM, LPARAM lParam) {
  if (message != WM_INITDIALOG) return FALSE;
  auto* dialog = reinterpret_cast<CDialog*>(lParam);
  if (!dialog->SubclassWindow(hWnd)) return FALSE;
  return dialog->OnInitDialog();
}

HWND CDialog::ParentHandle(CWnd* pParentWnd) const {
  return pParentWnd ? pParentWnd->GetSafeHwnd() : nullptr;
}

BOOL CDialog::InitModalIndirect(LPCDLGTEMPLATEW lpDialogTemplate, CWnd* pParentWnd) {
  m_lpDialogTemplate = lpDialogTemplate;
  m_pParentWnd = pParentWnd;
  return lpDialogTemplate != nullptr;
}

namespace {

// While a modal dialog runs, each message its loop takes first goes through PreTranslateMessage
// of the windows from its target up to the top-level window, as the class library's own
// modal loops do.
LRESULT CALLBACK PreTranslateFilter(int code, WPARAM, LPARAM lParam) {
  auto* msg = reinterpret_cast<MSG*>(lParam);
  if (code != MSGF_DIALOGBOX || msg == nullptr || msg->hwnd == nullptr) return 0;
  return CWnd::WalkPreTranslateTree(::GetAncestor(msg->hwnd, GA_ROOT), msg);
}

class ModalFilter {
 public:
  ModalFilter() : hook_(::SetWindowsHookExW(WH_MSGFILTER, PreTranslateFilter, nullptr, 0)) {}
  ~ModalFilter() {
    if (hook_) ::UnhookWindowsHookEx(hook_);
  }
  ModalFilter(const ModalFilter&) = delete;
  ModalFilter& operator=(const ModalFilter&) = delete;

 private:
  HHOOK hook_;
};

}  // namespace

INT_PTR CDialog::DoModal() {
  const ModalFilter filter;
  const HWND parent = ParentHandle(m_pParentWnd);
  const LPARAM self = reinterpret_cast<LPARAM>(this);
  if (m_lpDialogTemplate)
    return ::DialogBoxIndirectParamW(AfxGetResourceHandle(), m_lpDialogTemplate, parent,
                                     DialogProc, self);
  // As the class library does: the resource module first, then the application's own.
  const LPCWSTR name = MAKEINTRESOURCEW(m_nIDTemplate);
  return ::DialogBoxParamW(AfxFindResourceHandle(name, RT_DIALOG), name, parent, DialogProc, self);
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd) {
  m_nIDTemplate = nIDTemplate;
  m_pParentWnd = pParentWnd;
  const LPCWSTR name = MAKEINTRESOURCEW(nIDTemplate);
  return ::CreateDialogParamW(AfxFindResourceHandle(name, RT_DIALOG), name, ParentHandle(pParentWnd),
                              DialogProc, reinterpret_cast<LPARAM>(this)) != nullptr;
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATEW lpDialogTemplate, CWnd* pParentWnd) {
  m_pParentWnd = pParentWnd;
  return ::CreateDialogIndirectParamW(AfxGetResourceHandle(), lpDialogTemplate,
                                      ParentHandle(pParentWnd), DialogProc,
                                      reinterpret_cast<LPARAM>(this)) != nullptr;
}

BOOL CDialog::OnInitDialog() { return TRUE; }

void CDialog::EndDialog(int nResult) { ::EndDialog(m_hWnd, nResult); }

void CDialog::OnOK() { EndDialog(IDOK); }

void CDialog::OnCancel() { EndDialog(IDCANCEL); }
