// CDlgNagDownloadAndInstall: the runs. Each run goes on a thread of its own, started by a timer;
// the thread calls the per-driver steps and leaves what the window should show as events,
// posting only a notice to the window, which takes the events on its own thread.
#include "DlgNagDownloadAndInstall.h"

#include "IniReader.h"

namespace {

constexpr UINT kRunEventMessage = WM_APP + 0x121;
constexpr int kInstallDone = 32;
// How a run ended.
constexpr int kRunStopped = 0;
constexpr int kRunDone = 1;
constexpr int kRunNothing = 2;

CString Lang(LPCTSTR id) { return GetLangString(id, _T("QVX")); }

// A language text with the driver's name after it.
CString WithName(LPCTSTR id, const CString& name) { return Lang(id) + _T(" ") + name; }

}  // namespace

CDlgNagDownloadAndInstall::~CDlgNagDownloadAndInstall() { JoinRun(); }

void CDlgNagDownloadAndInstall::SetDriverSteps(FetchFn fetch, InstallFn install, StopFn stop) {
  m_fetch = std::move(fetch);
  m_install = std::move(install);
  m_stop = std::move(stop);
}

void CDlgNagDownloadAndInstall::Post(RunEvent event) {
  {
    std::lock_guard<std::mutex> hold(m_eventLock);
    m_events.push_back(std::move(event));
  }
  ::PostMessageW(m_hWnd, kRunEventMessage, 0, 0);
}

void CDlgNagDownloadAndInstall::JoinRun() {
  if (!m_worker.joinable()) return;
  m_nStopFlag = 1;
  if (m_stop) m_stop();
  m_worker.join();
}

void CDlgNagDownloadAndInstall::OnDestroy() {
  JoinRun();
  CDlgBaseWndPopupNagBase::OnDestroy();
}

void CDlgNagDownloadAndInstall::OnTimer(UINT_PTR nIDEvent) {
  KillTimer(nIDEvent);
  if (nIDEvent == kTimerDownloadSelected) {
    StartRun(kModeDownloadSelected);
  } else if (nIDEvent == kTimerInstall) {
    StartRun(kModeInstall);
  } else if (nIDEvent == kTimerClose) {
    OnOK();
  }
}

void CDlgNagDownloadAndInstall::StartRun(int mode) {
  if (m_bRunning.load()) return;
  if (m_worker.joinable()) m_worker.join();
  PrepareRunUi(mode);
  m_progress.SetPos(0);
  m_currentLabel.SetWindowText(_T(""));
  m_fTotal = m_fCurrent = 0;
  m_bRunning = true;
  if (mode == kModeDownloadSelected) {
    m_worker = std::thread([this] { RunDownloadSelected(); });
  } else {
    m_worker = std::thread([this] { RunInstallAll(); });
  }
}

void CDlgNagDownloadAndInstall::RunDownloadSelected() {
  const std::vector<NagResultRow> rows = m_rows;
  int total = 0;
  bool anyDownloaded = false;
  for (const NagResultRow& row : rows) {
    if (!row.bChecked) continue;
    if (row.nState == kRowNotDownloaded) ++total;
    anyDownloaded = anyDownloaded || row.nState == kRowDownloaded;
  }
  int outcome = kRunNothing;
  if (rows.empty()) {
    Post({RunEvent::kStatus, TRUE, 0, Lang(_T("IDS_NOITEM_DOWNLOAD"))});
  } else if (total == 0) {
    outcome = anyDownloaded ? kRunDone : kRunNothing;
  } else {
    int current = 0;
    int downloaded = 0;
    for (int j = 0; j < static_cast<int>(rows.size()) && !m_nStopFlag.load(); ++j) {
      const NagResultRow& row = rows[j];
      if (!row.bChecked || row.nDriverIndex < 0 || row.nState != kRowNotDownloaded) continue;
      Post({RunEvent::kCounts, total, ++current, row.strName});
      const bool done = m_fetch && m_fetch(row.nDriverIndex, j, [this](int percent) {
                          Post({RunEvent::kProgress, percent, 0, CString()});
                        });
      if (done && !m_nStopFlag.load()) {
        ++downloaded;
        Post({RunEvent::kRowState, j, kRowDownloaded, CString()});
      }
    }
    outcome = m_nStopFlag.load() ? kRunStopped : downloaded > 0 ? kRunDone : kRunNothing;
  }
  Post({RunEvent::kEnd, kModeDownloadSelected, outcome, CString()});
}

