// The update checker's check, download, verification and setup start.
#include "UpdateCheckEngine.h"

#include <fileapi.h>
#include <synchapi.h>
#include <winbase.h>
#include <winuser.h>

#include <algorithm>
#include <mutex>
#include <string>

#include "AppVersion.h"
#include "CheckedFormat.h"
#include "DigestsSha1.h"
#include "GlobalConstants.h"
#include "GlobalUpdate.h"
#include "PathHelpers.h"
#include "ProcessControl.h"

namespace {

constexpr LPCTSTR kProgramAnswer = _T("LatestVersion.htm");
constexpr LPCTSTR kDatabaseAnswer = _T("LatestVersionDB.htm");
constexpr LPCTSTR kCompleteDatabaseAnswer = _T("dbUpdate.ini");
constexpr LPCTSTR kCompleteDatabaseAddress =
    _T("http://update.zephrin-tunevo.example/quarnelupdates/CompleteDatabase/getdatabase.asp");
constexpr LPCTSTR kMainProgram = _T("zephrinkx.exe");
// Said when a setup program no longer has the digest it was confirmed by.
constexpr LPCTSTR kUnverifiedSetupId = _T("IDS_SETUP_NOT_VERIFIED");
constexpr LPCTSTR kUnverifiedSetupText =
    _T("The downloaded setup program of %s cannot be verified. It was not started.");
constexpr int kShortTemplate = 5;
constexpr int kParentFinished = 900;
constexpr UINT kCloseElapse = 100;
constexpr int kShowMaximized = 3;

// One worker run at a time in the process.
std::mutex g_workerLock;

BOOL SameDigest(LPCTSTR file, LPCTSTR hash) {
  const CString digest = CCalcSHA1::GetFileSha1Hash(file);
  return !digest.IsEmpty() && digest.CompareNoCase(hash) == 0;
}

UINT ButtonsForKind(int kind) {
  switch (kind) {
    case 0: return MB_OK;
    case 2: return MB_YESNO;
    case 3: return MB_YESNOCANCEL;
    default: return MB_OKCANCEL;
  }
}

}  // namespace

BOOL IsBrowserAddress(LPCTSTR url) {
  const CString text = url ? url : _T("");
  for (LPCTSTR scheme : {_T("http://"), _T("https://")}) {
    const int length = static_cast<int>(std::char_traits<WCHAR>::length(scheme));
    if (text.GetLength() > length && text.Left(length).CompareNoCase(scheme) == 0) return TRUE;
  }
  return FALSE;
}

CUpdateCheckEngine::CUpdateCheckEngine(IUpdateCheckView& view, const tagCheckUpdateSwitches& switches)
    : m_view(view), m_switches(switches) {
  m_downloader.SetSink(this);
}

void CUpdateCheckEngine::SetPause(std::function<void(DWORD)> pause) { m_pause = std::move(pause); }

void CUpdateCheckEngine::Pause(DWORD ms) {
  if (m_pause) m_pause(ms);
  else Sleep(ms);
}

BOOL CUpdateCheckEngine::IsQuiet() const {
  return m_switches.bSilent || m_switches.bStartMinimized || m_switches.bStartHidden;
}

CString CUpdateCheckEngine::Formatted(LPCTSTR stringId) {
  CString text;
  FormatChecked(text, m_view.GetText(stringId), {GetProductName()});
  return text;
}

BOOL CUpdateCheckEngine::LoadDownloaderLibrary(LPCTSTR libraryName) {
  if (m_downloader.Load(libraryName)) return TRUE;
  m_view.ShowMessage(Formatted(_T("IDS_DOWNLOAD_DLL_NOTFOUND")), MB_OK | MB_ICONERROR);
  return FALSE;
}

CString CUpdateCheckEngine::GetUpdateFolder() {
  CString folder = GetAppDataFolder();
  AppendPathComponent(folder, m_view.GetText(_T("IDS_APP_UPDATE_DIR_NAME")));
  if (PathExists(folder) != 1) CreateDirectoryTree(folder);
  return folder;
}

