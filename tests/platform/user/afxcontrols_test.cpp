// A dialog of the class library built from a template with the standard controls: its
// controls at the pixel rectangles of its font, WM_INITDIALOG, a click injected through the
// queue on an owner-drawn button (drawn selected, focused and default by reflection to the
// control's DrawItem, then BN_CLICKED to the dialog's handler), Enter and Escape, Tab, the
// default id, a timer of the test clock firing in the modal loop, and the notifications of
// edits and combo boxes reaching the message map.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "afxdlg.h"
#include "dialog_template.h"
#include "user_testing.h"
#include "zx/modal.h"

namespace zx::test {
namespace {

constexpr int kTitle = 300, kPicture = 301, kName = 302, kKind = 303, kRemind = 304, kPress = 200;
constexpr UINT_PTR kEndTimer = 7;
constexpr COLORREF kTextColour = 0x48362D;

TemplateWriter ControlsTemplate() {
  TemplateWriter writer(WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0, 200, 150, u"Controls");
  writer.Item(kTitle, u"Static", u"Driver updates", SS_LEFT, 10, 8, 120, 10)
      .Item(kPicture, u"Static", u"", SS_BITMAP, 140, 6, 20, 20)
      .Item(kName, u"Edit", u"", WS_TABSTOP | ES_AUTOHSCROLL, 10, 24, 100, 12)
      .Item(kKind, u"ComboBox", u"", WS_TABSTOP | CBS_DROPDOWNLIST, 10, 42, 100, 60)
      .Item(kRemind, u"Button", u"Remind me", WS_TABSTOP | BS_AUTOCHECKBOX, 10, 60, 80, 10)
      .Item(kPress, u"Button", u"", WS_TABSTOP | BS_OWNERDRAW, 10, 80, 60, 16)
      .Item(IDOK, u"Button", u"OK", WS_TABSTOP | BS_DEFPUSHBUTTON, 90, 125, 50, 14)
      .Item(IDCANCEL, u"Button", u"Cancel", WS_TABSTOP, 145, 125, 50, 14);
  return writer;
}

// The owner-drawn button: records the states it is drawn in.
class CStateButton : public CButton {
 public:
  std::vector<UINT> states;
  void DrawItem(LPDRAWITEMSTRUCT item) override {
    states.push_back(item->itemState);
    CDC* dc = CDC::FromHandle(item->hDC);
    dc->FillSolidRect(&item->rcItem, (item->itemState & ODS_SELECTED) ? RGB(0x5A, 0x36, 0x1B) : RGB(0x1B, 0x12, 0x09));
  }
};

class CControlsDialog : public CDialog {
 public:
  CStateButton press;
  CStatic picture;
  CComboBox kind;
  std::vector<std::string> calls;
  int edits = 0;
  int selections = 0;
  bool pressIsDefault = false;
  HBITMAP bitmap = nullptr;

 protected:
  BOOL OnInitDialog() override {
    calls.push_back("init");
    press.SubclassDlgItem(kPress, this);
    picture.SubclassDlgItem(kPicture, this);
    std::vector<DWORD> pixels(24 * 24, 0xFF2D6F2Du);
    bitmap = CreateBitmap(24, 24, 1, 32, pixels.data());
    picture.SetBitmap(bitmap);
    kind.SubclassDlgItem(kKind, this);
    kind.AddString(u"Download");
    kind.AddString(u"Install");
    if (pressIsDefault) SetDefID(kPress);
    return CDialog::OnInitDialog();
  }
  afx_msg void OnPress() {
    calls.push_back("press");
    SetTimer(kEndTimer, 250);
  }
  afx_msg void OnTimer(UINT_PTR id) {
    if (id != kEndTimer) return;
    KillTimer(id);
    calls.push_back("timer");
    EndDialog(42);
  }
  afx_msg void OnNameChange() { ++edits; }
  afx_msg void OnKindChange() { ++selections; }
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
    if (nCtlColor != CTLCOLOR_STATIC && nCtlColor != CTLCOLOR_DLG && nCtlColor != CTLCOLOR_BTN)
      return CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
    pDC->SetTextColor(kTextColour);
    pDC->SetBkMode(TRANSPARENT);
    return static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CControlsDialog, CDialog)
  ON_BN_CLICKED(kPress, &CControlsDialog::OnPress)
  ON_EN_CHANGE(kName, &CControlsDialog::OnNameChange)
  ON_CBN_SELCHANGE(kKind, &CControlsDialog::OnKindChange)
  ON_WM_TIMER()
  ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

// A check box that chooses its own colours through the reflected WM_CTLCOLOR, as the
// system's check boxes drawn on white do.
class CGreenCheck : public CButton {
 public:
  CBrush green{RGB(0, 200, 0)};
  int asked = 0;

