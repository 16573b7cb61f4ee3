// The update checker window: start-up and end, its threads, timers, the notification-area icon,
// the buttons, the engine's view and the parent window's WM_COPYDATA codes (the stage pages
// and the update list's rows are in DlgCheckForUpdatePages.cpp).
#include "DlgCheckForUpdate.h"

#include <winreg.h>
#include <winresource.h>
#include <winuser.h>

#include <chrono>

#include "CheckUpdateProgress.h"
#include "CheckedFormat.h"
#include "DlgBaseMessageBoxWndBase.h"
#include "DlgBaseShared.h"
#include "DrawingHelpers.h"
#include "HalvoranApp.h"
#include "IniReader.h"
#include "ProcessControl.h"
#include "Registry.h"
#include "SystemHelpers.h"

namespace {

// Process-wide: the stage, whether the window may show, whether the parent has just sent
// 540 or 810, and the highest overall percentage shown.
std::atomic<int> g_stage{kStageLooking};
std::atomic<bool> g_visible{false};
std::atomic<bool> g_parentSent{false};
std::atomic<int> g_highestPercent{0};

// Private messages: a call to run on the window's thread (lParam: the function), a posted
// one (lParam: a heap function the handler frees), and the download's progress.
constexpr UINT kRunMessage = WM_APP + 0x103;
constexpr UINT kPostedRunMessage = WM_APP + 0x104;
constexpr UINT kDownloadProgressMessage = WM_APP + 0x105;
constexpr UINT kProgressMessage = WM_USER + 1;
constexpr LRESULT kCopyDataHandled = 16;
constexpr REGSAM kHandleKeyAccess = 0x2001F;
constexpr UINT kBalloonTimeout = 10;
constexpr UINT kCloseElapse = 100;
constexpr UINT kForcedEndElapse = 10;
constexpr DWORD kStartPauseMs = 100;
constexpr DWORD kTrayRefreshPauseMs = 10;

// Window layout, pixels.
constexpr int kWindowWidth = 560;
constexpr int kWindowHeight = 400;
constexpr int kMargin = 24;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 26;
constexpr int kButtonTop = 356;
constexpr int kStageClipSize = 56;
// The shared header's band under the title bar.
constexpr int kHeaderTop = 32;
constexpr int kHeaderBottom = 50;
// The picture of the title bar's hide button.
constexpr UINT kHideBitmapId = 1042;

UINT ProgressBarUpdateMessage() {
  static const UINT message = ::RegisterWindowMessageW(u"Progress Bar Update");
  return message;
}

UINT BringToFrontMessage() {
  static const UINT message = ::RegisterWindowMessageW(u"It will bring Check for update exe in front if minimized");
  return message;
}

// The application title: resource string 0xE000 of the program.
CString ApplicationTitle() {
  WCHAR buffer[256] = {};
  constexpr UINT kTitleId = 0xE000;
  const HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCEW(kTitleId / 16 + 1), RT_STRING);
  ::LoadStringW(module, kTitleId, buffer, 256);
  return CString(buffer);
}

void DefaultProcessEnd() {
  ::PostQuitMessage(CDlgCheckForUpdate::kQuitCode);
  ::ExitProcess(0);
}

// Whether the command being handled comes from Enter or Escape (the key is down in the
// message that made it): only the mouse presses the window's buttons.
BOOL ByKeyboard() { return (::GetKeyState(VK_RETURN) & 0x8000) != 0 || (::GetKeyState(VK_ESCAPE) & 0x8000) != 0; }

}  // namespace

BEGIN_MESSAGE_MAP(CDlgCheckForUpdate, CDlgBaseChildPopUpWndBase)
  ON_WM_TIMER()
  ON_WM_CLOSE()
  ON_WM_SYSCOMMAND()
  ON_WM_WINDOWPOSCHANGING()
  ON_WM_ERASEBKGND()
  ON_WM_DESTROY()
  ON_BN_CLICKED(IDOK, &CDlgCheckForUpdate::OnButtonNext)
  ON_BN_CLICKED(IDCANCEL, &CDlgCheckForUpdate::OnButtonCancel)
  ON_BN_CLICKED(3, &CDlgCheckForUpdate::OnButtonChangeLog)
  ON_BN_CLICKED(4, &CDlgCheckForUpdate::OnButtonHide)
  ON_BN_CLICKED(5, &CDlgCheckForUpdate::OnButtonHide)
  ON_COMMAND(CDlgCheckForUpdate::kCommandRestore, &CDlgCheckForUpdate::OnTrayRestore)
  ON_COMMAND(CDlgCheckForUpdate::kCommandMinimize, &CDlgCheckForUpdate::OnTrayMinimize)
  ON_COMMAND(CDlgCheckForUpdate::kCommandExit, &CDlgCheckForUpdate::OnButtonCancel)
