// CVelquorResultsHost and AddResultsPage: the results page's ties to the main window.
#include "VelquorResults.h"

#include <utility>

#include "BackupCompress.h"
#include "CheckedFormat.h"
#include "DlgBaseMessageBoxWndBase.h"
#include "DlgDrvExclusion.h"
#include "DlgNagDownloadAndInstall.h"
#include "DlgNagRestart.h"
#include "DlgParentTransculent.h"
#include "DlgScan3Results.h"
#include "DriverPackageFetch.h"
#include "FileHistory.h"
#include "HalvoranApp.h"
#include "SettingsStore.h"
#include "EngineCallbacks.h"
#include "IniReader.h"
#include "PackageInstall.h"
#include "VelquorApp.h"
#include "VelquorDlg.h"
#include "VelquorScan.h"
#include "VelquorWizards.h"

namespace {

constexpr int kResultsPlaces[] = {3, 4};
// The start page of a program started again with administrator rights: the results.
constexpr int kResultsStartPage = 12;

// The dialog's run for a page mode.
int DialogMode(int pageMode) {
  switch (pageMode) {
    case CResultsPageHost::kModeSingleDownload:
      return CDlgNagDownloadAndInstall::kModeDownloadOne;
    case CResultsPageHost::kModeInstallOne:
      return CDlgNagDownloadAndInstall::kModeInstall;
    default:
      return CDlgNagDownloadAndInstall::kModeDownloadSelected;
  }
}

void CopyMap(const CMapStringToString& from, CMapStringToString& to) {
  to.RemoveAll();
  CString key, value;
  for (POSITION at = from.GetStartPosition(); at != nullptr;) {
    from.GetNextAssoc(at, key, value);
    to.SetAt(key, value);
  }
}

}  // namespace

CVelquorResultsHost::CVelquorResultsHost(CVelquorDlg& window) : m_window(window) {
  // The engine's class image list stays the engine's.
  if (HIMAGELIST images = window.GetScanEngine().GetClassImageList()) m_classImages.Attach(images);
}

CVelquorResultsHost::~CVelquorResultsHost() { m_classImages.Detach(); }

CDriverScanUpdate& CVelquorResultsHost::GetScanEngine() { return m_window.GetScanEngine(); }

bool CVelquorResultsHost::IsOneClickMode() const {
  const CEngineProgressView* view = GetEngineProgressView();
  return view != nullptr && view->bOneClick.load();
}

bool CVelquorResultsHost::IsLauncherNotifyMode() const { return m_window.GetLauncherState().bProgressNotify.load(); }

void CVelquorResultsHost::SetTaskBusy(BOOL busy) { m_window.GetApp().m_bTaskBusy = busy; }

void CVelquorResultsHost::ClearScanRequested() {
  if (CVelquorScanHost* scan = m_window.GetScanHost()) scan->ScanState().bScanRequested = false;
}

void CVelquorResultsHost::ShowResultsTab(CWnd* pPage) {
  // The one-click popup's page is not the window's.
  if (pPage->GetParent() == m_window.GetGroup(CVelquorDlg::kScanGroup)) m_window.PostMessage(WM_COMMAND, kResultsTabCommand);
}

std::vector<NagResultRow> MakeNagRows(const CDriverScanUpdate& engine, const CListCtrl& list,
                                      const std::vector<int>& chosenRows) {
  std::vector<NagResultRow> rows;
  for (int item = 0; item < list.GetItemCount(); ++item) {
    NagResultRow row;
    CString key, value;
    key.Format(_T("%d"), item);
    if (engine.GetItemMap().Lookup(key, value)) row.nDriverIndex = DecimalValue(value);
    row.bChecked = std::find(chosenRows.begin(), chosenRows.end(), item) != chosenRows.end() ? TRUE : FALSE;
    row.nState = static_cast<int>(static_cast<LONG_PTR>(list.GetItemData(item)));
    const CDeviceRecordArray* devices = engine.GetDevices();
    if (devices != nullptr && row.nDriverIndex >= 0 && row.nDriverIndex < engine.GetDeviceCount())
      if (const tagDeviceDriverInfo* device = devices->GetAt(row.nDriverIndex))
        row.strName = device->szText[kSlotDeviceName].Text();
    rows.push_back(row);
  }
  return rows;
}