 protected:
  afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor) {
    ++asked;
    EXPECT_EQ(nCtlColor, static_cast<UINT>(CTLCOLOR_BTN));
    pDC->SetTextColor(kTextColour);
    pDC->SetBkMode(TRANSPARENT);
    return green;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CGreenCheck, CButton)
  ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

class CReflectingDialog : public CDialog {
 public:
  CGreenCheck remind;

 protected:
  BOOL OnInitDialog() override {
    remind.SubclassDlgItem(kRemind, this);
    return CDialog::OnInitDialog();
  }
};

class AfxControls : public UserTest {
 protected:
  void TearDown() override {
    user::SetIdleHook(nullptr);
    DeleteObject(dialog_.bitmap);
    UserTest::TearDown();
  }
  // Runs the steps one per idle moment of the modal loop (a step that lets nothing happen
  // leaves the loop waiting).
  INT_PTR RunModal(std::vector<std::function<void()>> steps) {
    const TemplateWriter layout = ControlsTemplate();
    dialog_.InitModalIndirect(layout.Get());
    std::size_t next = 0;
    user::SetIdleHook([&] {
      if (next < steps.size()) steps[next++]();
    });
    return dialog_.DoModal();
  }
  HWND Item(int id) const { return ::GetDlgItem(dialog_.GetSafeHwnd(), id); }
  void PostMouse(UINT message, int id) {
    RECT client;
    ::GetClientRect(Item(id), &client);
    PostMessageW(Item(id), message, message == WM_LBUTTONDOWN ? MK_LBUTTON : 0,
                 MAKELPARAM(client.right / 2, client.bottom / 2));
  }
  static void PostKey(WPARAM key) { PostMessageW(GetFocus(), WM_KEYDOWN, key, 1); }
  RECT PixelRect(int id) const {
    RECT rect;
    ::GetWindowRect(Item(id), &rect);
    MapWindowPoints(nullptr, dialog_.GetSafeHwnd(), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  }
  CControlsDialog dialog_;
};

TEST_F(AfxControls, InjectedClickDrawsTheOwnerDrawnButtonThenItsHandlerEndsTheLoopByTimer) {
  std::vector<UINT> whileDown, afterRelease;
  const INT_PTR result = RunModal({
      [&] { PostMouse(WM_LBUTTONDOWN, kPress); },
      [&] {
        whileDown = dialog_.press.states;
        EXPECT_TRUE(dialog_.calls.size() == 1) << "no click before the button is released";
        PostMouse(WM_LBUTTONUP, kPress);
      },
      [&] {
        afterRelease = dialog_.press.states;
        clock_.Advance(250);
      },
  });
  EXPECT_EQ(result, 42);
  EXPECT_EQ(dialog_.calls, (std::vector<std::string>{"init", "press", "timer"}));
  ASSERT_FALSE(whileDown.empty());
  EXPECT_EQ(whileDown.back(), ODS_SELECTED | ODS_FOCUS);
  ASSERT_FALSE(afterRelease.empty());
  EXPECT_EQ(afterRelease.back(), ODS_FOCUS);
}

TEST_F(AfxControls, EnterPressesTheDefaultIdTheDialogChose) {
  dialog_.pressIsDefault = true;
  const INT_PTR result = RunModal({
      [&] { PostKey(VK_RETURN); },
      [&] { clock_.Advance(250); },
  });
  EXPECT_EQ(result, 42);
  EXPECT_EQ(dialog_.calls, (std::vector<std::string>{"init", "press", "timer"}));
  // Drawn as the default button.
  ASSERT_FALSE(dialog_.press.states.empty());
  EXPECT_TRUE(dialog_.press.states.front() & ODS_DEFAULT);
}

TEST_F(AfxControls, EnterWithoutAChosenIdIsOkAndEscapeIsCancel) {
  EXPECT_EQ(RunModal({[&] { PostKey(VK_RETURN); }}), IDOK);
  EXPECT_EQ(RunModal({[&] { PostKey(VK_ESCAPE); }}), IDCANCEL);
}

TEST_F(AfxControls, TabMovesTheFocusInTheModalLoop) {
  std::vector<int> focused;
  const INT_PTR result = RunModal({
      [&] {
        focused.push_back(GetDlgCtrlID(GetFocus()));
        PostKey(VK_TAB);
      },
      [&] {
        focused.push_back(GetDlgCtrlID(GetFocus()));
        PostKey(VK_TAB);
      },
      [&] {
        focused.push_back(GetDlgCtrlID(GetFocus()));
        PostKey(VK_ESCAPE);
      },
  });
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_EQ(focused, (std::vector<int>{kName, kKind, kRemind}));
}

TEST_F(AfxControls, ControlsSitAtThePixelRectanglesOfTheFont) {
  const TemplateWriter layout = ControlsTemplate();
  ASSERT_TRUE(dialog_.CreateIndirect(layout.Get()));
  EXPECT_EQ(dialog_.calls.front(), "init");
  const RECT press = PixelRect(kPress);  // (10, 80, 60, 16) units at 7 x 14 base units
  EXPECT_EQ(press.left, 18);
  EXPECT_EQ(press.top, 140);
  EXPECT_EQ(press.right, 123);
  EXPECT_EQ(press.bottom, 168);
  const RECT name = PixelRect(kName);
  EXPECT_EQ(name.top, 42);
  EXPECT_EQ(name.bottom, 63);
  // The picture static took its bitmap's size.
  const RECT picture = PixelRect(kPicture);
  EXPECT_EQ(picture.right - picture.left, 24);
  EXPECT_EQ(picture.bottom - picture.top, 24);
  EXPECT_EQ(CWnd::FromHandlePermanent(Item(kPress)), static_cast<CWnd*>(&dialog_.press));
  dialog_.DestroyWindow();
}

TEST_F(AfxControls, EditAndComboNotificationsReachTheMessageMap) {
  const TemplateWriter layout = ControlsTemplate();
  ASSERT_TRUE(dialog_.CreateIndirect(layout.Get()));
  for (char16_t c : std::u16string(u"abc")) PostMessageW(Item(kName), WM_CHAR, c, 1);
  PostMessageW(Item(kKind), WM_KEYDOWN, VK_DOWN, 1);
  PumpWaiting();
  EXPECT_EQ(dialog_.edits, 3);
  EXPECT_EQ(dialog_.selections, 1);
  CString text;
  EXPECT_EQ(dialog_.GetDlgItemText(kName, text), 3);
  EXPECT_EQ(text, CString(u"abc"));
  dialog_.CheckDlgButton(kRemind, BST_CHECKED);
  EXPECT_EQ(dialog_.IsDlgButtonChecked(kRemind), BST_CHECKED);
  CString chosen;
  dialog_.kind.GetLBText(dialog_.kind.GetCurSel(), chosen);
  EXPECT_EQ(chosen, CString(u"Download"));
  dialog_.DestroyWindow();
}

TEST_F(AfxControls, GetDlgItemAnswersAnObjectOfTheControlsClass) {
  const TemplateWriter layout = ControlsTemplate();
  ASSERT_TRUE(dialog_.CreateIndirect(layout.Get()));
  CWnd* remind = dialog_.GetDlgItem(kRemind);
  ASSERT_NE(remind, nullptr);
  EXPECT_TRUE(remind->IsKindOf(RUNTIME_CLASS(CButton)));
  static_cast<CButton*>(remind)->SetCheck(BST_CHECKED);
  EXPECT_EQ(dialog_.IsDlgButtonChecked(kRemind), BST_CHECKED);
  CWnd* name = dialog_.GetDlgItem(kName);
  EXPECT_TRUE(name->IsKindOf(RUNTIME_CLASS(CEdit)));
  static_cast<CEdit*>(name)->LimitText(2);
  EXPECT_EQ(static_cast<CEdit*>(name)->GetLimitText(), 2u);
  EXPECT_TRUE(dialog_.GetDlgItem(kTitle)->IsKindOf(RUNTIME_CLASS(CStatic)));
  // The subclassed combo box is the dialog's own object.
  EXPECT_EQ(dialog_.GetDlgItem(kKind), static_cast<CWnd*>(&dialog_.kind));
  dialog_.DestroyWindow();
}

TEST_F(AfxControls, StaticsTakeTheColoursOfTheDialogsOnCtlColor) {
  const TemplateWriter layout = ControlsTemplate();
  ASSERT_TRUE(dialog_.CreateIndirect(layout.Get()));
  dialog_.ShowWindow(SW_SHOW);
  dialog_.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  CClientDC dc(&dialog_);
  const RECT title = PixelRect(kTitle);
  EXPECT_EQ(dc.GetPixel(title.right - 1, title.bottom - 1), RGB(255, 255, 255));
  EXPECT_EQ(dc.GetPixel(2, 2), RGB(255, 255, 255));  // the dialog's own background
  int ink = 0;
  for (int x = title.left; x < title.right; ++x)
    for (int y = title.top; y < title.bottom; ++y) ink += dc.GetPixel(x, y) == kTextColour;
  EXPECT_GT(ink, 0);
  const RECT picture = PixelRect(kPicture);
  EXPECT_EQ(dc.GetPixel(picture.left + 3, picture.top + 3), RGB(0x2D, 0x6F, 0x2D));
}

TEST_F(AfxControls, AControlAnswersItsOwnColoursByReflection) {
  const TemplateWriter layout = ControlsTemplate();
  CReflectingDialog reflecting;
  ASSERT_TRUE(reflecting.CreateIndirect(layout.Get()));
  reflecting.remind.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_GT(reflecting.remind.asked, 0);
  CClientDC dc(&reflecting.remind);
  CRect client;
  reflecting.remind.GetClientRect(&client);
  EXPECT_EQ(dc.GetPixel(client.right - 1, 0), RGB(0, 200, 0));
  reflecting.DestroyWindow();
}

}  // namespace
}  // namespace zx::test
