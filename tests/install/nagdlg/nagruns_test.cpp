// The runs of the download-and-install popup with stand-in driver steps: the selected-drivers
// run fetches only the ticked rows not yet downloaded and marks those fetched; with nothing to
// fetch it says so or goes straight to done; a stop during a fetch ends the run with the row
// left as it was; the install run installs the ticked downloaded rows, marks the installed
// ones, reports each failure and ends before the next driver when stopped.
#include <atomic>
#include <filesystem>
#include <fstream>
#include <utility>

#include "DlgNagDownloadAndInstall.h"
#include "DlgParentTransculent.h"
#include "dialogs_testing.h"

namespace zx::test {
namespace {

constexpr char kTexts[] =
    "[QVX]\r\n"
    "IDS_STOP=Stop\r\nIDS_CLOSE=Close\r\n"
    "IDS_DOWNSTART_MOMENT=Starting the download...\r\nIDS_DRIVER_INSSATRT2=Starting the installation...\r\n"
    "IDS_WAIT_STOP_MOMENT=Please wait while the run stops...\r\n"
    "IDS_NOITEM_DOWNLOAD=No driver chosen\r\nIDS_DOWN_COMPLETE=Download complete\r\n"
    "IDS_DRIVER_INSSATRT=Installing\r\nIDS_DRIVER_INSCOMPL=Installed\r\nIDS_DRIVER_INSFAILED=Not installed:\r\n"
    "IDS_INSTALL_COMP=Installation complete\r\nIDS_DRIVER_NOTINSTALLED=No driver was installed\r\n"
    "IDS_ABORT_INSTALL=Installation stopped\r\n";

using Dialog = CDlgNagDownloadAndInstall;

class NagRuns : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    std::ofstream(LanguageFile(), std::ios::binary) << kTexts;
    ASSERT_TRUE(owner_.CreateEx(0, AfxRegisterWndClass(0), u"Owner", WS_POPUP | WS_VISIBLE, 0, 0, 772, 583, nullptr,
                                nullptr));
  }
  void TearDown() override {
    if (owner_.GetSafeHwnd()) owner_.DestroyWindow();
    std::filesystem::remove(LanguageFile());
    DialogTest::TearDown();
  }
  static std::filesystem::path LanguageFile() {
    return std::filesystem::read_symlink("/proc/self/exe").parent_path() / "qvx.ini";
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
  // Runs the popup with its start mode: the clock brings the start timer, the run goes to its
  // end, then the check runs and the popup closes.
  void RunToEnd(Dialog& dialog, int mode, const std::function<void()>& check,
                const std::function<bool()>& during = [] { return true; }) {
    dialog.SetStartMode(mode);
    WhileModal({[&] {
                  clock_.Advance(Dialog::kStartDelayMs);
                  return true;
                },
                [&] { return dialog.GetMode() == mode && during(); },
                [&] {
                  if (dialog.IsRunning()) return false;
                  check();
                  dialog.EndWithResult(IDOK);
                  return true;
                }});
    RunModalWithBackdrop(&owner_, &dialog, Dialog::kTemplateId);
    ExpectAllStepsRan();
  }

  CWnd owner_;
};

TEST_F(NagRuns, SelectedRunFetchesTheTickedRowsNotYetDownloaded) {
  Dialog dialog(&owner_);
  dialog.SetResultRows({Row(7, true, 0), Row(8, false, 0), Row(9, true, 1), Row(10, true, 0), Row(11, true, 0)});
  std::vector<std::pair<int, int>> fetched;
  dialog.SetDriverSteps(
      [&](int driver, int row, const Dialog::ProgressSink& progress) {
        fetched.emplace_back(driver, row);
        progress(50);
        progress(100);
        return driver != 10;  // the second one fails
      },
      nullptr, nullptr);
  RunToEnd(dialog, Dialog::kModeDownloadSelected, [&] {
    EXPECT_EQ(fetched, (std::vector<std::pair<int, int>>{{7, 0}, {10, 3}, {11, 4}}));
    EXPECT_EQ(States(dialog), (std::vector<int>{1, 0, 1, 0, 1}));
    EXPECT_EQ(Lines(dialog), (std::vector<CString>{u"Starting the download...", u"Download complete"}));
    EXPECT_EQ(dialog.GetProgressPos(), 100);
    EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(dialog.GetSafeHwnd(), IDOK)));
    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(dialog.GetSafeHwnd(), IDCANCEL)));
  });
}

