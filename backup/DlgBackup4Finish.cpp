// CDlgBackup4Finish: the numbers of devices and chosen drivers, the backup's outcome (red when
// it failed or was stopped) and Back to the first page.
#include "DlgBackup4Finish.h"

#include "CheckedFormat.h"
#include "SettingsPageLayout.h"

IMPLEMENT_DYNAMIC(CDlgBackup4Finish, CDlgLeftSideChild)

BEGIN_MESSAGE_MAP(CDlgBackup4Finish, CDlgLeftSideChild)
  ON_COMMAND(CDlgBackup4Finish::kBackId, &CDlgBackup4Finish::OnBack)
  ON_WM_SHOWWINDOW()
  ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

namespace {

constexpr LPCTSTR kSection = _T("IDD_BACKUP4_FINISH");
constexpr RECT kDescription{84, 50, 570, 96};
constexpr RECT kDevicesText{48, 118, 300, 136};
constexpr RECT kChosenText{48, 148, 300, 166};
constexpr RECT kResultText{48, 178, 300, 196};
constexpr RECT kFailureText{48, 208, 300, 226};
constexpr RECT kNote{48, 250, 570, 300};

// "IDS_DRIVERS_COUNT" with the number (a negative one shown as 0).
CString DriversCount(int count) {
  CString text;
  FormatChecked(text, SettingsText(_T("IDS_DRIVERS_COUNT")), {count < 0 ? 0 : count});
  return text;
}

}  // namespace

CDlgBackup4Finish::CDlgBackup4Finish(CBackupWizardOwner& owner, CWnd* pParent)
    : CDlgLeftSideChild(kTemplateId, pParent), m_owner(owner) {}

CDlgBackup4Finish::~CDlgBackup4Finish() = default;

BOOL CDlgBackup4Finish::OnInitDialog() {
  CDlgLeftSideChild::OnInitDialog();
  PlaceActionButton(*this, m_btnBack, kBackId, kSection, _T("IDC_BTN_BACKUP_BACK"), 141);
  const RECT* places[] = {&kDevicesText, &kChosenText, &kResultText, &kFailureText};
  const UINT ids[] = {kDevicesId, kChosenId, kResultId, kFailureId};
  for (int i = 0; i < 4; ++i) GetDlgItem(ids[i])->MoveWindow(places[i]->right + 10, places[i]->top, 250, 18);
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
  SetDlgItemText(kDevicesId, DriversCount(state.devicesFound));
  SetDlgItemText(kChosenId, DriversCount(state.driversChosen));
  // A failed backup left no archive: none of the chosen drivers is backed up.
  SetDlgItemText(kResultId, failed ? SettingsText(_T("BACKUPDLG4_1")) : DriversCount(state.driversHandled));
  SetDlgItemText(kFailureId, failed ? DriversCount(state.driversChosen) : CString(_T("--")));
  Invalidate();
}

void CDlgBackup4Finish::OnShowWindow(BOOL bShow, UINT nStatus) {
  CDlgLeftSideChild::OnShowWindow(bShow, nStatus);
  if (bShow) ShowOutcome();
}

void CDlgBackup4Finish::OnBack() {
  m_owner.EnableOnlyLeftButton(0);
  m_owner.ShowBackupPage(CBackupWizardOwner::kFirstPage);
}

HBRUSH CDlgBackup4Finish::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
  HBRUSH brush = CDlgLeftSideChild::OnCtlColor(pDC, pWnd, nCtlColor);
  const UINT id = pWnd != nullptr ? static_cast<UINT>(pWnd->GetDlgCtrlID()) : 0;
  if (Failed() && (id == kResultId || id == kFailureId)) pDC->SetTextColor(kFailureColour);
  return brush;
}

void CDlgBackup4Finish::PaintPage(CDC* pDC, const CRect& rect, BOOL bDrawIcon) {
  CDlgLeftSideChild::PaintPage(pDC, rect, bDrawIcon);
  const bool all = m_owner.BackupState().allChosen != FALSE;
  DrawPageText(pDC, all ? _T("BACKUPTAB4DESC1ALL") : _T("BACKUPTAB4DESC1"), kDescription);
  DrawPageText(pDC, _T("BACKUPTAB4DESC7"), kDevicesText);
  DrawPageText(pDC, all ? _T("BACKUPTAB4DESC2ALL") : _T("BACKUPTAB4DESC2"), kChosenText);
  DrawPageText(pDC, _T("BACKUPTAB4DESC8"), kResultText);
  DrawPageText(pDC, _T("IDS_DRIVER_UPDATE_STATUS"), kFailureText);
  DrawPageText(pDC, _T("BACKUPTAB4DESC3"), kNote);
}
