// The download-and-install popup: the overall progress arithmetic, the status list's open and
// closed lines, the run buttons, the stop request from the stop button, the keys it swallows
// (Enter, Escape, Space, Alt+F4), the close button's notice to the results page, its look, and
// the frame under it.
#include <filesystem>
#include <fstream>

#include "DlgNagDownloadAndInstall.h"
#include "DlgParentTransculent.h"
#include "dialogs_testing.h"
#include "nag_texts.h"

namespace zx::test {
namespace {

// The results page's stand-in: notes the commands it receives.
class ResultsPage : public CWnd {
 public:
  std::vector<UINT> commands;

 protected:
  BOOL OnCommand(WPARAM wParam, LPARAM) override {
    commands.push_back(LOWORD(wParam));
    return TRUE;
  }
};

class NagDownload : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    std::ofstream(LanguageFile(), std::ios::binary) << kNagTexts;
    ASSERT_TRUE(owner_.CreateEx(0, AfxRegisterWndClass(0), u"Owner", WS_POPUP | WS_VISIBLE, 0, 0, 772, 583, nullptr,
                                nullptr));
    Pump();
  }
  void TearDown() override {
    if (owner_.GetSafeHwnd()) owner_.DestroyWindow();
    std::filesystem::remove(LanguageFile());
    DialogTest::TearDown();
  }
  static std::filesystem::path LanguageFile() {
    return std::filesystem::read_symlink("/proc/self/exe").parent_path() / "qvx.ini";
  }
  // Runs the steps while the popup is modal over the owner.
  void Run(CDialog& dialog, std::vector<std::function<bool()>> steps) {
    WhileModal(std::move(steps));
    RunModalWithBackdrop(&owner_, &dialog, CDlgNagDownloadAndInstall::kTemplateId);
    ExpectAllStepsRan();
  }
  static std::vector<CString> Lines(const CDlgNagDownloadAndInstall& dialog) {
    std::vector<CString> lines;
    for (int i = 0; i < dialog.GetStatusLineCount(); ++i) lines.push_back(dialog.GetStatusLine(i));
    return lines;
  }

  ResultsPage owner_;
};

TEST(NagDownloadProgress, OverallPercentageSharesTheBarBetweenTheItems) {
  struct Case {
    float total, current, item, overall;
  } const cases[] = {
      {0, 1, 42, 42},     // total unknown: the item alone
      {3, -1, 42, 42},    // no current item: the item alone
      {1, 1, 50, 50},     // one item: its own percentage
      {4, 1, 100, 25},    // first of four done
      {4, 3, 0, 50},      // two of four done, the third starting
      {4, 4, 100, 100},   // the last one done
      {2, 0, 40, 20},     // before the first count: no finished share
      {2, 5, 100, 100},   // a count past the total never passes the end
  };
  for (const Case& c : cases) {
    EXPECT_FLOAT_EQ(CDlgNagDownloadAndInstall::OverallPercentage(c.total, c.current, c.item), c.overall)
        << c.total << " " << c.current << " " << c.item;
  }
}

TEST_F(NagDownload, StatusLinesOpenLinesAreReplacedAndClosedByTheNextNewLine) {
  CDlgNagDownloadAndInstall dialog(&owner_);
  Run(dialog, {[&] {
                 EXPECT_EQ(Lines(dialog), std::vector<CString>{u""});
                 dialog.AddStatusLine(u"one", TRUE);
                 dialog.AddStatusLine(u"10%", FALSE);
                 dialog.AddStatusLine(u"20%", FALSE);
                 EXPECT_EQ(Lines(dialog), (std::vector<CString>{u"one", u"20%"}));
                 dialog.AddStatusLine(u"two", TRUE);
                 EXPECT_EQ(Lines(dialog), (std::vector<CString>{u"one", u"20%", u"two", u""}));
                 dialog.AddStatusLine(u"three", TRUE);
                 EXPECT_EQ(Lines(dialog), (std::vector<CString>{u"one", u"20%", u"two", u"three", u""}));
                 dialog.SendMessage(WM_COMMAND, IDOK);
                 return true;
               }});
}

TEST_F(NagDownload, ProgressBarFollowsTheItemsOfTheRun) {
  CDlgNagDownloadAndInstall dialog(&owner_);
  Run(dialog, {[&] {
                 dialog.SetItemCounts(4, 2);
                 dialog.UpdateDownloadStatusText(50);
                 EXPECT_EQ(dialog.GetProgressPos(), 37);
                 dialog.SetItemCounts(4, 4);
                 dialog.UpdateDownloadStatusText(100);
                 EXPECT_EQ(dialog.GetProgressPos(), 100);
                 dialog.SendMessage(WM_COMMAND, IDOK);
                 return true;
               }});
}

