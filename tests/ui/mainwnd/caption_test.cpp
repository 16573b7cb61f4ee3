// The title bar of the main-window base: title buttons placed and shown by the resizable
// switch, minimising, maximising and restoring through clicks on them and double-clicks on
// the caption, dragging by the caption band (the top 29 pixels, never while maximised), the
// own system menu and its commands, the minimum track size and the main-window font.
#include <cstring>

#include "DlgAbout.h"
#include "DlgBaseShared.h"
#include "mainwnd_testing.h"
#include "zx/input.h"
#include "zx/modal.h"

namespace zx::test {
namespace {

using MainWindowCaption = MainWindowTest;

CRect PlaceOf(CWnd& parent, CWnd& child) {
  CRect rect;
  child.GetWindowRect(&rect);
  parent.ScreenToClient(&rect);
  return rect;
}

TEST_F(MainWindowCaption, TitleButtonsStandAtTheTopRightByTheResizableSwitch) {
  struct Row {
    bool resizable;
    CRect minimise;
    bool maximiseShown;
  };
  const Row rows[] = {
      {false, CRect(697, 2, 722, 20), false},
      {true, CRect(672, 2, 697, 20), true},
  };
  for (const Row& row : rows) {
    TestMainDlg dialog;
    settings_.bResizable = row.resizable;
    dialog.SetAppInfo(settings_);
    ASSERT_TRUE(dialog.Create(CDlgBaseAppDlg::kTemplateId, nullptr));
    EXPECT_EQ(PlaceOf(dialog, dialog.GetCloseButton()), CRect(722, 2, 765, 20)) << row.resizable;
    EXPECT_EQ(PlaceOf(dialog, dialog.GetMinimizeButton()), row.minimise) << row.resizable;
    EXPECT_EQ((dialog.GetMaximizeButton().GetStyle() & WS_VISIBLE) != 0, row.maximiseShown) << row.resizable;
    EXPECT_FALSE(dialog.GetRestoreButton().GetStyle() & WS_VISIBLE) << row.resizable;
    if (row.resizable) {
      EXPECT_EQ(PlaceOf(dialog, dialog.GetMaximizeButton()), CRect(697, 2, 722, 20));
    }
    EXPECT_TRUE(dialog.IsInitialised());
    dialog.DestroyWindow();
  }
}

TEST_F(MainWindowCaption, MaximiseRestoreAndMinimiseButtons) {
    settings_.bResizable = TRUE;
  Open(settings_);
  Click(dialog_.GetMaximizeButton().m_hWnd);
  Pump();
  EXPECT_TRUE(dialog_.IsMaximised());
  EXPECT_TRUE(dialog_.IsZoomed());
  EXPECT_FALSE(dialog_.GetMaximizeButton().IsWindowVisible());
  EXPECT_TRUE(dialog_.GetRestoreButton().IsWindowVisible());
  CRect window;
  dialog_.GetWindowRect(&window);
  EXPECT_EQ(window, CRect(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN) - 25));

  Click(dialog_.GetRestoreButton().m_hWnd);
  Pump();
  EXPECT_FALSE(dialog_.IsMaximised());
  EXPECT_FALSE(dialog_.IsZoomed());
  EXPECT_TRUE(dialog_.GetMaximizeButton().IsWindowVisible());
  dialog_.GetWindowRect(&window);
  EXPECT_EQ(window.Size(), CSize(772, 583));

