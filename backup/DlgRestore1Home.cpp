// CDlgRestore1Home: the list of backups latest first, Restore with the restart choice kept as
// the setting "Reboot", and Delete, which removes the archive file and its row.
#include "DlgRestore1Home.h"

#include "DlgBaseMessageBoxWndBase.h"
#include "DriverScanUpdate.h"
#include "PathHelpers.h"
#include "SettingsPageLayout.h"
#include "SettingsStore.h"
#include "WizardKeys.h"

IMPLEMENT_DYNAMIC(CDlgRestore1Home, CDlgLeftSideChild)

BEGIN_MESSAGE_MAP(CDlgRestore1Home, CDlgLeftSideChild)
  ON_COMMAND(CDlgRestore1Home::kRestoreId, &CDlgRestore1Home::OnRestore)
  ON_COMMAND(CDlgRestore1Home::kDeleteId, &CDlgRestore1Home::OnDelete)
  ON_NOTIFY(NM_CLICK, CDlgRestore1Home::kListId, &CDlgRestore1Home::OnListClick)
  ON_NOTIFY(NM_RCLICK, CDlgRestore1Home::kListId, &CDlgRestore1Home::OnListClick)
  ON_WM_SHOWWINDOW()
END_MESSAGE_MAP()

namespace {

constexpr LPCTSTR kSection = _T("IDD_RESTORE1_HOME");
constexpr DWORD kListExtraStyle = 0x420;
constexpr POINT kDescription{84, 50};
constexpr POINT kListTitle{24, 100};
constexpr RECT kListPlace{24, 120, 568, 300};
constexpr POINT kChoiceText{24, 310};
constexpr POINT kManualText{48, 334};
constexpr POINT kAutoText{48, 358};

}  // namespace

CDlgRestore1Home::CDlgRestore1Home(CRestoreWizardOwner& owner, CWnd* pParent)
    : CDlgLeftSideChild(kTemplateId, pParent), m_owner(owner) {}

CDlgRestore1Home::~CDlgRestore1Home() = default;

BOOL CDlgRestore1Home::OnInitDialog() {
  CDlgLeftSideChild::OnInitDialog();
  SetWindowText(SettingsText(_T("RESTOREDLG1")));
  PlaceActionButton(*this, m_btnRestore, kRestoreId, kSection, _T("IDC_BTN_RESTORE"), 141);
  PlaceActionButton(*this, m_btnDelete, kDeleteId, kSection, _T("IDC_BTN_DELETE"), 268);
  m_list.SubclassDlgItem(kListId, this);
  m_list.SetExtendedStyle(m_list.GetExtendedStyle() | kListExtraStyle);
  // The first column is a picture column without pictures: the rows show only their detail.
  m_images.Create(16, 16, ILC_COLOR32 | ILC_MASK, 0, 1);
  m_list.InsertImageColumn(0, &m_images, _T(""), 40);
  m_list.InsertDetailColumn(1, SettingsText(_T("IDS_DTAETIME_BCKUP")), 502, 0);
  m_list.MoveWindow(kListPlace.left, kListPlace.top, kListPlace.right - kListPlace.left,
                    kListPlace.bottom - kListPlace.top);
  GetDlgItem(kManualRestartId)->MoveWindow(24, kManualText.y, 18, 18);
  GetDlgItem(kAutoRestartId)->MoveWindow(24, kAutoText.y, 18, 18);
  CheckRadioButton(kManualRestartId, kAutoRestartId, kManualRestartId);
  if (m_toolTip.GetSafeHwnd()) {
    m_toolTip.AddTool(&m_list, SettingsText(_T("RESTORETABTOOLTIP1")));
    m_toolTip.AddTool(&m_btnRestore, SettingsText(_T("RESTORETABTOOLTIP2")));
    m_toolTip.AddTool(&m_btnDelete, SettingsText(_T("RESTORETABTOOLTIP3")));
  }
  UpdateButtons();
  return TRUE;
}

void CDlgRestore1Home::OnShowWindow(BOOL bShow, UINT nStatus) {
  CDlgLeftSideChild::OnShowWindow(bShow, nStatus);
  if (!bShow) return;
  m_owner.EnableOnlyLeftButton(0);
  RefreshList();
}

void CDlgRestore1Home::RefreshList() {
  m_owner.Engine().RefreshFileList(m_list, m_owner.BackupList(), [](const CString& name, SYSTEMTIME& stamp) {
    return !CDriverScanUpdate::MakeBackupName(name, &stamp).IsEmpty();
  });
  UpdateButtons();
}

