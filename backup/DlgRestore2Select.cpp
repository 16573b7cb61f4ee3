// CDlgRestore2Select: the chosen backup unpacked and its drivers listed on a worker thread
// (a damaged archive sends the user back to the first page), select-all, and Restore, which
// asks for administrator rights before the restore page takes over.
#include "DlgRestore2Select.h"

#include "CheckedFormat.h"
#include "DlgBaseMessageBoxWndBase.h"
#include "DriverScanUpdate.h"
#include "HalvoranApp.h"
#include "PathHelpers.h"
#include "SettingsPageLayout.h"
#include "WorkerWait.h"
#include "WizardKeys.h"

namespace {

constexpr UINT kLoadedMessage = WM_APP + 0x241;
constexpr LPCTSTR kSection = _T("IDD_RESTORE2_SELECT");
constexpr POINT kDescription{84, 50};
constexpr RECT kTreePlace{24, 100, 568, 390};

}  // namespace

IMPLEMENT_DYNAMIC(CDlgRestore2Select, CDlgLeftSideChild)

BEGIN_MESSAGE_MAP(CDlgRestore2Select, CDlgLeftSideChild)
  ON_COMMAND(CDlgRestore2Select::kSelectAllId, &CDlgRestore2Select::OnSelectAll)
  ON_COMMAND(CDlgRestore2Select::kRestoreId, &CDlgRestore2Select::OnRestore)
  ON_WM_TIMER()
  ON_WM_SHOWWINDOW()
  ON_MESSAGE(kLoadedMessage, &CDlgRestore2Select::OnLoaded)
END_MESSAGE_MAP()

CDlgRestore2Select::CDlgRestore2Select(CRestoreWizardOwner& owner, CWnd* pParent)
    : CDlgLeftSideChild(kTemplateId, pParent), m_owner(owner) {}

CDlgRestore2Select::~CDlgRestore2Select() { WaitForLoader(); }

void CDlgRestore2Select::WaitForLoader() {
  if (m_hLoader == nullptr) return;
  // The loader fills the tree through messages sent to this thread.
  WaitForWorkerServingSends(m_hLoader);
  CloseHandle(m_hLoader);
  m_hLoader = nullptr;
}

BOOL CDlgRestore2Select::OnInitDialog() {
  CDlgLeftSideChild::OnInitDialog();
  SetWindowText(SettingsText(_T("RESTOREDLG2")));
  PlaceActionButton(*this, m_btnRestore, kRestoreId, kSection, _T("IDC_BTN_RESTORE"), 141);
  m_tree.SubclassDlgItem(kTreeId, this);
  m_tree.CreateCheckImages();
  m_tree.SetOwnerPage(this);
  m_tree.MoveWindow(kTreePlace.left, kTreePlace.top, kTreePlace.right - kTreePlace.left,
                    kTreePlace.bottom - kTreePlace.top);
  CWnd* selectAll = GetDlgItem(kSelectAllId);
  selectAll->MoveWindow(kTreePlace.left, kTreePlace.bottom + 10, 200, 18);
  selectAll->SetWindowText(SettingsText(_T("IDS_SELECT_ALL")));
  GetDlgItem(kLoadingTextId)->MoveWindow(kTreePlace.left, kTreePlace.top + 20, 540, 18);
  SetDlgItemText(kLoadingTextId, SettingsText(_T("RESTORETAB2DESC2")));
  if (m_toolTip.GetSafeHwnd()) {
    m_toolTip.AddTool(&m_tree, SettingsText(_T("RESTORETAB2TOOLTIP1")));
    m_toolTip.AddTool(selectAll, SettingsText(_T("RESTORETAB2TOOLTIP2")));
    m_toolTip.AddTool(&m_btnRestore, SettingsText(_T("RESTORETAB2TOOLTIP3")));
  }
  return TRUE;
}

void CDlgRestore2Select::OnShowWindow(BOOL bShow, UINT nStatus) {
  CDlgLeftSideChild::OnShowWindow(bShow, nStatus);
  if (!bShow) return;
  m_owner.EnableFirstLeftButtons(2);
  CheckDlgButton(kSelectAllId, BST_UNCHECKED);
  m_btnRestore.EnableWindow(FALSE);
  tagRestoreWizardState& state = m_owner.RestoreState();
  if (!state.archiveChosen) {
    GetDlgItem(kLoadingTextId)->ShowWindow(SW_HIDE);
    return;
  }
  GetDlgItem(kLoadingTextId)->ShowWindow(SW_SHOW);
  state.archiveChosen = FALSE;
  SetTimer(kLoadTimer, kLoadDelay, nullptr);
}

