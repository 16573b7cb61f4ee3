// The runs of the download-and-install popup on stand-in driver steps, driven on the test clock
// with the popup's own message boxes answered by clicks: the selected-drivers run fetches the
// ticked rows not yet downloaded, asks to install and backs up and installs them; a run says
// "installed" and asks to restart only when every driver went in; with nothing to fetch it
// says so; a stop during a fetch or an install ends the run before the next
// driver; a yes to the restart question restarts Windows; a launcher that follows the progress
// gets the status lines instead of the list and no message box is shown.
#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <thread>

#include "DlgBaseMessageBoxWndBase.h"
#include "DlgCreateRestorePoint.h"
#include "DlgNagDownloadAndInstall.h"
#include "DlgParentTransculent.h"
#include "cstring_printer.h"
#include "nag_texts.h"
#include "popups_testing.h"
#include "RestorePoint.h"
#include "zx/modal.h"
#include "zx/msgbox.h"

namespace zx::test {
namespace {

using Dialog = CDlgNagDownloadAndInstall;
constexpr int kFirst = 0, kSecond = 1;

class NagRuns : public PopupTest {
 protected:
  void SetUp() override {
    PopupTest::SetUp();
    std::ofstream(std::filesystem::read_symlink("/proc/self/exe").parent_path() / "qvx.ini", std::ios::binary)
        << kNagTexts;
  }
  static NagResultRow Row(int driver, bool checked, int state) {
    NagResultRow row;
    row.nDriverIndex = driver;
    row.bChecked = checked ? TRUE : FALSE;
    row.nState = state;
    row.strName.Format(u"Driver %d", driver);
    return row;
  }
  static std::vector<int> States(const Dialog& dialog) {
    std::vector<int> states;
    for (const NagResultRow& row : dialog.GetResultRows()) states.push_back(row.nState);
    return states;
  }
  static std::vector<CString> Lines(const Dialog& dialog) {
    std::vector<CString> lines;
    for (int i = 0; i < dialog.GetStatusLineCount(); ++i)
      if (!dialog.GetStatusLine(i).IsEmpty()) lines.push_back(dialog.GetStatusLine(i));
    return lines;
  }
  // Road steps that fetch and install at once: fetches of `failing` drivers fail.
  static tagNagDriverRoad Road(std::vector<std::pair<int, int>>& fetched, std::vector<int>& installed,
                               int failing = -1) {
    tagNagDriverRoad road;
    road.fetch = [&fetched, failing](int driver, int row, const tagNagDriverRoad::StatusSink& status,
                                     const tagNagDriverRoad::MessageSink&) {
      fetched.emplace_back(driver, row);
      status(CString(u"Fetched ") + CString(std::to_string(driver).c_str()));
      return driver != failing;
    };
    road.install = [&installed, failing](int driver) { return installed.push_back(driver), driver == failing ? 33 : 32; };
    return road;
  }
  // Gives the popup its rows and the road that records what it fetched and installed in
  // fetched_ and installed_ (emptied first).
  void Prepare(Dialog& dialog, std::vector<NagResultRow> rows) {
    fetched_.clear();
    installed_.clear();
    dialog.SetResultRows(std::move(rows));
    dialog.SetDriverRoad(Road(fetched_, installed_));
  }
  // Runs the popup with its start mode on the test clock: message boxes are answered with the
  // button `answer` picks for their text; `during` runs at every wait. The popup is closed
  // when a run has ended with its close button shown, unless it closed itself.
  void Drive(Dialog& dialog, int mode, const std::function<int(const CString&)>& answer,
             const std::function<void()>& during = [] {}, bool clockAfterStart = true) {
    dialog.SetStartMode(mode);
    int steps = 0;
    // The restore point settles on the clock inside the wait dialog's timer: a second thread
    // keeps the clock going while that dialog is in front.
    std::atomic<bool> waiting{false}, over{false};
    std::thread ticker([&] {
      while (!over) {
        if (waiting) clock_.Advance(1);
        std::this_thread::sleep_for(std::chrono::microseconds(200));
      }
    });
    WhileModal({[&] {
      waiting = dynamic_cast<CDlgCreateRestorePoint*>(CWnd::FromHandlePermanent(ActiveWindow())) != nullptr;
      if (dialog.GetSafeHwnd() == nullptr) return true;
      if (++steps > 100000) {
        ADD_FAILURE() << "the popup never ended its run";
        dialog.SendMessage(WM_COMMAND, IDOK);
        return true;
      }
      everVisible_ = everVisible_ || dialog.IsWindowVisible();
      lines_ = Lines(dialog);
      if (const HWND box = RunningMessageBox()) {
        boxes_.push_back(MessageBoxText(box));
        // A box of one button takes it whatever the answer.
        HWND button = ::GetDlgItem(box, kMessageBoxFirstButton + answer(boxes_.back()));
        Click(button != nullptr ? button : ::GetDlgItem(box, kMessageBoxFirstButton));
        dialog.PostMessage(WM_NULL);
        return false;
      }
      during();
      if (dialog.GetMode() != Dialog::kModeNone && !dialog.IsRunning() &&
          ::IsWindowVisible(::GetDlgItem(dialog.GetSafeHwnd(), IDOK))) {
        dialog.SendMessage(WM_COMMAND, IDOK);
        return true;
      }
      if (clockAfterStart || dialog.GetMode() == Dialog::kModeNone) clock_.Advance(64);
      dialog.PostMessage(WM_NULL);
      return false;
    }});
    RunModalWithBackdrop(&owner_, &dialog, Dialog::kTemplateId, dialog.IsHidden());
    user::SetIdleHook(nullptr);
    over = true;
    ticker.join();
  }
  // The texts of the message boxes without their markup.
  std::vector<CString> BoxTexts() const {
    std::vector<CString> texts;
    for (CString text : boxes_) {
      for (int open = text.Find(u'<'); open >= 0; open = text.Find(u'<')) {
        const int close = text.Find(u'>', open);
        if (close < 0) break;
        text.Delete(open, close - open + 1);
      }
      texts.push_back(text);
    }
    return texts;
  }
  bool Restarted() const { return std::filesystem::exists(root() + "/shutdowns.log"); }

