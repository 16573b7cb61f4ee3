// CDlgRestore4Finish: the numbers of drivers chosen, restored and failed (green when none
// failed, red otherwise), the restart the restore needs, and Back to the first page.
#include "DlgRestore4Finish.h"

#include "CheckedFormat.h"
#include "SettingsPageLayout.h"

IMPLEMENT_DYNAMIC(CDlgRestore4Finish, CDlgLeftSideChild)

BEGIN_MESSAGE_MAP(CDlgRestore4Finish, CDlgLeftSideChild)
  ON_COMMAND(CDlgRestore4Finish::kBackId, &CDlgRestore4Finish::OnBack)
  ON_WM_TIMER()
  ON_WM_SHOWWINDOW()
  ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

namespace {

constexpr LPCTSTR kSection = _T("IDD_RESTORE4_FINISH");
constexpr RECT kDescription{84, 50, 570, 96};
constexpr RECT kChosenText{48, 118, 300, 136};
constexpr RECT kRestoredText{48, 148, 300, 166};
constexpr RECT kFailedText{48, 178, 300, 196};
constexpr RECT kNote{48, 220, 570, 256};
constexpr RECT kMore{48, 262, 570, 298};
constexpr RECT kBackupNote{48, 304, 570, 340};

CString CountText(LPCTSTR id, int count) {
  CString text;
  FormatChecked(text, SettingsText(id), {count < 0 ? 0 : count});
  return text;
}

}  // namespace

CDlgRestore4Finish::CDlgRestore4Finish(CRestoreWizardOwner& owner, CWnd* pParent)
    : CDlgLeftSideChild(kTemplateId, pParent), m_owner(owner) {}

CDlgRestore4Finish::~CDlgRestore4Finish() = default;

BOOL CDlgRestore4Finish::OnInitDialog() {
  CDlgLeftSideChild::OnInitDialog();
  SetWindowText(SettingsText(_T("RESTOREDLG4")));
  PlaceActionButton(*this, m_btnBack, kBackId, kSection, _T("IDC_BTN_RESTORE_BACK"), 141);
  const RECT* places[] = {&kChosenText, &kRestoredText, &kFailedText};
  const UINT ids[] = {kChosenId, kRestoredId, kFailedId};
  for (int i = 0; i < 3; ++i) GetDlgItem(ids[i])->MoveWindow(places[i]->right + 10, places[i]->top, 250, 18);
  return TRUE;
}

void CDlgRestore4Finish::ShowOutcome() {
  const tagRestoreWizardState& state = m_owner.RestoreState();
  m_owner.EnableOnlyLeftButton(3);
  SetDlgItemText(kChosenId, CountText(_T("IDS_DRIVERS_COUNT2"), state.driversChosen));
  SetDlgItemText(kRestoredId, CountText(_T("IDS_DRIVER_COUNT"), state.driversHandled - state.driversFailed));
  SetDlgItemText(kFailedId,
                 state.driversFailed == 0 ? CString(_T("--")) : CountText(_T("IDS_RESTORE_SUCCESS"), state.driversFailed));
  Invalidate();
}

void CDlgRestore4Finish::OnShowWindow(BOOL bShow, UINT nStatus) {
  CDlgLeftSideChild::OnShowWindow(bShow, nStatus);
  if (!bShow) return;
  ShowOutcome();
  HandleRestart();
}

void CDlgRestore4Finish::HandleRestart() {
  tagRestoreWizardState& state = m_owner.RestoreState();
  if (!state.restartNeeded) return;
  if (state.autoRestart) {
    m_owner.RestartWindows();
    return;
  }
  state.restartNeeded = FALSE;
  SetTimer(kRestartTimer, kRestartDelay, nullptr);
}

void CDlgRestore4Finish::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent != kRestartTimer) {
    CDlgLeftSideChild::OnTimer(nIDEvent);
    return;
  }
  KillTimer(kRestartTimer);
  m_owner.AskRestart(SettingsText(_T("IDS_INCOMPLETE_RESTORE")));
}

void CDlgRestore4Finish::OnBack() {
  m_owner.EnableOnlyLeftButton(0);
  m_owner.ShowRestorePage(CWizardOwner::kFirstPage);
}

HBRUSH CDlgRestore4Finish::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
  HBRUSH brush = CDlgLeftSideChild::OnCtlColor(pDC, pWnd, nCtlColor);
  const UINT id = pWnd != nullptr ? static_cast<UINT>(pWnd->GetDlgCtrlID()) : 0;
  if (id == kChosenId || id == kRestoredId || id == kFailedId)
    pDC->SetTextColor(m_owner.RestoreState().driversFailed == 0 ? kSuccessColour : kFailureColour);
  return brush;
}

void CDlgRestore4Finish::PaintPage(CDC* pDC, const CRect& rect, BOOL bDrawIcon) {
  CDlgLeftSideChild::PaintPage(pDC, rect, bDrawIcon);
  DrawPageText(pDC, _T("RESTORETAB4DESC1"), kDescription);
  DrawPageText(pDC, _T("RESTORETAB4DESC2"), kChosenText);
  DrawPageText(pDC, _T("RESTORETAB4DESC3"), kRestoredText);
  DrawPageText(pDC, _T("RESTORETAB4DESC4"), kFailedText);
  DrawPageText(pDC, _T("RESTORETAB4DESC5"), kNote);
  DrawPageText(pDC, _T("RESTORETAB4DESC6"), kMore);
  DrawPageText(pDC, _T("BACKUPTAB4DESC3"), kBackupNote);
}