END_MESSAGE_MAP()

CDlgCheckForUpdate::CDlgCheckForUpdate(CWnd* pOwner, tagCheckUpdateSwitches& switches)
    : CDlgBaseChildPopUpWndBase(kTemplateId, pOwner),
      m_switches(switches),
      m_engine(std::make_unique<CUpdateCheckEngine>(*this, switches)),
      m_strLibraryName(CUpdateDownloader::kLibraryName),
      m_endProcess(DefaultProcessEnd) {
  SetShape(FALSE, kWindowWidth, kWindowHeight);
}

CDlgCheckForUpdate::~CDlgCheckForUpdate() {
  // The window is gone: the threads' calls to it fall through, so they end on their own.
  if (m_worker.joinable()) m_worker.join();
  if (m_stopper.joinable()) m_stopper.join();
}

int CDlgCheckForUpdate::GetCurrentStage() { return g_stage.load(); }

BOOL CDlgCheckForUpdate::IsVisibleFlagOn() { return g_visible.load() ? TRUE : FALSE; }

void CDlgCheckForUpdate::ResetProcessState() {
  g_stage = kStageLooking;
  g_visible = false;
  g_parentSent = false;
  g_highestPercent = 0;
}

// ---- Threads -------------------------------------------------------------------------------

void CDlgCheckForUpdate::RunOnWindowThread(const std::function<void()>& fn) {
  if (::GetCurrentThreadId() == m_dwWindowThread) {
    fn();
    return;
  }
  const HWND window = m_hWndAlive.load();
  if (window != nullptr) ::SendMessageW(window, kRunMessage, 0, reinterpret_cast<LPARAM>(&fn));
}

void CDlgCheckForUpdate::PostToWindowThread(std::function<void()> fn) {
  const HWND window = m_hWndAlive.load();
  if (window == nullptr) return;
  auto* posted = new std::function<void()>(std::move(fn));
  if (!::PostMessageW(window, kPostedRunMessage, 0, reinterpret_cast<LPARAM>(posted))) delete posted;
}

void CDlgCheckForUpdate::StartWorker() {
  if (m_bWorkerRunning.load()) return;
  if (m_worker.joinable()) m_worker.join();
  m_bWorkerRunning = true;
  m_worker = std::thread([this] {
    CUpdateCheckEngine::UpdateThreadProc(m_engine.get());
    m_bWorkerRunning = false;
  });
}

void CDlgCheckForUpdate::JoinServing(std::thread& thread, const std::atomic<bool>& running) {
  while (running.load()) {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        ::PostQuitMessage(static_cast<int>(msg.wParam));
        break;
      }
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  if (thread.joinable()) thread.join();
}

void CDlgCheckForUpdate::StartStopper() {
  if (m_bStopperRunning.load()) return;
  if (m_stopper.joinable()) m_stopper.join();
  m_bStopperRunning = true;
  m_stopper = std::thread([this] {
    StopWork();
    PostToWindowThread([this] { CloseChecker(kCloseElapse); });
    m_bStopperRunning = false;
  });
}

void CDlgCheckForUpdate::StopWork() {
  m_bStopping = true;
  m_bCancelled = true;
  m_engine->StopDownload();
  PostToWindowThread([this] {
    GetDlgItem(IDOK)->EnableWindow(FALSE);
    GetDlgItem(IDCANCEL)->EnableWindow(FALSE);
    m_status.SetWindowText(GetText(_T("IDS_AUTO_CLOSE_STR")));
    m_status.ShowWindow(SW_SHOW);
  });
  m_engine->WaitForDownloadEnd();
}

// ---- Start-up and end ----------------------------------------------------------------------

