// CDlgRestore4Finish: the numbers of drivers chosen, restored and failed (green when none
// failed, red otherwise), the restart the restore needs, and Back to the first page.
#include "DlgRestore4Finish.h"

#include "SettingsPageLayout.h"

IMPLEMENT_DYNAMIC(CDlgRestore4Finish, CDlgWizardFinishPage)

BEGIN_MESSAGE_MAP(CDlgRestore4Finish, CDlgWizardFinishPage)
  ON_COMMAND(CDlgRestore4Finish::kBackId, &CDlgRestore4Finish::OnBack)
  ON_WM_TIMER()
  ON_WM_SHOWWINDOW()
END_MESSAGE_MAP()

namespace {

constexpr LPCTSTR kSection = _T("IDD_RESTORE4_FINISH");
constexpr POINT kDescription{84, 50};
constexpr CDlgWizardFinishPage::CountField kCounts[] = {{{48, 118, 300, 136}, CDlgRestore4Finish::kChosenId},
                                                        {{48, 148, 300, 166}, CDlgRestore4Finish::kRestoredId},
                                                        {{48, 178, 300, 196}, CDlgRestore4Finish::kFailedId}};
constexpr POINT kNote{48, 220};
constexpr POINT kMore{48, 262};
constexpr POINT kBackupNote{48, 304};

}  // namespace

CDlgRestore4Finish::CDlgRestore4Finish(CRestoreWizardOwner& owner, CWnd* pParent)
    : CDlgWizardFinishPage(kTemplateId, owner, pParent), m_owner(owner) {}

BOOL CDlgRestore4Finish::OnInitDialog() {
  CDlgWizardFinishPage::OnInitDialog();
  SetWindowText(SettingsText(_T("RESTOREDLG4")));
  PlaceControls(kBackId, kSection, _T("IDC_BTN_RESTORE_BACK"), kCounts);
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
  CDlgWizardFinishPage::OnShowWindow(bShow, nStatus);
  if (bShow) HandleRestart();
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
    CDlgWizardFinishPage::OnTimer(nIDEvent);
    return;
  }
  KillTimer(kRestartTimer);
  m_owner.AskRestart(SettingsText(_T("IDS_INCOMPLETE_RESTORE")));
}

void CDlgRestore4Finish::ShowFirstPage() { m_owner.ShowRestorePage(CWizardOwner::kFirstPage); }

COLORREF CDlgRestore4Finish::CountColour(UINT id) const {
  if (id != kChosenId && id != kRestoredId && id != kFailedId) return CLR_INVALID;
  return m_owner.RestoreState().driversFailed == 0 ? kSuccessColour : kFailureColour;
}

void CDlgRestore4Finish::PaintPage(CDC* pDC, const CRect& rect, BOOL bDrawIcon) {
  CDlgWizardFinishPage::PaintPage(pDC, rect, bDrawIcon);
  DrawSettingsText(pDC, _T("RESTORETAB4DESC1"), kDescription);
  DrawSettingsText(pDC, _T("RESTORETAB4DESC2"), CRect(kCounts[0].label).TopLeft());
  DrawSettingsText(pDC, _T("RESTORETAB4DESC3"), CRect(kCounts[1].label).TopLeft());
  DrawSettingsText(pDC, _T("RESTORETAB4DESC4"), CRect(kCounts[2].label).TopLeft());
  DrawSettingsText(pDC, _T("RESTORETAB4DESC5"), kNote);
  DrawSettingsText(pDC, _T("RESTORETAB4DESC6"), kMore);
  DrawSettingsText(pDC, _T("BACKUPTAB4DESC3"), kBackupNote);
}
