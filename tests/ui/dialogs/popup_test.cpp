// The framed popups: a nag popup over its translucent backdrop answers 2 for Escape, 1 for
// its OK button and Enter, and what EndWithResult stored; the backdrop lies on the owner
// (one pixel in, alpha 171) with the owner disabled meanwhile; a plain popup's close button
// ends it, a close callback replaces that, and a non-resizable popup ignores caption double
// clicks; the looks match the reference pictures.
#include "DlgBaseChildPopUpWndBase.h"
#include "DlgBaseWndPopupNagBase.h"
#include "DlgParentTransculent.h"
#include "dialogs_testing.h"
#include "wininput.h"
#include "zx/input.h"

namespace zx::test {
namespace {

constexpr UINT kPopupTemplate = 4003;

class TestNag : public CDlgBaseWndPopupNagBase {
 public:
  TestNag() : CDlgBaseWndPopupNagBase(kPopupTemplate, nullptr) {}
};

class TestPopup : public CDlgBaseChildPopUpWndBase {
 public:
  TestPopup() : CDlgBaseChildPopUpWndBase(kPopupTemplate, nullptr) {}
};

class Popup : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    ASSERT_TRUE(owner_.CreateEx(0, AfxRegisterWndClass(0), u"Owner", WS_POPUP | WS_VISIBLE, 60, 40, 500, 360,
                                nullptr, nullptr));
    Pump();
  }
  void TearDown() override {
    if (owner_.GetSafeHwnd()) owner_.DestroyWindow();
    DialogTest::TearDown();
  }
  // The popup window now running over the backdrop.
  static HWND NagWindow(TestNag& nag) { return nag.GetSafeHwnd(); }

  CWnd owner_;
};

TEST_F(Popup, EscapeInANagPopupAnswersTwo) {
  TestNag nag;
  WhileModal({[&] {
    Tap(VK_ESCAPE);
    return true;
  }});
  EXPECT_EQ(RunModalWithBackdrop(&owner_, &nag, kPopupTemplate), IDCANCEL);
  ExpectAllStepsRan();
  EXPECT_EQ(nag.GetSafeHwnd(), nullptr);
}

TEST_F(Popup, TheOkButtonAndEnterAnswerOne) {
  for (bool click : {true, false}) {
    TestNag nag;
    WhileModal({[&] {
      if (click) Click(::GetDlgItem(nag.GetSafeHwnd(), IDOK));
      else Tap(VK_RETURN);
      return true;
    }});
    EXPECT_EQ(RunModalWithBackdrop(&owner_, &nag, kPopupTemplate), IDOK) << click;
    ExpectAllStepsRan();
  }
}

TEST_F(Popup, EndWithResultAnswersTheStoredResult) {
  TestNag nag;
  WhileModal({[&] {
    nag.EndWithResult(7);
    return true;
  }});
  EXPECT_EQ(RunModalWithBackdrop(&owner_, &nag, kPopupTemplate), 7);
  ExpectAllStepsRan();
}