BOOL CDlgCheckForUpdate::OnInitDialog() {
  CDlgBaseChildPopUpWndBase::OnInitDialog();
  m_dwWindowThread = ::GetCurrentThreadId();
  m_hWndAlive = GetSafeHwnd();
  g_visible = false;
  SetWindowText(_T("Checking for Updates"));
  if (m_switches.bStartMinimized) SetTimer(kTimerToTray, 10, nullptr);
  RefreshNotificationArea();
  CreateControls();
  ApplyStagePage();
  if (!m_engine->LoadDownloaderLibrary(m_strLibraryName)) {
    ForcedEnd();
    return TRUE;
  }
  if (!m_switches.bIsQuarnelParent && !m_switches.bDownloadCompleteDbOnly) {
    m_bTrayCreated = m_tray.Create(ApplicationTitle(), this, CXTTrayIconZW::kIconId, CXTTrayIconZW::kMenuId,
                                   CXTTrayIconZW::kExitCommand, false);
    m_tray.SetToggle([this] {
      if (m_bHiddenToTray) RestoreFromTray();
      else HideToTray();
    });
  }
  SaveWindowHandle();
  NotifyParentWindow(kCopyStarted);
  CRect client;
  GetClientRect(&client);
  m_btnHideToTray.SubclassDlgItem(4, this);
  // The checker's own hide picture, before the resource library's minimise strip of that id.
  if (const HBITMAP hide = ::LoadBitmapW(FindProgramResourceHandle(kHideBitmapId, RT_BITMAP),
                                         MAKEINTRESOURCEW(kHideBitmapId))) {
    m_bmpHideToTray.Attach(hide);
    m_btnHideToTray.SetBitmap(m_bmpHideToTray);
  }
  m_btnHideToTray.MoveWindow(client.right - 75, 2, 25, 18);
  SetTimer(kTimerStart, 100, nullptr);
  if (m_switches.bIsQuarnelParent) SetTimer(kTimerWatchSibling, 4096, nullptr);
  if (m_switches.bDownloadCompleteDbOnly) {
    for (int id : {4, 5}) {
      GetDlgItem(id)->EnableWindow(FALSE);
      GetDlgItem(id)->ShowWindow(SW_HIDE);
    }
  }
  // What came in while the window was being built is served before it may show; a parent
  // that hid it meanwhile keeps it hidden.
  m_engine->Pause(kStartPauseMs);
  PumpPendingMessages();
  g_visible = !(m_switches.bShowIfAvailable || m_switches.bStartHidden || m_bHiddenToTray);
  return TRUE;
}

void CDlgCheckForUpdate::CreateControls() {
  m_list.SubclassDlgItem(5004, this);
  m_progress.SubclassDlgItem(5000, this);
  m_animation.SubclassDlgItem(5250, this);
  m_stageAnimation.SubclassDlgItem(5251, this);
  m_status.Create(_T(""), WS_CHILD, CRect(kMargin, 324, kMargin + 380, 344), this, 5007);
  // The header every page shares, under the title bar.
  m_header.Create(GetText(_T("CommonHeader")), WS_CHILD | WS_VISIBLE | SS_NOPREFIX,
                  CRect(kMargin, kHeaderTop, kWindowWidth - kMargin, kHeaderBottom), this, 5008);
  m_header.SetFont(GetFont());
  m_progress.SetRange32(0, 100);
  m_list.InsertCheckColumn(0, GetText(_T("HeadingZero")), 24);
  m_list.InsertDetailColumn(1, GetText(_T("HeadingOne")), 300);
  m_list.InsertColumn(2, GetText(_T("HeadingTwo")), LVCFMT_LEFT, 180);

  const int width = kWindowWidth - 2 * kMargin;
  // The working clip sits at the right of the heading, beside the list rather than over it.
  const int textWidth = width - kStageClipSize - 8;
  GetDlgItem(5006)->MoveWindow(kMargin, kHeaderBottom + 4, textWidth, 22);
  GetDlgItem(5001)->MoveWindow(kMargin, kHeaderBottom + 28, textWidth, 32);
  m_stageAnimation.MoveWindow(kMargin + width - kStageClipSize, kHeaderBottom, kStageClipSize, kStageClipSize);
  m_stageAnimation.ShowWindow(SW_HIDE);
  m_list.MoveWindow(kMargin, 112, width, 150);
  m_animation.MoveWindow((kWindowWidth - 100) / 2, 130, 100, 100);
  m_progress.MoveWindow(kMargin, 280, width, 16);
  GetDlgItem(5002)->MoveWindow(kMargin, 300, width, 18);
  const int buttons[][2] = {{3, kMargin}, {5, 300}, {IDOK, 384}, {IDCANCEL, 468}};
  for (const auto& button : buttons)
    GetDlgItem(button[0])->MoveWindow(button[1], kButtonTop, kButtonWidth, kButtonHeight);
}

