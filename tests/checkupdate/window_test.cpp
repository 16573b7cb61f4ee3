// The update checker window driven as a user drives it, with the real check-and-apply engine,
// the download library and the web service's stand-in: a newer version is agreed to through
// the question's Yes button, its row unticked and ticked again with the mouse, downloaded,
// confirmed and started with "/verysilent", each page on the way against its picture; Cancel
// on the ready page offers the install first; a wrong digest ends on the failure page with
// nothing started; without a connection the window ends on the no-update page, which Enter,
// Escape and Alt+F4 do not close, and Finish or the title bar's close button do. A minimised
// start, the parent's close code, a window shown only once an update is found; the
// notification-area icon, its clicks, menu and balloons, and the hide button. In the
// complete-database mode the archive is fetched, confirmed and put in use, its row shown done
// with the size received.
#include <gtest/gtest.h>
#include <winuser.h>

#include <chrono>
#include <filesystem>
#include <mutex>
#include <fstream>
#include <functional>
#include <thread>

#include "DlgBaseMessageBoxWndBase.h"
#include "DlgCheckForUpdate.h"
#include "HalvoranApp.h"
#include "snapshot_compare.h"
#include "update_service_testing.h"
#include "zx/clock.h"
#include "zx/input.h"
#include "zx/menus.h"
#include "zx/modal.h"
#include "zx/tray.h"
#include "zx/windowpaint.h"

