// CDlgBackup3DriverBkp: the backup's two worker steps (copy, then pack), the answers they post
// back to the page, the question for another folder when the backup folder's volume is too
// full, and Stop, which waits for the engine on a short thread of its own.
#include "DlgBackup3DriverBkp.h"

#include "BackupCompress.h"
#include "DeviceAnimation.h"
#include "DlgBaseMessageBoxWndBase.h"
#include "DriverInstallEngine.h"
#include "DriverScanUpdate.h"
#include "PackageInstall.h"
#include "PathHelpers.h"
#include "SettingsPageLayout.h"
#include "WizardKeys.h"

namespace {

constexpr UINT kCopiedMessage = WM_APP + 0x231;
constexpr UINT kCompressedMessage = WM_APP + 0x232;
constexpr UINT kDriverMessage = WM_APP + 0x233;
constexpr UINT kRemovingMessage = WM_APP + 0x234;
constexpr POINT kDescription{84, 50};
constexpr POINT kNote{48, 118};
constexpr RECT kProgressPlace{48, 190, 543, 208};

}  // namespace

IMPLEMENT_DYNAMIC(CDlgBackup3DriverBkp, CDlgLeftSideChild)

BEGIN_MESSAGE_MAP(CDlgBackup3DriverBkp, CDlgLeftSideChild)
  ON_COMMAND(CDlgBackup3DriverBkp::kStopId, &CDlgBackup3DriverBkp::OnStop)
  ON_WM_TIMER()
  ON_WM_SHOWWINDOW()
  ON_WM_CTLCOLOR()
  ON_MESSAGE(kCopiedMessage, &CDlgBackup3DriverBkp::OnCopied)
  ON_MESSAGE(kCompressedMessage, &CDlgBackup3DriverBkp::OnCompressed)
  ON_MESSAGE(kDriverMessage, &CDlgBackup3DriverBkp::OnDriverShown)
  ON_MESSAGE(kRemovingMessage, &CDlgBackup3DriverBkp::OnRemovingStaging)
END_MESSAGE_MAP()

CDlgBackup3DriverBkp::CDlgBackup3DriverBkp(CBackupWizardOwner& owner, CWnd* pParent)
    : CDlgLeftSideChild(kTemplateId, pParent), m_owner(owner), m_labels(*this, kDriverMessage) {}

CDlgBackup3DriverBkp::~CDlgBackup3DriverBkp() { WaitForThreads(); }

void CDlgBackup3DriverBkp::WaitForThreads() {
  for (HANDLE* thread : {&m_hWorker, &m_hStopper}) {
    if (*thread == nullptr) continue;
    WaitForSingleObject(*thread, INFINITE);
    CloseHandle(*thread);
    *thread = nullptr;
  }
}

BOOL CDlgBackup3DriverBkp::OnInitDialog() {
  CDlgLeftSideChild::OnInitDialog();
  SetWindowText(SettingsText(_T("BACKUPDLG3")));
  PlaceActionButton(*this, m_btnStop, kStopId, _T("IDD_BACKUP3_BACKUPDRIVER"), _T("IDC_BACKUPTAB2_STOP_BKP"), 141);
  m_progress.SubclassDlgItem(kProgressId, this);
  m_animation.SubclassDlgItem(kAnimationId, this);
  m_progress.SetRange32(0, 100);
  m_progress.MoveWindow(kProgressPlace.left, kProgressPlace.top, kProgressPlace.right - kProgressPlace.left,
                        kProgressPlace.bottom - kProgressPlace.top);
  GetDlgItem(kStatusId)->MoveWindow(kProgressPlace.left, kProgressPlace.bottom + 12, 495, 18);
  GetDlgItem(kWaitId)->MoveWindow(kProgressPlace.left, kProgressPlace.bottom + 36, 495, 18);
  m_animation.MoveWindow(kProgressPlace.left, kProgressPlace.bottom + 66, 80, 60);
  GetDlgItem(kStatusLineId)->MoveWindow(kProgressPlace.left + 92, kProgressPlace.bottom + 88, 400, 18);
  if (m_toolTip.GetSafeHwnd()) m_toolTip.AddTool(&m_btnStop, SettingsText(_T("BACKUPDLG3BTNTOOLTIP")));
  m_btnStop.EnableWindow(FALSE);
  return TRUE;
}

