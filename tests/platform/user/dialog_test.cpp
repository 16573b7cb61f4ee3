// The dialog manager: templates to windows at the font's pixel rectangles, WM_INITDIALOG,
// modeless and modal dialogs, EndDialog, the dialog keys, item helpers and bad templates.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "dialog_template.h"
#include "errhandlingapi.h"
#include "user_testing.h"
#include "windlg.h"
#include "wingdi.h"
#include "zx/modal.h"

namespace zx::test {
namespace {

TemplateWriter StandardTemplate() {
  TemplateWriter writer(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 0, 0, 200, 100,
                        u"Options");
  writer.Item(100, RecorderClass(), u"Name", WS_TABSTOP, 10, 20, 80, 14)
      .Item(IDOK, RecorderClass(), u"OK", WS_TABSTOP, 130, 80, 50, 14)
      .Item(IDCANCEL, RecorderClass(), u"Cancel", WS_TABSTOP, 70, 80, 50, 14);
  return writer;
}

struct Seen {
  std::vector<UINT> messages;
  LPARAM initParam = 0;
  std::vector<WPARAM> commands;
  int defaultId = 0;
  BOOL initAnswer = TRUE;
};
Seen* g_seen = nullptr;

INT_PTR CALLBACK RecordingProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  g_seen->messages.push_back(message);
  switch (message) {
    case WM_INITDIALOG:
      g_seen->initParam = lParam;
      return g_seen->initAnswer;
    case WM_COMMAND:
      g_seen->commands.push_back(wParam);
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(dialog, LOWORD(wParam));
      return TRUE;
    case DM_GETDEFID:
      if (!g_seen->defaultId) return FALSE;
      SetWindowLongPtrW(dialog, DWLP_MSGRESULT, MAKELONG(g_seen->defaultId, DC_HASDEFID));
      return TRUE;
    default:
      return FALSE;
  }
}

class DialogTest : public UserTest {
 protected:
  void SetUp() override {
    UserTest::SetUp();
    g_seen = &seen_;
  }
  void TearDown() override {
    user::SetIdleHook(nullptr);
    UserTest::TearDown();
    g_seen = nullptr;
  }
  static void PostKey(HWND window, WPARAM key) { PostMessageW(window, WM_KEYDOWN, key, 1); }
  Seen seen_;
};

// The pixel width and height of a control of the dialog.
RECT ChildRect(HWND dialog, int id) {
  RECT rect;
  GetWindowRect(GetDlgItem(dialog, id), &rect);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

// ---------------------------------------------------------------------------------------
// Base units and layout.

TEST_F(DialogTest, BaseUnitsComeFromTheFontsLettersAndHeight) {
  const HDC dc = CreateCompatibleDC(nullptr);
  const HFONT font = CreateFontW(-((8 * GetDeviceCaps(dc, LOGPIXELSY) + 36) / 72), 0, 0, 0, 400, 0,
                                 0, 0, 1, 0, 0, 0, 0, u"Tahoma");
  const HGDIOBJ previous = SelectObject(dc, font);
  TEXTMETRICW metrics{};
  SIZE extent{};
  ASSERT_TRUE(GetTextMetricsW(dc, &metrics));
  ASSERT_TRUE(GetTextExtentPoint32W(
      dc, u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &extent));
  SelectObject(dc, previous);
  DeleteObject(font);
  DeleteDC(dc);
  const LONG x = (extent.cx + 26) / 52;
  const LONG y = metrics.tmHeight;

  const HWND dialog = CreateDialogIndirectParamW(nullptr, StandardTemplate().Get(), nullptr,
                                                 RecordingProc, 0);
  ASSERT_NE(dialog, nullptr);
  RECT units{4, 8, 8, 16};
  ASSERT_TRUE(MapDialogRect(dialog, &units));
  EXPECT_EQ(units.left, x);
  EXPECT_EQ(units.top, y);
  EXPECT_EQ(units.right, 2 * x);
  EXPECT_EQ(units.bottom, 2 * y);
  // The shipped font (DejaVu Sans for every face) at 8 points and 96 dots an inch.
  EXPECT_EQ(x, 7);
  EXPECT_EQ(y, 14);
  EXPECT_EQ(GetDialogBaseUnits(), MAKELONG(7, 14));
}

TEST_F(DialogTest, ControlsAndClientAreaAreAtTheirPixelRectangles) {
  const HWND dialog = CreateDialogIndirectParamW(nullptr, StandardTemplate().Get(), nullptr,
                                                 RecordingProc, 0);
  ASSERT_NE(dialog, nullptr);
  RECT client;
  GetClientRect(dialog, &client);
  EXPECT_EQ(client.right, 350);   // 200 * 7 / 4
  EXPECT_EQ(client.bottom, 175);  // 100 * 14 / 8
  const RECT name = ChildRect(dialog, 100);
  EXPECT_EQ(name.left, 18);   // 10 * 7 / 4 = 17.5, rounded up
  EXPECT_EQ(name.top, 35);    // 20 * 14 / 8
  EXPECT_EQ(name.right, 158);  // 90 * 7 / 4 = 157.5
  EXPECT_EQ(name.bottom, 60);  // 34 * 14 / 8 = 59.5
  const RECT ok = ChildRect(dialog, IDOK);
  EXPECT_EQ(ok.left, 228);
  EXPECT_EQ(ok.top, 140);
  EXPECT_EQ(ok.right, 315);
  EXPECT_EQ(ok.bottom, 165);  // 94 * 14 / 8 = 164.5
  EXPECT_TRUE(IsWindowVisible(dialog));
  EXPECT_EQ(GetDlgCtrlID(GetDlgItem(dialog, IDCANCEL)), IDCANCEL);
  WCHAR text[16];
  EXPECT_EQ(GetDlgItemTextW(dialog, IDCANCEL, text, 16), 6u);
  EXPECT_EQ(std::u16string(text), u"Cancel");
  EXPECT_EQ(GetWindowLongPtrW(GetDlgItem(dialog, 100), GWL_STYLE) & (WS_CHILD | WS_TABSTOP),
            static_cast<LONG_PTR>(WS_CHILD | WS_TABSTOP));
  GetWindowTextW(dialog, text, 16);
  EXPECT_EQ(std::u16string(text), u"Options");
}

// ---------------------------------------------------------------------------------------
// WM_INITDIALOG.

TEST_F(DialogTest, InitDialogGetsTheParamAndFocusGoesToTheFirstTabStop) {
  const HWND dialog = CreateDialogIndirectParamW(nullptr, StandardTemplate().Get(), nullptr,
                                                 RecordingProc, 0x5EED);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(seen_.initParam, 0x5EED);
  ASSERT_FALSE(seen_.messages.empty());
  EXPECT_EQ(GetFocus(), GetDlgItem(dialog, 100));
}

TEST_F(DialogTest, InitDialogAnsweringFalseLeavesTheFocusAlone) {
  seen_.initAnswer = FALSE;
  const HWND dialog = CreateDialogIndirectParamW(nullptr, StandardTemplate().Get(), nullptr,
                                                 RecordingProc, 0);
  ASSERT_NE(dialog, nullptr);
  EXPECT_NE(GetFocus(), GetDlgItem(dialog, 100));
}

// ---------------------------------------------------------------------------------------
// Modal loops.

TEST_F(DialogTest, ModalDialogEndsFromATimerOfTheManualClockAndReenablesItsOwner) {
  const HWND owner = MakeWindow();
  HWND seenDialog = nullptr;
  bool ownerWasDisabled = false;
  bool advanced = false;
  user::SetIdleHook([&] {
    seenDialog = GetActiveWindow();
    if (advanced) return;
    advanced = true;
    ownerWasDisabled = !IsWindowEnabled(owner);
    clock_.Advance(1000);
  });
  struct Timed {
    static INT_PTR CALLBACK Proc(HWND dialog, UINT message, WPARAM, LPARAM) {
      if (message == WM_INITDIALOG) SetTimer(dialog, 7, 500, nullptr);
      if (message == WM_TIMER) EndDialog(dialog, 42);
      return message == WM_INITDIALOG;
    }
  };
  EXPECT_EQ(DialogBoxIndirectParamW(nullptr, StandardTemplate().Get(), owner, Timed::Proc, 0), 42);
  EXPECT_TRUE(ownerWasDisabled);
  EXPECT_TRUE(IsWindowEnabled(owner));
  EXPECT_FALSE(IsWindow(seenDialog) && seenDialog != owner);
}

TEST_F(DialogTest, ModalDialogEndsFromAPostedCommand) {
  user::SetIdleHook([] {
    const HWND dialog = GetActiveWindow();
    PostMessageW(dialog, WM_COMMAND, MAKELONG(IDOK, BN_CLICKED), 0);
  });
  EXPECT_EQ(DialogBoxIndirectParamW(nullptr, StandardTemplate().Get(), nullptr, RecordingProc, 0),
            IDOK);
}

TEST_F(DialogTest, QuitEndsTheModalLoopAndIsPostedAgain) {
  user::SetIdleHook([] { PostQuitMessage(3); });
  EXPECT_EQ(DialogBoxIndirectParamW(nullptr, StandardTemplate().Get(), nullptr, RecordingProc, 0),
            0);
  user::SetIdleHook(nullptr);
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 3u);
}

TEST_F(DialogTest, CloseOfAModalDialogIsCancel) {
  user::SetIdleHook([] { PostMessageW(GetActiveWindow(), WM_CLOSE, 0, 0); });
  EXPECT_EQ(DialogBoxIndirectParamW(nullptr, StandardTemplate().Get(), nullptr, RecordingProc, 0),
            IDCANCEL);
}

// ---------------------------------------------------------------------------------------
// Dialog keys.

TEST_F(DialogTest, EnterIsOkAndEscapeIsCancelInAModalLoop) {
  user::SetIdleHook([] { PostKey(GetFocus(), VK_RETURN); });
  EXPECT_EQ(DialogBoxIndirectParamW(nullptr, StandardTemplate().Get(), nullptr, RecordingProc, 0),
            IDOK);
  user::SetIdleHook([] { PostKey(GetFocus(), VK_ESCAPE); });
  EXPECT_EQ(DialogBoxIndirectParamW(nullptr, StandardTemplate().Get(), nullptr, RecordingProc, 0),
            IDCANCEL);
}

TEST_F(DialogTest, EnterUsesTheDefaultIdAndKeysOfOtherWindowsAreNotTaken) {
  seen_.defaultId = 100;
  const HWND dialog = CreateDialogIndirectParamW(nullptr, StandardTemplate().Get(), nullptr,
                                                 RecordingProc, 0);
  ASSERT_NE(dialog, nullptr);
  MSG enter{GetDlgItem(dialog, IDOK), WM_KEYDOWN, VK_RETURN, 1, 0, {}};
  EXPECT_TRUE(IsDialogMessageW(dialog, &enter));
  ASSERT_EQ(seen_.commands.size(), 1u);
  EXPECT_EQ(seen_.commands[0], static_cast<WPARAM>(MAKELONG(100, BN_CLICKED)));
  const HWND other = MakeWindow();
  MSG elsewhere{other, WM_KEYDOWN, VK_ESCAPE, 1, 0, {}};
  EXPECT_FALSE(IsDialogMessageW(dialog, &elsewhere));
  EXPECT_EQ(seen_.commands.size(), 1u);
}

// ---------------------------------------------------------------------------------------
// Item helpers.

TEST_F(DialogTest, ItemNumbersRoundTripAndRejectNonNumbers) {
  const HWND dialog = CreateDialogIndirectParamW(nullptr, StandardTemplate().Get(), nullptr,
                                                 RecordingProc, 0);
  ASSERT_NE(dialog, nullptr);
  BOOL ok = FALSE;
  ASSERT_TRUE(SetDlgItemInt(dialog, 100, static_cast<UINT>(-25), TRUE));
  EXPECT_EQ(static_cast<int>(GetDlgItemInt(dialog, 100, &ok, TRUE)), -25);
  EXPECT_TRUE(ok);
  EXPECT_EQ(GetDlgItemInt(dialog, 100, &ok, FALSE), 0u);
  EXPECT_FALSE(ok);
  SetDlgItemTextW(dialog, 100, u"4294967295");
  EXPECT_EQ(GetDlgItemInt(dialog, 100, &ok, FALSE), 4294967295u);
  EXPECT_TRUE(ok);
  EXPECT_EQ(GetDlgItemInt(dialog, 100, &ok, TRUE), 0u);
  EXPECT_FALSE(ok);
  SetDlgItemTextW(dialog, 100, u"12a");
  EXPECT_EQ(GetDlgItemInt(dialog, 100, &ok, FALSE), 0u);
  EXPECT_FALSE(ok);
  EXPECT_FALSE(SetDlgItemTextW(dialog, 555, u"x"));
}

// ---------------------------------------------------------------------------------------
// Bad templates.

TEST_F(DialogTest, AnUnregisteredControlClassFailsTheDialogCleanly) {
  TemplateWriter writer(WS_POPUP | WS_VISIBLE, 0, 0, 100, 50, u"Broken");
  writer.Item(1, RecorderClass(), u"", 0, 0, 0, 10, 10)
      .Item(2, u"NoSuchClass", u"", 0, 0, 0, 10, 10);
  EXPECT_EQ(CreateDialogIndirectParamW(nullptr, writer.Get(), nullptr, RecordingProc, 0), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CANNOT_FIND_WND_CLASS));
  EXPECT_EQ(FindWindowW(nullptr, u"Broken"), nullptr);
  EXPECT_TRUE(seen_.messages.empty() ||
              std::find(seen_.messages.begin(), seen_.messages.end(), WM_INITDIALOG) ==
                  seen_.messages.end());
  EXPECT_EQ(DialogBoxIndirectParamW(nullptr, writer.Get(), nullptr, RecordingProc, 0), -1);
}

TEST_F(DialogTest, ATemplateWhoseItemsRunPastItsEndFailsCleanly) {
  // A template in memory is read within 64 KiB of its start: here nine items are claimed,
  // three are present, and the bytes after them (up to that bound) hold no valid item.
  std::vector<BYTE> bytes = StandardTemplate().bytes();
  bytes[16] = 9;
  bytes.resize(64 * 1024, 0xFF);
  EXPECT_EQ(CreateDialogIndirectParamW(nullptr, reinterpret_cast<const DLGTEMPLATE*>(bytes.data()),
                                       nullptr, RecordingProc, 0),
            nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA));
  std::fill(bytes.begin(), bytes.end(), 0xFF);
  EXPECT_EQ(CreateDialogIndirectParamW(nullptr, reinterpret_cast<const DLGTEMPLATE*>(bytes.data()),
                                       nullptr, RecordingProc, 0),
            nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA));
  EXPECT_EQ(CreateDialogIndirectParamW(nullptr, nullptr, nullptr, RecordingProc, 0), nullptr);
  EXPECT_TRUE(seen_.messages.empty());
}

}  // namespace
}  // namespace zx::test
