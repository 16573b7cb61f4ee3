// The standard controls: buttons and their checks, clicks and owner drawing, statics with
// text and pictures, edits and rich edits typed into within their limits, drop-down combo
// boxes, and the colours their parents choose.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "richedit.h"
#include "user_testing.h"
#include "windlg.h"
#include "windraw.h"
#include "winresource.h"
#include "wingdi.h"
#include "wininput.h"
#include "zx/input.h"

namespace zx::test {
namespace {

struct Command {
  int id;
  int code;
};

struct Drawn {
  UINT action;
  UINT state;
  UINT type;
};

// Controls live in a recorder window that records their commands and owner drawing.
class Controls : public UserTest {
 protected:
  void SetUp() override {
    UserTest::SetUp();
    parent_ = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    OnMessage(WM_COMMAND, [this](HWND, UINT, WPARAM w, LPARAM) {
      commands_.push_back({LOWORD(w), static_cast<SHORT>(HIWORD(w))});
      return LRESULT{0};
    });
    OnMessage(WM_DRAWITEM, [this](HWND, UINT, WPARAM, LPARAM l) {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(l);
      drawn_.push_back({item->itemAction, item->itemState, item->CtlType});
      return LRESULT{TRUE};
    });
  }
  HWND Make(LPCWSTR cls, LPCWSTR text, DWORD style, int id, int width = 100, int height = 24) {
    return CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, 10, 10, width, height,
                           parent_, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr,
                           nullptr);
  }
  int CountOf(int id, int code) const {
    int n = 0;
    for (const Command& c : commands_) n += c.id == id && c.code == code;
    return n;
  }
  static void Click(HWND window) {
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    PumpWaiting();
  }
  static std::u16string Text(HWND window) {
    WCHAR text[256];
    GetWindowTextW(window, text, 256);
    return text;
  }
  static void Type(HWND window, const std::u16string& keys) {
    for (char16_t c : keys) PostMessageW(window, WM_CHAR, c, 1);
    PumpWaiting();
  }
  HWND parent_ = nullptr;
  std::vector<Command> commands_;
  std::vector<Drawn> drawn_;
};

// ---------------------------------------------------------------------------------------
// Buttons.

TEST_F(Controls, PushButtonClickNotifiesItsParentOnceOnRelease) {
  const HWND button = Make(WC_BUTTONW, u"Go", BS_PUSHBUTTON, 10);
  PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PumpWaiting();
  EXPECT_EQ(SendMessageW(button, BM_GETSTATE, 0, 0), static_cast<LRESULT>(BST_PUSHED | BST_FOCUS));
  EXPECT_EQ(CountOf(10, BN_CLICKED), 0);
  PostMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  PumpWaiting();
  EXPECT_EQ(CountOf(10, BN_CLICKED), 1);
  EXPECT_EQ(SendMessageW(button, BM_GETSTATE, 0, 0), static_cast<LRESULT>(BST_FOCUS));
}

TEST_F(Controls, ReleasingOutsideTheButtonIsNoClick) {
  const HWND button = Make(WC_BUTTONW, u"Go", BS_PUSHBUTTON, 10);
  PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageW(button, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(500, 5));
  PostMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(500, 5));
  PumpWaiting();
  EXPECT_EQ(CountOf(10, BN_CLICKED), 0);
  EXPECT_EQ(SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED, 0);
}

TEST_F(Controls, AButtonHoldsTheMouseWhilePressedAndAReleaseElsewhereIsNoClick) {
  const HWND button = Make(WC_BUTTONW, u"Go", BS_PUSHBUTTON, 11, 60, 20);
  POINT inside{30, 10}, outside{200, 150};
  ClientToScreen(button, &inside);
  ClientToScreen(button, &outside);
  EXPECT_EQ(user::InjectMouse(inside, WM_LBUTTONDOWN), button);
  PumpWaiting();
  EXPECT_EQ(GetCapture(), button);
  EXPECT_EQ(user::InjectMouse(outside, WM_MOUSEMOVE), button);
  PumpWaiting();
  EXPECT_EQ(SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED, 0);
  EXPECT_EQ(user::InjectMouse(outside, WM_LBUTTONUP), button);
  PumpWaiting();
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(CountOf(11, BN_CLICKED), 0);
  user::InjectMouse(inside, WM_LBUTTONDOWN);
  user::InjectMouse(inside, WM_LBUTTONUP);
  PumpWaiting();
  EXPECT_EQ(CountOf(11, BN_CLICKED), 1);
}

