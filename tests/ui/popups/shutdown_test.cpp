// The shut-down countdown: the restart mode offers no way out and restarts at 0:00 or on Enter;
// the shut-down mode counts from 4:59, postpones by the chosen period on the owner's timer or
// arms nothing for "do not remind"; a request that Windows refuses is reported and the dialog
// can then be closed; the looks of both modes.
#include <filesystem>

#include "DlgParentTransculent.h"
#include "DlgShutDown.h"
#include "popups_testing.h"

namespace zx::test {
namespace {

class ShutDown : public PopupTest {
 protected:
  std::string Requests() const {
    return std::filesystem::exists(root() + "/shutdowns.log") ? ReadHostFile(root() + "/shutdowns.log") : "";
  }
  // The next second of the countdown, taken by the modal loop once the step is over.
  void Tick() { clock_.Advance(1000); }
  // One step of a countdown run to its end: each countdown text seen is noted, and the clock
  // moves a second once the last move was taken. Done once Windows was asked to leave.
  bool CountDown(CDlgShutDown& dialog, std::vector<CString>& seen) {
    if (!seen.empty() && seen.back() == dialog.GetCountdownText()) {
      dialog.PostMessage(WM_NULL);
      return false;
    }
    seen.push_back(dialog.GetCountdownText());
    if (!Requests().empty() || seen.size() > 400) {
      dialog.PostMessage(WM_NULL);
      return true;
    }
    Tick();
    return false;
  }
  // Makes every shut-down request fail: the record cannot be written.
  void RefuseRequests() { std::filesystem::create_directories(root() + "/shutdowns.log"); }
};

TEST_F(ShutDown, RestartModeIgnoresEscapeCloseAndCancelAndRestartsOnEnter) {
  CDlgShutDown dialog(&owner_);
  dialog.SetRestartMode(TRUE);
  dialog.SetMessageText(u"Drivers were installed.");
  WhileModal({[&] {
                const HWND window = dialog.GetSafeHwnd();
                EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(window, IDCANCEL)));
                EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(window, 1459)));
                Tap(VK_ESCAPE);
                dialog.SendMessage(WM_COMMAND, kPopupCloseCommand);
                dialog.SendMessage(WM_SYSCOMMAND, SC_CLOSE);
                dialog.SendMessage(WM_COMMAND, IDCANCEL);
                return true;
              },
              [&] {
                EXPECT_NE(dialog.GetSafeHwnd(), nullptr) << "the restart countdown was closed";
                EXPECT_EQ(Requests(), "");
                EXPECT_EQ(Text(::GetDlgItem(dialog.GetSafeHwnd(), IDOK)), u"Restart");
                Tap(VK_RETURN);
                return true;
              },
              [&] {
                EXPECT_EQ(Requests(), "00000002 00000010\n");
                dialog.EndWithResult(IDOK);
                return true;
              }});
  RunModalWithBackdrop(&owner_, &dialog, CDlgShutDown::kTemplateId);
  ExpectAllStepsRan();
  EXPECT_EQ(dialog.GetPostponePeriod(), -1);
}

TEST_F(ShutDown, RestartModeCountsFrom59SecondsAndRestartsAtZero) {
  CDlgShutDown dialog(&owner_);
  dialog.SetRestartMode(TRUE);
  std::vector<CString> seen;
  WhileModal({[&] { return CountDown(dialog, seen); },
              [&] {
                // A second past 0:00 asks nothing more.
                Tick();
                dialog.PostMessage(WM_NULL);
                return true;
              },
              [&] {
                dialog.EndWithResult(IDOK);
                return true;
              }});
  RunModalWithBackdrop(&owner_, &dialog, CDlgShutDown::kTemplateId);
  ExpectAllStepsRan();
  ASSERT_EQ(seen.size(), 60u);
  EXPECT_EQ(seen[0], u"Your computer will restart in 0:59");
  EXPECT_EQ(seen[1], u"Your computer will restart in 0:58");
  EXPECT_EQ(seen[59], u"Your computer will restart in 0:00");
  EXPECT_EQ(Requests(), "00000002 00000010\n");
}

TEST_F(ShutDown, AFailedRestartIsReportedAndTheDialogCanThenBeClosed) {
  RefuseRequests();
  CDlgShutDown dialog(&owner_);
  dialog.SetRestartMode(TRUE);
  CString reported;
  WhileModal({[&] {
                Tap(VK_RETURN);
                return true;
              },
              [&] {
                const HWND box = RunningMessageBox();
                if (box == nullptr) return false;
                reported = MessageBoxText(box);
                AnswerMessageBox(box);
                return true;
              },
              [&] {
                if (RunningMessageBox()) return false;
                EXPECT_TRUE(dialog.HasActionFailed());
                EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(dialog.GetSafeHwnd(), IDCANCEL)));
                Tap(VK_ESCAPE);
                return true;
              }});
  EXPECT_EQ(RunModalWithBackdrop(&owner_, &dialog, CDlgShutDown::kTemplateId), IDCANCEL);
  ExpectAllStepsRan();
  EXPECT_NE(reported.Find(u"could not be restarted"), -1) << CStringA(reported).GetString();
  EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
}