void CDlgCheckForUpdate::OnDestroy() {
  // The work stops, and the threads end while their calls to the window are still served.
  if (!m_bStopping.load()) {
    m_bStopping = true;
    m_bCancelled = true;
    m_engine->StopDownload();
  }
  JoinServing(m_stopper, m_bStopperRunning);
  JoinServing(m_worker, m_bWorkerRunning);
  if (m_bTrayCreated) m_tray.HideIcon();
  // However the window ends, its handle goes with it.
  RemoveWindowHandle();
  m_hWndAlive = nullptr;
  CDlgBaseChildPopUpWndBase::OnDestroy();
}

void CDlgCheckForUpdate::CloseChecker(UINT elapse) {
  RunOnWindowThread([this, elapse] {
    if (CUpdateDownloader::IsDownloadRunning()) StartStopper();
    // The process list is read first: on a busy machine reading it between the two timers
    // could let the close timer run out first and end with the finished notice.
    const BOOL forced = IsProcessRunning(kCheckerProcess, 0, FALSE);
    SetTimer(kTimerClose, elapse, nullptr);
    if (forced) {
      if (m_bTrayCreated) m_tray.HideIcon();
      SetTimer(kTimerForcedEnd, kForcedEndElapse, nullptr);
    }
  });
}

void CDlgCheckForUpdate::EndChecker(BOOL notifyFinished) {
  if (notifyFinished) NotifyParentWindow(kCopyFinished);
  if (CUpdateDownloader::IsDownloadRunning()) StartStopper();
  // Also here: a forced end ends the process before the window is destroyed.
  RemoveWindowHandle();
  KillTimer(notifyFinished ? kTimerClose : kTimerForcedEnd);
  if (m_bTrayCreated) m_tray.HideIcon();
  EnableSiblingParent();
  OnOK();
}

void CDlgCheckForUpdate::ForcedEnd() {
  EndChecker(FALSE);
  if (m_endProcess) m_endProcess();
}

void CDlgCheckForUpdate::EndProgram() {
  RunOnWindowThread([this] { ForcedEnd(); });
}

void CDlgCheckForUpdate::ArmForcedEnd() {
  RunOnWindowThread([this] { SetTimer(kTimerForcedEnd, kForcedEndElapse, nullptr); });
}

void CDlgCheckForUpdate::EnableSiblingParent() {
  if (IsSiblingMode() && ::IsWindow(m_switches.hParentWnd)) ::EnableWindow(m_switches.hParentWnd, TRUE);
}

void CDlgCheckForUpdate::OnTimer(UINT_PTR nIDEvent) {
  switch (nIDEvent) {
    case kTimerStart:
      KillTimer(kTimerStart);
      SetStage(kStageLooking);
      PlayClip(m_animation, kClipLooking);
      StartWorker();
      break;
    case kTimerResults:
      KillTimer(kTimerResults);
      ApplyStagePage();
      break;
    case kTimerClose:
      EndChecker(TRUE);
      break;
    case kTimerForcedEnd:
      ForcedEnd();
      break;
    case kTimerToTray:
      KillTimer(kTimerToTray);
      HideToTray();
      break;
    case kTimerInstall:
      KillTimer(kTimerInstall);
      // The user may have installed from the page already.
      if (GetCurrentStage() == kStageReady) m_engine->AskAndInstall();
      break;
    case kTimerWatchSibling:
      if (!IsProcessRunning(kSiblingProcess, 0, FALSE) && CUpdateDownloader::IsDownloadRunning()) StartStopper();
      break;
    default:
      CDlgBaseChildPopUpWndBase::OnTimer(nIDEvent);
  }
}

void CDlgCheckForUpdate::OnClose() {
  StopWork();
  EnableSiblingParent();
  if (m_bTrayCreated) m_tray.HideIcon();
  RefreshNotificationArea();
  Default();
}

