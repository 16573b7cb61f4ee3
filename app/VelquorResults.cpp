// CVelquorResultsHost and AddResultsPage: the results page's ties to the main window.
#include "VelquorResults.h"

#include "DlgBaseMessageBoxWndBase.h"
#include "DlgDrvExclusion.h"
#include "DlgNagDownloadAndInstall.h"
#include "DlgNagDriverFeedback.h"
#include "DlgParentTransculent.h"
#include "DlgScan3Results.h"
#include "Dlg_INFO_HTM.h"
#include "EngineCallbacks.h"
#include "IniReader.h"
#include "VelquorDlg.h"

namespace {

constexpr int kResultsPlaces[] = {3, 4};

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

void CVelquorResultsHost::RunDownloadAndInstall(CWnd* pPage, int nPageMode, const std::vector<int>& chosenRows) {
  m_chosenRows = chosenRows;
  m_nPageMode = nPageMode;
  CDlgNagDownloadAndInstall dialog(pPage);
  m_pRunning = &dialog;
  RunModalWithBackdrop(pPage, &dialog, CDlgNagDownloadAndInstall::kTemplateId);
  m_pRunning = nullptr;
}

void CVelquorResultsHost::RunRestartPrompt(CWnd* pPage) {
  if (m_restartPrompt) m_restartPrompt(pPage);
}

void CVelquorResultsHost::ReportUpdateCount(int nCount) {
  if (CKXLauncherLink* link = m_window.GetLauncherLink()) link->NotifyPeer(kLauncherUpdatesLeft, nCount);
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

void CVelquorResultsHost::SendFeedback(CWnd* pPage) {
  if (m_strScanRequest.IsEmpty()) {
    if (AppMessageBox(GetLangString(_T("IDS_RECOMMESCAN_SENDFEEDBAK"), _T("Tunevo")), MB_YESNO | MB_ICONQUESTION,
                      pPage) != IDYES)
      return;
    if (CDlgLeftDlgBase* scan = m_window.GetGroup(CVelquorDlg::kScanGroup)) {
      scan->PostCommandToSelf(CDlgLeftDlgBase::kFirstButtonCommand + 1);
      if (CDlgBaseWnd* home = scan->GetPage(1)) home->PostMessage(WM_COMMAND, CVelquorDlg::kScanNowCommand);
    }
    return;
  }
  CDlgNagDriverFeedback form(pPage, m_strScanRequest, &m_bBusy);
  RunModalWithBackdrop(pPage, &form, CDlgNagDriverFeedback::kTemplateId);
}

void CVelquorResultsHost::ShowDriverAgeInfo(CWnd* pPage) {
  CDlg_INFO_HTM info(pPage, &m_window);
  info.DoModal();
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
