// The scan procedure, step by step, with the failures it reports and the record it writes.
#include "ScanProcedure.h"

#include <atltime.h>
#include <oleauto.h>
#include <synchapi.h>

#include "DlgScan2Scanning.h"
#include "DriverFeedbackReport.h"
#include "DriverInstallEngine.h"
#include "DriverScanUpdate.h"
#include "ExchangeAnswerReader.h"
#include "ExchangeEncoding.h"
#include "ExclusionList.h"
#include "LastScanStatus.h"
#include "LauncherLink.h"
#include "Markup.h"
#include "EngineCallbacks.h"
#include "HalvoranApp.h"
#include "Registry.h"
#include "SettingsPageLayout.h"
#include "SettingsStore.h"
#include "UpdateAnswer.h"
#include "UpdateServiceHelper.h"

namespace {

constexpr DWORD kBeforeExchangeMs = 100;
constexpr int kRetryPauses = 10;
constexpr UINT kWarning = MB_ICONWARNING;
constexpr UINT kInformation = MB_ICONINFORMATION;

// A wait on the layer's clock that keeps the page's message loop turning meanwhile.
void Pause(CDlgScan2Scanning& page, DWORD ms) {
  page.KeepPumpTurning();
  Sleep(ms);
}

void Status(CDlgScan2Scanning& page, LPCTSTR id) { page.ShowScanStatusText(SettingsText(id), TRUE); }

SYSTEMTIME Now() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return now;
}

// The scan's start time as text under the settings value "LastScan".
void LogScanDuration(const SYSTEMTIME& start) {
  RegWriteString(HKEY_CURRENT_USER, BuildSettingsKeyPath(), _T("LastScan"),
                 CTime(start).Format(_T("%B %d, %Y %I:%M:%S %p ")));
}

class CScanRun {
 public:
  explicit CScanRun(CDlgScan2Scanning& page)
      : m_page(page), m_host(page.Host()), m_state(m_host.ScanState()), m_engine(m_host.ScanEngine()) {}
  ~CScanRun() { m_engine.SetInstalledUpdates(nullptr); }

  int Run();

 private:
  bool Stopped() const { return m_state.bStop; }
  void DeviceScan();
  // The exchange; false after a connection failure (reported and recorded).
  bool Exchange(const CString& request, CExchangeAnswerReader& answer);
  // A failure of the exchange steps: reported, recorded and told; the procedure's 0.
  int Fail(LPCTSTR step, bool ownedByPage, const CString& request, const CString& sent, const CString& answer,
           const CString& decoded = CString());
  void Record(bool failed);
  int Finish();

  CDlgScan2Scanning& m_page;
  CScanPagesHost& m_host;
  tagScanState& m_state;
  CDriverScanUpdate& m_engine;
  int m_nDeviceScanEnd = 0;
};

int CScanRun::Run() {
  if (m_host.IsOneClick() && m_host.IsAbortRequested()) {
    m_host.NotifyLauncher(kLauncherStopped, 0);
    m_host.EndNow();
    return 1;
  }
  m_state.bStop = m_host.IsAbortRequested();
  m_state.bConnectionFailed = false;
  const bool deviceScanOnly = m_host.GetStartMode() == 15;
  m_host.SetStartMode(11);
  m_state.bScanDone = false;
  m_state.bAllUpToDate = false;
  m_page.ResetScanningPage();
  Status(m_page, _T("IDS_PREPARE_STARTSCAN"));
  const SYSTEMTIME start = Now();

  if (!Stopped()) DeviceScan();
  if (deviceScanOnly) {
    m_host.PostHostCommand(CScanPagesHost::kDeviceScanOnlyTab);
    m_host.EnableUi(TRUE);
    return 1;
  }
  m_page.ShowScanStatusText(CString(), TRUE);
  if (Stopped() || m_nDeviceScanEnd == kStepStopScan) return Finish();

  Status(m_page, _T("IDS_DRIVER_INFO"));
  CMarkup document;
  m_engine.BuildScanRequestXml(m_engine.GetDevices(), m_engine.GetDeviceCount(), document);
  const CString request = document.GetDocumentText();
  if (request.IsEmpty()) return Fail(_T("scandata.GetLength() == 0"), true, request, CString(), CString());
  m_host.SetLastRequest(request);

  Status(m_page, _T("IDS_DRIVERINFO_SENTSERVER"));
  // The request is with the server now: Stop stays off until the next scan.
  m_page.EnableStopButton(FALSE);
  m_host.SetScanWork(1);
  // A stop from here on ends the scan before its next step; no error report is sent for it.
  if (Stopped()) return Finish();
  // The request goes out in the form the service is told to expect.
  CString sent = request;
  if (IsRequestEnciphered()) {
    CString plain = request;
    if (!getInputHexFromStr(plain, sent)) return Fail(_T("getInputHexFromStr"), false, request, CString(), CString());
  }
  // A stop that came while the request was prepared: the exchange is not made.
  if (Stopped()) return Fail(_T("getUpdateResults"), false, request, sent, CString());
  CString decoded;
  {
    // The deciphered answer goes once its plain text is taken.
    CExchangeAnswerReader answer;
    if (!Exchange(sent, answer)) return 0;
    if (Stopped()) return Finish();
    // An answer of the digest alone decodes to no text: nothing is found. One shorter than
    // the digest field is no answer.
    if (!answer.TakePlain(decoded))
      return Fail(_T("getOutputStrFromHex"), false, request, sent, answer.Received());
  }
  Status(m_page, _T("IDS_SUCCESSDULLY_GOTUPDATE"));
  Status(m_page, _T("IDS_DISPLY_UPDATERESULT"));
  m_engine.ClearResults();
  if (Stopped()) return Finish();
  // A stop during the parse leaves no results and ends the scan there.
  if (!m_engine.ParseUpdateResults(document, std::move(decoded))) return Finish();
  LogScanDuration(start);
  return Finish();
}