  std::vector<CString> lines_;
  std::vector<CString> boxes_;
  std::vector<std::pair<int, int>> fetched_;
  std::vector<int> installed_;
  bool everVisible_ = false;
};

// Waits (up to 10 s) until the window's thread has shown what a run's thread told it.
void WaitUntil(const std::function<bool()>& done) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!done() && std::chrono::steady_clock::now() < deadline) std::this_thread::yield();
}

TEST_F(NagRuns, TheChosenRowsAreFetchedThenBackedUpAndInstalledWhenTheUserAgrees) {
  Dialog dialog(&owner_);
  dialog.SetResultRows({Row(7, true, 0), Row(8, false, 0), Row(9, true, 1), Row(10, true, 0), Row(11, true, 0)});
  std::vector<std::pair<int, int>> fetched;
  std::vector<int> installed, backedUp, rowStates;
  tagNagDriverRoad road = Road(fetched, installed, 10);
  // The backup tells two drivers; each is seen on the popup before the next is told.
  const CString names[] = {u"Driver 7", u"Driver 9"};
  std::atomic<int> seen{-1};
  std::vector<std::pair<CString, int>> shown;
  road.backup = [&](const std::vector<int>& rows, const tagNagDriverRoad::BackupProgress& progress) {
    backedUp = rows;
    for (int k = 0; k < 2; ++k) {
      progress(names[k], k * 50);
      WaitUntil([&] { return seen.load() >= k; });
    }
    return static_cast<int>(rows.size());
  };
  road.rowState = [&rowStates](int row, int state) { rowStates.push_back(row * 10 + state); };
  dialog.SetDriverRoad(road);
  bool waitShown = false;
  CString descriptionBehindWait;
  Drive(
      dialog, Dialog::kModeDownloadSelected,
      [](const CString& text) {
        return text.Find(u"Restart") >= 0 ? kSecond : kFirst;  // install, but restart later
      },
      [&] {
        if (dynamic_cast<CDlgCreateRestorePoint*>(CWnd::FromHandlePermanent(ActiveWindow())) && !waitShown) {
          waitShown = true;
          descriptionBehindWait = dialog.GetDescriptionText();
        }
        const int next = seen.load() + 1;
        if (next < 2 && dialog.GetCurrentLabel() == names[next] && dialog.GetProgressPos() == next * 50) {
          shown.emplace_back(dialog.GetCurrentLabel(), dialog.GetProgressPos());
          seen = next;
        }
      });
  EXPECT_TRUE(waitShown) << "the restore point is made behind its wait dialog";
  EXPECT_EQ(descriptionBehindWait, CString(u"Creating a restore point"));
  SYSTEMTIME made{};
  EXPECT_TRUE(LoadRestorePointTime(made));
  EXPECT_EQ(shown, (std::vector<std::pair<CString, int>>{{u"Driver 7", 0}, {u"Driver 9", 50}}));
  EXPECT_EQ(fetched, (std::vector<std::pair<int, int>>{{7, 0}, {10, 3}, {11, 4}}));
  EXPECT_EQ(backedUp, (std::vector<int>{0, 2, 4}));
  EXPECT_EQ(installed, (std::vector<int>{7, 9, 11}));
  EXPECT_EQ(States(dialog), (std::vector<int>{2, 0, 2, 0, 2}));
  EXPECT_EQ(rowStates, (std::vector<int>{1, 41, 2, 22, 42}));
  EXPECT_EQ(dialog.GetInstalledCount(), 3);
  EXPECT_EQ(BoxTexts(), (std::vector<CString>{u"Install the downloaded drivers with Zephrin Tunevo?",
                                              u"Installation complete", u"Restart the computer now?"}));
  EXPECT_EQ(lines_, (std::vector<CString>{u"Starting the download...", u"Fetched 7", u"Fetched 10", u"Fetched 11",
                                          u"Download complete", u"Waiting to install...",
                                          u"Backing up the current drivers with Zephrin Tunevo", u"Backup started",
                                          u"Backup complete", u"The drivers are backed up", u"Installing Driver 7",
                                          u"Installed Driver 7", u"Installing Driver 9", u"Installed Driver 9",
                                          u"Installing Driver 11", u"Installed Driver 11", u"Installation complete"}));
  EXPECT_FALSE(Restarted());
}