void CDlgNagDownloadAndInstall::RunInstallAll() {
  const std::vector<NagResultRow> rows = m_rows;
  int total = 0;
  for (const NagResultRow& row : rows) total += row.bChecked && row.nState == kRowDownloaded ? 1 : 0;
  int current = 0;
  int installed = 0;
  for (int j = 0; j < static_cast<int>(rows.size()) && !m_nStopFlag.load(); ++j) {
    const NagResultRow& row = rows[j];
    if (!row.bChecked || row.nDriverIndex < 0 || row.nState != kRowDownloaded) continue;
    Post({RunEvent::kCounts, total, ++current, row.strName});
    Post({RunEvent::kStatus, TRUE, 0, WithName(_T("IDS_DRIVER_INSSATRT"), row.strName)});
    if (m_install && m_install(row.nDriverIndex) == kInstallDone) {
      ++installed;
      Post({RunEvent::kRowState, j, kRowInstalled, CString()});
      Post({RunEvent::kStatus, TRUE, 0, WithName(_T("IDS_DRIVER_INSCOMPL"), row.strName)});
    } else {
      Post({RunEvent::kStatus, TRUE, 0, WithName(_T("IDS_DRIVER_INSFAILED"), row.strName)});
    }
  }
  const int outcome = m_nStopFlag.load() ? kRunStopped : installed > 0 ? kRunDone : kRunNothing;
  Post({RunEvent::kEnd, kModeInstall, outcome, CString()});
}

LRESULT CDlgNagDownloadAndInstall::OnRunEvent(WPARAM, LPARAM) {
  for (;;) {
    RunEvent event;
    {
      std::lock_guard<std::mutex> hold(m_eventLock);
      if (m_events.empty()) break;
      event = std::move(m_events.front());
      m_events.pop_front();
    }
    switch (event.kind) {
      case RunEvent::kStatus:
        AddStatusLine(event.text, event.a);
        break;
      case RunEvent::kCounts:
        SetItemCounts(static_cast<float>(event.a), static_cast<float>(event.b));
        m_currentLabel.SetWindowText(event.text);
        UpdateDownloadStatusText(0);
        break;
      case RunEvent::kProgress:
        UpdateDownloadStatusText(static_cast<float>(event.a));
        break;
      case RunEvent::kRowState:
        if (event.a >= 0 && event.a < static_cast<int>(m_rows.size())) m_rows[event.a].nState = event.b;
        break;
      case RunEvent::kEnd:
        FinishRun(event.a, event.b);
        break;
    }
  }
  return 0;
}

void CDlgNagDownloadAndInstall::FinishRun(int mode, int outcome) {
  if (m_worker.joinable()) m_worker.join();
  m_bRunning = false;
  if (mode == kModeDownloadSelected) {
    if (outcome == kRunDone) {
      AddStatusLine(Lang(_T("IDS_DOWN_COMPLETE")), TRUE);
      UpdateDownloadStatusText(100);
    }
  } else if (outcome == kRunStopped) {
    AddStatusLine(Lang(_T("IDS_ABORT_INSTALL")), TRUE);
  } else {
    AddStatusLine(Lang(outcome == kRunDone ? _T("IDS_INSTALL_COMP") : _T("IDS_DRIVER_NOTINSTALLED")), TRUE);
  }
  m_nStopFlag = 0;
  RestoreCloseButton();
}
