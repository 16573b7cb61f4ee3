// The main window of the main program in the test process, on the test clock: its look with
// the first tab and with the settings tab, the settings pages reached through clicks on the
// left panel (the schedule place stays empty), keys that never close it, its answers to the
// launcher's WM_COPYDATA codes and to second starts, the close request while disabled, the
// forced ends (launcher exit, watchdog, hidden-mode stop) and the histories it keeps.
#include <gtest/gtest.h>
#include <winuser.h>

#include <fcntl.h>
#include <sched.h>
#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "DlgBaseMessageBoxWndBase.h"
#include "DlgDrvExclusion.h"
#include "DlgOneClickDrvUpdateResultsMain.h"
#include "DlgParentTransculent.h"
#include "DlgSetting1General.h"
#include "DlgSetting3Loc.h"
#include "HalvoranApp.h"
#include "IniReader.h"
#include "PathHelpers.h"
#include "VelquorApp.h"
#include "VelquorDlg.h"
#include "VelquorResults.h"
#include "DlgScan3Results.h"
#include "DlgNagDownloadAndInstall.h"
#include "DlgNagRestart.h"
#include "VelquorScan.h"
#include "DlgScan2Scanning.h"
#include "velquor_testing.h"
#include "zx/machine.h"

CVelquorApp theApp;
extern char** environ;