TEST_F(NagRuns, AnInstallRunSaysInstalledAndAsksToRestartOnlyWhenEveryDriverWentIn) {
  struct Case {
    std::vector<NagResultRow> rows;
    int failing;
    std::vector<CString> boxes;
    std::vector<int> states;
    CString lastLine;
  } const cases[] = {
      {{Row(1, true, 1), Row(2, true, 1), Row(3, true, 1)}, -1,
       {u"Install the downloaded drivers with Zephrin Tunevo?", u"Installation complete", u"Restart the computer now?"},
       {2, 2, 2}, u"Installation complete"},
      {{Row(1, true, 1), Row(2, true, 1), Row(3, true, 1)}, 2,
       {u"Install the downloaded drivers with Zephrin Tunevo?", u"The driver was not installed"}, {2, 1, 2},
       u"The driver was not installed"},
      {{Row(2, true, 1)}, 2, {u"Install the downloaded drivers with Zephrin Tunevo?", u"No driver was installed"}, {1},
       u"No driver was installed"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.failing * 10 + static_cast<int>(c.rows.size()));
    Dialog dialog(&owner_);
    dialog.SetResultRows(c.rows);
    std::vector<std::pair<int, int>> fetched;
    std::vector<int> installed;
    dialog.SetDriverRoad(Road(fetched, installed, c.failing));
    boxes_.clear();
    Drive(dialog, Dialog::kModeDownloadSelected, [](const CString& text) {
      return text.Find(u"Restart") >= 0 ? kSecond : kFirst;  // install, but restart later
    });
    EXPECT_EQ(BoxTexts(), c.boxes);
    EXPECT_EQ(States(dialog), c.states);
    EXPECT_EQ(dialog.GetInstalledCount(), static_cast<int>(std::count(c.states.begin(), c.states.end(), 2)));
    ASSERT_FALSE(lines_.empty());
    EXPECT_EQ(lines_.back(), c.lastLine);
    EXPECT_EQ(std::count(lines_.begin(), lines_.end(), CString(u"Not installed: Driver 2")), c.failing == 2 ? 1 : 0);
    EXPECT_FALSE(Restarted());
  }
}

