// The restart prompt over the main window: its look, Enter and Escape that never close it nor
// restart Windows, "later" that closes it without a restart, and OK that asks Windows to
// restart; and the main window's elevation check with each of its answers.
#include "DlgBaseMessageBoxWndBase.h"
#include "DlgNagRestart.h"
#include "DlgParentTransculent.h"
#include "cstring_printer.h"
#include "road_testing.h"

namespace zx::test {
namespace {

class RestartPrompt : public RoadTest {
 protected:
  void SetUp() override {
    RoadTest::SetUp();
    OpenMainWindow();
  }
  static bool Shown(CDlgNagRestart& prompt) { return prompt.GetSafeHwnd() && ::IsWindowVisible(prompt.GetSafeHwnd()); }
};

TEST_F(RestartPrompt, KeysNeverCloseItAndLaterClosesWithoutARestart) {
  CDlgNagRestart prompt(main_.get());
  WhileModal({[&] {
                if (!Shown(prompt)) return false;
                Tap(VK_RETURN);
                Tap(VK_ESCAPE);
                Key(VK_MENU, true);
                Tap(VK_F4);
                Key(VK_MENU, false);
                return true;
              },
              [&] {
                EXPECT_TRUE(Shown(prompt)) << "a key closed the restart prompt";
                EXPECT_EQ(ShutdownRequests(), "");
                EXPECT_EQ(Text(prompt.GetSafeHwnd()), u"Restart required");
                EXPECT_EQ(Text(::GetDlgItem(prompt.GetSafeHwnd(), IDOK)), u"Restart now");
                EXPECT_EQ(Text(::GetDlgItem(prompt.GetSafeHwnd(), IDCANCEL)), u"Later");
                prompt.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
                return true;
              },
              [&] {
                ExpectWindowMatches(prompt.GetSafeHwnd(), "restart_prompt.png");
                Click(::GetDlgItem(prompt.GetSafeHwnd(), IDCANCEL));
                return true;
              }});
  EXPECT_EQ(RunModalWithBackdrop(main_.get(), &prompt, CDlgNagRestart::kTemplateId), IDCANCEL);
  ExpectAllStepsRan();
  EXPECT_EQ(ShutdownRequests(), "");
}

TEST_F(RestartPrompt, OkRestartsWindows) {
  CDlgNagRestart prompt(main_.get());
  prompt.SetMessageText(u"Some drivers could not be restored.");
  WhileModal({[&] {
    if (!Shown(prompt)) return false;
    Click(::GetDlgItem(prompt.GetSafeHwnd(), IDOK));
    return true;
  }});
  EXPECT_EQ(RunModalWithBackdrop(main_.get(), &prompt, CDlgNagRestart::kTemplateId), IDOK);
  ExpectAllStepsRan();
  EXPECT_NE(ShutdownRequests(), "");
}

struct Elevation {
  const char* machine;  // machine.ini
  BOOL hidden;
  const char16_t* answer;  // the button pressed on the question, null: no question
  BOOL starts;
  int expected;
  const char16_t* parameters;
};

class ElevationCheck : public RoadTest, public ::testing::WithParamInterface<Elevation> {};

TEST_P(ElevationCheck, AnswersAsTheUserAndTheMachineSay) {
  const Elevation check = GetParam();
  WriteHostFile(root() + "/machine.ini", check.machine);
  OpenMainWindow();
  // As the launcher's hidden-scan code leaves the window.
  main_->GetLauncherState().bHiddenScanMode = check.hidden;
  main_->elevationStarts = check.starts;
  CString shown;
  int result = 99;
  if (check.answer) {
    WhileModal({[&] {
      const HWND box = RunningMessageBox();
      if (!box) return false;
      shown = MessageBoxText(box);
      for (UINT id = kMessageBoxFirstButton; id < kMessageBoxFirstButton + 3; ++id) {
        if (Text(::GetDlgItem(box, id)) == check.answer) {
          Click(::GetDlgItem(box, id));
          return true;
        }
      }
      ADD_FAILURE() << "no button " << CStringA(check.answer).GetString();
      AnswerMessageBox(box);
      return true;
    }});
  }
  result = main_->RelaunchAsAdmin(u"Restart as administrator?", 12);
  ExpectAllStepsRan();
  EXPECT_EQ(result, check.expected);
  EXPECT_EQ(main_->elevatedWith, check.parameters);
  if (check.answer) {
    EXPECT_NE(shown, u"");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, ElevationCheck,
    ::testing::Values(Elevation{"[Machine]\nAdministrator=1\n", FALSE, nullptr, TRUE, 1, u""},
                      Elevation{"[Machine]\nAdministrator=0\n", TRUE, nullptr, TRUE, 1, u""},
                      Elevation{"[Machine]\nAdministrator=0\n", FALSE, u"No", TRUE, -1, u""},
                      Elevation{"[Machine]\nAdministrator=0\n", FALSE, u"Yes", TRUE, 0, u"12"},
                      Elevation{"[Machine]\nAdministrator=0\n", FALSE, u"Yes", FALSE, -1, u"12"}));

}  // namespace
}  // namespace zx::test