namespace zx::test {
namespace {

namespace fs = std::filesystem;

// Holds a worker until the test lets it go (20 s at most).
void HoldWhile(const std::atomic<bool>& held) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (held.load() && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

// The window with texts that name their ids, and a forced end that keeps the test's process.
// The worker can be held on the list of updates (before the choice is read) and on the pause
// before the download, so those pages can be looked at.
class TestCheckerWindow : public CDlgCheckForUpdate {
 public:
  TestCheckerWindow(tagCheckUpdateSwitches& switches) : CDlgCheckForUpdate(nullptr, switches) {
    SetProcessEnder([this] { ++forcedEnds; });
    GetEngine().SetPause([this](DWORD ms) {
      {
        std::lock_guard<std::mutex> lock(pausesLock);
        pauses.push_back(ms);
      }
      if (ms == 1000) HoldWhile(holdDownload);
    });
  }
  void ReadChosenUpdates(BOOL& program, BOOL& database) override {
    HoldWhile(holdList);
    CDlgCheckForUpdate::ReadChosenUpdates(program, database);
  }
  std::vector<DWORD> Pauses() {
    std::lock_guard<std::mutex> lock(pausesLock);
    return pauses;
  }
  std::atomic<bool> holdList{false};
  std::atomic<bool> holdDownload{false};
  CString GetText(LPCTSTR stringId) override {
    const CString id = stringId;
    if (id == _T("IDS_APP_UPDATE_DIR_NAME")) return _T("Updates");
    if (id == _T("IDS_CANNOT_CONNECT")) return _T("%s cannot connect to the Internet.");
    if (id == _T("IDS_OVERALL_PROGRESS_TEXT")) return _T("Overall progress %d%%");
    if (id == _T("ProgressBarLeftHeaderProg")) return _T("%s of %s");
    return id;
  }
  int forcedEnds = 0;

 private:
  std::mutex pausesLock;
  std::vector<DWORD> pauses;
};

class CheckerWindow : public UpdateServiceTest {
 protected:
  using Step = std::function<bool()>;

  void SetUp() override {
    UpdateServiceTest::SetUp();
    SetClock(&clock_);
    user::ResetInput();
    user::ClearTray();
    CDlgCheckForUpdate::ResetProcessState();
    // The shared windows' pictures and the message box come from the resource library.
    previous_ = AfxGetResourceHandle();
    ASSERT_NE(GetResourceModule(), nullptr);
    AfxSetResourceHandle(GetResourceModule());
  }
  void TearDown() override {
    user::SetIdleHook(nullptr);
    user::ResetInput();
    AfxSetResourceHandle(previous_);
    SetClock(nullptr);
    UpdateServiceTest::TearDown();
  }
  // Runs the window modally; the steps run in turn while its loops wait, a step answering
  // false being asked again (the worker moves in real time: at most 20 s in all); after the
  // last one the test clock moves on until the window closes.
  INT_PTR Run(TestCheckerWindow& window, std::vector<Step> steps) {
    std::size_t next = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    user::SetIdleHook([&] {
      if (next > steps.size()) return;
      if (next == steps.size()) {
        // Every step done: time goes on until the window closes.
        clock_.Advance(100);
      } else if (steps[next]()) {
        ++next;
      } else if (std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
      } else {
        ADD_FAILURE() << "step " << next << " never done (stage " << CDlgCheckForUpdate::GetCurrentStage() << ")";
        next = steps.size() + 1;
        window.EndDialog(IDABORT);
      }
      // Wakes the loop again for the next look.
      ::PostMessageW(window.GetSafeHwnd(), WM_NULL, 0, 0);
    });
    const INT_PTR result = window.DoModal();
    user::SetIdleHook(nullptr);
    EXPECT_EQ(next, steps.size()) << "steps that never ran";
    return result;
  }
  Step Advance(std::uint64_t ms) {
    return [this, ms] {
      clock_.Advance(ms);
      return true;
    };
  }
  static Step Tap(int key) {
    return [key] {
      user::InjectKey(key, true);
      user::InjectKey(key, false);
      return true;
    };
  }
  static Step AltF4() {
    return [] {
      user::InjectKey(VK_MENU, true);
      user::InjectKey(VK_F4, true);
      user::InjectKey(VK_F4, false);
      user::InjectKey(VK_MENU, false);
      return true;
    };
  }
  static Step StillOpen(TestCheckerWindow& window) {
    return [&window] {
      EXPECT_TRUE(::IsWindow(window.GetSafeHwnd())) << "a key closed the window";
      return true;
    };
  }
  // Moves the clock on in steps until the window reaches the stage (timers the worker arms on
  // its way get their time whenever they were armed).
  Step AdvanceUntilStage(int stage) {
    return [this, stage] {
      if (CDlgCheckForUpdate::GetCurrentStage() == stage) return true;
      clock_.Advance(100);
      return false;
    };
  }
  // The page's heading, its description and the line under the progress bar (hidden when
  // empty) below the shared header; the first row's title and state and the title of its column, when given.
  struct PageTexts {
    const char16_t* heading;
    const char16_t* description;
    const char16_t* line;
    const char16_t* rowTitle = nullptr;
    const char16_t* rowState = nullptr;
    const char16_t* columnTitle = nullptr;
  };
  static Step TextsAre(TestCheckerWindow& window, PageTexts texts) {
    return [&window, texts] {
      const HWND page = window.GetSafeHwnd();
      CString text;
      window.GetDlgItemText(5008, text);
      EXPECT_EQ(text, CString(u"CommonHeader")) << "the header every page shares";
      window.GetDlgItemText(5006, text);
      EXPECT_EQ(text, CString(texts.heading));
      window.GetDlgItemText(5001, text);
      EXPECT_EQ(text, CString(texts.description));
      window.GetDlgItemText(5002, text);
      EXPECT_EQ(text, CString(texts.line));
      EXPECT_EQ(::IsWindowVisible(::GetDlgItem(page, 5002)) != FALSE, *texts.line != 0);
      auto* list = dynamic_cast<CFancyListCtrl*>(CWnd::FromHandlePermanent(::GetDlgItem(page, 5004)));
      if (texts.rowTitle == nullptr || list == nullptr) return true;
      EXPECT_EQ(list->GetItemDetail(0), CString(texts.rowTitle));
      EXPECT_EQ(list->GetItemText(0, 2), CString(texts.rowState));
      WCHAR title[64] = {};
      HDITEMW item{};
      item.mask = HDI_TEXT;
      item.pszText = title;
      item.cchTextMax = 64;
      list->GetHeaderCtrl()->GetItem(1, &item);
      EXPECT_EQ(CString(title), CString(texts.columnTitle));
      return true;
    };
  }
  static Step StageIs(int stage) {
    return [stage] { return CDlgCheckForUpdate::GetCurrentStage() == stage; };
  }
  // Presses a button (the first: Yes, OK) of the box in front of the window once one is shown.
  static Step AnswerBox(TestCheckerWindow& window, int button = 0) {
    return [&window, button] {
      const HWND box = ::GetActiveWindow();
      if (box == nullptr || box == window.GetSafeHwnd()) return false;
      const HWND control = ::GetDlgItem(box, kMessageBoxFirstButton + button);
      if (control == nullptr) return false;
      Click(control);
      return true;
    };
  }
  static void Click(HWND control) {
    RECT r{};
    ::GetWindowRect(control, &r);
    const POINT at{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    user::InjectMouse(at, WM_MOUSEMOVE);
    user::InjectMouse(at, WM_LBUTTONDOWN);
    user::InjectMouse(at, WM_LBUTTONUP);
  }
  // Clicks the middle of the band of a row's check box that takes clicks.
  static void ClickCheckBox(HWND list, int row) {
    RECT bounds{};
    bounds.left = LVIR_BOUNDS;
    ::SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&bounds));
    POINT at{bounds.left + 11, bounds.top + 12};
    ::ClientToScreen(list, &at);
    user::InjectMouse(at, WM_MOUSEMOVE);
    user::InjectMouse(at, WM_LBUTTONDOWN);
    user::InjectMouse(at, WM_LBUTTONUP);
  }
  static bool Ticked(HWND list, int row) {
    const auto* control = dynamic_cast<const CFancyListCtrl*>(CWnd::FromHandlePermanent(list));
    return control != nullptr && control->GetCheck(row);
  }
  // Clicks the item at a position of the popup menu once one is open.
  static Step ChooseMenuItem(UINT position) {
    return [position] {
      RECT item{};
      if (!user::TrackedMenuItemRect(position, &item)) return false;
      user::InjectMouse(POINT{(item.left + item.right) / 2, (item.top + item.bottom) / 2}, WM_LBUTTONUP);
      return true;
    };
  }
  static Step Snapshot(TestCheckerWindow& window, const std::string& name) {
    return [&window, name] {
      window.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
      TempFolder temp;
      const std::string drawn = temp.path() + "/" + name;
      EXPECT_TRUE(user::SaveWindowPng(window.GetSafeHwnd(), drawn));
      ExpectSameAsReference(drawn, std::string(ZX_CHECKER_SNAPSHOTS) + "/" + name, name.substr(0, name.find('.')));
      return true;
    };
  }
  static user::TrayIcon Tray(TestCheckerWindow& window) {
    user::TrayIcon icon;
    user::FindTrayIcon(window.GetTrayIcon().GetSafeHwnd(), CXTTrayIconZW::kMenuId, &icon);  // the menu's id names the icon
    return icon;
  }
  ManualClock clock_;
  tagCheckUpdateSwitches switches_;
  HINSTANCE previous_ = nullptr;
};

TEST_F(CheckerWindow, ANewerVersionIsDownloadedConfirmedAndStartedOnceTheUserAgrees) {
  Publish(Offer());
  StartService();
  TestCheckerWindow window(switches_);
  window.holdList = true;
  window.holdDownload = true;
  user::TrayIcon icon;
  CString listedStatus;
  const auto list = [&] { return ::GetDlgItem(window.GetSafeHwnd(), 5004); };
  const INT_PTR result = Run(window, {Advance(100), Snapshot(window, "checker_looking.png"), AnswerBox(window),
                                      StageIs(kStageListed), Snapshot(window, "checker_listed.png"),
                                      TextsAre(window, {u"CriticalUpdateAvailableTxt",
                                                        u"IDS_STARTING_DOWNLOAD_UPDATES_TO_APPDATA_ASK",
                                                        u"Step3UpdateSummary", u"IDS_APP_UPDATES_TXT", u"AppVer",
                                                        u"HeadingOne"}),
                                      [&] {
                                        // Under the description: the version in use; the row keeps the update's.
                                        const auto* rows = dynamic_cast<const checkupdate::CFancyListCtrl*>(
                                            CWnd::FromHandlePermanent(list()));
                                        EXPECT_EQ(rows->GetItemText(0, rows->GetDetailColumn()).Right(20), CString(u"  LastAppUpdateTaken"));
                                        using Row = checkupdate::CFancyListCtrl;
                                        EXPECT_EQ(rows->GetItemFurtherText(0, Row::kVersionText), CString(u"5.1.0.11"));
                                        EXPECT_EQ(rows->GetItemFurtherText(0, Row::kSizeText),
                                                  CString(std::to_string(setupBytes_.size()).c_str()));
                                        EXPECT_EQ(rows->GetItemValue(0, Row::kKindValue), 1u);
                                        return true;
                                      },
                                      // The row's box unticked and ticked again with the mouse (far
                                      // enough apart in time not to make a double click).
                                      [&] {
                                        ClickCheckBox(list(), 0);
                                        return true;
                                      },
                                      [&] { return !Ticked(list(), 0); }, Advance(1000),
                                      Snapshot(window, "checker_unticked.png"),
                                      [&] {
                                        ClickCheckBox(list(), 0);
                                        return true;
                                      },
                                      [&] { return Ticked(list(), 0); },
                                      // The download library's status, shown as it is.
                                      [&] {
                                        window.GetEngine().OnDownloadProgress(u"Receiving the list", 40, 0, 0);
                                        return true;
                                      },
                                      [&] {
                                        window.GetDlgItemText(5002, listedStatus);
                                        return listedStatus == u"Receiving the list";
                                      },
                                      [&] {
                                        window.holdList = false;
                                        return true;
                                      },
                                      StageIs(kStageDownloading), Snapshot(window, "checker_downloading.png"),
                                      TextsAre(window, {u"DownloadingUpdatesTxt", u"IDS_DOWNLOADING_UPDATES_TO_APPDATA1",
                                                        u"IDS_STARTING_DOWNLOAD_UPDATES_TO_APPDATA",
                                                        u"IDS_APP_UPDATES_TXT", u"In Queue", u"HeadingOne"}),
                                      [&] {
                                        window.holdDownload = false;
                                        return true;
                                      },
                                      StageIs(kStageReady),
                                      Snapshot(window, "checker_ready.png"),
                                      TextsAre(window, {u"Step5HeaderTxt", u"Step4Successded",
                                                        u"Step4SuccessdedCount   Step4FailedCount", u"Step4AppUpdate",
                                                        u"IDS_DownloadedTxt", u"Step4LstBoxSuccessDownloadHeaderTxt"}),
                                      [&] {
                                        icon = Tray(window);
                                        return true;
                                      },
                                      AdvanceUntilStage(kStageInstalling),
                                      Snapshot(window, "checker_installing.png")});
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(listedStatus, CString(u"Receiving the list"));
  EXPECT_EQ(icon.tip, u"Checking for Updates");
  EXPECT_EQ(icon.balloonText, u"IDS_UPDATES_INSTALLING");
  const std::string setup = HostPath(window.GetEngine().GetUpdateFolder()) + "/" + kSetupName;
  EXPECT_EQ(SetupRecord(setup, true), SetupSha1() + " /verysilent");
  EXPECT_FALSE(fs::exists(setup + ".unconfirmed"));
  EXPECT_EQ(window.forcedEnds, 0);
  EXPECT_EQ(Tray(window).id, 0u) << "the icon leaves with the window";
}

TEST_F(CheckerWindow, TheTrayIconItsMenuAndTheHideButtonHideAndBringBackTheWindow) {
  Publish(Offer());
  StartService();
  TestCheckerWindow window(switches_);
  window.holdList = true;
  const auto onIcon = [&](UINT mouse) -> Step {
    return [&window, mouse] {
      EXPECT_TRUE(user::InjectTrayMouse(window.GetTrayIcon().GetSafeHwnd(), CXTTrayIconZW::kMenuId, mouse));
      return true;
    };
  };
  const Step hidden = [&] { return window.IsHiddenToTray() && !window.IsWindowVisible(); };
  const Step shown = [&] { return !window.IsHiddenToTray() && window.IsWindowVisible(); };
  user::TrayIcon icon;
  const INT_PTR result = Run(window, {Advance(100), AnswerBox(window), StageIs(kStageListed),
                                      onIcon(WM_LBUTTONUP), hidden,
                                      [&] {
                                        icon = Tray(window);
                                        // Closing the window while it is in the notification area
                                        // leaves it there.
                                        window.SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
                                        EXPECT_TRUE(::IsWindow(window.GetSafeHwnd()));
                                        return true;
                                      },
                                      hidden,
                                      onIcon(WM_LBUTTONUP), shown,
                                      onIcon(WM_RBUTTONUP), ChooseMenuItem(0), hidden,   // "Minimize"
                                      onIcon(WM_RBUTTONUP), ChooseMenuItem(2), shown,    // "Restore"
                                      // The title bar's hide button, then the icon again. It
                                      // shows the checker's own picture, not the resource
                                      // library's minimise strip of the same id.
                                      [&] {
                                        const HWND hide = ::GetDlgItem(window.GetSafeHwnd(), 4);
                                        BITMAP picture{};
                                        const auto shown = reinterpret_cast<HBITMAP>(
                                            ::SendMessageW(hide, BM_GETIMAGE, IMAGE_BITMAP, 0));
                                        EXPECT_TRUE(shown && ::GetObjectW(shown, sizeof(picture), &picture));
                                        EXPECT_EQ(picture.bmWidth, 25);
                                        EXPECT_EQ(picture.bmHeight, 18);
                                        Click(hide);
                                        return true;
                                      },
                                      hidden, onIcon(WM_LBUTTONUP), shown,
                                      [&] {
                                        window.holdList = false;
                                        return true;
                                      },
                                      AdvanceUntilStage(kStageInstalling)});
  EXPECT_EQ(result, IDOK);
  // Hidden while the updates were listed: after the update-found balloon, one that says what
  // goes on meanwhile.
  EXPECT_EQ(icon.balloonText, u"IDS_DOWNLOADING_UPDATES_TO_APPDATA");
  EXPECT_EQ(icon.balloons, 2);
  EXPECT_EQ(Tray(window).id, 0u) << "the icon leaves with the window";
}

TEST_F(CheckerWindow, CancelOnTheReadyPageOffersToInstallFirst) {
  Publish(Offer());
  StartService();
  const struct {
    int button;     // of the question: Install, Cancel
    int starts;     // of the setup
  } kCases[] = {{0, 1}, {1, 0}};
  for (const auto& c : kCases) {
    CDlgCheckForUpdate::ResetProcessState();
    TestCheckerWindow window(switches_);
    const INT_PTR result = Run(window, {Advance(100), AnswerBox(window), StageIs(kStageReady),
                                        [&] {
                                          Click(::GetDlgItem(window.GetSafeHwnd(), IDCANCEL));
                                          return true;
                                        },
                                        AnswerBox(window, c.button)});
    const std::string setup = HostPath(window.GetEngine().GetUpdateFolder()) + "/" + kSetupName;
    EXPECT_EQ(result, c.starts ? IDOK : IDCANCEL) << c.button;
    // The install timer of the ready page, run out after the window closed, started nothing more.
    EXPECT_EQ(SetupRecord(setup, c.starts > 0), c.starts ? SetupSha1() + " /verysilent" : "");
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(SetupStarts(setup), c.starts) << c.button;
    fs::remove(setup + ".runs");
  }
}

TEST_F(CheckerWindow, AWrongDigestDeletesTheDownloadAndShowsTheFailurePage) {
  Offer offer;
  offer.hash = std::string(40, '0');
  Publish(offer);
  StartService();
  TestCheckerWindow window(switches_);
  user::TrayIcon icon;
  const INT_PTR result = Run(window, {Advance(100), AnswerBox(window), StageIs(kStageFailed),
                                      Snapshot(window, "checker_failed.png"),
                                      TextsAre(window, {u"Step3UpdateCheckFailureTxt", u"Step4Failed",
                                                        u"Step4SuccessdedCount   Step4FailedCount", u"Step4AppUpdate",
                                                        u"Step4Failed", u"Step4LstBoxFailedDownloadHeaderTxt"}),
                                      [&] {
                                        icon = Tray(window);
                                        return true;
                                      },
                                      [&] {
                                        Click(::GetDlgItem(window.GetSafeHwnd(), IDOK));
                                        return true;
                                      }});
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(icon.balloonText, u"IDS_DOWNLOADING_FAILED");
  const std::string setup = HostPath(window.GetEngine().GetUpdateFolder()) + "/" + kSetupName;
  EXPECT_FALSE(fs::exists(setup));
  EXPECT_FALSE(fs::exists(setup + ".unconfirmed"));
  EXPECT_EQ(SetupRecord(setup, false), "");
}

TEST_F(CheckerWindow, WithoutAConnectionTheNoUpdatePageStaysUntilFinishOrCloseIsClicked) {
  SetMachineValue("Network", "Connection", "none");
  const struct {
    int button;  // Finish, the title bar's close button
    INT_PTR result;
  } kCases[] = {{IDOK, IDOK}, {static_cast<int>(kPopupCloseCommand), IDCANCEL}};
  for (const auto& c : kCases) {
    CDlgCheckForUpdate::ResetProcessState();
    TestCheckerWindow window(switches_);
    const INT_PTR result = Run(window, {Advance(100), AnswerBox(window),
                                        StageIs(kStageNoUpdate),
                                        Snapshot(window, "checker_no_update.png"),
                                        Tap(VK_RETURN), StillOpen(window), Tap(VK_ESCAPE), StillOpen(window),
                                        AltF4(), StillOpen(window),
                                        [&] {
                                          EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(window.GetSafeHwnd(), IDCANCEL)));
                                          EXPECT_EQ(StoredCheckerHandle(), window.GetSafeHwnd());
                                          Click(::GetDlgItem(window.GetSafeHwnd(), c.button));
                                          return true;
                                        }});
    EXPECT_EQ(result, c.result) << c.button;
    // The handle is kept exactly while the window is open.
    EXPECT_EQ(StoredCheckerHandle(), nullptr) << c.button;
  }
}