TEST_F(NagRuns, TheOneDriverRunFetchesItsRowAndTellsWhyItFailed) {
  struct Case {
    int driver, row;
    bool fetched;
    bool connection;
    int lastError;
    std::vector<CString> boxes;
  } const cases[] = {
      {3, 1, true, true, 0, {u"Install the downloaded drivers with Zephrin Tunevo?"}},
      {3, 1, false, true, 0, {u"The download failed: check the connection"}},
      {3, 1, false, false, 0, {u"The download was stopped"}},
      {3, 1, false, true, -10, {}},  // the fetch told the user the file could not be saved
      {3, 1, false, true, -2, {}},   // no answer from the service: the status line says so
      {-1, -1, false, true, 0, {}},  // no driver: "Nothing to download"
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.driver * 100 + c.lastError);
    Dialog dialog(&owner_);
    dialog.SetResultRows({Row(2, true, 0), Row(3, true, 0)});
    dialog.SetSingleDriver(c.driver, c.row);
    std::vector<std::pair<int, int>> fetched;
    tagNagDriverRoad road;
    road.fetch = [&](int driver, int row, const tagNagDriverRoad::StatusSink&, const tagNagDriverRoad::MessageSink&) {
      fetched.emplace_back(driver, row);
      return c.fetched;
    };
    road.connection = [&c] { return c.connection; };
    road.lastError = [&c] { return c.lastError; };
    dialog.SetDriverRoad(road);
    boxes_.clear();
    Drive(dialog, Dialog::kModeDownloadOne, [](const CString&) { return kSecond; });
    EXPECT_EQ(BoxTexts(), c.boxes);
    if (c.driver < 0) {
      EXPECT_TRUE(fetched.empty());
      EXPECT_EQ(lines_.back(), CString(u"Nothing to download"));
    } else {
      EXPECT_EQ(fetched, (std::vector<std::pair<int, int>>{{3, 1}}));
      EXPECT_EQ(States(dialog), (std::vector<int>{0, c.fetched ? 1 : 0}));
    }
  }
}