void CDlgBackup3DriverBkp::SetTexts(LPCTSTR statusId, LPCTSTR waitId) {
  if (statusId != nullptr) SetDlgItemText(kStatusId, statusId[0] != 0 ? SettingsText(statusId) : CString());
  if (waitId != nullptr) SetDlgItemText(kWaitId, SettingsText(waitId));
}

void CDlgBackup3DriverBkp::OnShowWindow(BOOL bShow, UINT nStatus) {
  CDlgLeftSideChild::OnShowWindow(bShow, nStatus);
  if (!bShow) return;
  tagBackupWizardState& state = m_owner.BackupState();
  state.busy = TRUE;
  SetWindowText(SettingsText(state.allChosen ? _T("BACKUPDLG3ALL") : _T("BACKUPDLG3")));
  SetDlgItemText(kStatusLineId, SettingsText(_T("IDS_BCK_COMPLETED")));
  PlayAnimation(m_animation);
  if (!state.backupStarted) return;
  m_nStop = 0;
  m_progress.SetPos(0);
  SetTexts(_T("IDS_BCK_START"), _T("IDS_WAIT"));
  m_btnStop.EnableWindow(TRUE);
  Invalidate();
}

void CDlgBackup3DriverBkp::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent != kStartTimer) {
    CDlgLeftSideChild::OnTimer(nIDEvent);
    return;
  }
  KillTimer(kStartTimer);
  tagBackupWizardState& state = m_owner.BackupState();
  state.busy = TRUE;
  state.failed = state.aborted = FALSE;
  m_nStop = 0;
  m_strTargetFolder = m_owner.BackupFolder();
  m_bSecondTry = false;
  m_owner.EnableUi(FALSE);
  SetDlgItemText(kStatusLineId, SettingsText(_T("IDS_BCK_COMPLETED")));
  SetTexts(_T("IDS_BCK_START"), _T("IDS_WAIT"));
  m_btnStop.EnableWindow(TRUE);
  RunOnWorker(&CDlgBackup3DriverBkp::CopyDrivers, kCopiedMessage);
}

void CDlgBackup3DriverBkp::RunOnWorker(int (*job)(CDlgBackup3DriverBkp&), UINT doneMessage) {
  if (m_hWorker != nullptr) {
    // The previous step posted its answer and is ending.
    WaitForSingleObject(m_hWorker, INFINITE);
    CloseHandle(m_hWorker);
  }
  m_pJob = job;
  m_nDoneMessage = doneMessage;
  m_hWorker = CreateThread(nullptr, 0, &CDlgBackup3DriverBkp::WorkerMain, this, 0, nullptr);
  if (m_hWorker == nullptr) PostMessage(doneMessage, static_cast<WPARAM>(kStepFailed), 0);
}

DWORD WINAPI CDlgBackup3DriverBkp::WorkerMain(LPVOID parameter) {
  auto& page = *static_cast<CDlgBackup3DriverBkp*>(parameter);
  int result = kStepFailed;
  try {
    result = page.m_pJob(page);
  } catch (...) {
    result = kStepFailed;
  }
  ::PostMessageW(page.m_hWnd, page.m_nDoneMessage, static_cast<WPARAM>(result), 0);
  return 0;
}

int CDlgBackup3DriverBkp::CopyDrivers(CDlgBackup3DriverBkp& page) {
  const CString staging = page.m_owner.StagingFolder();
  DeleteFolderTree(staging);
  if (CreateDirectoryTree(staging) != 1) return kStepFailed;
  const HWND progress = page.m_progress.m_hWnd;
  CBackupWizardOwner& owner = page.m_owner;
  return owner.Engine().BackupSelectedDrivers(
      staging, owner.BackupState().backupAll,
      [progress, &owner](CDeviceRecordArray*, int percent) {
        ::PostMessageW(progress, PBM_SETPOS, percent, 0);
        owner.OnBackupProgress(percent);
        return true;
      },
      page.m_labels.Sink());
}