TEST_F(Controls, SpaceClicksTheFocusedButtonAndBmClickClicksAtOnce) {
  const HWND button = Make(WC_BUTTONW, u"Go", BS_PUSHBUTTON, 10);
  SetFocus(button);
  PostMessageW(button, WM_KEYDOWN, VK_SPACE, 1);
  PostMessageW(button, WM_KEYUP, VK_SPACE, 1);
  PumpWaiting();
  SendMessageW(button, BM_CLICK, 0, 0);
  EXPECT_EQ(CountOf(10, BN_CLICKED), 2);
  EnableWindow(button, FALSE);
  SendMessageW(button, BM_CLICK, 0, 0);
  EXPECT_EQ(CountOf(10, BN_CLICKED), 2);
}

TEST_F(Controls, OwnerDrawnButtonIsDrawnSelectedWhileDownWithFocusAndThenClicked) {
  const HWND button = Make(WC_BUTTONW, u"", BS_OWNERDRAW, 20);
  RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  ASSERT_FALSE(drawn_.empty());
  EXPECT_EQ(drawn_.back().action, ODA_DRAWENTIRE);
  EXPECT_EQ(drawn_.back().state, 0u);
  EXPECT_EQ(drawn_.back().type, static_cast<UINT>(ODT_BUTTON));
  drawn_.clear();
  PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PumpWaiting();
  ASSERT_FALSE(drawn_.empty());
  EXPECT_EQ(drawn_.back().action, ODA_SELECT);
  EXPECT_EQ(drawn_.back().state, ODS_SELECTED | ODS_FOCUS);
  EXPECT_TRUE(commands_.empty());
  PostMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  PumpWaiting();
  EXPECT_EQ(drawn_.back().action, ODA_SELECT);
  EXPECT_EQ(drawn_.back().state, ODS_FOCUS);
  EXPECT_EQ(CountOf(20, BN_CLICKED), 1);
  EnableWindow(button, FALSE);
  UpdateWindow(button);
  RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(drawn_.back().state & ODS_DISABLED, ODS_DISABLED);
}