TEST_F(NagRuns, TheMainWindowsQuestionsAreAskedOverThePopup) {
  // After one driver's download a refused elevation is told in a plain system box.
  struct Case {
    int mode;
    int rights;
    std::vector<int> installed;
    std::vector<CString> boxes;
    int restarts;
    std::vector<CString> systemBoxes;
  } const cases[] = {
      {Dialog::kModeDownloadSelected, 1, {1}, {u"Install the downloaded drivers with Zephrin Tunevo?", u"Installation complete"}, 1, {}},
      {Dialog::kModeDownloadSelected, -1, {}, {u"Install the downloaded drivers with Zephrin Tunevo?", u"Installation stopped"}, 0, {}},
      {Dialog::kModeDownloadSelected, 0, {}, {u"Install the downloaded drivers with Zephrin Tunevo?", u"Installation stopped"}, 0, {}},
      {Dialog::kModeDownloadOne, -1, {}, {u"Install the downloaded drivers with Zephrin Tunevo?"}, 0,
       {u"Zephrin Tunevo: Installation stopped"}},
      {Dialog::kModeDownloadOne, 0, {}, {u"Install the downloaded drivers with Zephrin Tunevo?"}, 0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode * 10 + c.rights);
    Dialog dialog(&owner_);
    // The system boxes over the popup.
    std::vector<CString> systemBoxes;
    const user::MessageBoxResponder previous = user::SetMessageBoxResponder([&](const user::MessageBoxCall& call) {
      if (call.owner == dialog.GetSafeHwnd())
        systemBoxes.push_back(CString(call.caption.c_str()) + u": " + CString(call.text.c_str()));
      return IDOK;
    });
    dialog.SetResultRows({Row(1, true, 0)});
    dialog.SetSingleDriver(1, 0);
    std::vector<std::pair<int, int>> fetched;
    std::vector<int> installed;
    dialog.SetDriverRoad(Road(fetched, installed));
    int restarts = 0;
    // Whether each question came over the popup.
    std::vector<bool> overPopup;
    dialog.SetPrompts({[&](CWnd* over) { return overPopup.push_back(over == &dialog), c.rights; },
                       [&](CWnd* over) { overPopup.push_back(over == &dialog), ++restarts; }});
    boxes_.clear();
    Drive(dialog, c.mode, [](const CString&) { return kFirst; });
    user::SetMessageBoxResponder(previous);
    EXPECT_EQ(installed, c.installed);
    EXPECT_EQ(BoxTexts(), c.boxes);
    EXPECT_EQ(systemBoxes, c.systemBoxes);
    EXPECT_EQ(restarts, c.restarts);
    EXPECT_EQ(overPopup, std::vector<bool>(1 + c.restarts, true));
    EXPECT_FALSE(Restarted()) << "the prompt restarts Windows itself";
  }
}

TEST_F(NagRuns, ARunWithNothingToFetchSaysSoAndAsksNothing) {
  struct Case {
    std::vector<NagResultRow> rows;
    std::vector<CString> lines;
  } const cases[] = {
      {{}, {u"Starting the download...", u"No driver chosen"}},
      {{Row(1, false, 0)}, {u"Starting the download...", u"No driver chosen"}},
      {{Row(1, true, 2), Row(2, false, 1)}, {u"Starting the download...", u"No driver chosen"}},
  };
  for (const Case& c : cases) {
    Dialog dialog(&owner_);
    Prepare(dialog, c.rows);
    boxes_.clear();
    Drive(dialog, Dialog::kModeDownloadSelected, [](const CString&) { return kFirst; });
    EXPECT_TRUE(fetched_.empty());
    EXPECT_TRUE(boxes_.empty());
    EXPECT_EQ(lines_, c.lines);
  }
}

TEST_F(NagRuns, AnInstallThatIsDeclinedClosesThePopup) {
  Dialog dialog(&owner_);
  Prepare(dialog, {Row(1, true, 1), Row(2, false, 0)});
  Drive(dialog, Dialog::kModeDownloadSelected, [](const CString&) { return kSecond; });
  EXPECT_TRUE(fetched_.empty()) << "the row is downloaded already";
  EXPECT_TRUE(installed_.empty());
  EXPECT_EQ(BoxTexts(), std::vector<CString>{u"Install the downloaded drivers with Zephrin Tunevo?"});
  EXPECT_EQ(lines_.back(), u"Waiting to install...");
  EXPECT_EQ(dialog.GetResult(), IDOK);
}

TEST_F(NagRuns, AStopDuringAFetchEndsTheRunAndLeavesTheRows) {
  Dialog dialog(&owner_);
  dialog.SetResultRows({Row(1, true, 0), Row(2, true, 0)});
  std::atomic<bool> started{false}, stopped{false};
  int calls = 0;
  tagNagDriverRoad road;
  road.fetch = [&](int, int, const tagNagDriverRoad::StatusSink&, const tagNagDriverRoad::MessageSink&) {
    ++calls;
    started = true;
    while (!stopped.load()) std::this_thread::yield();
    return false;
  };
  road.stop = [&] { stopped = true; };
  dialog.SetDriverRoad(road);
  bool clicked = false;
  Drive(dialog, Dialog::kModeDownloadSelected, [](const CString&) { return kFirst; }, [&] {
    if (!started.load() || clicked) return;
    Click(::GetDlgItem(dialog.GetSafeHwnd(), IDCANCEL));
    clicked = true;
  });
  EXPECT_EQ(calls, 1) << "no fetch after the stop";
  EXPECT_EQ(States(dialog), (std::vector<int>{0, 0}));
  EXPECT_EQ(lines_, (std::vector<CString>{u"Starting the download...", u"Please wait while the run stops..."}));
  EXPECT_TRUE(boxes_.empty());
}