int CUpdateCheckEngine::BuildQueryUrl(QueryKind kind, CString& url) {
  url.Empty();
  // The installed version: the file version of the shared library beside the program.
  if (GetAppVer(m_strInstalledVersion) == 0) return 0;
  CString programTemplate, databaseTemplate;
  GetCheckUpdateUrl(programTemplate, databaseTemplate);
  const CString& chosen = kind == kQueryProgram ? programTemplate : databaseTemplate;
  if (chosen.GetLength() <= kShortTemplate) return 0;
  // A template whose placeholders do not fit the values is as good as missing.
  const BOOL fits = kind == kQueryProgram ? FormatChecked(url, chosen, {m_strInstalledVersion})
                                          : FormatChecked(url, chosen, {m_strInstalledVersion, 0});
  if (!fits) url.Empty();
  return url.GetLength();
}

BOOL CUpdateCheckEngine::FetchAnswer(LPCTSTR url, LPCTSTR file) {
  DeleteFileW(file);
  if (m_downloader.DownloadFile(url, file, _T(""), 1, 0, m_view.IsCancelled()) != 0) return TRUE;
  DeleteFileW(file);
  return FALSE;
}

int CUpdateCheckEngine::CheckForUpdates(BOOL programOnly) {
  if (!m_downloader.IsConnected()) {
    if (!m_switches.bStartMinimized)
      m_view.ShowMessage(Formatted(_T("IDS_CANNOT_CONNECT")), MB_OK | MB_TASKMODAL | MB_ICONERROR);
    return kCheckNoConnection;
  }
  // Each check starts from an empty answer.
  m_info.Clear();
  const CString folder = GetUpdateFolder();
  int result = 0;
  if (m_switches.bDownloadCompleteDbOnly) {
    CString file = folder;
    AppendPathComponent(file, kCompleteDatabaseAnswer);
    if (FetchAnswer(kCompleteDatabaseAddress, file)) result = ReadDbUpdateInfo(file, m_info);
  } else {
    m_bDbQuery.store(false);
    CString url, file = folder;
    AppendPathComponent(file, kProgramAnswer);
    const bool asked = BuildQueryUrl(kQueryProgram, url) > 0;
    const bool answered = asked && FetchAnswer(url, file);
    if (answered) result = ReadAppUpdateInfo(file, m_strInstalledVersion, programOnly, m_info);
    if (programOnly) return 1;
    if (!(m_info.m_bNewer && result >= 1)) {
      // A query the service never answered found nothing out: the check failed, it did not
      // find the program up to date.
      if (m_view.IsStopping() || m_bDeclined || (asked && !answered)) return 0;
      if (!m_switches.bIsQuarnelParent) return 1;
      m_bDbQuery.store(true);
      file = folder;
      AppendPathComponent(file, kDatabaseAnswer);
      const BOOL fetched = BuildQueryUrl(kQueryDatabase, url) > 0 && FetchAnswer(url, file);
      m_bDbQuery.store(false);
      result = fetched ? ReadDbUpdateInfo(file, m_info) : 0;
      if (result < 1) return 0;
    }
  }
  if (m_view.IsStopping()) return 0;
  m_nItemsToFetch = (m_info.m_bNewer ? 1 : 0) + m_info.m_nDbCount;
  Pause(100);
  return result;
}

BOOL CUpdateCheckEngine::OpenInBrowser(LPCTSTR url) {
  // Only web addresses go to the browser: an answer must not start programs or open files.
  if (!IsBrowserAddress(url)) return FALSE;
  return ShellStart(nullptr, _T("open"), url, nullptr, nullptr, kShowMaximized) > 32;
}

int CUpdateCheckEngine::DownloadAppUpdate() {
  if (!m_info.m_bNewer) return 1;
  m_strSetupPath.Empty();
  m_bSetupReady = FALSE;
  if (m_info.m_nOpenBrowser >= 1) return OpenInBrowser(m_info.m_strProgramUrl) ? 1 : 0;
  // A key that names no plain file (empty once its folders are cut off) is refused.
  if (m_info.m_strSetupFileName.IsEmpty()) return 0;
  const CString folder = GetUpdateFolder();
  CString target = folder;
  AppendPathComponent(target, m_info.m_strSetupFileName);
  const int mode = TransferModeForSize(m_info.m_strProgramSize);
  const BOOL withHash = !m_info.m_strHash.IsEmpty();
  if (PathExists(target) == 1) {
    if (withHash && SameDigest(target, m_info.m_strHash)) {
      m_strSetupPath = target;
      m_bSetupReady = TRUE;
      return 1;
    }
    if (!withHash && !DeleteFileW(target) && GetLastError() != ERROR_FILE_NOT_FOUND) {
      if (!m_switches.bStartHidden && !m_switches.bStartMinimized)
        m_view.ShowMessage(m_view.GetText(_T("IDS_UNABLE_TO_DELETE_OLD_FILE")), MB_OK | MB_ICONERROR,
                           m_switches.bIsQuarnelParent);
      m_view.CloseChecker(kCloseElapse);
      return 0;
    }
  }
  if (!FetchConfirmed(m_info.m_strProgramUrl, target + kUnconfirmedSuffix, m_info.m_strHash, mode, target))
    return 0;
  m_strSetupPath = target;
  m_bSetupReady = TRUE;
  CountFetched();
  return 1;
}