void CDlgCheckForUpdate::RefreshNotificationArea() {
  const HWND taskbar = ::FindWindowW(u"Shell_TrayWnd", nullptr);
  if (taskbar == nullptr) return;
  m_engine->Pause(kTrayRefreshPauseMs);
  // The mouse passing over every icon makes the shell drop the icons of ended programs.
  const HWND notify = ::FindWindowExW(taskbar, nullptr, u"TrayNotifyWnd", nullptr);
  const HWND toolbar = notify ? ::FindWindowExW(notify, nullptr, u"ToolbarWindow32", nullptr) : nullptr;
  if (toolbar != nullptr) {
    RECT client{};
    ::GetClientRect(toolbar, &client);
    for (int x = 1; x <= client.right; ++x) ::SendMessageW(toolbar, WM_MOUSEMOVE, 0, MAKELPARAM(x, 1));
  }
  m_engine->Pause(kTrayRefreshPauseMs);
}

// ---- Registry ------------------------------------------------------------------------------

void CDlgCheckForUpdate::SaveWindowHandle() {
  CString path;
  GetProductRegistryKey(path);
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, 0, kHandleKeyAccess, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return;
  const auto handle = static_cast<DWORD>(reinterpret_cast<UINT_PTR>(GetSafeHwnd()));
  RegSetValueExW(key, kHandleValue, 0, REG_BINARY, reinterpret_cast<const BYTE*>(&handle), sizeof(handle));
  RegCloseKey(key);
}

void CDlgCheckForUpdate::RemoveWindowHandle() {
  CString path;
  GetProductRegistryKey(path);
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, 0, kHandleKeyAccess, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return;
  if (RegQueryValueExW(key, kHandleValue, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS)
    RegDeleteValueW(key, kHandleValue);
  RegCloseKey(key);
}

// ---- Parent window -------------------------------------------------------------------------

BOOL CDlgCheckForUpdate::NotifyParentWindow(int code) {
  if ((code == kCopyRestored || code == kCopyHidden) && g_parentSent.exchange(false)) return TRUE;
  if (!IsSiblingMode() || !IsProcessRunning(kSiblingProcess, 0, FALSE) || !::IsWindow(m_switches.hParentWnd))
    return FALSE;
  if (m_switches.bDownloadCompleteDbOnly && code == kCopyFinished) return FALSE;
  CString text;
  text.Format(_T("%d"), code);
  COPYDATASTRUCT data{};
  data.dwData = static_cast<ULONG_PTR>(code);
  if (code == kCopyStarted) {
    CWnd* main = AfxGetMainWnd();
    if (main != nullptr && main->GetSafeHwnd() != nullptr) data.dwData = reinterpret_cast<ULONG_PTR>(main->GetSafeHwnd());
  }
  data.lpData = const_cast<LPTSTR>(text.GetString());
  data.cbData = static_cast<DWORD>((text.GetLength() + 1) * sizeof(TCHAR));
  return ::SendMessageW(m_switches.hParentWnd, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)) > 0;
}

BOOL CDlgCheckForUpdate::OnCopyData(ULONG_PTR code) {
  switch (code) {
    case kCopyShowVisible:
      g_visible = true;
      ShowWindow(SW_SHOW);
      return TRUE;
    case kCopyShowHidden:
      ShowWindow(SW_SHOW);
      g_visible = false;
      return TRUE;
    case kCopyClose:
      g_visible = false;
      CloseChecker(kCloseElapse);
      return TRUE;
    case kCopyRestored:
      g_parentSent = true;
      g_visible = true;
      ShowWindow(SW_SHOW);
      RestoreFromTray();
      return TRUE;
    case kCopyHidden:
      g_parentSent = true;
      ShowWindow(SW_HIDE);
      g_visible = false;
      HideToTray();
      return TRUE;
    default:
      return FALSE;
  }
}

// ---- Notification area ---------------------------------------------------------------------

void CDlgCheckForUpdate::HideToTray() {
  m_bHiddenToTray = TRUE;
  if (m_bTrayCreated) {
    m_tray.MinimizeToTray(this);
    m_tray.ShowIcon();
  } else {
    ShowWindow(SW_HIDE);
  }
  const int stage = GetCurrentStage();
  const BOOL quietStart = (m_switches.bStartHidden || m_switches.bStartMinimized) && stage <= kStageDownloading;
  if (quietStart || stage == kStageNoUpdate || IsSiblingMode()) return;
  ShowBalloon(stage == kStageReady ? _T("IDS_UPDATES_READY_TO_INSTALL") : _T("IDS_DOWNLOADING_UPDATES_TO_APPDATA"));
}

