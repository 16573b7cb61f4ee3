// The dialog keys over real controls: Tab and Shift+Tab among the tab stops, the arrow keys
// within a group, Enter for the focused push button or the default id (DM_SETDEFID), Escape,
// controls that keep keys for themselves, WM_NEXTDLGCTL and the dialog's background.
#include <gtest/gtest.h>

#include <vector>

#include "dialog_template.h"
#include "user_testing.h"
#include "windlg.h"
#include "wingdi.h"

namespace zx::test {
namespace {

constexpr int kName = 100, kNotes = 101, kFast = 110, kSlow = 111, kApply = 120, kHidden = 121;

std::vector<WPARAM>* g_commands = nullptr;
HBRUSH g_dialogBrush = nullptr;

// Records the clicks (not the edits' focus notifications); the focus goes to the first tab
// stop.
INT_PTR CALLBACK KeysProc(HWND, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) return TRUE;
  if (message == WM_COMMAND) {
    if (HIWORD(wParam) == BN_CLICKED) g_commands->push_back(wParam);
    return TRUE;
  }
  if (message == WM_CTLCOLORDLG && g_dialogBrush) return reinterpret_cast<INT_PTR>(g_dialogBrush);
  return FALSE;
}

TemplateWriter KeysTemplate() {
  TemplateWriter writer(WS_POPUP | WS_CAPTION | WS_VISIBLE, 0, 0, 200, 120, u"Keys");
  writer.Item(kName, u"Edit", u"name", WS_TABSTOP | WS_GROUP, 10, 10, 100, 12)
      .Item(kNotes, u"Edit", u"", WS_TABSTOP | ES_MULTILINE | ES_WANTRETURN, 10, 26, 100, 30)
      .Item(kFast, u"Button", u"Fast", WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON, 10, 60, 50, 10)
      .Item(kSlow, u"Button", u"Slow", BS_AUTORADIOBUTTON, 10, 72, 50, 10)
      .Item(kHidden, u"Button", u"Hidden", WS_TABSTOP | WS_GROUP | WS_DISABLED, 60, 60, 40, 14)
      .Item(kApply, u"Button", u"Apply", WS_TABSTOP, 90, 100, 40, 14)
      .Item(IDOK, u"Button", u"OK", WS_TABSTOP | BS_DEFPUSHBUTTON, 140, 100, 40, 14)
      .Item(IDCANCEL, u"Button", u"Cancel", WS_TABSTOP, 140, 84, 40, 14);
  return writer;
}

class DialogKeys : public UserTest {
 protected:
  void SetUp() override {
    UserTest::SetUp();
    g_commands = &commands_;
    dialog_ = CreateDialogIndirectParamW(nullptr, KeysTemplate().Get(), nullptr, KeysProc, 0);
    ASSERT_NE(dialog_, nullptr);
  }
  void TearDown() override {
    UserTest::TearDown();
    g_commands = nullptr;
    g_dialogBrush = nullptr;
  }
  // A key pressed on the focused window, through the dialog manager.
  void Press(WPARAM key) {
    MSG msg{GetFocus(), WM_KEYDOWN, key, 1, 0, {}};
    EXPECT_TRUE(IsDialogMessageW(dialog_, &msg));
    PumpWaiting();
  }
  // The shift key goes down or up through the queue (the thread's key state follows it).
  static void Shift(bool down) {
    PostMessageW(GetFocus(), down ? WM_KEYDOWN : WM_KEYUP, VK_SHIFT, 1);
    PumpWaiting();
  }
  int Focused() const { return GetDlgCtrlID(GetFocus()); }
  std::vector<WPARAM> commands_;
  HWND dialog_ = nullptr;
};

TEST_F(DialogKeys, FocusStartsOnTheFirstTabStopAndTabWalksTheTabStops) {
  EXPECT_EQ(Focused(), kName);
  Press(VK_TAB);
  EXPECT_EQ(Focused(), kNotes);
  Press(VK_TAB);
  EXPECT_EQ(Focused(), kFast);
  Press(VK_TAB);  // the disabled button and the radio without a tab stop are passed over
  EXPECT_EQ(Focused(), kApply);
  Press(VK_TAB);
  Press(VK_TAB);
  EXPECT_EQ(Focused(), IDCANCEL);
  Press(VK_TAB);  // and round again
  EXPECT_EQ(Focused(), kName);
  Shift(true);
  Press(VK_TAB);
  EXPECT_EQ(Focused(), IDCANCEL);
  Press(VK_TAB);
  EXPECT_EQ(Focused(), IDOK);
  Shift(false);
  Press(VK_TAB);
  EXPECT_EQ(Focused(), IDCANCEL);
  EXPECT_TRUE(commands_.empty());
}

TEST_F(DialogKeys, TabbingIntoAnEditSelectsItsText) {
  SetFocus(GetDlgItem(dialog_, IDCANCEL));
  Press(VK_TAB);
  EXPECT_EQ(Focused(), kName);
  EXPECT_EQ(SendDlgItemMessageW(dialog_, kName, EM_GETSEL, 0, 0), MAKELRESULT(0, 4));
}

TEST_F(DialogKeys, EnterIsTheDefaultIdAndDmSetDefIdChangesIt) {
  EXPECT_EQ(SendMessageW(dialog_, DM_GETDEFID, 0, 0), MAKELRESULT(IDOK, DC_HASDEFID));
  Press(VK_RETURN);
  ASSERT_EQ(commands_.size(), 1u);
  EXPECT_EQ(commands_[0], MAKEWPARAM(IDOK, BN_CLICKED));
  SendMessageW(dialog_, DM_SETDEFID, kApply, 0);
  EXPECT_EQ(SendMessageW(dialog_, DM_GETDEFID, 0, 0), MAKELRESULT(kApply, DC_HASDEFID));
  // The buttons change style with it.
  EXPECT_EQ(GetWindowLongPtrW(GetDlgItem(dialog_, kApply), GWL_STYLE) & BS_TYPEMASK,
            static_cast<LONG_PTR>(BS_DEFPUSHBUTTON));
  EXPECT_EQ(GetWindowLongPtrW(GetDlgItem(dialog_, IDOK), GWL_STYLE) & BS_TYPEMASK,
            static_cast<LONG_PTR>(BS_PUSHBUTTON));
  Press(VK_RETURN);
  ASSERT_EQ(commands_.size(), 2u);
  EXPECT_EQ(LOWORD(commands_[1]), kApply);
}

TEST_F(DialogKeys, EnterOnAFocusedPushButtonIsThatButton) {
  SetFocus(GetDlgItem(dialog_, IDCANCEL));
  Press(VK_RETURN);
  ASSERT_EQ(commands_.size(), 1u);
  EXPECT_EQ(LOWORD(commands_[0]), IDCANCEL);
}

TEST_F(DialogKeys, EnterDoesNothingWhenTheDefaultButtonIsDisabled) {
  EnableWindow(GetDlgItem(dialog_, IDOK), FALSE);
  Press(VK_RETURN);
  EXPECT_TRUE(commands_.empty());
}

TEST_F(DialogKeys, EscapeIsCancel) {
  Press(VK_ESCAPE);
  ASSERT_EQ(commands_.size(), 1u);
  EXPECT_EQ(commands_[0], MAKEWPARAM(IDCANCEL, BN_CLICKED));
}

TEST_F(DialogKeys, AMultiLineEditKeepsEnterAndArrowsForItself) {
  SetFocus(GetDlgItem(dialog_, kNotes));
  Press(VK_RETURN);
  Press(VK_DOWN);
  EXPECT_TRUE(commands_.empty());
  EXPECT_EQ(Focused(), kNotes);
}

TEST_F(DialogKeys, ArrowsMoveWithinTheGroupAndCheckRadioButtons) {
  SetFocus(GetDlgItem(dialog_, kFast));
  Press(VK_DOWN);
  EXPECT_EQ(Focused(), kSlow);
  EXPECT_EQ(IsDlgButtonChecked(dialog_, kSlow), BST_CHECKED);
  Press(VK_DOWN);  // the group wraps round
  EXPECT_EQ(Focused(), kFast);
  EXPECT_EQ(IsDlgButtonChecked(dialog_, kFast), BST_CHECKED);
  EXPECT_EQ(IsDlgButtonChecked(dialog_, kSlow), BST_UNCHECKED);
  Press(VK_UP);
  EXPECT_EQ(Focused(), kSlow);
}

TEST_F(DialogKeys, NextDialogControlMovesTheFocus) {
  SendMessageW(dialog_, WM_NEXTDLGCTL, 0, FALSE);
  EXPECT_EQ(Focused(), kNotes);
  SendMessageW(dialog_, WM_NEXTDLGCTL, 1, FALSE);
  EXPECT_EQ(Focused(), kName);
  SendMessageW(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog_, IDOK)), TRUE);
  EXPECT_EQ(Focused(), IDOK);
  EXPECT_EQ(GetNextDlgTabItem(dialog_, nullptr, FALSE), GetDlgItem(dialog_, kName));
  EXPECT_EQ(GetNextDlgTabItem(dialog_, nullptr, TRUE), GetDlgItem(dialog_, IDCANCEL));
}