namespace zx::test {
namespace {

// The launcher's stand-in run as another process that posts or sends the registered message
// with two numbers to a window of this one, whose messages are served until it ends; answers
// its exit code.
int FromAnotherProcess(const char* how, HWND window, const char* name, WPARAM wParam, LPARAM lParam,
                       const std::function<void()>& serve) {
  const std::string handle = std::to_string(reinterpret_cast<std::uintptr_t>(window));
  const std::string first = std::to_string(wParam), second = std::to_string(lParam);
  const char* argv[] = {ZX_LAUNCHER, "message", how, handle.c_str(), name, first.c_str(), second.c_str(), nullptr};
  posix_spawn_file_actions_t quiet;
  posix_spawn_file_actions_init(&quiet);
  posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
  // On this process's machine root, where its windows are.
  std::vector<std::string> variables{"ZX_MACHINE_ROOT=" + machine::Root()};
  for (char** variable = environ; *variable; ++variable)
    if (!std::string(*variable).starts_with("ZX_MACHINE_ROOT=")) variables.emplace_back(*variable);
  std::vector<char*> envp;
  for (std::string& variable : variables) envp.push_back(variable.data());
  envp.push_back(nullptr);
  pid_t pid = 0;
  const int spawned = ::posix_spawn(&pid, ZX_LAUNCHER, &quiet, nullptr, const_cast<char* const*>(argv), envp.data());
  posix_spawn_file_actions_destroy(&quiet);
  if (spawned != 0) return -1;
  int status = 0;
  while (::waitpid(pid, &status, WNOHANG) == 0) {
    serve();
    ::sched_yield();
  }
  serve();
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(VelquorWindow, OpensOnTheFirstTabAndShowsTheSettingsPagesThroughClicks) {
  CDlgLeftDlgBase* scan = dialog_->GetGroup(CVelquorDlg::kScanGroup);
  ASSERT_NE(scan, nullptr);
  CRect window;
  dialog_->GetWindowRect(&window);
  EXPECT_EQ(window.Size(), CSize(772, 583));
  EXPECT_EQ(dialog_->GetTabCount(), 5);
  // The program's own icon, which the taskbar shows.
  ASSERT_NE(settings_.hIcon, nullptr);
  EXPECT_EQ(reinterpret_cast<HICON>(dialog_->SendMessage(WM_GETICON, ICON_BIG, 0)), settings_.hIcon);
  RedrawAll(scan);
  ExpectWindowMatches(dialog_->m_hWnd, "velquor_first_tab.png");

  Click(dialog_->GetTabButton(5)->m_hWnd);
  Pump();
  CDlgLeftDlgBase* settings = dialog_->GetGroup(CVelquorDlg::kSettingsGroup);
  ASSERT_NE(settings, nullptr);
  EXPECT_EQ(dialog_->GetCurrentPanel(), settings);
  CDlgBaseWnd* general = dialog_->GetGroupPage(CVelquorDlg::kSettingsGroup, CVelquorDlg::kGeneralPlace);
  CDlgBaseWnd* folders = dialog_->GetGroupPage(CVelquorDlg::kSettingsGroup, CVelquorDlg::kFoldersPlace);
  CDlgBaseWnd* exclusion = dialog_->GetGroupPage(CVelquorDlg::kSettingsGroup, CVelquorDlg::kExclusionPlace);
  EXPECT_TRUE(Shown(general));
  CDlgBaseWnd* schedule = dialog_->GetGroupPage(CVelquorDlg::kSettingsGroup, CVelquorDlg::kSchedulePlace);
  ASSERT_NE(schedule, nullptr);
  EXPECT_NE(schedule->GetSafeHwnd(), nullptr);
  RedrawAll(settings);
  ExpectWindowMatches(dialog_->m_hWnd, "velquor_settings_tab.png");

  ClickLeftButton(settings, CVelquorDlg::kFoldersPlace);
  EXPECT_TRUE(Shown(folders));
  EXPECT_FALSE(Shown(general));
  ClickLeftButton(settings, CVelquorDlg::kExclusionPlace);
  EXPECT_TRUE(Shown(exclusion));
  EXPECT_FALSE(Shown(folders));
  ClickLeftButton(settings, CVelquorDlg::kGeneralPlace);
  EXPECT_TRUE(Shown(general));
  EXPECT_FALSE(Shown(exclusion));
  // The schedule button also asks for the scheduler program (absent here, so nothing is
  // started): the settings group goes back to its first page and the window to the first tab.
  ClickLeftButton(settings, CVelquorDlg::kFoldersPlace);
  ClickLeftButton(settings, CVelquorDlg::kSchedulePlace);
  EXPECT_EQ(dialog_->GetCurrentPanel(), scan);
  EXPECT_EQ(settings->GetSelectedButton(), CVelquorDlg::kGeneralPlace);
  EXPECT_TRUE(general->IsWindowEnabled());
  EXPECT_FALSE(folders->IsWindowEnabled());
}

// The scan tab returns to the page of the scan's step (the results page, shown, selects the
// results tab); the results tab shows the last scan's results, or offers a scan (No here) and
// goes back to the scan tab's home page: a scan again when the last one found every driver up
// to date.
TEST_F(VelquorWindow, TheScanAndResultsTabsFollowTheScan) {
  CDlgLeftDlgBase* scan = dialog_->GetGroup(CVelquorDlg::kScanGroup);
  ASSERT_NE(scan, nullptr);
  EXPECT_EQ(dialog_->GetLeftPanel(2), scan);
  tagScanState& state = dialog_->GetScanHost()->ScanState();
  const struct {
    int tab;
    bool scanDone, allUpToDate;
    int step;
    LPCTSTR question;
    int selectedTab, button, stepAfter;
  } kCases[] = {
      {1, false, false, 3, nullptr, 1, 5, 3}, {1, false, false, 1, nullptr, 1, 2, 1},
      {1, true, false, 2, nullptr, 2, 3, 2},  {1, false, false, 0, nullptr, 1, 1, 0},
      {1, false, false, 7, nullptr, 1, 1, 7}, {2, true, false, 3, nullptr, 2, 3, 3},
      {2, false, false, 2, _T("IDS_PERFORM_SCAN"), 1, 1, 0},
      {2, false, true, 3, _T("IDS_SCANRES_UPDAALL_DRIVER"), 1, 1, 0},
  };
  for (const auto& c : kCases) {
    state.bScanDone = c.scanDone;
    state.bAllUpToDate = c.allUpToDate;
    state.nScanStep = c.step;
    CString asked;
    if (c.question)
      WhileModal({[&asked] {
        auto* box = dynamic_cast<CDlgBaseMessageBoxWndBase*>(CWnd::FromHandle(ActiveWindow()));
        if (box == nullptr) return false;
        asked = box->GetText();
        Click(::GetDlgItem(box->m_hWnd, kMessageBoxFirstButton + 1));
        return true;
      }});
    Click(dialog_->GetTabButton(c.tab)->m_hWnd);
    Pump();
    if (c.question) ExpectAllStepsRan();
    const std::string which = std::to_string(c.tab) + "/" + std::to_string(c.step);
    EXPECT_EQ(asked.IsEmpty(), c.question == nullptr) << which;
    if (c.question) {
      EXPECT_NE(asked.Find(GetLangString(c.question, _T("Tunevo"))), -1) << which;
    }
    EXPECT_EQ(dialog_->GetCurrentPanel(), scan) << which;
    EXPECT_EQ(dialog_->GetSelectedTab(), dialog_->GetTabButton(c.selectedTab)) << which;
    EXPECT_EQ(scan->GetSelectedButton(), c.button) << which;
    EXPECT_TRUE(Shown(scan->GetPage(c.button))) << which;
    EXPECT_EQ(state.nScanStep, c.stepAfter) << which;
  }
  state.bAllUpToDate = false;
  state.bScanDone = false;
  state.nScanStep = 0;
}

// The scanning page's category count and the results page's row change carry addresses and
// row states: another process's, posted or sent, change nothing (and read no address of its);
// the program's own are taken.
TEST_F(VelquorWindow, TakesTheCountAndRowMessagesOnlyFromItsOwnProcess) {
  CDlgBaseWnd* scanning = dialog_->GetGroupPage(CVelquorDlg::kScanGroup, 2);
  auto* results = dynamic_cast<CDlgScan3Results*>(dialog_->GetGroupPage(CVelquorDlg::kScanGroup, 3));
  ASSERT_TRUE(scanning && results);
  // A current row: an update row's action link, whose download dialog is closed at once.
  results->GetList().InsertItem(0, _T(""));
  results->GetList().SetItemData(0, 0);
  WhileModal({[&] {
    CDlgNagDownloadAndInstall* running = dialog_->GetResultsHost()->GetRunningDialog();
    if (running == nullptr || running->GetSafeHwnd() == nullptr) return false;
    // Ended without its OK, which would have the page rebuild its list.
    CloseParentDialog(running);
    return true;
  }});
  NMITEMACTIVATE click{};
  click.hdr = {results->GetList().m_hWnd, CDlgScan3Results::kListId, NM_CLICK};
  click.iItem = 0;
  click.iSubItem = CDlgScan3Results::kActionColumn;
  results->SendMessage(WM_NOTIFY, CDlgScan3Results::kListId, reinterpret_cast<LPARAM>(&click));
  ExpectAllStepsRan();

  auto label = [scanning](UINT id) {
    CString text;
    if (CWnd* item = scanning->GetDlgItem(id)) item->GetWindowText(text);
    return text;
  };
  const CString other = label(CDlgScan2Scanning::kOtherCategoryId);
  for (const char* how : {"post", "send"}) {
    EXPECT_EQ(FromAnotherProcess(how, scanning->m_hWnd, "QVX_DRIVER_UPDATECOUNT", 0x10, 0x20, Pump), 0) << how;
    EXPECT_EQ(FromAnotherProcess(how, results->m_hWnd, "QVX_DRIVER_ITEMCHANGE", 0, 2, Pump), 0) << how;
  }
  EXPECT_EQ(label(CDlgScan2Scanning::kOtherCategoryId), other);
  EXPECT_EQ(results->GetList().GetItemData(0), 0u);

  const UINT count = RegisterWindowMessageW(_T("QVX_DRIVER_UPDATECOUNT"));
  scanning->SendMessage(count, reinterpret_cast<WPARAM>(_T("mice and other pointing devices")),
                        reinterpret_cast<LPARAM>(_T("2 updates")));
  EXPECT_EQ(label(5148), CString(_T("2 updates")));
  results->PostMessage(CDlgScan3Results::GetItemChangeMessage(), 0, 2);
  Pump();
  EXPECT_EQ(results->GetList().GetItemData(0), 2u);
}

// The program's texts hold every text the own message box reads, so that no box of the
// program opens with a "Fail to Read" box of its own.
TEST_F(VelquorWindow, ItsTextsHoldTheOwnMessageBoxsTexts) {
  const std::string texts = ReadHostFile(ZX_PROGRAM_TEXTS);
  const std::size_t section = texts.find("[QVX]");
  ASSERT_NE(section, std::string::npos);
  const std::string shared = texts.substr(section, texts.find("\n[", section) - section);
  for (const char* key : {"IDS_OK=", "IDS_CANCEL=", "IDS_YES=", "IDS_NO=", "IDS_CHK_MSGBOX="})
    EXPECT_NE(shared.find(std::string("\n") + key), std::string::npos) << key;
}

// The window opened first in a process hands the scan engine this machine's values: the user
// hash it keeps is the hardware hash, worked out before it is copied, never an empty text.
TEST_F(VelquorWindow, HandsTheScanEngineThisMachinesUserHash) {
  dialog_->DestroyWindow();
  CHalvoranApp::m_sUSER_HASH.Empty();
  theApp.m_strUserHash.Empty();
  dialog_ = std::make_unique<TestVelquorDlg>(theApp);
  dialog_->SetAppInfo(settings_);
  ASSERT_TRUE(dialog_->Create(CDlgBaseAppDlg::kTemplateId, nullptr));
  Pump();
  const tagScanRequestMachine& machine = dialog_->GetScanEngine().GetRequestMachine();
  EXPECT_FALSE(theApp.m_strUserHash.IsEmpty());
  EXPECT_EQ(theApp.m_strUserHash, CHalvoranApp::m_sUSER_HASH);
  EXPECT_EQ(machine.strUserHash, theApp.m_strUserHash);
  EXPECT_EQ(machine.strMachineId, theApp.m_strUserHash);
  EXPECT_EQ(machine.strAppName, GetAppName());
  EXPECT_GE(machine.nOsId, 0);
}

TEST_F(VelquorWindow, TheFoldersPageWorksOnTheWindowsFolders) {
  EXPECT_EQ(dialog_->GetCurrentFolder(CSettingsFolderHost::kDownload), dialog_->GetDownloadFolder());
  EXPECT_EQ(dialog_->GetDefaultFolder(CSettingsFolderHost::kBackup), dialog_->GetDataFolder() + _T("\\Backup\\"));
  dialog_->SetCurrentFolder(CSettingsFolderHost::kBackup, _T("C:\\Elsewhere"));
  EXPECT_EQ(dialog_->GetBackupFolder(), CString(_T("C:\\Elsewhere")));
  EXPECT_EQ(dialog_->GetOsFolders().strWin7amd64, dialog_->GetUpdaterFolder() + _T("win7amd64\\"));
  EXPECT_EQ(dialog_->GetUpdaterFolder().Right(8), CString(_T("updater\\")));
  // The program's folder as the system names it, never lower-cased.
  CString programFolder;
  GetProgramFolder(programFolder);
  EXPECT_EQ(dialog_->GetUpdaterFolder(), programFolder + _T("updater\\"));
}

TEST_F(VelquorWindow, EnterEscapeAndAltF4NeverCloseIt) {
  Tap(VK_ESCAPE);
  Tap(VK_RETURN);
  Key(VK_MENU, true);
  Tap(VK_F4);
  Key(VK_MENU, false);
  // Taken as the program's message loop takes them: the windows' PreTranslateMessage first.
  MSG queued;
  while (::PeekMessageW(&queued, nullptr, 0, 0, PM_REMOVE)) {
    if (CWnd::WalkPreTranslateTree(nullptr, &queued)) continue;
    ::TranslateMessage(&queued);
    ::DispatchMessageW(&queued);
  }
  EXPECT_TRUE(dialog_->GetSafeHwnd() && dialog_->IsWindowVisible());
  MSG msg;
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
}

TEST_F(VelquorWindow, AnswersTheLauncherCodes) {
  EXPECT_EQ(SendCopyData(CVelquorDlg::kCopyQuery), 17);
  EXPECT_FALSE(dialog_->GetLauncherState().bProgressNotify);
  EXPECT_FALSE(theApp.m_bHiddenScan);
  EXPECT_EQ(SendCopyData(CVelquorDlg::kCopyProgressNotify), 17);
  EXPECT_TRUE(dialog_->GetLauncherState().bProgressNotify);
  // The hidden-scan code sets hidden scan mode, then answers only once the one-click results
  // popup, owned by the application's main window, is closed.
  theApp.m_pMainWnd = dialog_.get();
  bool popupShown = false, hiddenWhileShown = false;
  HWND popupOwner = nullptr;
  WhileModal({[&] {
    popupShown = dynamic_cast<CDlgOneClickDrvUpdateResultsMain*>(CWnd::FromHandlePermanent(ActiveWindow())) != nullptr;
    if (!popupShown) return false;
    hiddenWhileShown = theApp.m_bHiddenScan && dialog_->GetLauncherState().bHiddenScanMode;
    popupOwner = ::GetWindow(ActiveWindow(), GW_OWNER);
    return ClosePopup()();
  }});
  EXPECT_EQ(SendCopyData(CVelquorDlg::kCopyHiddenScan), 16);
  ExpectAllStepsRan();
  EXPECT_TRUE(popupShown);
  EXPECT_TRUE(hiddenWhileShown);
  EXPECT_EQ(popupOwner, dialog_->GetSafeHwnd());
  theApp.m_pMainWnd = nullptr;
  EXPECT_TRUE(theApp.m_bHiddenScan);
  EXPECT_TRUE(dialog_->GetLauncherState().bHiddenScanMode);
  EXPECT_EQ(SendCopyData(99), 0);
}

TEST_F(VelquorWindow, SecondStartWordsSetTheRunModeFlags) {
  const UINT message = GetRunningInstanceMessage();
  // While a task runs the window only records the word and comes to the front.
  theApp.m_bTaskBusy = TRUE;
  const struct {
    const TCHAR* word;
    LRESULT answer;
    BOOL schedule, autofix, shutdown;
  } kCases[] = {
      {_T("SHUTDOWN "), 0, FALSE, FALSE, TRUE},
      {_T("  AutoFix"), 0, FALSE, TRUE, FALSE},
      {_T("schedulescan"), 0, TRUE, FALSE, FALSE},
      {_T("something"), 1, FALSE, FALSE, FALSE},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(SendCopyData(message, c.word), c.answer) << CStringA(c.word).GetString();
    EXPECT_EQ(g_bScheduleSwitch, c.schedule);
    EXPECT_EQ(g_bAutoFixSwitch, c.autofix);
    EXPECT_EQ(g_bShutdownSwitch, c.shutdown);
  }
  g_bShutdownSwitch = TRUE;
  EXPECT_EQ(SendCopyData(message, _T("   ")), 0);
  EXPECT_TRUE(g_bShutdownSwitch);
  g_bScheduleSwitch = g_bAutoFixSwitch = g_bShutdownSwitch = FALSE;
}

// What the close button saw of the window's flag each time it was switched on or off.
CVelquorDlg* g_watched = nullptr;
WNDPROC g_closeProc = nullptr;
std::vector<std::pair<WPARAM, BOOL>> g_flagAtEnable;

LRESULT CALLBACK WatchCloseEnable(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ENABLE) g_flagAtEnable.emplace_back(wParam, g_watched->IsUiEnabled());
  return ::CallWindowProcW(g_closeProc, window, message, wParam, lParam);
}

TEST_F(VelquorWindow, TheCloseRequestWaitsWhileTheWindowIsDisabled) {
  // The flag the close command reads turns before the close button does.
  const HWND close = dialog_->GetDlgItem(CDlgMainWnd::kCloseCommand)->GetSafeHwnd();
  g_watched = dialog_.get();
  g_closeProc = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(close, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WatchCloseEnable)));
  dialog_->EnableUi(FALSE);
  dialog_->EnableUi(TRUE);
  ::SetWindowLongPtrW(close, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_closeProc));
  EXPECT_EQ(g_flagAtEnable, (std::vector<std::pair<WPARAM, BOOL>>{{FALSE, FALSE}, {TRUE, TRUE}}));

  dialog_->EnableUi(FALSE);
  EXPECT_FALSE(dialog_->GetTabButton(1)->IsWindowEnabled());
  dialog_->SendMessage(WM_COMMAND, CDlgMainWnd::kCloseCommand);
  dialog_->SendMessage(WM_SYSCOMMAND, SC_CLOSE);
  Pump();
  MSG msg;
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
  EXPECT_TRUE(dialog_->GetSafeHwnd() && dialog_->IsWindowVisible());
  dialog_->EnableUi(TRUE);
  EXPECT_TRUE(dialog_->IsUiEnabled());
  EXPECT_TRUE(dialog_->GetTabButton(1)->IsWindowEnabled());
}