// Opening, the notification area is refreshed with a pause before and after its sweep, and
// the window waits 100 ms, serving what came in, before it may show; closing refreshes again.
TEST_F(CheckerWindow, ItPausesAroundTheTraySweepAndBeforeItShows) {
  SetMachineValue("Network", "Connection", "none");
  TestCheckerWindow window(switches_);
  std::vector<DWORD> opening;
  bool visibleAfterPause = false;
  const INT_PTR result = Run(window, {[&] {
                                        opening = window.Pauses();
                                        visibleAfterPause = CDlgCheckForUpdate::IsVisibleFlagOn() != FALSE;
                                        return true;
                                      },
                                      Advance(100), AnswerBox(window), StageIs(kStageNoUpdate),
                                      [&] {
                                        Click(::GetDlgItem(window.GetSafeHwnd(), IDOK));
                                        return true;
                                      }});
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(opening, (std::vector<DWORD>{10, 10, 100}));
  EXPECT_TRUE(visibleAfterPause);
}

TEST_F(CheckerWindow, AMinimisedStartGoesToTheTrayWithoutABalloonAndCloseFromTheParentEndsIt) {
  SetMachineValue("Network", "Connection", "none");
  switches_.bStartMinimized = TRUE;
  TestCheckerWindow window(switches_);
  const INT_PTR result = Run(window, {Advance(10),
                                      [&] {
                                        EXPECT_TRUE(window.IsHiddenToTray());
                                        EXPECT_FALSE(window.IsWindowVisible());
                                        EXPECT_EQ(Tray(window).balloons, 0);
                                        COPYDATASTRUCT data{};
                                        data.dwData = kCopyClose;
                                        EXPECT_EQ(window.SendMessage(WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)), 16);
                                        return true;
                                      }});
  EXPECT_EQ(result, IDOK);
  EXPECT_FALSE(CDlgCheckForUpdate::IsVisibleFlagOn());
}

