// CDlgNagRestart: captions, layout, painting and the two answers of the restart prompt.
#include "DlgNagRestart.h"

#include <wininput.h>

#include "DlgBaseShared.h"
#include "DlgNagFrame.h"
#include "IniReader.h"
#include "ScanServices.h"

BEGIN_MESSAGE_MAP(CDlgNagRestart, CDlgBaseWndPopupNagBase)
  ON_WM_PAINT()
END_MESSAGE_MAP()

namespace {

constexpr COLORREF kHeadingColour = 0x303030;
constexpr LPCTSTR kButtonSection = _T("IDD_DLG_LOG_OFF_MESSAGE");

CString Lang(LPCTSTR id) { return GetLangString(id, _T("Tunevo")); }

bool EnterOrEscapeHeld() {
  return (GetAsyncKeyState(VK_RETURN) & 0x8000) != 0 || (GetAsyncKeyState(VK_ESCAPE) & 0x8000) != 0;
}

}  // namespace

CDlgNagRestart::CDlgNagRestart(CWnd* pParentWnd) : CDlgBaseWndPopupNagBase(kTemplateId, pParentWnd) {
  SetShape(TRUE, kWidth, kHeight);
}

BOOL CDlgNagRestart::OnInitDialog() {
  CDlgBaseWndPopupNagBase::OnInitDialog();
  CenterWindow(AfxGetMainWnd());
  SetWindowText(Lang(_T("IDS_RESTART2")));
  m_btnOK.SubclassDlgItem(IDOK, this);
  m_btnCancel.SubclassDlgItem(IDCANCEL, this);
  SetOkCancelTexts(*this, kButtonSection);
  CHoverButtonWithText::SetStyle(m_btnOK, TRUE, TRUE, TRUE);
  CHoverButtonWithText::SetStyle(m_btnCancel, TRUE, FALSE, TRUE);
  Layout();
  return TRUE;
}

BOOL CDlgNagRestart::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_RETURN || pMsg->wParam == VK_ESCAPE || pMsg->wParam == VK_F4))
    return TRUE;
  if ((pMsg->message == WM_SYSKEYDOWN || pMsg->message == WM_SYSKEYUP) && pMsg->wParam == VK_F4) return TRUE;
  return CDlgBaseWndPopupNagBase::PreTranslateMessage(pMsg);
}

void CDlgNagRestart::OnSizeLayout(UINT nType, int cx, int cy) {
  CDlgBaseWndPopupNagBase::OnSizeLayout(nType, cx, cy);
  if (m_btnOK.GetSafeHwnd()) Layout();
}

void CDlgNagRestart::Layout() {
  CRect client;
  GetClientRect(&client);
  const int x = client.Width() - 143;
  const int y = client.Height() - 47;
  m_btnOK.MoveWindow(x, y, 120, 28);
  m_btnCancel.MoveWindow(x - 127, y, 120, 28);
}

void CDlgNagRestart::OnOK() {
  if (EnterOrEscapeHeld()) return;
  m_btnOK.EnableWindow(FALSE);
  RestartComputer();
  CDlgBaseWndPopupNagBase::OnOK();
}

void CDlgNagRestart::OnCancel() {
  if (EnterOrEscapeHeld()) return;
  m_btnCancel.EnableWindow(FALSE);
  CDlgBaseWndPopupNagBase::OnCancel();
}

void CDlgNagRestart::OnPaint() {
  PaintFramed(kHeadingColour, [&](CDC& memory, const CRect& client) {
    const int W = client.Width();
    int y = 48;
    const auto draw = [&memory, &y, W](const CString& text, int gap) {
      y += DrawWrapped(memory, text, CRect(22, y, W - 22, y + 200)) + gap;
    };
    draw(Lang(_T("IDS_INTALLS_UPDATE")), 10);

    ::SelectObject(memory.GetSafeHdc(), GetSharedDialogFont());
    memory.SetTextColor(kDialogTextColour);
    if (!m_strMessage.IsEmpty()) draw(m_strMessage, 8);
    // The note's word leads the first paragraph.
    draw(Lang(_T("IDS_NOTE")) + _T(" ") + Lang(_T("IDS_PLZSAVE_WORK")) + _T(" ") + Lang(_T("IDS_SYS_REBOOT")), 8);
    CString okCaption;
    m_btnOK.GetWindowText(okCaption);
    CString quoted;
    quoted.Format(_T("\"%s\""), okCaption.GetString());
    draw(Lang(_T("IDS_CLICK_ON")) + _T(" ") + quoted + _T(" ") + Lang(_T("IDS_RESTART3")) + _T(" ") +
             Lang(_T("IDS_APPL_REBOOT_SYS")),
         8);
    draw(Lang(_T("IDS_CLICK_ON")) + _T(" ") + Lang(_T("IDS_SINGL_CANCEL")) + _T(" ") + Lang(_T("IDS_MANU_REBOOT_LATER")) +
             _T(" ") + Lang(_T("IDS_CONTINU_RUN_SYS")),
         0);
  });
}