TEST_F(VelquorWindow, ForcedEndsOfTheLauncherTheWatchdogAndTheHiddenModeStop) {
  // The launcher's exit request ends the run once.
  dialog_->SendMessage(WM_TIMER, kExitTimerId);
  EXPECT_EQ(dialog_->forcedEnds, 1);
  // The watchdog looks for a process of the program: this test process is none.
  dialog_->SendMessage(WM_TIMER, CVelquorDlg::kWatchdogTimer);
  EXPECT_EQ(dialog_->forcedEnds, 2);
  // A hidden-mode stop acts only in hidden scan mode with the launcher busy.
  const struct {
    bool hidden, busy;
    int ends;
  } kCases[] = {{false, false, 2}, {true, false, 2}, {false, true, 2}, {true, true, 3}};
  for (const auto& c : kCases) {
    dialog_->GetLauncherState().bHiddenScanMode = c.hidden;
    dialog_->GetLauncherState().bLauncherBusy = c.busy;
    dialog_->HiddenModeStop();
    EXPECT_EQ(dialog_->forcedEnds, c.ends) << c.hidden << c.busy;
  }
  // The popup timer shows the one-click results popup over the parent the launcher named while
  // it is a window, ends nothing, and arms the popup again.
  const HWND gone = CreateWindowExW(0, u"Static", u"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  DestroyWindow(gone);
  const struct {
    HWND parent;
    bool shown;
  } kParents[] = {{dialog_->GetSafeHwnd(), true}, {gone, false}, {nullptr, false}};
  for (const auto& c : kParents) {
    // A popup that is not shown runs no modal loop: the timer comes back at once.
    HWND owner = nullptr;
    if (c.shown) {
      WhileModal({[&] {
        if (dynamic_cast<CDlgOneClickDrvUpdateResultsMain*>(CWnd::FromHandlePermanent(ActiveWindow())) == nullptr)
          return false;
        owner = ::GetWindow(ActiveWindow(), GW_OWNER);
        return ClosePopup()();
      }});
    }
    ASSERT_TRUE(dialog_->GetPopupArming().TryDisarm(c.parent));
    dialog_->SendMessage(WM_TIMER, kPopupTimerId);
    if (c.shown) ExpectAllStepsRan();
    EXPECT_EQ(owner, c.shown ? c.parent : nullptr) << c.parent;
    EXPECT_TRUE(dialog_->GetPopupArming().TryDisarm(nullptr)) << "armed again";
    dialog_->GetPopupArming().Rearm();
  }
  EXPECT_EQ(dialog_->forcedEnds, 3);
}

TEST_F(VelquorWindow, AFeedbackRequestWithoutAScanAsksForOneAndLeavesTheProgramFree) {
  // No (second button): no scan runs and the task-busy flag is cleared (Yes starts a scan,
  // which clears it when it ends).
  for (int button : {1}) {
    WhileModal({[button] {
      auto* box = dynamic_cast<CDlgBaseMessageBoxWndBase*>(CWnd::FromHandle(ActiveWindow()));
      if (box == nullptr) return false;
      Click(::GetDlgItem(box->m_hWnd, kMessageBoxFirstButton + button));
      return true;
    }});
    dialog_->SendMessage(WM_COMMAND, CVelquorDlg::kFeedbackCommand);
    Pump();
    ExpectAllStepsRan();
    EXPECT_FALSE(theApp.m_bTaskBusy) << button;
  }
  // While a task runs the request is ignored: no question is asked.
  theApp.m_bTaskBusy = TRUE;
  dialog_->SendMessage(WM_COMMAND, CVelquorDlg::kFeedbackCommand);
  EXPECT_TRUE(theApp.m_bTaskBusy);
}

TEST_F(VelquorWindow, TheBringToFrontMessageShowsAHiddenWindowAndNeverReadsItsParameter) {
  const UINT message = CVelquorDlg::GetBringToFrontMessage();
  dialog_->ShowWindow(SW_HIDE);
  dialog_->SendMessage(message, 0, 0);
  EXPECT_TRUE(dialog_->IsWindowVisible());
  // A value that is no address of this process, as another process may post it.
  dialog_->ShowWindow(SW_MINIMIZE);
  dialog_->PostMessage(message, 0, 0x12345);
  Pump();
  EXPECT_TRUE(dialog_->IsWindowVisible());
  EXPECT_FALSE(dialog_->IsIconic());
}

TEST_F(VelquorWindow, HistoriesAreSavedAndLoadedBack) {
  dialog_->GetHistory(kDownloadHistory)[_T("pci\\ven_8086")] = _T("C:\\Download\\net.zip");
  dialog_->GetHistory(kBackupHistory)[_T("Backup 1")] = _T("C:\\Backup\\one.zip");
  dialog_->SaveFileList(kDownloadHistory);
  dialog_->SaveFileList(kBackupHistory);
  dialog_->GetHistory(kDownloadHistory).RemoveAll();
  dialog_->GetHistory(kBackupHistory).RemoveAll();
  dialog_->LoadFileList(kDownloadHistory);
  dialog_->LoadFileList(kBackupHistory);
  CString value;
  EXPECT_TRUE(dialog_->GetHistory(kDownloadHistory).Lookup(_T("pci\\ven_8086"), value));
  EXPECT_EQ(value, CString(_T("C:\\Download\\net.zip")));
  EXPECT_EQ(dialog_->GetHistory(kBackupHistory).GetCount(), 1);
  EXPECT_EQ(dialog_->GetHistory(kDownloadHistory).GetCount(), 1);
}

// The results page joins the scan group at places 3 and 4 and takes the engine's rows; its
// host adds to the settings group's exclusion list and goes to that page.
TEST_F(VelquorWindow, TheResultsPageJoinsTheScanGroupAndReachesTheExclusionPage) {
  CVelquorResultsHost* host = dialog_->GetResultsHost();
  ASSERT_NE(host, nullptr);
  CDlgLeftDlgBase* scan = dialog_->GetGroup(CVelquorDlg::kScanGroup);
  auto* page = dynamic_cast<CDlgScan3Results*>(scan->GetPage(3));
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(scan->GetPage(3), page);
  EXPECT_EQ(scan->GetPage(4), page);
  EXPECT_EQ(dialog_->GetScanEngine().ClearResults(), 1);
  EXPECT_EQ(host->AddExclusion(_T("Camera"), _T("USB\\VID_046D&PID_0825")), 1);
  EXPECT_EQ(host->AddExclusion(_T("Camera"), _T("usb\\vid_046d&pid_0825")), 0);
  EXPECT_EQ(host->GetExclusionCount(), 1);
  host->GoToExclusionList();
  Pump();
  EXPECT_TRUE(Shown(dialog_->GetExclusionPage()));

  // The download-and-install dialog opens over the page with every row, the chosen checked.
  for (int row = 0; row < 3; ++row) page->GetList().InsertItem(row, _T(""));
  std::vector<BOOL> checked;
  WhileModal({[&] {
    CDlgNagDownloadAndInstall* running = host->GetRunningDialog();
    if (running == nullptr || running->GetSafeHwnd() == nullptr) return false;
    for (const NagResultRow& row : running->GetResultRows()) checked.push_back(row.bChecked);
    running->SendMessage(WM_COMMAND, IDOK);
    return true;
  }});
  host->RunDownloadAndInstall(page, CResultsPageHost::kModeDownloadChecked, {1});
  ExpectAllStepsRan();
  EXPECT_EQ(checked, (std::vector<BOOL>{FALSE, TRUE, FALSE}));
  EXPECT_EQ(host->GetRunningDialog(), nullptr);

  // A row waiting for a restart opens the restart prompt; its Cancel leaves the restart be.
  bool prompted = false;
  WhileModal({[&] {
    auto* prompt = dynamic_cast<CDlgNagRestart*>(CWnd::FromHandle(ActiveWindow()));
    if (prompt == nullptr) return false;
    prompted = true;
    Click(::GetDlgItem(prompt->m_hWnd, IDCANCEL));
    return true;
  }});
  host->RunRestartPrompt(page);
  ExpectAllStepsRan();
  EXPECT_TRUE(prompted);

  // Feedback before any scan: the window asks for a scan first; No leaves all as it was.
  WhileModal({[] {
    auto* box = dynamic_cast<CDlgBaseMessageBoxWndBase*>(CWnd::FromHandle(ActiveWindow()));
    if (box == nullptr) return false;
    Click(::GetDlgItem(box->m_hWnd, kMessageBoxFirstButton + 1));
    return true;
  }});
  page->SendMessage(WM_COMMAND, CDlgScan3Results::kFeedbackId);
  ExpectAllStepsRan();
  EXPECT_FALSE(theApp.m_bTaskBusy);
  dialog_->DestroyWindow();
}

}  // namespace
}  // namespace zx::test