void CDlgCheckForUpdate::RestoreFromTray() {
  m_bHiddenToTray = FALSE;
  m_switches.bStartMinimized = FALSE;
  m_switches.bStartHidden = FALSE;
  g_visible = true;
  if (m_bTrayCreated) m_tray.MaximizeFromTray(this);
  BringWindowToTop();
  SetForegroundWindow();
  ShowWindow(SW_RESTORE);
}

void CDlgCheckForUpdate::ShowBalloon(LPCTSTR stringId) {
  if (m_bTrayCreated) m_tray.ShowBalloonTip(GetText(stringId), nullptr, NIIF_INFO, kBalloonTimeout);
}

void CDlgCheckForUpdate::OnTrayRestore() {
  if (!m_bHiddenToTray) return;
  RestoreFromTray();
  NotifyParentWindow(kCopyRestored);
}

void CDlgCheckForUpdate::OnTrayMinimize() {
  if (!m_bHiddenToTray) HideToTray();
}

// ---- Buttons -------------------------------------------------------------------------------

void CDlgCheckForUpdate::OnButtonNext() {
  if (ByKeyboard()) return;
  switch (GetCurrentStage()) {
    case kStageListed:
      StartWorker();
      break;
    case kStageNoUpdate:
    case kStageFailed:
      OnOK();
      break;
    case kStageReady:
      m_engine->AskAndInstall();
      break;
    default:
      break;
  }
}

void CDlgCheckForUpdate::OnButtonCancel() {
  if (!ByKeyboard()) OnBtnCancel();
}

void CDlgCheckForUpdate::OnButtonHide() {
  if (m_switches.bDownloadCompleteDbOnly) return;
  if (GetCurrentStage() == kStageReady) {
    if (m_switches.bSilent || ShowMessage(GetText(_T("Step4ClickOnClose")), MB_YESNO | MB_ICONQUESTION) == IDYES)
      m_engine->AskAndInstall();
    return;
  }
  HideToTray();
  if (IsSiblingMode()) NotifyParentWindow(kCopyHidden);
}

void CDlgCheckForUpdate::OnButtonChangeLog() {}

void CDlgCheckForUpdate::OnCloseRequest() { OnBtnCancel(); }

void CDlgCheckForUpdate::OnBtnCancel() {
  RunOnWindowThread([this] {
    const int stage = GetCurrentStage();
    if (stage == kStageInstalling || m_bStopping.load()) return;
    if (stage == kStageNoUpdate || stage == kStageFailed) {
      if (m_bTrayCreated) m_tray.HideIcon();
      EnableSiblingParent();
      OnCancel();
      return;
    }
    // Ready to install: the user may still install rather than leave (a silent run asks nothing).
    if (stage == kStageReady && !m_switches.bSilent && AskInstallBeforeCancel()) {
      m_engine->AskAndInstall();
      return;
    }
    CWnd* cancel = GetDlgItem(IDCANCEL);
    cancel->EnableWindow(FALSE);
    cancel->SetWindowText(GetText(_T("IDS_TXT_CANCELLING")));
    if (stage <= kStageDownloading) {
      // The check or download is stopped and the window closes once it has.
      m_bCancelled = true;
      CloseChecker(kCloseElapse);
      return;
    }
    if (m_bTrayCreated) m_tray.HideIcon();
    EnableSiblingParent();
    NotifyParentWindow(kCopyFinished);
    OnCancel();
  });
}

BOOL CDlgCheckForUpdate::AskInstallBeforeCancel() {
  CStringArray buttons;
  buttons.Add(GetText(_T("IDS_BTN_INSTALL_TXT")));
  buttons.Add(GetText(_T("IDS_BTN_CANCEL_TXT")));
  // The first button, Install, answers 0.
  return AppMessageBoxEx(GetText(_T("Step4ClickOnClose")), MB_ICONQUESTION, 2, buttons, CRect(0, 0, 382, 180), FALSE,
                         0, this) == 0;
}

void CDlgCheckForUpdate::OnSysCommand(UINT nID, LPARAM lParam) {
  if ((nID & 0xFFF0) == SC_CLOSE && m_bHiddenToTray) {
    HideToTray();
    return;
  }
  CDlgBaseChildPopUpWndBase::OnSysCommand(nID, lParam);
}

