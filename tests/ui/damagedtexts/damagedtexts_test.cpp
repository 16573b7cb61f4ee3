// The shared windows with damaged language texts (more conversions than values, conversions of
// the wrong kind, write-backs and pointers): each window opens and shows such a text as it
// stands, and the first restore point takes its description as it stands too.
#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>

#include "DlgAbout.h"
#include "DlgAfterInstallWiz.h"
#include "DlgCreateRestorePoint.h"
#include "DlgParentTransculent.h"
#include "DlgQVXFeedback.h"
#include "DlgShutDown.h"
#include "cstring_printer.h"
#include "popups_testing.h"
#include "zx/restorepoints.h"

namespace zx::test {
namespace {

constexpr char kDamagedTexts[] =
    "[QVX]\r\n"
    "IDS_OK=OK\r\nIDS_CANCEL=Cancel\r\nIDS_SHUTDOWN=Shut Down\r\nIDS_RESTART=Restart\r\n"
    "IDS_QVX_DESC=%s keeps %d drivers %n\r\n"
    "IDS_QVX_VERSION=Version %d\r\n"
    "IDS_UR_SYSTM_EXP_IN=Your computer will %s in %s:%p\r\n"
    "IDS_SUBMIT_FEEDBACK=Tell us about %s %s %s\r\n"
    "IDS_FIRST_INSTL=First installation of %s%s\r\n"
    "[IDD_DLG_CREATE_RESTORE_POINT]\r\n"
    "IDC_ST_PLS_WAIT=%s is busy %s %d %n %p\r\n";

class DamagedTexts : public PopupTest {
 protected:
  void SetUp() override {
    PopupTest::SetUp();
    // Texts are read once per process: every test of this program writes the same ones.
    std::ofstream(std::filesystem::read_symlink("/proc/self/exe").parent_path() / "qvx.ini", std::ios::binary)
        << kDamagedTexts;
  }
  // The first window of the thread of that class, or null.
  template <class Window>
  static Window* Running() {
    Window* found = nullptr;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND window, LPARAM out) {
          auto* wnd = dynamic_cast<Window*>(CWnd::FromHandlePermanent(window));
          if (wnd == nullptr) return TRUE;
          *reinterpret_cast<Window**>(out) = wnd;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
  }
};

TEST_F(DamagedTexts, TheAboutBoxShowsItsTextsAsTheyStand) {
  CString description, version;
  WhileModal({[&] {
    CDlgAbout* about = Running<CDlgAbout>();
    if (about == nullptr) return false;
    description = about->GetDescription();
    version = about->GetVersionText();
    Tap(VK_ESCAPE);
    return true;
  }});
  ShowAboutDialog(&owner_);
  ExpectAllStepsRan();
  EXPECT_EQ(description, u"%s keeps %d drivers %n");
  EXPECT_EQ(version, u"Version %d");
}

TEST_F(DamagedTexts, TheCountdownShowsItsTextAsItStandsAndStillCloses) {
  CDlgShutDown dialog(&owner_);
  dialog.SetMessageText(u"Drivers were installed.");
  CString countdown;
  WhileModal({[&] {
    if (!dialog.GetSafeHwnd()) return false;
    countdown = dialog.GetCountdownText();
    Click(::GetDlgItem(dialog.GetSafeHwnd(), IDCANCEL));
    return true;
  }});
  RunModalWithBackdrop(&owner_, &dialog, CDlgShutDown::kTemplateId);
  ExpectAllStepsRan();
  EXPECT_EQ(countdown, u"Your computer will %s in %s:%p");
  EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
}

TEST_F(DamagedTexts, TheFeedbackFormShowsItsHeadingAsItStands) {
  CDlgQVXFeedback form(&owner_);
  CString heading;
  WhileModal({[&] {
    if (!form.GetSafeHwnd() || !::IsWindowVisible(form.GetSafeHwnd())) return false;
    heading = form.GetHeadingText();
    Click(::GetDlgItem(form.GetSafeHwnd(), IDCANCEL));
    return true;
  }});
  RunModalWithBackdrop(&owner_, &form, CDlgQVXFeedback::kTemplateId);
  ExpectAllStepsRan();
  EXPECT_EQ(heading, u"Tell us about %s %s %s");
}

TEST_F(DamagedTexts, TheRestorePointWaitShowsItsTextAsItStands) {
  CDlgCreateRestorePoint dialog;
  CString shown;
  WhileModal({[&] {
    ::GetDlgItemTextW(dialog.GetSafeHwnd(), 12549, shown.GetBuffer(256), 256);
    shown.ReleaseBuffer();
    dialog.EndDialog(IDCANCEL);
    return true;
  }});
  dialog.Run(u"Before the update");
  ExpectAllStepsRan();
  EXPECT_EQ(shown, u"%s is busy %s %d %n %p");
}

TEST_F(DamagedTexts, TheFirstRestorePointIsDescribedByTheTextAsItStands) {
  // The point settles for a while on the test clock, which moves meanwhile.
  auto made = std::async(std::launch::async, [] { return CDlgAfterInstallWiz::CreateFirstInstallRestorePoint(); });
  while (made.wait_for(std::chrono::milliseconds(1)) != std::future_status::ready) clock_.Advance(50);
  EXPECT_EQ(made.get(), 1);
  const std::vector<restore::RestorePoint> points = restore::ListRestorePoints();
  ASSERT_FALSE(points.empty());
  EXPECT_EQ(points.back().description, u"First installation of %s%s");
}

}  // namespace
}  // namespace zx::test