void CDlgRestore1Home::UpdateButtons() {
  const BOOL rows = m_list.GetItemCount() > 0;
  m_btnRestore.EnableWindow(rows);
  m_btnDelete.EnableWindow(rows);
}

int CDlgRestore1Home::ChosenRow() {
  int row = m_list.GetNextItem(-1, LVNI_SELECTED);
  if (row < 0 && m_list.GetItemCount() > 0) {
    row = m_list.GetItemCount() - 1;
    m_list.SelectSingleItem(row);
  }
  return row;
}

void CDlgRestore1Home::OnListClick(NMHDR* pNMHDR, LRESULT* pResult) {
  *pResult = 0;
  const auto* click = reinterpret_cast<const NMITEMACTIVATE*>(pNMHDR);
  if (click->iItem < 0) ChosenRow();
}

void CDlgRestore1Home::OnRestore() {
  if (m_list.GetItemCount() == 0) {
    AppMessageBox(SettingsText(_T("IDS_DRIVER_NOBACKUP")), MB_OK | MB_ICONINFORMATION, this);
    return;
  }
  const int row = ChosenRow();
  if (row < 0) {
    AppMessageBox(SettingsText(_T("IDS_SELECT_BACKUP_FILE")), MB_OK | MB_ICONINFORMATION, this);
    return;
  }
  const BOOL manual = IsDlgButtonChecked(kManualRestartId) == BST_CHECKED;
  CString reboot;
  reboot.Format(_T("%d"), manual);
  SetHkcuValue(BuildSettingsKeyPath(), kSettingReboot, reboot, kSettingText, true);
  tagRestoreWizardState& state = m_owner.RestoreState();
  state.autoRestart = IsDlgButtonChecked(kAutoRestartId) == BST_CHECKED;
  state.archiveName = m_list.GetItemText(row, 0);
  state.archiveChosen = TRUE;
  m_owner.EnableFirstLeftButtons(2);
  m_owner.ShowRestorePage(CWizardOwner::kSecondPage);
}

bool CDlgRestore1Home::DeleteArchive(const CString& name) {
  CString path;
  // A row the backup list no longer names has no archive left to delete: the row goes.
  if (!m_owner.BackupList().Lookup(name, path)) return true;
  // The list is a file the user can change: only an archive is ever deleted, never a folder
  // or another kind of file it may name.
  if (path.GetLength() < 4 || path.Right(4).CompareNoCase(_T(".zip")) != 0 || IsFolder(path) == 1) return false;
  if (PathExists(path) == 1) DeleteFileW(path);
  return PathExists(path) != 1;
}

void CDlgRestore1Home::OnDelete() {
  if (AppMessageBox(SettingsText(_T("IDS_CONFIR_DEL_BAKFILE")), MB_YESNO | MB_ICONINFORMATION, this) != IDYES) return;
  m_owner.EnableUi(FALSE);
  const int row = ChosenRow();
  const CString name = row >= 0 ? m_list.GetItemText(row, 0) : CString();
  if (row < 0 || !DeleteArchive(name)) {
    AppMessageBox(SettingsText(_T("IDS_UNABLE_DEL_BAKFILE")), MB_OK | MB_ICONINFORMATION, this);
  } else {
    AppMessageBox(SettingsText(_T("IDS_SUCCESS_DEL_BAKFILE")), MB_OK | MB_ICONINFORMATION, this);
    m_list.DeleteItem(row);
    m_owner.BackupList().RemoveKey(name);
    m_owner.SaveBackupList();
    UpdateButtons();
  }
  m_owner.EnableUi(TRUE);
}

void CDlgRestore1Home::PaintPage(CDC* pDC, const CRect& rect, BOOL bDrawIcon) {
  CDlgLeftSideChild::PaintPage(pDC, rect, bDrawIcon);
  DrawSettingsText(pDC, _T("RESTORETABDESC1"), kDescription);
  DrawSettingsText(pDC, _T("IDS_DRIVER_BAK_LIST"), kListTitle);
  DrawSettingsText(pDC, _T("RESTORETAB1DESC1"), kChoiceText);
  DrawSettingsText(pDC, _T("RESTORETAB1DESC3"), kManualText);
  DrawSettingsText(pDC, _T("RESTORETAB1DESC4"), kAutoText);
}

BOOL CDlgRestore1Home::PreTranslateMessage(MSG* pMsg) {
  return DispatchWizardKeyUnhandled(pMsg) ? FALSE : CDlgLeftSideChild::PreTranslateMessage(pMsg);
}