BOOL CDlgCheckForUpdate::OnEraseBkgnd(CDC* pDC) {
  // The page is cleared whole, so a control a stage hides leaves nothing behind.
  CRect client;
  GetClientRect(&client);
  pDC->FillSolidRect(&client, kDialogBackColour);
  return TRUE;
}

void CDlgCheckForUpdate::OnWindowPosChanging(WINDOWPOS* lpwndpos) {
  CDlgBaseChildPopUpWndBase::OnWindowPosChanging(lpwndpos);
  if (!g_visible.load()) lpwndpos->flags &= ~SWP_SHOWWINDOW;
}

BOOL CDlgCheckForUpdate::PreTranslateMessage(MSG* pMsg) {
  const auto key = static_cast<int>(pMsg->wParam);
  if (pMsg->message == WM_KEYDOWN && (key == VK_SPACE || key == VK_RETURN || key == VK_ESCAPE || key == VK_F4))
    pMsg->wParam = 0;
  if ((pMsg->message == WM_SYSKEYDOWN || pMsg->message == WM_SYSKEYUP) && key == VK_F4) pMsg->wParam = 0;
  return CDlgBaseChildPopUpWndBase::PreTranslateMessage(pMsg);
}

LRESULT CDlgCheckForUpdate::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kRunMessage) {
    (*reinterpret_cast<const std::function<void()>*>(lParam))();
    return 0;
  }
  if (message == kPostedRunMessage) {
    std::unique_ptr<std::function<void()>> posted(reinterpret_cast<std::function<void()>*>(lParam));
    if (GetSafeHwnd() != nullptr) (*posted)();
    return 0;
  }
  if (message == kDownloadProgressMessage) {
    CString status;
    {
      std::lock_guard<std::mutex> lock(m_pendingStatusLock);
      status = m_strPendingStatus;
    }
    ShowProgressNow(status, m_nPendingPercent.load(), m_nPendingReceived.load(), m_nPendingTotal.load());
    return 0;
  }
  if (message == WM_COPYDATA && lParam != 0) {
    if (OnCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam)->dwData)) return kCopyDataHandled;
  }
  if (message == kProgressMessage || message == ProgressBarUpdateMessage()) {
    if (lParam > 0) ShowProgressNow(CString(), static_cast<int>(lParam), 0, 0);
    return 0;
  }
  if (message == BringToFrontMessage()) {
    m_bHiddenToTray = FALSE;
    if (CWnd* main = AfxGetMainWnd()) main->SetForegroundWindow();
    ShowWindow(SW_RESTORE);
    PostMessage(WM_LBUTTONDOWN, 0, 0);
    BringWindowToTop();
    SetForegroundWindow();
    return 0;
  }
  return CDlgBaseChildPopUpWndBase::WindowProc(message, wParam, lParam);
}

// ---- The engine's view ---------------------------------------------------------------------

CString CDlgCheckForUpdate::GetText(LPCTSTR stringId) {
  CString text;
  if (auto* app = dynamic_cast<CHalvoranApp*>(AfxGetApp())) app->GetLangText(text, stringId);
  return text;
}

int CDlgCheckForUpdate::ShowMessage(const CString& text, UINT type, BOOL ownerIsParent) {
  int answer = 0;
  RunOnWindowThread([&] {
    CWnd* owner = this;
    if (ownerIsParent && ::IsWindow(m_switches.hParentWnd)) owner = CWnd::FromHandle(m_switches.hParentWnd);
    answer = AppMessageBox(text, type, owner);
  });
  return answer;
}

void CDlgCheckForUpdate::ShowProgress(const CString& status, int percent, ULONGLONG received, ULONGLONG total) {
  {
    std::lock_guard<std::mutex> lock(m_pendingStatusLock);
    m_strPendingStatus = status;
  }
  m_nPendingPercent = percent;
  m_nPendingReceived = received;
  m_nPendingTotal = total;
  const HWND window = m_hWndAlive.load();
  if (window != nullptr) ::PostMessageW(window, kDownloadProgressMessage, 0, 0);
}