TEST_F(NagRuns, TheInstallRunReportsEachDriverAndAYesRestartsWindows) {
  Dialog dialog(&owner_);
  Prepare(dialog, {Row(1, true, 1), Row(2, true, 0), Row(3, false, 1), Row(4, true, 1), Row(5, true, 2)});
  Drive(dialog, Dialog::kModeInstall, [](const CString&) { return kFirst; });
  EXPECT_EQ(installed_, (std::vector<int>{1, 4}));
  EXPECT_EQ(States(dialog), (std::vector<int>{2, 0, 1, 2, 2}));
  EXPECT_EQ(lines_, (std::vector<CString>{u"Starting the installation...", u"Installing Driver 1", u"Installed Driver 1",
                                          u"Installing Driver 4", u"Installed Driver 4", u"Installation complete"}));
  EXPECT_EQ(BoxTexts(), (std::vector<CString>{u"Installation complete", u"Restart the computer now?"}));
  EXPECT_TRUE(Restarted());
}

TEST_F(NagRuns, LooksAsDrawnWhenTheInstallRunAsksToRestart) {
  Dialog dialog(&owner_);
  Prepare(dialog, {Row(1, true, 1), Row(2, true, 1)});
  // Time stands still once the run started, so every line carries the same time.
  std::vector<DWORD> pauses;
  dialog.SetPause([&pauses](DWORD ms) { pauses.push_back(ms); });
  bool drawn = false;
  Drive(
      dialog, Dialog::kModeInstall,
      [&](const CString& text) {
        if (text.Find(u"Restart") < 0) return kFirst;
        dialog.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        ExpectWindowMatches(dialog.GetSafeHwnd(), "nagdownload_installed.png");
        drawn = true;
        return kSecond;
      },
      [] {}, false);
  EXPECT_TRUE(drawn);
  EXPECT_EQ(pauses, (std::vector<DWORD>{500, 500})) << "a pause after each driver installed";
}