CDriverPackageFetch& CVelquorResultsHost::Fetch() {
  if (m_pFetch == nullptr) {
    m_pFetch = std::make_unique<CDriverPackageFetch>(GetScanEngine(), m_helper, m_library.Load() ? &m_library : nullptr);
    m_pFetch->SetDownloadFolder(m_window.GetDownloadFolder());
    m_pFetch->SetFileListPath(m_window.GetDataFolder() + _T("\\") + GetHistoryFileName(kDownloadHistory));
    CString osId;
    osId.Format(_T("%d"), GetScanEngine().GetRequestMachine().nOsId);
    m_pFetch->SetOsIdText(osId);
  }
  return *m_pFetch;
}

void CVelquorResultsHost::RunDownloadAndInstall(CWnd* pPage, int nPageMode, const std::vector<int>& chosenRows) {
  m_chosenRows = chosenRows;
  m_nPageMode = nPageMode;
  const auto* list = static_cast<const CListCtrl*>(pPage->GetDlgItem(CDlgScan3Results::kListId));
  if (list == nullptr) return;
  // The launcher's download of the checked rows goes to the window kept open for it, which
  // starts 64 ms on; the user's runs to a popup over the page.
  CDlgNagDownloadAndInstall* kept = m_window.GetDownloadWindow();
  if (kept != nullptr && IsLauncherNotifyMode() && nPageMode == kModeDownloadChecked) {
    if (kept->IsRunning()) return;
    PrepareRun(*kept, pPage, *list);
    kept->SetTimer(CDlgNagDownloadAndInstall::kTimerDownloadSelected, CDlgNagDownloadAndInstall::kStartDelayMs, nullptr);
    return;
  }
  CDlgNagDownloadAndInstall dialog(pPage);
  PrepareRun(dialog, pPage, *list);
  dialog.SetStartMode(DialogMode(nPageMode));
  dialog.SetAutoFix(std::exchange(m_bAutoFix, false) ? TRUE : FALSE);
  if ((nPageMode == kModeSingleDownload || nPageMode == kModeInstallOne) && chosenRows.size() == 1) {
    CString key, value;
    key.Format(_T("%d"), chosenRows.front());
    GetScanEngine().GetItemMap().Lookup(key, value);
    dialog.SetSingleDriver(DecimalValue(value), chosenRows.front());
    // One driver's install asks to restart only when its package is listed.
    if (nPageMode == kModeInstallOne) dialog.SetInstallAll(FALSE);
  }
  m_pRunning = &dialog;
  // For the launcher the popup works unseen.
  RunModalWithBackdrop(pPage, &dialog, CDlgNagDownloadAndInstall::kTemplateId, dialog.IsHidden());
  m_pRunning = nullptr;
  KeepDownloads();
}

void CVelquorResultsHost::PrepareRun(CDlgNagDownloadAndInstall& dialog, CWnd* pPage, const CListCtrl& list) {
  CDriverScanUpdate& engine = GetScanEngine();
  CDriverPackageFetch& fetch = Fetch();
  // The fetch keeps the download history while it runs; the window saves it at its end.
  CopyMap(m_window.GetHistory(kDownloadHistory), fetch.GetDownloadedPackages());
  dialog.SetResultsPage(pPage);
  dialog.SetResultRows(MakeNagRows(engine, list, m_chosenRows));
  // The road backs the drivers up into an empty staging folder and packs it before installing.
  DeleteFolderTree(m_window.GetTempFolder());
  dialog.UseDriverRoad(engine, fetch, m_window.GetTempFolder(), [this] {
    CVelquorWizards* wizards = m_window.GetWizards();
    return wizards != nullptr ? wizards->PackUpdateBackup() : static_cast<int>(kCompressNothing);
  });
  dialog.SetPrompts({[this](CWnd* over) { return CheckElevation(over); }, [this](CWnd* over) { RunRestartPrompt(over); }});
  dialog.SetMainWindowLinks({[this](BOOL enable) { m_window.EnableUi(enable); },
                             [this](UINT command) {
                               if (CDlgLeftDlgBase* scan = m_window.GetGroup(CVelquorDlg::kScanGroup))
                                 scan->PostCommandToSelf(command);
                             },
                             [this](HWND popup) {
                               // The launcher's cancel goes straight to the open popup, else
                               // to the window kept open for it.
                               const CDlgNagDownloadAndInstall* kept = m_window.GetDownloadWindow();
                               if (popup == nullptr && kept != nullptr) popup = kept->GetSafeHwnd();
                               if (CKXLauncherLink* link = m_window.GetLauncherLink()) link->SetDownloadInstallWindow(popup);
                             },
                             [this](int installedRows) {
                               // Once drivers are installed the summary tells of them beside the
                               // updates found.
                               if (CVelquorScanHost* scan = m_window.GetScanHost())
                                 scan->BuildResultSummaryText(CVelquorScanHost::kSummaryAfterUpdate,
                                                              GetScanEngine().GetUpdatesFound(), installedRows);
                             }});
  if (IsLauncherNotifyMode()) {
    // The launcher follows the run and may stop it; its run's end keeps what it downloaded.
    tagLauncherState& launcher = m_window.GetLauncherState();
    dialog.SetLauncher({[this](int code, const CString& text) {
                          if (CKXLauncherLink* link = m_window.GetLauncherLink()) link->NotifyPeer(code, 0, text);
                        },
                        [&launcher] { return launcher.bInstallCancel.load(); },
                        [this](int installed) {
                          KeepDownloads();
                          ReportUpdatesLeft(installed);
                        }});
  }
  if (IsOneClickMode())
    dialog.SetOneClick([this](int code, const CString& text) {
      if (CKXLauncherLink* link = m_window.GetLauncherLink()) link->NotifyPeer(code, 0, text);
    });
}

