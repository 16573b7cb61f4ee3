// CDlgBackup2Home: the tree filled from the last scan with every driver checked, the
// select-all box kept in step with it, the details of a clicked driver, and Backup now.
#include "DlgBackup2Home.h"

#include "DlgBaseMessageBoxWndBase.h"
#include "DriverScanUpdate.h"
#include "HalvoranApp.h"
#include "LabelledText.h"
#include "SettingsPageLayout.h"
#include "WizardKeys.h"

IMPLEMENT_DYNAMIC(CDlgBackup2Home, CDlgLeftSideChild)

BEGIN_MESSAGE_MAP(CDlgBackup2Home, CDlgLeftSideChild)
  ON_COMMAND(CDlgBackup2Home::kSelectAllId, &CDlgBackup2Home::OnSelectAll)
  ON_COMMAND(CDlgBackup2Home::kBackupNowId, &CDlgBackup2Home::OnBackupNow)
  ON_WM_SHOWWINDOW()
  ON_NOTIFY(TVN_ITEMCHANGED, CDlgBackup2Home::kTreeId, &CDlgBackup2Home::OnTreeItemChanged)
END_MESSAGE_MAP()

namespace {

constexpr POINT kHeading{84, 50};
constexpr RECT kTreePlace{24, 90, 330, 400};
constexpr int kDetailLeft = 345, kDetailTop = 100, kDetailStep = 40, kDetailWidth = 200;
// The class icon, beside the first label.
constexpr RECT kDetailIcon{kDetailLeft + kDetailWidth + 6, kDetailTop + 16, kDetailLeft + kDetailWidth + 22,
                           kDetailTop + 32};
constexpr LPCTSTR kDetailTitles[6] = {_T("SCANTAB3CATEGORY"), _T("IDS_VERSION"),   _T("IDS_DATE"),
                                      _T("SCANTAB3PUBLISHER"), _T("SCANTAB3SIGNER"), _T("SCANTAB3HARDWAREID")};
// The record slots shown in the detail labels, in their order.
constexpr int kDetailSlots[6] = {kSlotClassName, kSlotDriverVersion, kSlotDriverDate,
                                 kSlotProvider,  kSlotSigner,        kSlotHardwareId};

// A detail text cut to its first characters and "..." when longer.
CString ShortDetail(const CString& text) {
  if (text.GetLength() <= CDlgBackup2Home::kDetailLength) return text;
  return text.Left(CDlgBackup2Home::kDetailLength) + _T("...");
}

}  // namespace

CDlgBackup2Home::CDlgBackup2Home(CBackupWizardOwner& owner, CWnd* pParent)
    : CDlgLeftSideChild(kTemplateId, pParent), m_owner(owner) {}

CDlgBackup2Home::~CDlgBackup2Home() = default;

BOOL CDlgBackup2Home::OnInitDialog() {
  CDlgLeftSideChild::OnInitDialog();
  SetWindowText(SettingsText(_T("BACKUPDLG2")));
  PlaceActionButton(*this, m_btnBackupNow, kBackupNowId, _T("IDD_BACKUP2_HOME"), _T("IDC_BTN_BACKUP_NOW"), 141);
  m_tree.SubclassDlgItem(kTreeId, this);
  m_tree.CreateCheckImages();
  m_tree.SetOwnerPage(this);
  m_tree.MoveWindow(kTreePlace.left, kTreePlace.top, kTreePlace.right - kTreePlace.left,
                    kTreePlace.bottom - kTreePlace.top);
  for (int i = 0; i < 6; ++i)
    GetDlgItem(kDetailIds[i])->MoveWindow(kDetailLeft, kDetailTop + i * kDetailStep + 16, kDetailWidth, 18);
  CWnd* selectAll = GetDlgItem(kSelectAllId);
  selectAll->MoveWindow(kTreePlace.left, kTreePlace.bottom + 10, 200, 18);
  selectAll->SetWindowText(SettingsText(_T("IDS_SELECT_ALL")));
  return TRUE;
}