TEST_F(DialogKeys, TheFocusedControlGetsTheFocusBackWhenTheDialogIsActiveAgain) {
  SetFocus(GetDlgItem(dialog_, kApply));
  const HWND other = MakeWindow(WS_POPUP | WS_VISIBLE);
  SetActiveWindow(other);
  EXPECT_EQ(GetFocus(), other);
  SetActiveWindow(dialog_);
  EXPECT_EQ(Focused(), kApply);
  // A control that went away meanwhile leaves the focus to the dialog.
  SetActiveWindow(other);
  DestroyWindow(GetDlgItem(dialog_, kApply));
  SetActiveWindow(dialog_);
  EXPECT_EQ(GetFocus(), dialog_);
}

TEST_F(DialogKeys, TheDialogIsErasedWithTheBrushItAnswers) {
  g_dialogBrush = CreateSolidBrush(RGB(255, 255, 255));
  RedrawWindow(dialog_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  HDC dc = GetDC(dialog_);
  EXPECT_EQ(GetPixel(dc, 340, 5), RGB(255, 255, 255));
  ReleaseDC(dialog_, dc);
  DeleteObject(g_dialogBrush);
}

TEST_F(DialogKeys, WithoutAnAnswerTheDialogIsTheFaceColour) {
  RedrawWindow(dialog_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  HDC dc = GetDC(dialog_);
  EXPECT_EQ(GetPixel(dc, 340, 5), GetSysColor(COLOR_3DFACE));
  ReleaseDC(dialog_, dc);
}

INT_PTR CALLBACK PageProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

TEST_F(DialogKeys, TabWalksIntoAChildDialogMadeAsAControl) {
  TemplateWriter page(WS_CHILD | WS_VISIBLE | DS_CONTROL, 0, 0, 100, 40, u"");
  page.Item(200, u"Edit", u"", WS_TABSTOP, 5, 5, 60, 12)
      .Item(201, u"Button", u"A", WS_TABSTOP | BS_AUTORADIOBUTTON | WS_GROUP, 5, 20, 30, 10)
      .Item(202, u"Button", u"B", BS_AUTORADIOBUTTON, 40, 20, 30, 10);
  const HWND child = CreateDialogIndirectParamW(nullptr, page.Get(), dialog_, PageProc, 0);
  ASSERT_NE(child, nullptr);
  EXPECT_TRUE(GetWindowLongPtrW(child, GWL_EXSTYLE) & WS_EX_CONTROLPARENT);
  SetFocus(GetDlgItem(dialog_, IDCANCEL));
  Press(VK_TAB);
  EXPECT_EQ(GetFocus(), GetDlgItem(child, 200));
  Press(VK_TAB);
  EXPECT_EQ(GetFocus(), GetDlgItem(child, 201));
  // The arrows stay within the page's group.
  Press(VK_RIGHT);
  EXPECT_EQ(GetFocus(), GetDlgItem(child, 202));
  Press(VK_RIGHT);
  EXPECT_EQ(GetFocus(), GetDlgItem(child, 201));
  Press(VK_TAB);  // out of the page again, round to the dialog's first tab stop
  EXPECT_EQ(Focused(), kName);
}

}  // namespace
}  // namespace zx::test