void CDlgRestore2Select::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent != kLoadTimer) {
    CDlgLeftSideChild::OnTimer(nIDEvent);
    return;
  }
  KillTimer(kLoadTimer);
  StartLoading();
}

void CDlgRestore2Select::StartLoading() {
  m_owner.RestoreState().busy = TRUE;
  m_owner.EnableOnlyLeftButton(1);
  GetDlgItem(kSelectAllId)->EnableWindow(FALSE);
  m_owner.EnableUi(FALSE);
  m_tree.DeleteAllItems();
  m_tree.ShowWindow(SW_HIDE);
  WaitForLoader();
  m_hLoader = CreateThread(nullptr, 0, &CDlgRestore2Select::LoadMain, this, 0, nullptr);
  if (m_hLoader == nullptr) PostMessage(kLoadedMessage, FALSE, 0);
}

DWORD WINAPI CDlgRestore2Select::LoadMain(LPVOID parameter) {
  auto& page = *static_cast<CDlgRestore2Select*>(parameter);
  BOOL filled = FALSE;
  try {
    // The engine empties the staging folder before it unpacks the archive there.
    filled = page.m_owner.Engine().FillRestoreTree(page.m_owner.RestoreState().archiveName, page.m_owner.BackupList(),
                                                   page.m_owner.StagingFolder(), page.m_namesToIds);
  } catch (...) {
    filled = FALSE;
  }
  ::PostMessageW(page.m_hWnd, kLoadedMessage, filled, 0);
  return 0;
}

LRESULT CDlgRestore2Select::OnLoaded(WPARAM filled, LPARAM) {
  GetDlgItem(kLoadingTextId)->ShowWindow(SW_HIDE);
  if (filled) {
    m_tree.CheckAllDrivers(FALSE);
    m_tree.ShowWindow(SW_SHOW);
    m_owner.EnableFirstLeftButtons(2);
  } else {
    m_owner.ShowRestorePage(CWizardOwner::kFirstPage);
  }
  m_owner.EnableUi(TRUE);
  m_btnRestore.EnableWindow(TRUE);
  GetDlgItem(kSelectAllId)->EnableWindow(TRUE);
  m_owner.RestoreState().busy = FALSE;
  return 0;
}

void CDlgRestore2Select::GetCheckedDrivers(CStringArray& names) const {
  names.RemoveAll();
  for (HTREEITEM item : m_tree.GetCheckedDrivers()) names.Add(m_tree.GetItemText(item));
}

void CDlgRestore2Select::IsBranchChecked() {
  CheckDlgButton(kSelectAllId, m_tree.AllItemsChecked() ? BST_CHECKED : BST_UNCHECKED);
}

void CDlgRestore2Select::OnSelectAll() { m_tree.CheckAllDrivers(IsDlgButtonChecked(kSelectAllId) == BST_CHECKED); }

void CDlgRestore2Select::OnRestore() {
  CStringArray names;
  GetCheckedDrivers(names);
  if (names.GetSize() == 0) {
    AppMessageBox(SettingsText(_T("IDS_RESTORE_ONETIME")), MB_OK | MB_ICONINFORMATION, this);
    return;
  }
  CString question;
  FormatChecked(question, SettingsText(_T("IDS_RECOMMEN_RESTART3")), {GetAppName()});
  const int answer = m_owner.RelaunchAsAdmin(question, 14);
  if (answer == 1) {
    tagRestoreWizardState& state = m_owner.RestoreState();
    state.driversChosen = static_cast<int>(names.GetSize());
    state.restoreStarted = TRUE;
    m_btnRestore.EnableWindow(FALSE);
    m_owner.EnableOnlyLeftButton(2);
    m_owner.ShowRestorePage(CWizardOwner::kThirdPage);
    m_owner.StartRestore();
  } else if (answer == -1) {
    AppMessageBox(SettingsText(_T("IDS_RESTORE_ABORTED")), MB_OK | MB_ICONSTOP, this);
    m_owner.ShowRestorePage(CWizardOwner::kFirstPage);
  }
}

void CDlgRestore2Select::PaintPage(CDC* pDC, const CRect& rect, BOOL bDrawIcon) {
  CDlgLeftSideChild::PaintPage(pDC, rect, bDrawIcon);
  DrawSettingsText(pDC, _T("RESTORETAB2DESC1"), kDescription);
}

BOOL CDlgRestore2Select::PreTranslateMessage(MSG* pMsg) {
  return DispatchWizardKeyUnhandled(pMsg) ? FALSE : CDlgLeftSideChild::PreTranslateMessage(pMsg);
}