void CDlgBackup2Home::OnShowWindow(BOOL bShow, UINT nStatus) {
  CDlgLeftSideChild::OnShowWindow(bShow, nStatus);
  if (!bShow) return;
  tagBackupWizardState& state = m_owner.BackupState();
  state.busy = TRUE;
  m_owner.Engine().FillClassTree();
  CheckDlgButton(kSelectAllId, BST_CHECKED);
  m_tree.CheckAllDrivers(TRUE);
  ShowDriverDetails(nullptr);
  m_owner.EnableOnlyLeftButton(0);
  state.busy = FALSE;
}

void CDlgBackup2Home::IsBranchChecked() {
  CheckDlgButton(kSelectAllId, m_tree.AllItemsChecked() ? BST_CHECKED : BST_UNCHECKED);
}

void CDlgBackup2Home::OnSelectAll() { m_tree.CheckAllDrivers(IsDlgButtonChecked(kSelectAllId) == BST_CHECKED); }

void CDlgBackup2Home::ShowDriverDetails(HTREEITEM hItem) {
  const CDeviceRecordArray* devices = m_owner.Engine().GetDevices();
  const DWORD_PTR data = hItem != nullptr ? m_tree.GetItemData(hItem) : CTreeXCtrl::kCategoryData;
  const tagDeviceDriverInfo* device =
      data != CTreeXCtrl::kCategoryData && devices != nullptr && data < static_cast<DWORD_PTR>(m_owner.Engine().GetDeviceCount())
          ? devices->GetAt(static_cast<INT_PTR>(data))
          : nullptr;
  m_nDetailImage = device != nullptr ? m_owner.Engine().GetClassImageIndex(m_tree, hItem) : -1;
  InvalidateRect(&kDetailIcon);
  for (int i = 0; i < 6; ++i)
    SetDlgItemText(kDetailIds[i], device != nullptr ? ShortDetail(device->szText[kDetailSlots[i]].Text()) : CString());
}

void CDlgBackup2Home::OnTreeItemChanged(NMHDR* pNMHDR, LRESULT* pResult) {
  const auto* change = reinterpret_cast<const NMTVITEMCHANGE*>(pNMHDR);
  if ((change->uStateNew & TVIS_SELECTED) != 0 && (change->uStateOld & TVIS_SELECTED) == 0)
    ShowDriverDetails(change->hItem);
  *pResult = 0;
}

void CDlgBackup2Home::OnBackupNow() {
  const int count = static_cast<int>(m_tree.GetCheckedDrivers().size());
  if (count == 0) {
    AppMessageBox(SettingsText(_T("IDS_BACKUP_ONETIME")), MB_OK | MB_ICONINFORMATION, this);
    return;
  }
  const CString question =
      LabelledText(LabelledText(SettingsText(_T("IDS_RESTART")), GetAppName()), SettingsText(_T("IDS_ADMIN_PURPOSE_BCKUP")));
  const int answer = m_owner.RelaunchAsAdmin(question, 13);
  if (answer == 1) {
    tagBackupWizardState& state = m_owner.BackupState();
    state.driversChosen = count;
    state.backupStarted = TRUE;
    m_owner.EnableOnlyLeftButton(2);
    m_owner.ShowBackupPage(CBackupWizardOwner::kThirdPage);
    m_owner.StartBackup();
  } else if (answer == -1) {
    AppMessageBox(SettingsText(_T("BACKUPDLG4_1")), MB_OK | MB_ICONSTOP, this);
    m_owner.ShowBackupPage(CBackupWizardOwner::kFirstPage);
  }
}

void CDlgBackup2Home::PaintPage(CDC* pDC, const CRect& rect, BOOL bDrawIcon) {
  CDlgLeftSideChild::PaintPage(pDC, rect, bDrawIcon);
  DrawSettingsText(pDC, _T("IDS_SELDRIVE_BAK_NOW"), kHeading);
  for (int i = 0; i < 6; ++i) {
    DrawSettingsText(pDC, kDetailTitles[i], POINT{kDetailLeft, kDetailTop + i * kDetailStep});
  }
  if (m_nDetailImage >= 0)
    ImageList_Draw(m_owner.Engine().GetClassImageList(), m_nDetailImage, pDC->GetSafeHdc(), kDetailIcon.left,
                   kDetailIcon.top, ILD_TRANSPARENT);
}

BOOL CDlgBackup2Home::PreTranslateMessage(MSG* pMsg) {
  return DispatchWizardKeyUnhandled(pMsg) ? FALSE : CDlgLeftSideChild::PreTranslateMessage(pMsg);
}
