// The shared windows with damaged language texts (more conversions than values, conversions of
// the wrong kind, write-backs and pointers): each window opens and shows such a text as it
// stands, and restore points take their descriptions and status texts as they stand too.
#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <string>
#include <utility>
#include <vector>

#include "DlgAbout.h"
#include "DlgAfterInstallWiz.h"
#include "DlgParentTransculent.h"
#include "DlgQVXFeedback.h"
#include "DlgShutDown.h"
#include "HalvoranApp.h"
#include "IniReader.h"
#include "RestorePoint.h"
#include "cstring_printer.h"
#include "popups_testing.h"
#include "zx/pathmap.h"
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
    "IDS_CREATING_RESTORE_POINT=Before %d\r\nIDS_CREATED_RESPOINT=Made %s %s\r\n"
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
  // Makes a restore point on a thread of its own while the test clock moves (the point settles
  // for a while on that clock); answers the call's result and the point's description.
  template <class Make>
  std::pair<int, std::u16string> MakePoint(Make make) {
    auto made = std::async(std::launch::async, make);
    while (made.wait_for(std::chrono::milliseconds(1)) != std::future_status::ready) clock_.Advance(50);
    const int result = made.get();
    const std::vector<restore::RestorePoint> points = restore::ListRestorePoints();
    return {result, points.empty() ? u"(no point)" : points.back().description};
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
  EXPECT_EQ(ShownRestorePointWaitText(), u"%s is busy %s %d %n %p");
}

TEST_F(DamagedTexts, TheFirstRestorePointIsDescribedByTheTextAsItStands) {
  const auto [result, description] = MakePoint([] { return CDlgAfterInstallWiz::CreateFirstInstallRestorePoint(); });
  EXPECT_EQ(result, 1);
  EXPECT_EQ(description, u"First installation of %s%s");
}

TEST_F(DamagedTexts, ARestorePointWithoutDescriptionKeepsItsTextsAsTheyStand) {
  // These texts come through the application object's language reader.
  CHalvoranApp app(_T("Probe Title"), _T("qvx.ini"));
  const std::string file = (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "qvx.ini").string();
  CIniReader reader(path::HostToWindows(file).c_str());
  CIniReader* const saved = g_pLangIniReader;
  g_pLangIniReader = &reader;
  const auto [result, description] = MakePoint([] { return CreateSystemRestorePoint(u"") ? 1 : 0; });
  g_pLangIniReader = saved;
  EXPECT_EQ(result, 0) << "an attempt was made";
  EXPECT_EQ(description, u"Before %d");
  EXPECT_EQ(GetRestorePointStatusText(), u"Made %s %s");
}

}  // namespace
}  // namespace zx::test