TEST_F(NagRuns, SelectedRunWithNothingToFetch) {
  struct Case {
    std::vector<NagResultRow> rows;
    std::vector<CString> lines;
  } const cases[] = {
      {{}, {u"Starting the download...", u"No driver chosen"}},
      {{Row(1, true, 1), Row(2, false, 0)}, {u"Starting the download...", u"Download complete"}},
      {{Row(1, false, 0)}, {u"Starting the download..."}},
  };
  for (const Case& c : cases) {
    Dialog dialog(&owner_);
    dialog.SetResultRows(c.rows);
    int calls = 0;
    dialog.SetDriverSteps([&](int, int, const Dialog::ProgressSink&) { return ++calls, true; }, nullptr, nullptr);
    RunToEnd(dialog, Dialog::kModeDownloadSelected, [&] {
      EXPECT_EQ(calls, 0);
      EXPECT_EQ(Lines(dialog), c.lines);
    });
  }
}

TEST_F(NagRuns, StopDuringAFetchEndsTheRunAndLeavesTheRow) {
  Dialog dialog(&owner_);
  dialog.SetResultRows({Row(1, true, 0), Row(2, true, 0)});
  std::atomic<bool> started{false}, stopped{false};
  int calls = 0;
  dialog.SetDriverSteps(
      [&](int, int, const Dialog::ProgressSink&) {
        ++calls;
        started = true;
        while (!stopped.load()) std::this_thread::yield();
        return false;
      },
      nullptr, [&] { stopped = true; });
  bool clicked = false;
  RunToEnd(
      dialog, Dialog::kModeDownloadSelected,
      [&] {
        EXPECT_EQ(calls, 1) << "no fetch after the stop";
        EXPECT_EQ(States(dialog), (std::vector<int>{0, 0}));
        EXPECT_EQ(Lines(dialog),
                  (std::vector<CString>{u"Starting the download...", u"Please wait while the run stops..."}));
        EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(dialog.GetSafeHwnd(), IDOK)));
      },
      [&] {
        if (!started.load()) return false;
        if (!clicked) Click(::GetDlgItem(dialog.GetSafeHwnd(), IDCANCEL));
        clicked = true;
        return true;
      });
}

TEST_F(NagRuns, InstallRunInstallsTheTickedDownloadedRows) {
  Dialog dialog(&owner_);
  dialog.SetResultRows({Row(1, true, 1), Row(2, true, 0), Row(3, false, 1), Row(4, true, 1), Row(5, true, 2)});
  std::vector<int> installs;
  dialog.SetDriverSteps(nullptr, [&](int driver) { return installs.push_back(driver), driver == 1 ? 32 : 33; },
                        nullptr);
  RunToEnd(dialog, Dialog::kModeInstall, [&] {
    EXPECT_EQ(installs, (std::vector<int>{1, 4}));
    EXPECT_EQ(States(dialog), (std::vector<int>{2, 0, 1, 1, 2}));
    EXPECT_EQ(Lines(dialog), (std::vector<CString>{u"Starting the installation...", u"Installing Driver 1",
                                                   u"Installed Driver 1", u"Installing Driver 4",
                                                   u"Not installed: Driver 4", u"Installation complete"}));
  });
}

TEST_F(NagRuns, InstallRunThatInstallsNothingSaysSo) {
  Dialog dialog(&owner_);
  dialog.SetResultRows({Row(1, true, 1)});
  dialog.SetDriverSteps(nullptr, [](int) { return 33; }, nullptr);
  RunToEnd(dialog, Dialog::kModeInstall,
           [&] { EXPECT_EQ(Lines(dialog).back(), CString(u"No driver was installed")); });
}

TEST_F(NagRuns, StopDuringTheInstallEndsBeforeTheNextDriver) {
  Dialog dialog(&owner_);
  dialog.SetResultRows({Row(1, true, 1), Row(2, true, 1)});
  std::atomic<bool> started{false}, release{false};
  std::vector<int> installs;
  dialog.SetDriverSteps(nullptr,
                        [&](int driver) {
                          installs.push_back(driver);
                          started = true;
                          while (!release.load()) std::this_thread::yield();
                          return 32;
                        },
                        nullptr);
  RunToEnd(
      dialog, Dialog::kModeInstall,
      [&] {
        EXPECT_EQ(installs, std::vector<int>{1});
        EXPECT_EQ(States(dialog), (std::vector<int>{2, 1}));
        EXPECT_EQ(Lines(dialog).back(), CString(u"Installation stopped"));
      },
      [&] {
        if (!started.load()) return false;
        Click(::GetDlgItem(dialog.GetSafeHwnd(), IDCANCEL));
        Pump();
        release = true;
        return true;
      });
}

}  // namespace
}  // namespace zx::test