TEST_F(NagDownload, KeysDoNotCloseOrStopTheRunTheStopButtonDoes) {
  CDlgNagDownloadAndInstall dialog(&owner_);
  HWND stop = nullptr;
  Run(dialog, {[&] {
                 dialog.PrepareRunUi(CDlgNagDownloadAndInstall::kModeDownloadSelected);
                 stop = ::GetDlgItem(dialog.GetSafeHwnd(), IDCANCEL);
                 EXPECT_TRUE(::IsWindowVisible(stop));
                 EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(dialog.GetSafeHwnd(), IDOK)));
                 for (int key : {VK_ESCAPE, VK_RETURN, VK_SPACE}) Tap(key);
                 Key(VK_MENU, true);
                 Tap(VK_F4);
                 Key(VK_MENU, false);
                 return true;
               },
               [&] {
                 EXPECT_NE(dialog.GetSafeHwnd(), nullptr) << "a key closed the popup";
                 EXPECT_FALSE(dialog.IsStopRequested());
                 EXPECT_EQ(Lines(dialog), (std::vector<CString>{u"Starting the download...", u""}));
                 Click(stop);
                 return true;
               },
               [&] {
                 EXPECT_TRUE(dialog.IsStopRequested());
                 EXPECT_FALSE(::IsWindowEnabled(stop));
                 EXPECT_EQ(dialog.GetStatusLine(1), u"Please wait while the run stops...");
                 EXPECT_NE(dialog.GetSafeHwnd(), nullptr) << "the stop button closed the popup";
                 dialog.RestoreCloseButton();
                 EXPECT_FALSE(::IsWindowVisible(stop));
                 Click(::GetDlgItem(dialog.GetSafeHwnd(), IDOK));
                 return true;
               }});
  EXPECT_EQ(dialog.GetResult(), IDOK);
  Pump();
  EXPECT_EQ(owner_.commands, std::vector<UINT>{1201});
}

TEST_F(NagDownload, InstallRunTakesTheInstallTitle) {
  CDlgNagDownloadAndInstall dialog(&owner_);
  EXPECT_EQ(dialog.GetTitleText(), u"Downloading the selected drivers");
  Run(dialog, {[&] {
                 dialog.PrepareRunUi(CDlgNagDownloadAndInstall::kModeInstall);
                 EXPECT_EQ(dialog.GetMode(), CDlgNagDownloadAndInstall::kModeInstall);
                 EXPECT_EQ(dialog.GetTitleText(), u"Installing drivers");
                 EXPECT_EQ(dialog.GetStatusLine(0), u"Starting the installation...");
                 dialog.SendMessage(WM_COMMAND, IDOK);
                 return true;
               }});
}

TEST_F(NagDownload, LooksAsDrawnDuringADownload) {
  CDlgNagDownloadAndInstall dialog(&owner_);
  Run(dialog, {[&] {
                 dialog.PrepareRunUi(CDlgNagDownloadAndInstall::kModeDownloadSelected);
                 dialog.SetDescriptionText(u"Realtek PCIe GbE Family Controller");
                 dialog.AddStatusLine(u"Downloading Realtek PCIe GbE Family Controller", TRUE);
                 dialog.AddStatusLine(u"1.2 MB of 3.0 MB, 240 KB/s", FALSE);
                 dialog.SetItemCounts(2, 1);
                 dialog.UpdateDownloadStatusText(40);
                 dialog.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
                 return true;
               },
               [&] {
                 ExpectWindowMatches(dialog.GetSafeHwnd(), "nagdownload.png");
                 dialog.SendMessage(WM_COMMAND, IDOK);
                 return true;
               }});
}

// The frame under the popup: its buttons captioned from its own section; run over the backdrop
// it ends the backdrop's run as it closes, and kept open without a modal loop (the main window's
// hidden download window) it only hides, whichever button closes it.
TEST_F(NagDownload, TheFrameEndsTheBackdropsRunOrOnlyHides) {
  CDlgNagFrame frame(CDlgNagDownloadAndInstall::kTemplateId, &owner_);
  std::vector<CString> captions;
  Run(frame, {[&] {
         for (UINT id : {IDOK, IDCANCEL}) {
           CString caption;
           frame.GetDlgItem(id)->GetWindowText(caption);
           captions.push_back(caption);
         }
         frame.SendMessage(WM_COMMAND, IDCANCEL);
         return true;
       }});
  EXPECT_EQ(captions, (std::vector<CString>{u"Go on", u"Hold"}));
  EXPECT_EQ(frame.GetResult(), IDCANCEL);
  EXPECT_EQ(frame.GetSafeHwnd(), nullptr) << "gone with the backdrop";

  const struct {
    UINT command;
    int result;
    std::vector<UINT> told;
  } kCases[] = {{IDOK, IDOK, {1201}}, {kPopupCloseCommand, IDOK, {1201}}};
  for (const auto& c : kCases) {
    owner_.commands.clear();
    CDlgNagDownloadAndInstall kept(&owner_);
    kept.SetEmbedded(FALSE);
    ASSERT_TRUE(kept.Create(CDlgNagDownloadAndInstall::kTemplateId, &owner_));
    kept.ShowWindow(SW_SHOW);
    kept.SendMessage(WM_COMMAND, c.command);
    Pump();
    EXPECT_EQ(kept.GetResult(), c.result) << c.command;
    EXPECT_TRUE(::IsWindow(kept.GetSafeHwnd())) << c.command;
    EXPECT_FALSE(kept.IsWindowVisible()) << c.command;
    EXPECT_EQ(owner_.commands, c.told) << c.command;
    kept.DestroyWindow();
  }
}

}  // namespace
}  // namespace zx::test