int CDlgBackup3DriverBkp::Compress(CDlgBackup3DriverBkp& page) {
  // Packing is the engine's operation too: a stop request waits for its answer.
  CDriverInstallEngine::COperation running(GetProcessEngine());
  BackupCompressJob job;
  job.staging = page.m_owner.StagingFolder();
  job.backupFolder = page.m_strTargetFolder;
  GetLocalTime(&job.time);
  CBackupWizardOwner& owner = page.m_owner;
  job.freeSpace = [&owner](LPCTSTR volume, ULONGLONG& freeBytes) { return owner.FreeSpace(volume, freeBytes); };
  const HWND window = page.m_hWnd;
  job.removingStaging = [window] { ::PostMessageW(window, kRemovingMessage, 0, 0); };
  CString archive;
  const int result = CompressBackup(job, &archive);
  if (result == kCompressDone) {
    const CString name = archive.Mid(archive.ReverseFind(_T('\\')) + 1);
    page.m_strArchive = archive;
    page.m_strArchiveName = name;
  }
  return result;
}

LRESULT CDlgBackup3DriverBkp::OnCopied(WPARAM result, LPARAM) {
  StopAnimation(m_animation);
  if (static_cast<int>(result) == kStepCompleted && m_nStop == 0) {
    // Packing runs to its end: Stop is for the copy only.
    SetTexts(_T("IDS_BCK_COMPRESS"), _T("IDS_COMPRESS_BCKUP"));
    m_btnStop.EnableWindow(FALSE);
    RunOnWorker(&CDlgBackup3DriverBkp::Compress, kCompressedMessage);
    return 0;
  }
  // Whatever was copied is discarded with the staging folder.
  DeleteFolderTree(m_owner.StagingFolder());
  tagBackupWizardState& state = m_owner.BackupState();
  if (m_nStop != 0 || static_cast<int>(result) == kStepStopBackup)
    state.aborted = TRUE;
  else
    state.failed = TRUE;
  Finish(true, _T("BACKUPDLG4_1"));
  return 0;
}

LRESULT CDlgBackup3DriverBkp::OnCompressed(WPARAM answer, LPARAM) {
  const int result = static_cast<int>(answer);
  tagBackupWizardState& state = m_owner.BackupState();
  if (result == kCompressNoSpace) {
    if (m_bSecondTry) {
      AppMessageBox(SettingsText(_T("IDS_BACKUP_ABORT")), MB_OK | MB_ICONSTOP, this);
    } else if (AppMessageBox(SettingsText(_T("IDS_BACKUP_INSUFFI_SPACE")), MB_YESNO | MB_ICONSTOP, this) == IDYES) {
      SetTexts(_T("IDS_INSUFFI_SPACE"), _T("IDS_INSUFFI_SPACE"));
      CString folder = m_strTargetFolder;
      if (m_owner.ChooseBackupFolder(folder)) {
        m_strTargetFolder = folder;
        m_bSecondTry = true;
        SetTexts(_T("IDS_BCK_COMPRESS"), nullptr);
        RunOnWorker(&CDlgBackup3DriverBkp::Compress, kCompressedMessage);
        return 0;
      }
    }
    DeleteFolderTree(m_owner.StagingFolder());
    state.failed = TRUE;
    SetTexts(_T("IDS_ABORTING_BAK2"), _T("IDS_ABORTING_BAK2"));
    Finish(true, nullptr);
    return 0;
  }
  if (result == kCompressDone) {
    CString known;
    if (!m_owner.BackupList().Lookup(m_strArchiveName, known)) m_owner.BackupList().SetAt(m_strArchiveName, m_strArchive);
    m_owner.SaveBackupList();
    if (m_bSecondTry) m_owner.StoreBackupFolder(m_strTargetFolder);
    // A stop that came after the last file leaves a whole archive: the backup is made.
    state.driversHandled = state.driversChosen;
    Finish(false, _T("BACKUPDLG4"));
    return 0;
  }
  if (result == kCompressStopped || m_nStop != 0) {
    state.aborted = TRUE;
  } else {
    if (result == kCompressNothing)
      AppMessageBox(SettingsText(_T("IDS_NOFOUND_BAKFILE")), MB_OK | MB_ICONSTOP, this);
    else if (result == kCompressWriteFailed)
      AppMessageBox(SettingsText(_T("IDS_UNABLESAVE_BACKUP")), MB_OK | MB_ICONSTOP, this);
    state.failed = TRUE;
  }
  Finish(true, _T("BACKUPDLG4_1"));
  return 0;
}