  Click(dialog_.GetMinimizeButton().m_hWnd);
  Pump();
  EXPECT_TRUE(dialog_.IsIconic());
}

TEST_F(MainWindowCaption, ADoubleClickOnTheCaptionTogglesOnlyAResizableWindow) {
  for (bool resizable : {false, true}) {
    TestMainDlg dialog;
    settings_.bResizable = resizable;
    dialog.SetAppInfo(settings_);
    ASSERT_TRUE(dialog.Create(CDlgBaseAppDlg::kTemplateId, nullptr));
    dialog.ShowWindow(SW_SHOW);
    Pump();
    CPoint point(300, 10);
    dialog.ClientToScreen(&point);
    user::InjectMouse(point, WM_MOUSEMOVE);
    user::InjectMouse(point, WM_LBUTTONDBLCLK);
    user::InjectMouse(point, WM_LBUTTONUP);
    Pump();
    EXPECT_EQ(dialog.IsMaximised() != FALSE, resizable);
    dialog.DestroyWindow();
    Pump();
  }
}

TEST_F(MainWindowCaption, OnlyThePressInTheTop29PixelsDragsTheWindow) {
  struct Row {
    int y;
    bool maximised;
    bool moves;
  };
  const Row rows[] = {{28, false, true}, {0, false, true}, {29, false, false}, {100, false, false}, {10, true, false}};
  for (const Row& row : rows) {
    TestMainDlg dialog;
    settings_.bResizable = TRUE;
    dialog.SetAppInfo(settings_);
    ASSERT_TRUE(dialog.Create(CDlgBaseAppDlg::kTemplateId, nullptr));
    dialog.ShowWindow(SW_SHOW);
    Pump();
    if (row.maximised) {
      dialog.OnMaximizeButton();
      Pump();
    }
    CRect before, after;
    dialog.GetWindowRect(&before);
    CPoint grab(400, row.y);
    dialog.ClientToScreen(&grab);
    const CPoint to(grab.x + 40, grab.y + 30);
    WhileModal({[to] {
                  user::InjectMouse(to, WM_MOUSEMOVE);
                  return true;
                },
                [to] {
                  user::InjectMouse(to, WM_LBUTTONUP);
                  return true;
                }});
    user::InjectMouse(grab, WM_MOUSEMOVE);
    user::InjectMouse(grab, WM_LBUTTONDOWN);
    Pump();
    user::SetIdleHook(nullptr);
    user::InjectMouse(to, WM_LBUTTONUP);
    Pump();
    dialog.GetWindowRect(&after);
    if (row.moves)
      EXPECT_EQ(after.TopLeft(), before.TopLeft() + CSize(40, 30)) << row.y;
    else
      EXPECT_EQ(after.TopLeft(), before.TopLeft()) << row.y << " maximised " << row.maximised;
    dialog.DestroyWindow();
    Pump();
  }
}

// The system menu's items: (command, text).
std::vector<std::pair<UINT, std::u16string>> MenuItems(HMENU menu) {
  std::vector<std::pair<UINT, std::u16string>> items;
  for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
    WCHAR text[64] = {};
    ::GetMenuStringW(menu, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
    items.emplace_back(::GetMenuItemID(menu, i), std::u16string(text));
  }
  return items;
}

TEST_F(MainWindowCaption, TheOwnSystemMenuHoldsItsSixItems) {
  Open(settings_);
  const HMENU menu = ::GetSystemMenu(dialog_.m_hWnd, FALSE);
  ASSERT_NE(menu, nullptr);
  const std::vector<std::pair<UINT, std::u16string>> expected = {
      {16, u"About Tunevo"}, {SC_RESTORE, u"Restore"}, {SC_MINIMIZE, u"Minimize"},
      {SC_MOVE, u"Move"},    {0, u""},                 {SC_CLOSE, u"Close"}};
  EXPECT_EQ(MenuItems(menu), expected);
  EXPECT_TRUE(dialog_.GetStyle() & WS_SYSMENU);
  EXPECT_TRUE(dialog_.GetStyle() & WS_MINIMIZEBOX);

  dialog_.DisableClose();
  EXPECT_TRUE(::GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_FALSE(dialog_.GetCloseButton().IsWindowEnabled());
  dialog_.EnableClose();
  EXPECT_FALSE(::GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_TRUE(dialog_.GetCloseButton().IsWindowEnabled());
}

// The About box of this thread, or null.
HWND AboutWindow() {
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

TEST_F(MainWindowCaption, SystemMenuCommands) {
  Open(settings_);
  // The private minimise command, then restore.
  dialog_.PostMessage(WM_SYSCOMMAND, CDlgMainWnd::kMinimizeSysCommand, 0);
  Pump();
  EXPECT_TRUE(dialog_.HasSeenSysCommand());
  EXPECT_TRUE(dialog_.IsIconic());
  dialog_.PostMessage(WM_SYSCOMMAND, SC_RESTORE, 0);
  Pump();
  EXPECT_FALSE(dialog_.IsIconic());
  EXPECT_TRUE(dialog_.IsWindowVisible());

  // The first item opens the About box over the window; Escape closes it.
  HWND about = nullptr;
  WhileModal({[&] {
    about = AboutWindow();
    if (about == nullptr) return false;
    Tap(VK_ESCAPE);
    return true;
  }});
  dialog_.PostMessage(WM_SYSCOMMAND, 16 | 3, 0);
  Pump();
  ExpectAllStepsRan();
  EXPECT_NE(about, nullptr);
  EXPECT_EQ(AboutWindow(), nullptr);

  // Close ends the window as the close request does.
  dialog_.PostMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
  Pump();
  EXPECT_FALSE(dialog_.GetSafeHwnd() && dialog_.IsWindowVisible());
}

TEST_F(MainWindowCaption, TheCloseButtonEndsTheProgram) {
  Open(settings_);
  Click(dialog_.GetCloseButton().m_hWnd);
  // The messages up to the quit message, whose code is kept.
  int quitCode = -1;
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) quitCode = static_cast<int>(msg.wParam);
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  EXPECT_EQ(quitCode, 0);
  EXPECT_FALSE(dialog_.GetSafeHwnd() && dialog_.IsWindowVisible());
}

TEST_F(MainWindowCaption, TheMinimumTrackSizeIsTheMainWindowSize) {
  Open(settings_);
  MINMAXINFO info{};
  dialog_.SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.ptMinTrackSize.x, 772);
  EXPECT_EQ(info.ptMinTrackSize.y, 583);
  EXPECT_EQ(info.ptMaxTrackSize.x, ::GetSystemMetrics(SM_CXMAXTRACK));
  EXPECT_LE(info.ptMaxTrackSize.y, ::GetSystemMetrics(SM_CYMAXTRACK) - 5);
}

TEST(MainWindowFont, BeforeWindows6OnlySegoeFacesStay) {
  struct Row {
    const char16_t* face;
    DWORD major;
    const char16_t* madeFace;
    LONG weight;
  };
  const Row rows[] = {
      {u"Segoe UI", 5, u"Segoe UI", FW_MEDIUM}, {u"segoe print", 5, u"segoe print", FW_MEDIUM},
      {u"Tahoma", 5, u"Arial", FW_NORMAL},      {u"Tahoma", 6, u"Tahoma", FW_MEDIUM},
      {u"", 5, u"Arial", FW_NORMAL},
  };
  for (const Row& row : rows) {
    LOGFONTW base{};
    base.lfHeight = -11;
    base.lfWeight = FW_BOLD;
    std::memcpy(base.lfFaceName, row.face, (std::char_traits<char16_t>::length(row.face) + 1) * sizeof(char16_t));
    const LOGFONTW made = MakeMainWindowLogFont(base, row.major);
    EXPECT_EQ(std::u16string(made.lfFaceName), std::u16string(row.madeFace)) << row.major;
    EXPECT_EQ(made.lfWeight, row.weight);
    EXPECT_EQ(made.lfHeight, -16);
    EXPECT_EQ(made.lfQuality, CLEARTYPE_QUALITY);
  }
}

}  // namespace
}  // namespace zx::test
