// CDlgBackup4Finish: the numbers of devices and chosen drivers, the backup's outcome (red when
// it failed or was stopped) and Back to the first page.
#include "DlgBackup4Finish.h"

#include "SettingsPageLayout.h"

IMPLEMENT_DYNAMIC(CDlgBackup4Finish, CDlgWizardFinishPage)

BEGIN_MESSAGE_MAP(CDlgBackup4Finish, CDlgWizardFinishPage)
  ON_COMMAND(CDlgBackup4Finish::kBackId, &CDlgBackup4Finish::OnBack)
END_MESSAGE_MAP()

namespace {

constexpr LPCTSTR kSection = _T("IDD_BACKUP4_FINISH");
constexpr POINT kDescription{84, 50};
constexpr CDlgWizardFinishPage::CountField kCounts[] = {{{48, 118, 300, 136}, CDlgBackup4Finish::kDevicesId},
                                                        {{48, 148, 300, 166}, CDlgBackup4Finish::kChosenId},
                                                        {{48, 178, 300, 196}, CDlgBackup4Finish::kResultId},
                                                        {{48, 208, 300, 226}, CDlgBackup4Finish::kFailureId}};
constexpr POINT kNote{48, 250};
constexpr LPCTSTR kDriversCount = _T("IDS_DRIVERS_COUNT");

}  // namespace

CDlgBackup4Finish::CDlgBackup4Finish(CBackupWizardOwner& owner, CWnd* pParent)
    : CDlgWizardFinishPage(kTemplateId, owner, pParent), m_owner(owner) {}

BOOL CDlgBackup4Finish::OnInitDialog() {
  CDlgWizardFinishPage::OnInitDialog();
  PlaceControls(kBackId, kSection, _T("IDC_BTN_BACKUP_BACK"), kCounts);
  if (m_toolTip.GetSafeHwnd()) m_toolTip.AddTool(&m_btnBack, SettingsText(_T("BACKUPTAB4TOOLTIP")));
  ShowOutcome();
  return TRUE;
}

bool CDlgBackup4Finish::Failed() const {
  const tagBackupWizardState& state = m_owner.BackupState();
  return state.failed || state.aborted;
}

void CDlgBackup4Finish::ShowOutcome() {
  tagBackupWizardState& state = m_owner.BackupState();
  state.busy = FALSE;
  m_owner.EnableOnlyLeftButton(3);
  const bool failed = Failed();
  SetWindowText(SettingsText(failed ? _T("BACKUPDLG4_1") : _T("BACKUPDLG4")));
  SetDlgItemText(kDevicesId, CountText(kDriversCount, state.devicesFound));
  SetDlgItemText(kChosenId, CountText(kDriversCount, state.driversChosen));
  // A failed backup left no archive: none of the chosen drivers is backed up.
  SetDlgItemText(kResultId, failed ? SettingsText(_T("BACKUPDLG4_1")) : CountText(kDriversCount, state.driversHandled));
  SetDlgItemText(kFailureId, failed ? CountText(kDriversCount, state.driversChosen) : CString(_T("--")));
  Invalidate();
}

void CDlgBackup4Finish::ShowFirstPage() { m_owner.ShowBackupPage(CBackupWizardOwner::kFirstPage); }

COLORREF CDlgBackup4Finish::CountColour(UINT id) const {
  return Failed() && (id == kResultId || id == kFailureId) ? kFailureColour : CLR_INVALID;
}

void CDlgBackup4Finish::PaintPage(CDC* pDC, const CRect& rect, BOOL bDrawIcon) {
  CDlgWizardFinishPage::PaintPage(pDC, rect, bDrawIcon);
  const bool all = m_owner.BackupState().allChosen != FALSE;
  DrawSettingsText(pDC, all ? _T("BACKUPTAB4DESC1ALL") : _T("BACKUPTAB4DESC1"), kDescription);
  DrawSettingsText(pDC, _T("BACKUPTAB4DESC7"), CRect(kCounts[0].label).TopLeft());
  DrawSettingsText(pDC, all ? _T("BACKUPTAB4DESC2ALL") : _T("BACKUPTAB4DESC2"), CRect(kCounts[1].label).TopLeft());
  DrawSettingsText(pDC, _T("BACKUPTAB4DESC8"), CRect(kCounts[2].label).TopLeft());
  DrawSettingsText(pDC, _T("IDS_DRIVER_UPDATE_STATUS"), CRect(kCounts[3].label).TopLeft());
  DrawSettingsText(pDC, _T("BACKUPTAB4DESC3"), kNote);
}
