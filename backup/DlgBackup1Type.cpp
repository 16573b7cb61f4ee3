// CDlgBackup1Type: Next asks for administrator rights, sends the user to a scan when none
// has found devices yet, and goes on to the backup of all drivers or to the driver tree.
#include "DlgBackup1Type.h"

#include "CheckedFormat.h"
#include "DlgBaseMessageBoxWndBase.h"
#include "HalvoranApp.h"
#include "SettingsPageLayout.h"

IMPLEMENT_DYNAMIC(CDlgBackup1Type, CDlgLeftSideChild)

BEGIN_MESSAGE_MAP(CDlgBackup1Type, CDlgLeftSideChild)
  ON_COMMAND(CDlgBackup1Type::kNextId, &CDlgBackup1Type::OnNext)
END_MESSAGE_MAP()

namespace {

constexpr LPCTSTR kSection = _T("IDD_BACKUP1_TYPE");
constexpr POINT kDescription{84, 50};
constexpr POINT kAllText{48, 118};
constexpr POINT kAllNote{48, 140};
constexpr POINT kAllMore{48, 162};
constexpr POINT kChosenText{48, 214};
constexpr POINT kChosenNote{48, 236};

}  // namespace

CDlgBackup1Type::CDlgBackup1Type(CBackupWizardOwner& owner, CWnd* pParent)
    : CDlgLeftSideChild(kTemplateId, pParent), m_owner(owner) {}

CDlgBackup1Type::~CDlgBackup1Type() = default;

BOOL CDlgBackup1Type::OnInitDialog() {
  CDlgLeftSideChild::OnInitDialog();
  SetWindowText(SettingsText(_T("BACKUPDLG1")));
  PlaceActionButton(*this, m_btnNext, kNextId, kSection, _T("IDC_BTN_BACKUP_NEXT"), 141);
  GetDlgItem(kAllDriversId)->MoveWindow(24, kAllText.y, 18, 18);
  GetDlgItem(kChosenDriversId)->MoveWindow(24, kChosenText.y, 18, 18);
  CheckRadioButton(kAllDriversId, kChosenDriversId, kAllDriversId);
  if (m_toolTip.GetSafeHwnd()) {
    m_toolTip.AddTool(GetDlgItem(kAllDriversId), SettingsText(_T("BACKUPTAB1TOOLTIP1")));
    m_toolTip.AddTool(GetDlgItem(kChosenDriversId), SettingsText(_T("BACKUPTAB1TOOLTIP2")));
    m_toolTip.AddTool(&m_btnNext, SettingsText(_T("BACKUPTAB1TOOLTIP3")));
  }
  return TRUE;
}

void CDlgBackup1Type::OnNext() {
  CString question;
  FormatChecked(question, SettingsText(_T("IDS_RECOMMEN_RESTART4")), {GetAppName()});
  if (m_owner.RelaunchAsAdmin(question, 15) != 1) {
    AppMessageBox(SettingsText(_T("BACKUPDLG4_1")), MB_OK | MB_ICONSTOP, this);
    m_owner.ShowBackupPage(CBackupWizardOwner::kFirstPage);
    return;
  }
  tagBackupWizardState& state = m_owner.BackupState();
  if (state.devicesFound <= 0) {
    if (AppMessageBox(SettingsText(_T("IDS_SCANDRIVER_CREATBCKUP")), MB_YESNO | MB_ICONINFORMATION, this) == IDYES)
      m_owner.ScanBeforeBackup();
    return;
  }
  if (IsDlgButtonChecked(kAllDriversId) == BST_CHECKED) {
    state.backupAll = state.allChosen = state.backupStarted = TRUE;
    state.driversChosen = state.devicesFound;
    m_owner.EnableOnlyLeftButton(2);
    m_owner.ShowBackupPage(CBackupWizardOwner::kThirdPage);
    m_owner.StartBackup();
  } else if (IsDlgButtonChecked(kChosenDriversId) == BST_CHECKED) {
    state.backupAll = state.allChosen = FALSE;
    m_owner.EnableOnlyLeftButton(1);
    m_owner.ShowBackupPage(CBackupWizardOwner::kSecondPage);
  } else {
    AppMessageBox(SettingsText(_T("IDS_SELECT_BACKUP")), MB_OK, this);
  }
}

void CDlgBackup1Type::PaintPage(CDC* pDC, const CRect& rect, BOOL bDrawIcon) {
  CDlgLeftSideChild::PaintPage(pDC, rect, bDrawIcon);
  DrawSettingsText(pDC, _T("BACKUPTAB1DESC1"), kDescription);
  DrawSettingsText(pDC, _T("BACKUPTAB1DESC2"), kAllText);
  DrawSettingsText(pDC, _T("BACKUPTAB1DESC31"), kAllNote);
  DrawSettingsText(pDC, _T("BACKUPTAB1DESC3"), kAllMore);
  DrawSettingsText(pDC, _T("BACKUPTAB1DESC32"), kChosenText);
  DrawSettingsText(pDC, _T("BACKUPTAB1DESC4"), kChosenNote);
}