TEST_F(NagRuns, TheInstallOfOneDriverAsksToRestartOnlyForAListedPackage) {
  struct Case {
    bool installs;
    bool listed;
    std::vector<CString> boxes;
  } const cases[] = {
      {true, true, {u"Installation complete", u"Restart the computer now?"}},
      {true, false, {u"Installation complete"}},
      {false, true, {u"The driver was not installed"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.installs * 10 + c.listed);
    Dialog dialog(&owner_);
    dialog.SetResultRows({Row(1, true, 1), Row(2, false, 1)});
    dialog.SetSingleDriver(2, 1);
    dialog.SetInstallAll(FALSE);
    std::vector<std::pair<int, int>> fetched;
    std::vector<int> installed;
    tagNagDriverRoad road = Road(fetched, installed, c.installs ? -1 : 2);
    road.hasPackage = [&c](int driver) { return driver == 2 && c.listed; };
    dialog.SetDriverRoad(road);
    boxes_.clear();
    Drive(dialog, Dialog::kModeInstall, [](const CString&) { return kSecond; });
    EXPECT_EQ(installed, std::vector<int>{2}) << "the one driver, ticked or not";
    EXPECT_EQ(States(dialog), (std::vector<int>{1, c.installs ? 2 : 1}));
    EXPECT_EQ(BoxTexts(), c.boxes);
  }
}

TEST_F(NagRuns, AStopDuringTheInstallEndsBeforeTheNextDriverWithoutTheRestartQuestion) {
  Dialog dialog(&owner_);
  dialog.SetResultRows({Row(1, true, 1), Row(2, true, 1)});
  std::atomic<bool> started{false}, release{false};
  std::vector<int> installs;
  tagNagDriverRoad road;
  road.install = [&](int driver) {
    installs.push_back(driver);
    started = true;
    while (!release.load()) std::this_thread::yield();
    return 32;
  };
  dialog.SetDriverRoad(road);
  Drive(dialog, Dialog::kModeInstall, [](const CString&) { return kFirst; }, [&] {
    if (!started.load() || release.load()) return;
    Click(::GetDlgItem(dialog.GetSafeHwnd(), IDCANCEL));
    Pump();
    release = true;
  });
  EXPECT_EQ(installs, std::vector<int>{1});
  EXPECT_EQ(States(dialog), (std::vector<int>{2, 1}));
  EXPECT_EQ(BoxTexts(), std::vector<CString>{u"Installation stopped"});
  EXPECT_FALSE(Restarted());
}

TEST_F(NagRuns, ALauncherFollowingTheProgressGetsTheLinesAndNoBoxIsShown) {
  Dialog dialog(&owner_);
  Prepare(dialog, {Row(1, true, 0)});
  std::vector<std::pair<int, CString>> told;
  std::vector<int> updated;
  dialog.SetLauncher({[&told](int code, const CString& text) { told.emplace_back(code, text); }, [] { return false; },
                      [&updated](int count) { updated.push_back(count); }});
  Drive(dialog, Dialog::kModeDownloadSelected, [](const CString&) { return kFirst; });
  EXPECT_TRUE(boxes_.empty());
  EXPECT_EQ(installed_, std::vector<int>{1});
  EXPECT_EQ(lines_, std::vector<CString>{}) << "the list stays empty";
  const std::vector<std::pair<int, CString>> expected = {
      {14, u"Starting the download..."}, {14, u"Fetched 1"}, {14, u"Download complete"},
      {14, u"Waiting to install..."}, {14, u"Backing up the current drivers with Zephrin Tunevo"},
      {14, u"Backup started"}, {15, u""}, {14, u"Installing Driver 1"}, {14, u"Installed Driver 1"},
      {14, u"Installation complete"}};
  ASSERT_EQ(told.size(), expected.size());
  for (std::size_t i = 0; i < told.size(); ++i) {
    EXPECT_EQ(told[i].first, expected[i].first) << i;
    if (told[i].first == 14) {
      EXPECT_EQ(told[i].second, expected[i].second) << i;
    }
  }
  EXPECT_EQ(updated, std::vector<int>{1}) << "the updates left are one fewer";
}

TEST_F(NagRuns, ForTheLauncherThePopupWorksUnseenTellsWhereTheInstallStartsAndClosesItself) {
  for (const bool notify : {true, false}) {
    SCOPED_TRACE(notify ? "progress notify" : "one-click");
    Dialog dialog(&owner_);
    Prepare(dialog, {Row(1, true, 0)});
    std::vector<int> codes;
    const auto tell = [&codes](int code, const CString&) { codes.push_back(code); };
    if (notify) {
      dialog.SetLauncher({tell, [] { return false; }, [](int) {}});
    } else {
      dialog.SetOneClick(tell);
    }
    everVisible_ = false;
    boxes_.clear();
    // The run ends with no click on Close: the popup closes itself.
    Drive(dialog, Dialog::kModeDownloadSelected, [](const CString&) { return kFirst; });
    EXPECT_FALSE(everVisible_);
    EXPECT_TRUE(boxes_.empty());
    EXPECT_EQ(installed_, std::vector<int>{1});
    EXPECT_EQ(std::count(codes.begin(), codes.end(), Dialog::kLauncherInstallStart), 1);
    // In one-click mode the status lines stay the popup's own.
    EXPECT_EQ(std::count(codes.begin(), codes.end(), Dialog::kLauncherStatus) > 0, notify);
    EXPECT_EQ(lines_.empty(), notify);
  }
}

TEST_F(NagRuns, TheInstallRunStartsByEitherTimerAndUnticksARowWhosePackageIsGone) {
  for (const UINT_PTR timer : {Dialog::kTimerInstall, Dialog::kTimerInstallAgain}) {
    SCOPED_TRACE(timer);
    Dialog dialog(&owner_);
    dialog.SetResultRows({Row(1, true, 1), Row(2, true, 1)});
    std::vector<int> installed, unticked;
    tagNagDriverRoad road;
    road.install = [&installed](int driver) { return installed.push_back(driver), driver == 2 ? -3 : 32; };
    road.clearCheck = [&unticked](int row) { unticked.push_back(row); };
    dialog.SetDriverRoad(road);
    CString description;
    boxes_.clear();
    Drive(dialog, Dialog::kModeNone, [](const CString&) { return kSecond; }, [&] {
      if (dialog.GetMode() == Dialog::kModeNone && !dialog.IsRunning()) dialog.SetTimer(timer, 1, nullptr);
      if (dialog.IsRunning()) description = dialog.GetDescriptionText();
    });
    EXPECT_EQ(installed, (std::vector<int>{1, 2}));
    EXPECT_EQ(unticked, std::vector<int>{1});
    EXPECT_FALSE(dialog.GetResultRows()[1].bChecked);
    EXPECT_EQ(description, CString(u"Installing drivers"));
    EXPECT_EQ(std::count(lines_.begin(), lines_.end(), CString(u"Not installed: Driver 2")), 0);
    EXPECT_EQ(lines_.back(), CString(u"The driver was not installed"));
  }
}

TEST_F(NagRuns, BackingUpInstallsAfterwardsOnlyWhenDriversWait) {
  Dialog dialog(&owner_);
  Prepare(dialog, {Row(1, true, 0), Row(2, false, 1)});
  Drive(dialog, Dialog::kModeBackupInstall, [](const CString&) { return kFirst; });
  EXPECT_TRUE(installed_.empty());
  EXPECT_TRUE(boxes_.empty()) << "neither an install message nor the restart question";
  EXPECT_EQ(lines_, (std::vector<CString>{u"Backing up the current drivers with Zephrin Tunevo", u"Backup started"}));
}

TEST_F(NagRuns, ALauncherThatStopsTheDownloadsIsToldNoneWasUpdated) {
  Dialog dialog(&owner_);
  Prepare(dialog, {Row(1, true, 0), Row(2, true, 0)});
  bool stop = false;
  std::vector<int> updated;
  dialog.SetLauncher({[](int, const CString&) {}, [&stop] { return stop; },
                      [&updated](int count) { updated.push_back(count); }});
  // The launcher asks to stop while the run waits after the first driver.
  dialog.SetPause([&stop](DWORD) { stop = true; });
  Drive(dialog, Dialog::kModeDownloadSelected, [](const CString&) { return kFirst; });
  EXPECT_EQ(fetched_.size(), 1u);
  EXPECT_EQ(updated, std::vector<int>{0}) << "no install follows, and a download alone updates nothing";
  EXPECT_TRUE(installed_.empty());
}

TEST_F(NagRuns, TheSpeedTextTakesTheUnitOfItsSize) {
  struct Case {
    double kilobytesPerSecond;
    const char16_t* text;
  } const cases[] = {{0.5, u"512 bytes/s"}, {0, u"0 bytes/s"}, {1, u"1.0 KB/s"}, {9.94, u"9.9 KB/s"}, {10, u"10 KB/s"},
                     {240.4, u"240 KB/s"}};
  for (const Case& c : cases)
    EXPECT_EQ(CDlgNagDownloadAndInstall::FormatSpeedText(c.kilobytesPerSecond), CString(c.text)) << c.kilobytesPerSecond;
}

}  // namespace
}  // namespace zx::test