void CVelquorResultsHost::KeepDownloads() {
  CMapStringToString& history = m_window.GetHistory(kDownloadHistory);
  CopyMap(Fetch().GetDownloadedPackages(), history);
  GetScanEngine().SetDownloadedPackages(&history);
}

int CVelquorResultsHost::CheckElevation(CWnd*) {
  CString question;
  FormatChecked(question, GetLangString(_T("IDS_RECOMMEN_RESTART2"), _T("Tunevo")), {GetAppName()});
  return m_window.RelaunchAsAdmin(question, kResultsStartPage);
}

void CVelquorResultsHost::RunRestartPrompt(CWnd* pPage) {
  CDlgNagRestart prompt(pPage);
  RunModalWithBackdrop(pPage, &prompt, CDlgNagRestart::kTemplateId);
}

void CVelquorResultsHost::ReportUpdatesLeft(int installed) {
  CVelquorScanHost* scan = m_window.GetScanHost();
  if (scan == nullptr) return;
  std::atomic<int>& left = scan->ScanState().nOutOfDate;
  left = std::max(0, left.load() - installed);
  ReportUpdateCount(left);
}

void CVelquorResultsHost::ReportUpdateCount(int nCount) {
  if (CKXLauncherLink* link = m_window.GetLauncherLink()) link->NotifyPeerUpdateProgress(nCount);
}

int CVelquorResultsHost::AddExclusion(const CString& driverName, const CString& hardwareId) {
  CDlgDrvExclusion* page = m_window.GetExclusionPage();
  return page ? page->AddExclusion(driverName, hardwareId) : 0;
}

int CVelquorResultsHost::GetExclusionCount() const {
  const CDlgDrvExclusion* page = m_window.GetExclusionPage();
  return page ? page->GetList().GetCount() : 0;
}

void CVelquorResultsHost::GoToExclusionList() {
  m_window.PostMessage(WM_COMMAND, kSettingsTabCommand);
  if (CDlgLeftDlgBase* settings = m_window.GetGroup(CVelquorDlg::kSettingsGroup))
    settings->PostCommandToSelf(kExclusionPageCommand);
}

void CVelquorResultsHost::ShowSummary() {
  if (CDlgLeftDlgBase* scan = m_window.GetGroup(CVelquorDlg::kScanGroup)) scan->PostCommandToSelf(kSummaryPageCommand);
}

// Before any scan the window's own feedback command asks for one; after it the form sends the
// last scan's request.
void CVelquorResultsHost::SendFeedback(CWnd* pPage) {
  CVelquorApp& app = m_window.GetApp();
  if (app.m_strLastScanText.IsEmpty()) {
    m_window.SendMessage(WM_COMMAND, CVelquorDlg::kFeedbackCommand);
    return;
  }
  m_window.RunDriverFeedback(pPage);
}

CDlgScan3Results* AddResultsPage(CVelquorDlg& window, CResultsPageHost& host) {
  CDlgLeftDlgBase* group = window.GetGroup(CVelquorDlg::kScanGroup);
  if (group == nullptr) return nullptr;
  auto* page = new CDlgScan3Results(host);
  // The panel owns the page from here on, made or not.
  for (int place : kResultsPlaces) group->SetPage(place, page);
  if (!window.AddPage(group, page, CDlgScan3Results::kTemplateId)) return nullptr;
  host.GetScanEngine().SetResultList(&page->GetResultView());
  return page;
}