BOOL CUpdateCheckEngine::FetchConfirmed(LPCTSTR url, const CString& partial, LPCTSTR hash, int mode, LPCTSTR target) {
  DeleteFileW(partial);
  const int fetched = m_downloader.DownloadFile(url, partial, hash, mode, 0, m_view.IsCancelled());
  // Only a whole download whose digest matches (when one is given) takes the target's name, in
  // one step: an old file of that name never stays in its place when the rename fails.
  const BOOL whole = fetched != 0 && !m_downloader.IsAbortRequested() && PathExists(partial) == 1;
  if (whole && (*hash == 0 || SameDigest(partial, hash)) && MoveFileExW(partial, target, MOVEFILE_REPLACE_EXISTING))
    return TRUE;
  DeleteFileW(partial);
  return FALSE;
}

void CUpdateCheckEngine::CountFetched() { m_nItemsFetched = std::min(m_nItemsFetched + 1, m_nItemsToFetch); }

int CUpdateCheckEngine::DownloadDbUpdate() {
  if (!m_info.m_bDbAvailable || m_info.m_arrDbUpdates.IsEmpty()) return 0;
  const CString archive = GetDatabaseArchivePath();
  for (INT_PTR index = 0; index < m_info.m_arrDbUpdates.GetSize(); ++index) {
    const tagDBUpdateInfo& record = m_info.m_arrDbUpdates[index];
    // An archive without a digest cannot be confirmed and never takes the place of the one in use.
    if (record.strHash.IsEmpty() || record.strUrl.IsEmpty()) return 0;
    if (!SameDigest(archive, record.strHash)) {
      CString partial = GetDatabaseStagingFolder();
      AppendPathComponent(partial, record.strFileName + kUnconfirmedSuffix);
      if (!FetchConfirmed(record.strUrl, partial, record.strHash, TransferModeForSize(record.strSize), archive))
        return 0;
    }
    CountFetched();
  }
  return 1;
}

void CUpdateCheckEngine::AskAndInstall() {
  const BOOL mainProgramRuns = IsProcessRunning(kMainProgram, 0, FALSE);
  if (mainProgramRuns && m_info.m_bNewer) {
    const int answer = m_view.ShowMessage(Formatted(_T("Step4AskBeforeInstallAppUpdates")), MB_YESNO | MB_ICONQUESTION);
    if (answer != IDYES) {
      if (m_switches.bIsQuarnelParent) m_view.NotifyParentWindow(kParentFinished);
      m_view.CloseChecker(kCloseElapse);
      return;
    }
  }
  if (m_info.m_bNewer && m_bProgramDone) RunSetupSilently();
}

void CUpdateCheckEngine::RunSetupSilently() {
  if (m_strSetupPath.IsEmpty() || PathExists(m_strSetupPath) != 1) {
    if (m_switches.bSilent) {
      m_view.EndProgram();
      return;
    }
    m_view.ShowMessage(m_view.GetText(_T("IDS_SETUP_FILENOT_FOUND")), MB_OK | MB_ICONERROR);
    return;
  }
  // Only the setup program of this run's whole download starts; one the answer gives a digest
  // for is checked again just before it starts, one without a digest is run as it came.
  if (!m_bSetupReady || (!m_info.m_strHash.IsEmpty() && !SameDigest(m_strSetupPath, m_info.m_strHash))) {
    CString text = m_view.GetText(kUnverifiedSetupId);
    if (text.IsEmpty()) text = kUnverifiedSetupText;
    FormatChecked(text, text, {GetProductName()});
    m_view.ShowMessage(text, MB_OK | MB_ICONERROR);
    m_view.CloseChecker(kCloseElapse);
    return;
  }
  m_view.ShowInstalling();
  ShellStart(GetDesktopWindow(), _T("open"), _T("\"") + m_strSetupPath + _T("\""), kSetupSwitches, _T(""),
             SW_SHOWNORMAL);
  m_view.CloseChecker(kCloseElapse);
}