struct Postponement {
  int downs;        // presses of the down arrow in the combo box
  int periodMs;     // what the owner's timer is armed with; -1: none
  const char16_t* cancelCaption;
};

class Postpone : public ShutDown, public ::testing::WithParamInterface<Postponement> {};

TEST_P(Postpone, TheChoiceArmsTheOwnersReminder) {
  const Postponement choice = GetParam();
  CString caption;
  WhileModal({[&] {
                const HWND window = ActiveWindow();
                auto* dialog = dynamic_cast<CDlgShutDown*>(CWnd::FromHandlePermanent(window));
                if (dialog == nullptr) return false;
                EXPECT_EQ(dialog->GetCountdownText(), u"Your computer will shut down in 4:59");
                ::SetFocus(::GetDlgItem(window, 1459));
                for (int i = 0; i < choice.downs; ++i) Tap(VK_DOWN);
                return true;
              },
              [&] {
                const HWND window = ActiveWindow();
                caption = Text(::GetDlgItem(window, IDCANCEL));
                Click(::GetDlgItem(window, IDCANCEL));
                return true;
              }});
  StartShutDownCountdown(&owner_, u"The scheduled scan has finished.", 0, FALSE);
  ExpectAllStepsRan();
  EXPECT_EQ(caption, choice.cancelCaption);
  EXPECT_EQ(IsShutDownPostponed(), choice.periodMs > 0);
  if (choice.periodMs > 0) {
    clock_.Advance(choice.periodMs - 1);
    Pump();
    EXPECT_TRUE(owner_.fired.empty());
    clock_.Advance(1);
    Pump();
    EXPECT_EQ(owner_.fired, std::vector<UINT_PTR>{CDlgShutDown::kReminderTimer});
  } else {
    clock_.Advance(3600000);
    Pump();
    EXPECT_TRUE(owner_.fired.empty());
  }
  EXPECT_EQ(Requests(), "");
}

INSTANTIATE_TEST_SUITE_P(Choices, Postpone,
                         ::testing::Values(Postponement{0, 600000, u"Postpone"}, Postponement{1, 1200000, u"Postpone"},
                                           Postponement{2, 1800000, u"Postpone"},
                                           Postponement{3, -1, u"Don't remind"}));

TEST_F(ShutDown, ShutDownModeCountsMinutesAndShutsDownAtZero) {
  CDlgShutDown dialog(&owner_);
  std::vector<CString> seen;
  WhileModal({[&] { return CountDown(dialog, seen); },
              [&] {
                dialog.EndWithResult(IDOK);
                return true;
              }});
  RunModalWithBackdrop(&owner_, &dialog, CDlgShutDown::kTemplateId);
  ExpectAllStepsRan();
  // A minute's ":00" second rolls over at once; only the last one is shown.
  ASSERT_EQ(seen.size(), 296u);
  EXPECT_EQ(seen[0], u"Your computer will shut down in 4:59");
  EXPECT_EQ(seen[58], u"Your computer will shut down in 4:01");
  EXPECT_EQ(seen[59], u"Your computer will shut down in 3:59");
  EXPECT_EQ(seen[294], u"Your computer will shut down in 0:01");
  EXPECT_EQ(seen[295], u"Your computer will shut down in 0:00");
  EXPECT_EQ(Requests(), "00000001 00000010\n");
}

class Looks : public ShutDown, public ::testing::WithParamInterface<bool> {};

TEST_P(Looks, TheDialogMatchesTheReference) {
  const bool restart = GetParam();
  CDlgShutDown dialog(&owner_);
  dialog.SetRestartMode(restart);
  dialog.SetMessageText(restart ? u"New drivers were installed." : u"The scheduled scan has finished.");
  WhileModal({[&] {
                dialog.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
                return true;
              },
              [&] {
                ExpectWindowMatches(dialog.GetSafeHwnd(), restart ? "shutdown_restart.png" : "shutdown.png");
                dialog.EndWithResult(IDCANCEL);
                return true;
              }});
  RunModalWithBackdrop(&owner_, &dialog, CDlgShutDown::kTemplateId);
  ExpectAllStepsRan();
}

INSTANTIATE_TEST_SUITE_P(Modes, Looks, ::testing::Bool());

}  // namespace
}  // namespace zx::test
