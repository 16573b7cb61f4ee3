// The About box: 630 x 406 over its backdrop, its texts built from the language texts with
// the product name, closed by its OK button, the frame's close button, Escape and Enter (the
// shared template name "ABOUT" only meanwhile), and its look.
#include "DlgAbout.h"
#include "DlgBaseShared.h"
#include "DlgParentTransculent.h"
#include "cstring_printer.h"
#include "dialogs_testing.h"

namespace zx::test {
namespace {

class About : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    ASSERT_TRUE(owner_.CreateEx(0, AfxRegisterWndClass(0), u"Owner", WS_POPUP | WS_VISIBLE, 20, 20, 772, 583, nullptr,
                                nullptr));
  }
  void TearDown() override {
    if (owner_.GetSafeHwnd()) owner_.DestroyWindow();
    DialogTest::TearDown();
  }
  // The About box now in front.
  static HWND AboutWindow() {
    HWND found = nullptr;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND window, LPARAM out) {
          if (dynamic_cast<CDlgAbout*>(CWnd::FromHandlePermanent(window)) == nullptr) return TRUE;
          *reinterpret_cast<HWND*>(out) = window;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
  }
  CWnd owner_;
};

TEST_F(About, ItsOkButtonEscapeAndEnterCloseIt) {
  const std::function<void(HWND)> closes[] = {
      [](HWND about) { Click(::GetDlgItem(about, IDOK)); },
      [](HWND about) { Click(::GetDlgItem(about, kPopupCloseCommand)); },
      [](HWND) { Tap(VK_ESCAPE); },
      [](HWND) { Tap(VK_RETURN); },
  };
  for (const auto& close : closes) {
    bool seen = false;
    CString nameWhileShown;
    WhileModal({[&] {
      const HWND about = AboutWindow();
      if (about == nullptr) return false;
      seen = true;
      nameWhileShown = g_strDialogTemplateName;
      close(about);
      return true;
    }});
    ShowAboutDialog(&owner_);
    ExpectAllStepsRan();
    EXPECT_TRUE(seen);
    EXPECT_EQ(AboutWindow(), nullptr);
    EXPECT_EQ(nameWhileShown, CString(u"ABOUT"));
    EXPECT_TRUE(g_strDialogTemplateName.IsEmpty());
  }
}

TEST_F(About, ShowsTheProductsTextsAtItsFixedSize) {
  CDlgAbout about(&owner_);
  CRect window;
  CString caption;
  WhileModal({[&] {
    about.GetWindowRect(&window);
    about.GetWindowText(caption);
    Tap(VK_ESCAPE);
    return true;
  }});
  RunModalWithBackdrop(&owner_, &about, CDlgAbout::kTemplateId);
  ExpectAllStepsRan();
  EXPECT_EQ(window.Size(), CSize(630, 406));
  EXPECT_EQ(caption, CString(u"About"));
  EXPECT_EQ(about.GetDescription().Find(u"Zephrin Tunevo keeps the drivers"), 0);
  // A program other than the main program shows its own version (the test program's record),
  // not the shared library's, which carries none here.
  EXPECT_EQ(about.GetVersionText(), CString(u"Version 7.2.0.5"));
}

// The box is made where its layout keeps it, over the middle of the window: the layout its
// size message brings comes once it is shown, and it is never seen at the corner first.
TEST_F(About, IsMadeWhereItsLayoutKeepsIt) {
  CDlgAbout about(&owner_);
  ASSERT_TRUE(about.Create(CDlgAbout::kTemplateId, &owner_));
  CRect made, laidOut;
  about.GetWindowRect(&made);
  Pump();
  about.GetWindowRect(&laidOut);
  EXPECT_EQ(made, laidOut);
  EXPECT_NE(made.TopLeft(), CPoint(0, 0));
  about.DestroyWindow();
}

TEST_F(About, MatchesTheReference) {
  CDlgAbout about(&owner_);
  WhileModal({[&] {
                about.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
                return true;
              },
              [&] {
                ExpectWindowMatches(about.GetSafeHwnd(), "about.png");
                Tap(VK_ESCAPE);
                return true;
              }});
  RunModalWithBackdrop(&owner_, &about, CDlgAbout::kTemplateId);
  ExpectAllStepsRan();
}

}  // namespace
}  // namespace zx::test