LRESULT CDlgBackup3DriverBkp::OnDriverShown(WPARAM, LPARAM) {
  // After Stop the wait text tells of the stop.
  if (m_nStop == 0) m_labels.Show(kStatusId, kWaitId);
  return 0;
}

LRESULT CDlgBackup3DriverBkp::OnRemovingStaging(WPARAM, LPARAM) {
  SetTexts(_T("IDS_WAIT_DELTEMP_FILE"), _T("IDS_DELTE_TEMP_FILE"));
  return 0;
}

void CDlgBackup3DriverBkp::Finish(bool failed, LPCTSTR textId) {
  tagBackupWizardState& state = m_owner.BackupState();
  if (failed && !state.aborted) state.failed = TRUE;
  if (textId != nullptr) SetTexts(textId, textId);
  m_btnStop.EnableWindow(FALSE);
  state.backupStarted = FALSE;
  m_owner.EnableOnlyLeftButton(3);
  m_owner.ShowBackupPage(CBackupWizardOwner::kFourthPage);
  SetTexts(_T(""), nullptr);
  SetDlgItemText(kStatusLineId, CString());
  state.busy = FALSE;
  m_owner.EnableUi(TRUE);
}

DWORD WINAPI CDlgBackup3DriverBkp::StopMain(LPVOID parameter) {
  static_cast<CDlgBackup3DriverBkp*>(parameter)->m_owner.Engine().StopOperation(FALSE);
  return 0;
}

void CDlgBackup3DriverBkp::OnStop() {
  m_nStop = 1;
  SetTexts(nullptr, _T("IDS_WAIT_STOP_BAK"));
  m_btnStop.EnableWindow(FALSE);
  if (m_hStopper != nullptr) {
    WaitForSingleObject(m_hStopper, INFINITE);
    CloseHandle(m_hStopper);
  }
  m_hStopper = CreateThread(nullptr, 0, &CDlgBackup3DriverBkp::StopMain, this, 0, nullptr);
}

HBRUSH CDlgBackup3DriverBkp::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
  HBRUSH brush = CDlgLeftSideChild::OnCtlColor(pDC, pWnd, nCtlColor);
  const UINT id = pWnd != nullptr ? static_cast<UINT>(pWnd->GetDlgCtrlID()) : 0;
  if (id == kStatusId) pDC->SetTextColor(kStatusColour);
  if (id == kWaitId) pDC->SetTextColor(kWaitColour);
  return brush;
}

void CDlgBackup3DriverBkp::PaintPage(CDC* pDC, const CRect& rect, BOOL bDrawIcon) {
  CDlgLeftSideChild::PaintPage(pDC, rect, bDrawIcon);
  DrawSettingsText(pDC, _T("BACKUPTAB3DESC1"), kDescription);
  DrawSettingsText(pDC, m_owner.BackupState().allChosen ? _T("BACKUPTAB3DESC2ALL") : _T("BACKUPTAB3DESC2"), kNote);
}

BOOL CDlgBackup3DriverBkp::PreTranslateMessage(MSG* pMsg) {
  return DispatchWizardKeyUnhandled(pMsg) ? FALSE : CDlgLeftSideChild::PreTranslateMessage(pMsg);
}