void CScanRun::DeviceScan() {
  // The application's record, which outlives the scan that points the engine at it.
  CExclusionList& installed = m_host.InstalledUpdates();
  installed.Reload();
  m_engine.SetInstalledUpdates(&installed);
  // "Please wait" on the label while the device scan starts; the label is the engine's next.
  m_page.ShowStatusLabel(SettingsText(_T("IDS_WAIT_SCAN_PROGR")));
  m_page.ShowStatusLabel(CString());
  m_engine.SetScanWindows(m_page.GetSafeHwnd(), m_page.GetStatusLabel(), [](LPCTSTR id) { return SettingsText(id); });
  m_nDeviceScanEnd = m_engine.ReportScanEnd(_T(""));
  m_state.nTotal = m_engine.GetDeviceCount();
  m_state.nOutOfDate = 0;
}

bool CScanRun::Exchange(const CString& request, CExchangeAnswerReader& answer) {
  CUpdateServiceHelper helper;
  // The answer is deciphered while the SOAP client reads it: its digits, four a character of
  // the plain text, are never held whole. The string the call hands over is then empty.
  zx::soap::ScopedResultSink streamed(answer);
  Pause(m_page, kBeforeExchangeMs);
  for (int call = 0; call < 2; ++call) {
    if (call == 1)
      for (int i = 0; i < kRetryPauses; ++i) Pause(m_page, 1);
    BSTR text = nullptr;
    const BOOL answered = helper.GetUpdateData(request, &text);
    SysFreeString(text);
    if (answered) return true;
    if (Stopped()) return true;
  }
  m_state.bConnectionFailed = true;
  Status(m_page, _T("IDS_INTERNETCONN_FIREWALL_CHECK"));
  if (!m_host.IsOneClick())
    m_page.ShowScanMessage(_T("IDS_INTERNETCONN_FIREWALL_CHECK"), kWarning, false);
  Record(false);
  return false;
}

int CScanRun::Fail(LPCTSTR step, bool ownedByPage, const CString& request, const CString& sent,
                   const CString& answer, const CString& decoded) {
  SendErrorReport(request, step, sent, answer, decoded);
  Record(true);
  // Told in every mode, for the launcher too.
  m_page.ShowScanMessage(_T("IDS_DRIVER_UPTODATE"), kInformation, ownedByPage);
  return 0;
}

void CScanRun::Record(bool failed) {
  tagScanOutcome outcome;
  outcome.bFailed = failed;
  outcome.bStopped = Stopped();
  outcome.bConnectionFailed = m_state.bConnectionFailed;
  outcome.bOneClick = m_host.IsOneClick();
  outcome.nTotal = m_engine.GetDeviceCount();
  outcome.nOutOfDate = m_engine.GetUpdatesFound();
  RecordScanStatus(outcome, Now());
}

int CScanRun::Finish() {
  m_page.StopScanAnimation();
  m_state.nTotal = m_engine.GetDeviceCount();
  m_state.nOutOfDate = m_engine.GetUpdatesFound();
  if (!m_engine.IsScanDone()) {
    m_page.FinishScanPage(FALSE);
    return 1;
  }
  Record(false);
  if (m_engine.GetUpdatesFound() > 0) {
    m_page.FinishScanPage(m_page.FillResultRows());
    return 1;
  }
  m_state.bAllUpToDate = !Stopped() && !m_state.bConnectionFailed;
  if (!m_host.IsOneClick()) {
    if (Stopped())
      m_page.ShowScanMessage(_T("IDS_SCAN_STOPPED"), kInformation, false);
    else if (m_state.bAllUpToDate)
      m_page.ShowScanMessage(_T("IDS_DRIVER_UPTODATE"), kInformation, false);
  }
  m_page.FinishScanPage(FALSE);
  return 1;
}

}  // namespace

int RunScanProcedure(CDlgScan2Scanning& page) {
  try {
    CScanRun run(page);
    return run.Run();
  } catch (...) {
    return 0;
  }
}

void HandOnScanPages(CDlgScan2Scanning& page, bool results) {
  CScanPagesHost& host = page.Host();
  tagScanState& state = host.ScanState();
  host.SetScanWork(0);
  // The page is asked for before the launcher hears of the scan's end, so that its answer (a
  // download) comes to a shown results page with its rows checked.
  if (results) {
    state.bScanDone = true;
    state.nScanStep = 2;
    host.ShowScanPage(CScanPagesHost::kResultsPage);
    host.SetScanButtons(CScanPagesHost::ScanButton(1) | CScanPagesHost::ScanButton(3));
    if (g_bAutoFixSwitch) host.FixFoundUpdates();
  } else {
    host.ScanEngine().FillResults();
    state.nScanStep = 0;
    host.ShowScanPage(CScanPagesHost::kHomePage);
    host.SetScanButtons(CScanPagesHost::ScanButton(1));
  }
  if (host.IsOneClick() || host.IsLauncherNotify()) {
    host.NotifyLauncher(kLauncherStopped, state.nOutOfDate);
    host.ClearAbortRequest();
  }
  host.BuildResultSummary();
  host.SetBusy(FALSE);
  host.OnScanFinished();
}

void CheckPeerAbortAndNotify(CDlgScan2Scanning& page, const CString& text) {
  CScanPagesHost& host = page.Host();
  if (LauncherAskedToStop()) page.PostMessage(WM_COMMAND, CDlgScan2Scanning::kStopId);
  if (!text.IsEmpty() && (host.IsOneClick() || host.IsLauncherNotify()))
    host.NotifyLauncher(kLauncherScanProgress, 0, text);
}