TEST_F(CheckerWindow, OnlyAnUpdateFoundShowsAWindowStartedToShowOnlyThen) {
  switches_.bShowIfAvailable = TRUE;
  Publish(Offer());
  StartService();
  TestCheckerWindow window(switches_);
  const INT_PTR result = Run(window, {[&] {
                                        window.ShowWindow(SW_SHOW);
                                        EXPECT_FALSE(window.IsWindowVisible()) << "shown before an update was found";
                                        return true;
                                      },
                                      Advance(100),
                                      // The question about the new version comes over the window, now shown.
                                      [&] {
                                        const HWND box = ::GetActiveWindow();
                                        if (box == nullptr || box == window.GetSafeHwnd()) return false;
                                        EXPECT_TRUE(window.IsWindowVisible());
                                        return true;
                                      },
                                      AnswerBox(window, 1)});  // No: the checker closes
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(SetupRecord(HostPath(window.GetEngine().GetUpdateFolder()) + "/" + kSetupName, false), "");
}

TEST_F(CheckerWindow, TheCompleteDatabaseIsFetchedConfirmedAndPutInUseAndItsRowShowsIt) {
  const std::string archive = "PK the complete database " + std::string(5000, 'c');
  PublishCompleteDatabase(archive);
  StartService();
  switches_.bDownloadCompleteDbOnly = TRUE;
  TestCheckerWindow window(switches_);
  CString size;
  const INT_PTR result = Run(window, {Advance(100), StageIs(kStageReady),
                                      [&] {
                                        // The last progress report lands after the page changed.
                                        const auto* list = dynamic_cast<const CFancyListCtrl*>(
                                            CWnd::FromHandlePermanent(::GetDlgItem(window.GetSafeHwnd(), 5004)));
                                        size = list != nullptr ? list->GetItemText(0, 1) : CString();
                                        return size == _T("4 KB");
                                      },
                                      Snapshot(window, "checker_database_done.png")});
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(size, CString(_T("4 KB"))) << "the size received, under the row's title";
  EXPECT_TRUE(window.GetEngine().IsDatabaseDone());
  EXPECT_EQ(ReadHostFile(DatabaseArchive()), archive);
  EXPECT_TRUE(NothingStaged());
}

}  // namespace
}  // namespace zx::test