TEST_F(Popup, AnOwnerPartlyOffTheScreenBringsTheMainWindowOnScreenCentred) {
  CWinApp app(u"zephrinkx");
  app.m_pMainWnd = &owner_;
  owner_.SetWindowPos(nullptr, -300, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  TestNag nag;
  CRect backdrop;
  WhileModal({[&] {
    ::GetWindowRect(::GetWindow(nag.GetSafeHwnd(), GW_OWNER), &backdrop);
    Tap(VK_ESCAPE);
    return true;
  }});
  EXPECT_EQ(RunModalWithBackdrop(&owner_, &nag, kPopupTemplate), IDCANCEL);
  ExpectAllStepsRan();
  app.m_pMainWnd = nullptr;
  CRect work, owner;
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  owner_.GetWindowRect(&owner);
  EXPECT_EQ(owner.Size(), CSize(500, 360));
  EXPECT_EQ(owner.CenterPoint(), work.CenterPoint());
  // The backdrop lies on the owner where it was brought.
  CRect inside(owner);
  inside.DeflateRect(1, 1);
  EXPECT_EQ(backdrop, inside);
}

TEST_F(Popup, TheBackdropLiesOnTheOwnerWhichIsDisabledMeanwhile) {
  TestNag nag;
  CRect backdrop;
  BYTE alpha = 0;
  BOOL ownerEnabled = TRUE;
  WhileModal({[&] {
    const HWND window = ::GetWindow(nag.GetSafeHwnd(), GW_OWNER);
    ::GetWindowRect(window, &backdrop);
    COLORREF key = 0;
    DWORD flags = 0;
    ::GetLayeredWindowAttributes(window, &key, &alpha, &flags);
    ownerEnabled = owner_.IsWindowEnabled();
    Tap(VK_ESCAPE);
    return true;
  }});
  RunModalWithBackdrop(&owner_, &nag, kPopupTemplate);
  ExpectAllStepsRan();
  EXPECT_EQ(backdrop, CRect(61, 41, 559, 399));
  EXPECT_EQ(alpha, 171);
  EXPECT_FALSE(ownerEnabled);
  EXPECT_TRUE(owner_.IsWindowEnabled());
}

TEST_F(Popup, ANagPopupOverItsBackdropMatchesTheReference) {
  TestNag nag;
  WhileModal({[&] {
                ::RedrawWindow(nag.GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
                return true;
              },
              [&] {
                ExpectScreenMatches(RECT{60, 40, 560, 400}, "nag_over_backdrop.png");
                Tap(VK_ESCAPE);
                return true;
              }});
  RunModalWithBackdrop(&owner_, &nag, kPopupTemplate);
  ExpectAllStepsRan();
}

TEST_F(Popup, ThePlainPopupsCloseButtonEndsItAndMatchesTheReference) {
  TestPopup popup;
  popup.SetHeader(TRUE, TRUE);
  WhileModal({[&] {
                ::RedrawWindow(popup.GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
                return true;
              },
              [&] {
                ExpectWindowMatches(popup.GetSafeHwnd(), "framed_popup.png");
                Click(::GetDlgItem(popup.GetSafeHwnd(), kPopupCloseCommand));
                return true;
              }});
  EXPECT_EQ(popup.DoModal(), IDCANCEL);
  ExpectAllStepsRan();
}

int g_closeCalls = 0;
void CountClose(CDlgBaseChildPopUpWndBase*) { ++g_closeCalls; }

TEST_F(Popup, ACloseCallbackTakesThePlaceOfClosing) {
  TestPopup popup;
  popup.SetCloseCallback(&CountClose, TRUE);
  g_closeCalls = 0;
  bool openAfterClose = false;
  WhileModal({[&] {
                Click(::GetDlgItem(popup.GetSafeHwnd(), kPopupCloseCommand));
                return true;
              },
              [&] {
                openAfterClose = ::IsWindowVisible(popup.GetSafeHwnd()) != FALSE;
                popup.EndDialog(IDABORT);
                return true;
              }});
  EXPECT_EQ(popup.DoModal(), IDABORT);
  ExpectAllStepsRan();
  EXPECT_EQ(g_closeCalls, 1);
  EXPECT_TRUE(openAfterClose);
}

// The system menu's Close runs the close request once and nothing after it: with a callback
// in place the popup stays open.
TEST_F(Popup, TheSystemCloseCommandRunsTheCloseRequestOnly) {
  TestPopup popup;
  popup.SetCloseCallback(&CountClose, TRUE);
  g_closeCalls = 0;
  bool openAfterClose = false;
  WhileModal({[&] {
                popup.SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
                popup.PostMessage(WM_NULL);  // the next wait comes after it
                return true;
              },
              [&] {
                openAfterClose = ::IsWindowVisible(popup.GetSafeHwnd()) != FALSE;
                popup.EndDialog(IDABORT);
                return true;
              }});
  EXPECT_EQ(popup.DoModal(), IDABORT);
  ExpectAllStepsRan();
  EXPECT_EQ(g_closeCalls, 1);
  EXPECT_TRUE(openAfterClose);
}

// The band is the top 29 pixels: a press at y 28 drags, one at y 29 does not.
TEST_F(Popup, APlainPopupIsDraggedByItsCaptionAnEmbeddedOneIsNot) {
  CRect before, after;
  POINT grab{};
  int grabY = 10;
  auto dragSteps = [&](CWnd& popup, std::function<void()> end) {
    WhileModal({[&] {
                  popup.GetWindowRect(&before);
                  grab = POINT{before.left + 100, before.top + grabY};
                  user::InjectMouse(grab, WM_MOUSEMOVE);
                  user::InjectMouse(grab, WM_LBUTTONDOWN);
                  return true;
                },
                [&] {
                  user::InjectMouse(POINT{grab.x + 40, grab.y + 30}, WM_MOUSEMOVE);
                  return true;
                },
                [&] {
                  user::InjectMouse(POINT{grab.x + 40, grab.y + 30}, WM_LBUTTONUP);
                  return true;
                },
                [&, end] {
                  popup.GetWindowRect(&after);
                  end();
                  return true;
                }});
  };
  const struct {
    int y;
    CSize moved;
  } kPresses[] = {{10, CSize(40, 30)}, {28, CSize(40, 30)}, {29, CSize(0, 0)}};
  for (const auto& press : kPresses) {
    grabY = press.y;
    TestPopup plain;
    dragSteps(plain, [&] { plain.EndDialog(IDOK); });
    plain.DoModal();
    ExpectAllStepsRan();
    EXPECT_EQ(after.TopLeft() - before.TopLeft(), press.moved) << press.y;
  }

  TestNag embedded;
  dragSteps(embedded, [&] { embedded.EndWithResult(IDOK); });
  RunModalWithBackdrop(&owner_, &embedded, kPopupTemplate);
  ExpectAllStepsRan();
  EXPECT_EQ(after, before);
}

TEST_F(Popup, CaptionDoubleClicksMaximiseOnlyAResizablePopup) {
  for (BOOL resizable : {FALSE, TRUE}) {
    TestPopup popup;
    popup.SetResizable(resizable);
    BOOL maximised = FALSE;
    WhileModal({[&] {
                  CRect window;
                  ::GetWindowRect(popup.GetSafeHwnd(), &window);
                  const POINT band{window.left + 100, window.top + 10};
                  user::InjectMouse(band, WM_LBUTTONDBLCLK);
                  return true;
                },
                [&] {
                  maximised = popup.IsMaximised();
                  popup.EndDialog(IDOK);
                  return true;
                }});
    popup.DoModal();
    ExpectAllStepsRan();
    EXPECT_EQ(maximised, resizable);
  }
}

}  // namespace
}  // namespace zx::test