TEST_F(Controls, ADoubleClickIsTwoClicksOfAPushButtonButADoubleClickOfAnOwnerDrawnOne) {
  const HWND push = Make(WC_BUTTONW, u"Push", BS_PUSHBUTTON, 12);
  const HWND owner = Make(WC_BUTTONW, u"", BS_OWNERDRAW, 13);
  for (HWND button : {push, owner}) {
    PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    PostMessageW(button, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  }
  PumpWaiting();
  EXPECT_EQ(CountOf(12, BN_CLICKED), 2);
  EXPECT_EQ(CountOf(12, BN_DOUBLECLICKED), 0);
  EXPECT_EQ(CountOf(13, BN_CLICKED), 1);
  EXPECT_EQ(CountOf(13, BN_DOUBLECLICKED), 1);
}

TEST_F(Controls, CheckBoxesKeepTheirChecksAndAutomaticOnesToggle) {
  const HWND plain = Make(WC_BUTTONW, u"Plain", BS_CHECKBOX, 30);
  const HWND automatic = Make(WC_BUTTONW, u"Auto", BS_AUTOCHECKBOX, 31);
  const HWND three = Make(WC_BUTTONW, u"Three", BS_AUTO3STATE, 32);
  Click(plain);
  EXPECT_EQ(SendMessageW(plain, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(CountOf(30, BN_CLICKED), 1);
  SendMessageW(plain, BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ(SendMessageW(plain, BM_GETCHECK, 0, 0), BST_CHECKED);
  // A two-state box asked to be indeterminate is checked.
  SendMessageW(automatic, BM_SETCHECK, BST_INDETERMINATE, 0);
  EXPECT_EQ(SendMessageW(automatic, BM_GETCHECK, 0, 0), BST_CHECKED);
  Click(automatic);
  EXPECT_EQ(SendMessageW(automatic, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  Click(three);
  Click(three);
  EXPECT_EQ(SendMessageW(three, BM_GETCHECK, 0, 0), BST_INDETERMINATE);
  Click(three);
  EXPECT_EQ(SendMessageW(three, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  // A push button has no check.
  const HWND push = Make(WC_BUTTONW, u"Push", BS_PUSHBUTTON, 33);
  SendMessageW(push, BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ(SendMessageW(push, BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

TEST_F(Controls, AutomaticRadioButtonsCheckOneOfTheirGroup) {
  const HWND a = Make(WC_BUTTONW, u"A", BS_AUTORADIOBUTTON | WS_GROUP, 40);
  const HWND b = Make(WC_BUTTONW, u"B", BS_AUTORADIOBUTTON, 41);
  const HWND c = Make(WC_BUTTONW, u"C", BS_AUTORADIOBUTTON, 42);
  const HWND other = Make(WC_BUTTONW, u"D", BS_AUTORADIOBUTTON | WS_GROUP, 43);
  SendMessageW(other, BM_SETCHECK, BST_CHECKED, 0);
  Click(a);
  Click(c);
  EXPECT_EQ(SendMessageW(a, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(SendMessageW(b, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(SendMessageW(c, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageW(other, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(CountOf(42, BN_CLICKED), 1);
  EXPECT_EQ(GetNextDlgGroupItem(parent_, c, FALSE), a);
  EXPECT_EQ(GetNextDlgGroupItem(parent_, a, TRUE), c);
  EXPECT_EQ(GetNextDlgGroupItem(parent_, other, FALSE), other);
}

TEST_F(Controls, CheckHelpersWorkByIdAndButtonStyleChanges) {
  Make(WC_BUTTONW, u"A", BS_RADIOBUTTON, 50);
  Make(WC_BUTTONW, u"B", BS_RADIOBUTTON, 51);
  const HWND box = Make(WC_BUTTONW, u"Box", BS_CHECKBOX, 52);
  EXPECT_TRUE(CheckRadioButton(parent_, 50, 51, 51));
  EXPECT_EQ(IsDlgButtonChecked(parent_, 50), BST_UNCHECKED);
  EXPECT_EQ(IsDlgButtonChecked(parent_, 51), BST_CHECKED);
  EXPECT_TRUE(CheckDlgButton(parent_, 52, BST_CHECKED));
  EXPECT_EQ(IsDlgButtonChecked(parent_, 52), BST_CHECKED);
  EXPECT_FALSE(CheckDlgButton(parent_, 99, BST_CHECKED));
  EXPECT_EQ(SendMessageW(box, WM_GETDLGCODE, 0, 0), static_cast<LRESULT>(DLGC_BUTTON));
  SendMessageW(box, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  EXPECT_EQ(GetWindowLongPtrW(box, GWL_STYLE) & BS_TYPEMASK, static_cast<LONG_PTR>(BS_DEFPUSHBUTTON));
  EXPECT_EQ(SendMessageW(box, WM_GETDLGCODE, 0, 0),
            static_cast<LRESULT>(DLGC_BUTTON | DLGC_DEFPUSHBUTTON));
}

TEST_F(Controls, ButtonsAskTheirParentForColours) {
  const HWND button = Make(WC_BUTTONW, u"", BS_AUTOCHECKBOX, 60, 40, 20);
  const HBRUSH green = CreateSolidBrush(RGB(0, 200, 0));
  HWND asked = nullptr;
  OnMessage(WM_CTLCOLORBTN, [&](HWND, UINT, WPARAM, LPARAM l) {
    asked = reinterpret_cast<HWND>(l);
    return reinterpret_cast<LRESULT>(green);
  });
  RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(asked, button);
  HDC dc = GetDC(button);
  EXPECT_EQ(GetPixel(dc, 35, 2), RGB(0, 200, 0));  // beside the box, where no text is
  ReleaseDC(button, dc);
  DeleteObject(green);
}

// ---------------------------------------------------------------------------------------
// Statics.

TEST_F(Controls, StaticTextIsDrawnInTheParentsColours) {
  const HWND label = Make(WC_STATICW, u"MMMM", SS_CENTER, 70, 100, 20);
  const HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
  OnMessage(WM_CTLCOLORSTATIC, [&](HWND, UINT, WPARAM w, LPARAM) {
    SetTextColor(reinterpret_cast<HDC>(w), RGB(0x2D, 0x36, 0x48));
    SetBkMode(reinterpret_cast<HDC>(w), TRANSPARENT);
    return reinterpret_cast<LRESULT>(white);
  });
  RedrawWindow(label, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  HDC dc = GetDC(label);
  EXPECT_EQ(GetPixel(dc, 1, 1), RGB(255, 255, 255));
  // Centred: the ink lies in the middle, in the text colour's hue (blended at the edges).
  int inked = 0, outside = 0;
  for (int x = 0; x < 100; ++x)
    for (int y = 0; y < 20; ++y) {
      const COLORREF c = GetPixel(dc, x, y);
      if (c == RGB(255, 255, 255)) continue;
      ++inked;
      outside += x < 20 || x >= 80;
      EXPECT_GE(GetBValue(c), GetRValue(c));  // 0x48 blue over 0x2D red
    }
  ReleaseDC(label, dc);
  EXPECT_GT(inked, 20);
  EXPECT_EQ(outside, 0);
  DeleteObject(white);
}

TEST_F(Controls, BitmapStaticTakesItsPictureSizeAndShowsIt) {
  const HWND picture = Make(WC_STATICW, u"", SS_BITMAP, 71, 100, 100);
  std::vector<DWORD> pixels(16 * 8, 0xFF0000FFu);
  const HBITMAP blue = CreateBitmap(16, 8, 1, 32, pixels.data());
  EXPECT_EQ(SendMessageW(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(blue)), 0);
  RECT client;
  GetClientRect(picture, &client);
  EXPECT_EQ(client.right, 16);
  EXPECT_EQ(client.bottom, 8);
  EXPECT_EQ(SendMessageW(picture, STM_GETIMAGE, IMAGE_BITMAP, 0), reinterpret_cast<LRESULT>(blue));
  EXPECT_EQ(SendMessageW(picture, STM_GETIMAGE, IMAGE_ICON, 0), 0);
  UpdateWindow(picture);
  HDC dc = GetDC(picture);
  EXPECT_EQ(GetPixel(dc, 8, 4), RGB(0, 0, 255));
  ReleaseDC(picture, dc);
  DestroyWindow(picture);
  DeleteObject(blue);
}

TEST_F(Controls, StaticNotifiesClicksOnlyWithSsNotify) {
  const HWND quiet = Make(WC_STATICW, u"a", SS_LEFT, 72);
  const HWND notifying = Make(WC_STATICW, u"b", SS_LEFT | SS_NOTIFY, 73);
  Click(quiet);
  Click(notifying);
  PostMessageW(notifying, WM_LBUTTONDBLCLK, 0, 0);
  PumpWaiting();
  EXPECT_EQ(CountOf(72, STN_CLICKED), 0);
  EXPECT_EQ(CountOf(73, STN_CLICKED), 1);
  EXPECT_EQ(CountOf(73, STN_DBLCLK), 1);
}

TEST_F(Controls, ClicksPassThroughAStaticWithoutSsNotifyToItsParent) {
  const HWND quiet = Make(WC_STATICW, u"a", SS_LEFT, 75, 60, 20);
  POINT centre{30, 10};
  ClientToScreen(quiet, &centre);
  ClearRecorded();
  EXPECT_EQ(user::InjectMouse(centre, WM_LBUTTONDOWN), parent_);
  user::InjectMouse(centre, WM_LBUTTONUP);
  PumpWaiting();
  const std::vector<UINT> got = RecordedFor(parent_);
  EXPECT_NE(std::find(got.begin(), got.end(), WM_LBUTTONDOWN), got.end());
  SetWindowLongPtrW(quiet, GWL_STYLE, GetWindowLongPtrW(quiet, GWL_STYLE) | SS_NOTIFY);
  EXPECT_EQ(user::InjectMouse(centre, WM_LBUTTONDOWN), quiet);
  user::InjectMouse(centre, WM_LBUTTONUP);
  PumpWaiting();
  EXPECT_EQ(CountOf(75, STN_CLICKED), 1);
}

TEST_F(Controls, BitmapPushButtonShowsItsPictureOnItsFace) {
  const HWND button = Make(WC_BUTTONW, u"", BS_PUSHBUTTON | BS_BITMAP, 76, 40, 30);
  std::vector<DWORD> pixels(8 * 8, 0xFF00C800u);
  const HBITMAP green = CreateBitmap(8, 8, 1, 32, pixels.data());
  SendMessageW(button, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(green));
  EXPECT_EQ(SendMessageW(button, BM_GETIMAGE, IMAGE_BITMAP, 0), reinterpret_cast<LRESULT>(green));
  PumpWaiting();
  HDC dc = GetDC(button);
  EXPECT_EQ(GetPixel(dc, 20, 15), RGB(0, 200, 0));
  EXPECT_NE(GetPixel(dc, 5, 15), RGB(0, 200, 0));
  ReleaseDC(button, dc);
  DestroyWindow(button);
  DeleteObject(green);
}

TEST_F(Controls, OwnerDrawnStaticAsksItsParentToDraw) {
  const HWND owner = Make(WC_STATICW, u"", SS_OWNERDRAW, 74);
  RedrawWindow(owner, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  ASSERT_FALSE(drawn_.empty());
  EXPECT_EQ(drawn_.back().type, static_cast<UINT>(ODT_STATIC));
  EXPECT_EQ(drawn_.back().action, ODA_DRAWENTIRE);
}

// ---------------------------------------------------------------------------------------
// Edits.

TEST_F(Controls, TypingInsertsAtTheCaretAndTellsTheParent) {
  const HWND edit = Make(WC_EDITW, u"", ES_LEFT | ES_AUTOHSCROLL, 80);
  Type(edit, u"abc");
  EXPECT_EQ(Text(edit), u"abc");
  EXPECT_EQ(CountOf(80, EN_CHANGE), 3);
  SendMessageW(edit, EM_SETSEL, 1, 2);
  Type(edit, u"XY");
  EXPECT_EQ(Text(edit), u"aXYc");
  DWORD start = 0, end = 0;
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 3u);
  EXPECT_EQ(end, 3u);
  Type(edit, u"\b\b");
  EXPECT_EQ(Text(edit), u"ac");
  EXPECT_TRUE(SendMessageW(edit, EM_GETMODIFY, 0, 0));
  // A single-line edit takes no line breaks or tabs.
  Type(edit, u"\r\t");
  EXPECT_EQ(Text(edit), u"ac");
}

TEST_F(Controls, TheLimitCutsTypedAndReplacedText) {
  const HWND edit = Make(WC_EDITW, u"", 0, 81);
  EXPECT_EQ(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0), 30000);
  SendMessageW(edit, EM_LIMITTEXT, 4, 0);
  Type(edit, u"12345");
  EXPECT_EQ(Text(edit), u"1234");
  EXPECT_EQ(CountOf(81, EN_MAXTEXT), 1);
  SendMessageW(edit, EM_SETSEL, 0, -1);
  SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(u"abcdefg"));
  EXPECT_EQ(Text(edit), u"abcd");
  // Text set as a whole is not limited.
  SetWindowTextW(edit, u"longer than four");
  EXPECT_EQ(Text(edit), u"longer than four");
  SendMessageW(edit, EM_LIMITTEXT, 0, 0);
  EXPECT_EQ(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0), 0x7FFFFFFE);
}

TEST_F(Controls, SelectionIsClampedAndMinusOneMeansTheEnd) {
  const HWND edit = Make(WC_EDITW, u"hello", 0, 82);
  SendMessageW(edit, EM_SETSEL, 2, -1);
  EXPECT_EQ(SendMessageW(edit, EM_GETSEL, 0, 0), MAKELRESULT(2, 5));
  SendMessageW(edit, EM_SETSEL, 4, 1);
  EXPECT_EQ(SendMessageW(edit, EM_GETSEL, 0, 0), MAKELRESULT(1, 4));
  SendMessageW(edit, EM_SETSEL, 99, 99);
  EXPECT_EQ(SendMessageW(edit, EM_GETSEL, 0, 0), MAKELRESULT(5, 5));
  SendMessageW(edit, EM_SETSEL, 0, 5);
  SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(u"bye"));
  EXPECT_EQ(Text(edit), u"bye");
}

TEST_F(Controls, ClicksPlaceTheCaretAndDraggingOrShiftSelects) {
  const HWND edit = Make(WC_EDITW, u"hello world", 0, 88, 300, 20);
  PostMessageW(edit, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(290, 5));
  PostMessageW(edit, WM_LBUTTONUP, 0, MAKELPARAM(290, 5));
  PumpWaiting();
  EXPECT_EQ(SendMessageW(edit, EM_GETSEL, 0, 0), MAKELRESULT(11, 11));
  EXPECT_EQ(GetFocus(), edit);
  PostMessageW(edit, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(0, 5));
  PostMessageW(edit, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(290, 5));
  PumpWaiting();
  EXPECT_EQ(GetCapture(), edit);
  PostMessageW(edit, WM_LBUTTONUP, 0, MAKELPARAM(290, 5));
  PumpWaiting();
  EXPECT_EQ(SendMessageW(edit, EM_GETSEL, 0, 0), MAKELRESULT(0, 11));
  EXPECT_EQ(GetCapture(), nullptr);
  // Somewhere inside the text the caret lands between two letters.
  PostMessageW(edit, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(25, 5));
  PumpWaiting();
  const LRESULT inside = SendMessageW(edit, EM_GETSEL, 0, 0);
  EXPECT_EQ(LOWORD(inside), HIWORD(inside));
  EXPECT_GT(LOWORD(inside), 0);
  EXPECT_LT(LOWORD(inside), 11);
  // Shift and the arrows extend the selection from where the caret was.
  SendMessageW(edit, EM_SETSEL, 5, 5);
  PostMessageW(edit, WM_KEYDOWN, VK_SHIFT, 1);
  PostMessageW(edit, WM_KEYDOWN, VK_RIGHT, 1);
  PostMessageW(edit, WM_KEYDOWN, VK_RIGHT, 1);
  PostMessageW(edit, WM_KEYUP, VK_SHIFT, 1);
  PumpWaiting();
  EXPECT_EQ(SendMessageW(edit, EM_GETSEL, 0, 0), MAKELRESULT(5, 7));
  PostMessageW(edit, WM_KEYDOWN, VK_LEFT, 1);  // without Shift: to the selection's start
  PumpWaiting();
  EXPECT_EQ(SendMessageW(edit, EM_GETSEL, 0, 0), MAKELRESULT(5, 5));
}

TEST_F(Controls, ReadOnlyAndNumberEditsRefuseWhatTheyMayNotTake) {
  const HWND readOnly = Make(WC_EDITW, u"fixed", ES_READONLY, 83);
  Type(readOnly, u"x\b");
  EXPECT_EQ(Text(readOnly), u"fixed");
  SendMessageW(readOnly, EM_SETREADONLY, FALSE, 0);
  SendMessageW(readOnly, EM_SETSEL, 5, 5);
  Type(readOnly, u"!");
  EXPECT_EQ(Text(readOnly), u"fixed!");
  const HWND number = Make(WC_EDITW, u"", ES_NUMBER, 84);
  Type(number, u"1a2");
  EXPECT_EQ(Text(number), u"12");
}

TEST_F(Controls, PasswordEditKeepsItsTextButShowsStars) {
  const HWND edit = Make(WC_EDITW, u"", ES_PASSWORD, 85, 120, 20);
  Type(edit, u"secret");
  EXPECT_EQ(Text(edit), u"secret");
  EXPECT_EQ(SendMessageW(edit, EM_GETPASSWORDCHAR, 0, 0), u'*');
  // What is drawn is the same as six stars in a plain edit.
  const HWND stars = Make(WC_EDITW, u"******", 0, 86, 120, 20);
  RedrawWindow(parent_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  HDC a = GetDC(edit);
  HDC b = GetDC(stars);
  int differ = 0;
  for (int x = 0; x < 120; ++x)
    for (int y = 0; y < 20; ++y) differ += GetPixel(a, x, y) != GetPixel(b, x, y);
  ReleaseDC(edit, a);
  ReleaseDC(stars, b);
  EXPECT_EQ(differ, 0);
}

TEST_F(Controls, MultiLineEditTakesLineBreaks) {
  const HWND edit = Make(WC_EDITW, u"", ES_MULTILINE | ES_WANTRETURN, 87, 100, 60);
  Type(edit, u"a\rb");
  EXPECT_EQ(Text(edit), u"a\r\nb");
  EXPECT_EQ(SendMessageW(edit, EM_GETLINECOUNT, 0, 0), 2);
  EXPECT_TRUE(SendMessageW(edit, WM_GETDLGCODE, 0, 0) & DLGC_WANTALLKEYS);
}

TEST_F(Controls, RichEditTellsOfChangesOnlyWithItsEventMask) {
  const HWND rich = Make(RICHEDIT_CLASSW, u"", ES_MULTILINE, 90, 200, 60);
  EXPECT_EQ(SendMessageW(rich, EM_GETLIMITTEXT, 0, 0), 32767);
  Type(rich, u"ab");
  EXPECT_EQ(CountOf(90, EN_CHANGE), 0);
  EXPECT_EQ(SendMessageW(rich, EM_SETEVENTMASK, 0, ENM_CHANGE), 0);
  Type(rich, u"c");
  EXPECT_EQ(CountOf(90, EN_CHANGE), 1);
  EXPECT_EQ(Text(rich), u"abc");
  SendMessageW(rich, EM_EXLIMITTEXT, 0, 5);
  Type(rich, u"defg");
  EXPECT_EQ(Text(rich), u"abcde");
  CHARRANGE range{1, 3};
  SendMessageW(rich, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
  CHARRANGE got{};
  SendMessageW(rich, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&got));
  EXPECT_EQ(got.cpMin, 1);
  EXPECT_EQ(got.cpMax, 3);
  SendMessageW(rich, EM_EXLIMITTEXT, 0, 0);
  EXPECT_EQ(SendMessageW(rich, EM_GETLIMITTEXT, 0, 0), 65536);
  // Its background is its own colour, not the parent's.
  SendMessageW(rich, EM_SETBKGNDCOLOR, 0, RGB(10, 20, 30));
  UpdateWindow(rich);
  HDC dc = GetDC(rich);
  EXPECT_EQ(GetPixel(dc, 190, 50), RGB(10, 20, 30));
  ReleaseDC(rich, dc);
}

// ---------------------------------------------------------------------------------------
// Combo boxes.

TEST_F(Controls, ComboBoxKeepsItsItemsAndTheirData) {
  const HWND combo = Make(WC_COMBOBOXW, u"", CBS_DROPDOWNLIST, 100, 150, 24);
  EXPECT_EQ(SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"Two")), 0);
  EXPECT_EQ(SendMessageW(combo, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(u"One")), 0);
  EXPECT_EQ(SendMessageW(combo, CB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(u"Three")), 2);
  EXPECT_EQ(SendMessageW(combo, CB_INSERTSTRING, 9, reinterpret_cast<LPARAM>(u"Far")), CB_ERR);
  EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), CB_ERR);
  EXPECT_EQ(SendMessageW(combo, CB_SETITEMDATA, 1, 0x1234), TRUE);
  EXPECT_EQ(SendMessageW(combo, CB_GETITEMDATA, 1, 0), 0x1234);
  EXPECT_EQ(SendMessageW(combo, CB_GETITEMDATA, 7, 0), CB_ERR);
  EXPECT_EQ(SendMessageW(combo, CB_SETCURSEL, 2, 0), 2);
  EXPECT_EQ(Text(combo), u"Three");
  WCHAR text[16];
  EXPECT_EQ(SendMessageW(combo, CB_GETLBTEXTLEN, 0, 0), 3);
  EXPECT_EQ(SendMessageW(combo, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(text)), 3);
  EXPECT_EQ(std::u16string(text), u"One");
  EXPECT_EQ(SendMessageW(combo, CB_GETLBTEXT, 3, reinterpret_cast<LPARAM>(text)), CB_ERR);
  EXPECT_EQ(SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(u"two")), 1);
  EXPECT_EQ(SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(u"tw")), CB_ERR);
  EXPECT_EQ(SendMessageW(combo, CB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(u"tw")), 1);
  // Deleting before the selection moves it; deleting it clears it.
  EXPECT_EQ(SendMessageW(combo, CB_DELETESTRING, 0, 0), 2);
  EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(SendMessageW(combo, CB_DELETESTRING, 1, 0), 1);
  EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), CB_ERR);
  EXPECT_EQ(SendMessageW(combo, CB_DELETESTRING, 5, 0), CB_ERR);
  SendMessageW(combo, CB_RESETCONTENT, 0, 0);
  EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 0);
  EXPECT_EQ(SendMessageW(combo, CB_SETCURSEL, 0, 0), CB_ERR);
  EXPECT_EQ(CountOf(100, CBN_SELCHANGE), 0);  // changes by message are not told
}

TEST_F(Controls, SortedComboBoxInsertsInOrder) {
  const HWND combo = Make(WC_COMBOBOXW, u"", CBS_DROPDOWNLIST | CBS_SORT, 101);
  for (const char16_t* text : {u"pear", u"Apple", u"fig"})
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  WCHAR text[16];
  SendMessageW(combo, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(text));
  EXPECT_EQ(std::u16string(text), u"Apple");
  SendMessageW(combo, CB_GETLBTEXT, 2, reinterpret_cast<LPARAM>(text));
  EXPECT_EQ(std::u16string(text), u"pear");
}

TEST_F(Controls, KeysAndTheWheelChangeTheSelectionAndTellTheParent) {
  const HWND combo = Make(WC_COMBOBOXW, u"", CBS_DROPDOWNLIST, 102);
  for (const char16_t* text : {u"a", u"b", u"c"})
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  SetFocus(combo);
  PostMessageW(combo, WM_KEYDOWN, VK_DOWN, 1);
  PostMessageW(combo, WM_KEYDOWN, VK_DOWN, 1);
  PumpWaiting();
  EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(CountOf(102, CBN_SELCHANGE), 2);
  PostMessageW(combo, WM_KEYDOWN, VK_END, 1);
  PostMessageW(combo, WM_KEYDOWN, VK_DOWN, 1);  // already last: no change
  PumpWaiting();
  EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(CountOf(102, CBN_SELCHANGE), 3);
  PostMessageW(combo, WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
  Type(combo, u"A");
  EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(CountOf(102, CBN_SELCHANGE), 5);
}

TEST_F(Controls, AClickDropsTheListAndAClickOnAnItemChoosesIt) {
  const HWND combo = Make(WC_COMBOBOXW, u"", CBS_DROPDOWNLIST, 104, 150, 100);
  for (const char16_t* text : {u"a", u"b", u"c"})
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  Click(combo);
  EXPECT_TRUE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_EQ(CountOf(104, CBN_DROPDOWN), 1);
  const HWND list = FindWindowW(u"ComboLBox", nullptr);
  ASSERT_NE(list, nullptr);
  RECT field, dropped;
  GetWindowRect(combo, &field);
  GetWindowRect(list, &dropped);
  EXPECT_EQ(dropped.top, field.bottom);
  EXPECT_EQ(dropped.right - dropped.left, 150);
  EXPECT_EQ(field.bottom - field.top, 22);  // the field's height, not the list's
  EXPECT_EQ(GetFocus(), combo);
  RECT client;
  GetClientRect(list, &client);
  const int row = client.bottom / 3;
  PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 2 * row + row / 2));
  PostMessageW(list, WM_LBUTTONUP, 0, MAKELPARAM(5, 2 * row + row / 2));
  PumpWaiting();
  EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(CountOf(104, CBN_SELCHANGE), 1);
  EXPECT_EQ(CountOf(104, CBN_CLOSEUP), 1);
  EXPECT_FALSE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_FALSE(IsWindow(list));
}

TEST_F(Controls, AClickOutsideTheDroppedListClosesItWithoutAChoice) {
  const HWND combo = Make(WC_COMBOBOXW, u"", CBS_DROPDOWNLIST, 106, 150, 24);
  SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"a"));
  POINT field{20, 10}, away{140, 10};
  ClientToScreen(combo, &field);
  ClientToScreen(parent_, &away);
  away.y += 150;
  user::InjectMouse(field, WM_LBUTTONDOWN);
  user::InjectMouse(field, WM_LBUTTONUP);
  PumpWaiting();
  ASSERT_TRUE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
  const HWND list = FindWindowW(u"ComboLBox", nullptr);
  EXPECT_EQ(GetCapture(), list);
  user::InjectMouse(away, WM_LBUTTONDOWN);
  user::InjectMouse(away, WM_LBUTTONUP);
  PumpWaiting();
  EXPECT_FALSE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), CB_ERR);
  EXPECT_EQ(CountOf(106, CBN_CLOSEUP), 1);
}

TEST_F(Controls, ADroppedListClosesWithEscapeAndWhenTheFocusLeaves) {
  const HWND combo = Make(WC_COMBOBOXW, u"", CBS_DROPDOWNLIST, 105);
  SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"a"));
  SetFocus(combo);
  SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
  EXPECT_TRUE(SendMessageW(combo, WM_GETDLGCODE, 0, 0) & DLGC_WANTALLKEYS);
  PostMessageW(combo, WM_KEYDOWN, VK_ESCAPE, 1);
  PumpWaiting();
  EXPECT_FALSE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
  SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
  SetFocus(parent_);
  EXPECT_FALSE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_EQ(FindWindowW(u"ComboLBox", nullptr), nullptr);
  EXPECT_EQ(CountOf(105, CBN_SELCHANGE), 0);
}

TEST_F(Controls, OwnerDrawnComboBoxIsAsTallAsItsParentMeasuresIt) {
  std::vector<UINT> measured;
  OnMessage(WM_MEASUREITEM, [&](HWND, UINT, WPARAM, LPARAM l) {
    auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(l);
    measured.push_back(item->itemID);
    EXPECT_EQ(item->CtlType, static_cast<UINT>(ODT_COMBOBOX));
    item->itemHeight = item->itemID == static_cast<UINT>(-1) ? 30 : 24;
    return LRESULT{TRUE};
  });
  const HWND combo = Make(WC_COMBOBOXW, u"", CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED, 107, 150, 200);
  EXPECT_EQ(measured, (std::vector<UINT>{static_cast<UINT>(-1), 0u}));
  RECT field;
  GetWindowRect(combo, &field);
  EXPECT_EQ(field.bottom - field.top, 36);
  EXPECT_EQ(SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0), 24);
  EXPECT_EQ(SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), 20), 0);
  GetWindowRect(combo, &field);
  EXPECT_EQ(field.bottom - field.top, 26);
  EXPECT_EQ(SendMessageW(combo, CB_SETITEMHEIGHT, 0, 0), CB_ERR);
  // Moving it keeps the field's height.
  MoveWindow(combo, 5, 5, 150, 300, TRUE);
  GetWindowRect(combo, &field);
  EXPECT_EQ(field.bottom - field.top, 26);
}

TEST_F(Controls, OwnerDrawnComboBoxAsksForItsSelectionField) {
  const HWND combo = Make(WC_COMBOBOXW, u"", CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED, 103);
  SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"x"));
  SendMessageW(combo, CB_SETCURSEL, 0, 0);
  UpdateWindow(combo);
  ASSERT_FALSE(drawn_.empty());
  EXPECT_EQ(drawn_.back().type, static_cast<UINT>(ODT_COMBOBOX));
  EXPECT_TRUE(drawn_.back().state & ODS_COMBOBOXEDIT);
}

}  // namespace
}  // namespace zx::test