void CDlgCheckForUpdate::ShowProgressNow(const CString& status, int percent, ULONGLONG received, ULONGLONG total) {
  // The size texts are the shared ones.
  const auto text = [](LPCTSTR id) { return GetLangString(id, _T("QVX")); };
  // The complete database's row shows how much of it has come.
  if (m_switches.bDownloadCompleteDbOnly && received > 0 && m_list.GetItemCount() > 0) {
    const CString size = SizeText(static_cast<LONGLONG>(received), text);
    if (m_list.GetItemText(0, m_list.GetDetailColumn()) != size) m_list.SetItemText(0, m_list.GetDetailColumn(), size);
  }
  const int stage = GetCurrentStage();
  if (stage == kStageListed && !status.IsEmpty()) {
    SetDlgItemText(5002, status);
    return;
  }
  if (stage != kStageDownloading) return;
  const int fetching = m_engine->GetFetchStage();
  if (fetching == kRowProgram || fetching == kRowDatabase) SetRowState(fetching, RowStateText(fetching, false));
  int overall = OverallProgressPercent(m_engine->GetItemsFetched(), m_engine->GetItemsToFetch(), percent);
  int highest = g_highestPercent.load();
  while (overall > highest && !g_highestPercent.compare_exchange_weak(highest, overall)) {
  }
  overall = std::max(overall, g_highestPercent.load());
  m_progress.SetPos(overall);
  if (received > 0 && total > 0) {
    CString line;
    if (FormatChecked(line, GetText(_T("ProgressBarLeftHeaderProg")),
                      {SizeText(static_cast<LONGLONG>(received), text), SizeText(static_cast<LONGLONG>(total), text)}))
      SetDlgItemText(5002, ShortenProgressLine(line));
  }
  CString overallLine;
  if (FormatChecked(overallLine, GetText(_T("IDS_OVERALL_PROGRESS_TEXT")), {overall < 0 ? 0 : overall}))
    SetDlgItemText(5001, overallLine);
}

void CDlgCheckForUpdate::StopCheckingAnimation() {
  RunOnWindowThread([this] {
    m_animation.Stop();
    m_animation.ShowWindow(SW_HIDE);
  });
}

void CDlgCheckForUpdate::MakeVisible() {
  RunOnWindowThread([this] {
    g_visible = true;
    ShowWindow(SW_SHOW);
  });
}

void CDlgCheckForUpdate::ShowUpdateFound() {
  RunOnWindowThread([this] {
    if (m_switches.bShowIfAvailable) MakeVisible();
    RestoreFromTray();
    if (!IsSiblingMode()) ShowBalloon(_T("IDS_APP_UPDATES_AVAILABLE_TXT"));
  });
}

void CDlgCheckForUpdate::ReadChosenUpdates(BOOL& program, BOOL& database) {
  RunOnWindowThread([&] {
    program = FALSE;
    database = FALSE;
    for (int row = 0; row < m_list.GetItemCount(); ++row) {
      const DWORD_PTR kind = m_list.GetItemData(row);
      if (kind == kRowProgram && m_list.GetCheck(row)) program = TRUE;
      if (kind == kRowDatabase && m_list.GetCheck(row)) database = TRUE;
    }
    g_highestPercent = 0;
    // The chosen updates wait their turn.
    for (int row = 0; row < m_list.GetItemCount(); ++row)
      if (m_list.GetCheck(row)) m_list.SetItemText(row, kStateColumn, kQueuedText);
    SetStage(m_list.GetItemCount() > 0 ? kStageDownloading : kStageReady);
  });
}

void CDlgCheckForUpdate::ShowDownloadResult(BOOL done) {
  RunOnWindowThread([&] {
    ShowDownloadPage();
    SetStage(done ? kStageReady : kStageFailed);
    if (!IsSiblingMode()) ShowBalloon(done ? _T("IDS_UPDATES_INSTALLING") : _T("IDS_DOWNLOADING_FAILED"));
  });
}

void CDlgCheckForUpdate::ShowInstalling() {
  RunOnWindowThread([this] { SetStage(kStageInstalling); });
}

void CDlgCheckForUpdate::StartInstallTimer() {
  RunOnWindowThread([this] {
    ApplyStagePage();
    SetTimer(kTimerInstall, 100, nullptr);
  });
}

// ---- Stage pages ---------------------------------------------------------------------------

void CDlgCheckForUpdate::SetStage(int stage) {
  g_stage = stage;
  ApplyStagePage();
}