void CUpdateCheckEngine::OnDownloadProgress(const CString& status, int percent, ULONGLONG received, ULONGLONG total) {
  m_view.ShowProgress(status, percent, received, total);
}

int CUpdateCheckEngine::OnDownloadQuestion(LPCWSTR text, int kind) {
  const int byDefault = kind == 0 ? IDOK : IDNO;
  int answer = byDefault;
  if (text != nullptr && *text != 0 && !IsQuiet() && !m_view.IsStopping())
    answer = m_view.ShowMessage(text, ButtonsForKind(kind));
  if (kind == 3 && answer == IDNO) m_bDeclined = TRUE;
  return answer;
}

UINT CUpdateCheckEngine::UpdateThreadProc(LPVOID engine) {
  static_cast<CUpdateCheckEngine*>(engine)->RunWorker();
  return 0;
}

void CUpdateCheckEngine::RunWorker() {
  std::lock_guard<std::mutex> worker(g_workerLock);
  m_downloader.ResetEvent();
  if (!m_downloader.IsLoaded()) {
    if (m_switches.bIsQuarnelParent) m_view.NotifyParentWindow(kParentFinished);
    m_view.OnBtnCancel();
    return;
  }
  if (m_view.GetStage() == 0) {
    m_bProgramDone = FALSE;
    m_bDatabaseDone = FALSE;
    m_nItemsFetched = 0;
    if (m_view.IsStopping()) m_view.ArmForcedEnd();
    m_nCheckResult = CheckForUpdates(m_switches.bCheckAppUpdateOnly);
    if (m_view.IsStopping()) m_view.ArmForcedEnd();
    m_view.StopCheckingAnimation();
    if (m_switches.bCheckAppUpdateOnly && !m_info.m_bNewer) {
      m_view.CloseChecker(kCloseElapse);
      return;
    }
    if (m_info.m_bNewer) {
      m_view.ShowUpdateFound();
      const int answer = m_view.ShowMessage(m_view.GetText(_T("NewSetupAvailableTxt")),
                                            MB_YESNO | MB_ICONQUESTION | MB_TOPMOST | MB_SYSTEMMODAL);
      if (answer != IDYES) {
        m_view.CloseChecker(kCloseElapse);
        return;
      }
      if (m_info.m_nOpenBrowser >= 1) {
        OpenInBrowser(m_info.m_strProgramUrl);
        m_view.CloseChecker(kCloseElapse);
        return;
      }
    }
    m_view.ShowCheckResults(m_nCheckResult, m_info.m_bNewer, m_info.m_bDbAvailable);
    if (!m_info.m_bNewer && !m_info.m_bDbAvailable) {
      if (m_switches.bIsQuarnelParent || m_switches.bStartMinimized || m_switches.bStartHidden) {
        m_view.NotifyParentWindow(kParentFinished);
        m_view.CloseChecker(kCloseElapse);
      }
      return;
    }
  }
  if (m_switches.bShowIfAvailable) m_view.MakeVisible();
  BOOL program = FALSE, database = FALSE;
  m_view.ReadChosenUpdates(program, database);
  if (program) {
    Pause(1000);
    m_nFetchStage.store(1);
    m_bProgramDone = DownloadAppUpdate() >= 1;
  }
  if (!m_view.IsStopping()) {
    if (database) {
      Pause(1000);
      m_nFetchStage.store(2);
      if (m_info.m_bDbAvailable) m_view.MakeVisible();
      m_bDatabaseDone = DownloadDbUpdate() >= 1;
    }
    m_view.ShowDownloadResult(m_info.m_bNewer ? m_bProgramDone : m_bDatabaseDone);
  }
  if (m_switches.bDownloadCompleteDbOnly || m_view.IsStopping()) {
    m_view.CloseChecker(kCloseElapse);
  } else if (m_info.m_bNewer) {
    m_view.StartInstallTimer();
  }
}
