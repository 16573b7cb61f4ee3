// The dialog base: Enter and Escape held while a dialog opens are not acted on and a later
// press is, every control answered white with the dialog text colour, the shared font on
// every child, the dialog icon loaded once and kept past every dialog.
#include "DlgBaseShared.h"
#include "DlgBaseWnd.h"
#include "dialogs_testing.h"

namespace zx::test {
namespace {

constexpr UINT kPlainDialog = 4001;

using DialogBase = DialogTest;

struct HeldKey {
  int key;
  INT_PTR result;
};

class HeldKeys : public DialogTest, public ::testing::WithParamInterface<HeldKey> {};

TEST_P(HeldKeys, AKeyHeldWhileTheDialogOpensIsIgnoredALaterPressEndsIt) {
  const HeldKey held = GetParam();
  CDlgBaseWnd dialog(kPlainDialog, nullptr);
  Key(held.key, true);  // already down when the dialog opens
  bool openWhileHeld = false;
  bool openAfterRelease = false;
  WhileModal({
      [&] {
        Key(held.key, true);  // the key's repeat reaches the dialog
        return true;
      },
      [&] {
        openWhileHeld = ::IsWindowVisible(dialog.GetSafeHwnd()) != FALSE;
        Key(held.key, false);
        return true;
      },
      [&] {
        openAfterRelease = ::IsWindowVisible(dialog.GetSafeHwnd()) != FALSE;
        Tap(held.key);
        return true;
      },
  });
  EXPECT_EQ(dialog.DoModal(), held.result);
  ExpectAllStepsRan();
  EXPECT_TRUE(openWhileHeld);
  EXPECT_TRUE(openAfterRelease);
}

INSTANTIATE_TEST_SUITE_P(EnterAndEscape, HeldKeys,
                         ::testing::Values(HeldKey{VK_RETURN, IDOK}, HeldKey{VK_ESCAPE, IDCANCEL}));

TEST_F(DialogBase, EveryControlIsAnsweredWhiteWithTheDialogTextColour) {
  CDlgBaseWnd dialog(kPlainDialog, nullptr);
  ASSERT_TRUE(dialog.Create(kPlainDialog, nullptr));
  const HDC dc = ::CreateCompatibleDC(nullptr);
  for (UINT message : {UINT(WM_CTLCOLORSTATIC), UINT(WM_CTLCOLORBTN), UINT(WM_CTLCOLOREDIT), UINT(WM_CTLCOLORDLG)}) {
    ::SetTextColor(dc, 0);
    ::SetBkMode(dc, OPAQUE);
    const LRESULT brush = dialog.SendMessage(message, reinterpret_cast<WPARAM>(dc),
                                             reinterpret_cast<LPARAM>(::GetDlgItem(dialog.m_hWnd, 10)));
    EXPECT_EQ(reinterpret_cast<HBRUSH>(brush), GetSharedWhiteBrush()) << message;
    EXPECT_EQ(::GetTextColor(dc), kDialogTextColour) << message;
    EXPECT_EQ(::GetBkColor(dc), kDialogBackColour) << message;
    EXPECT_EQ(::GetBkMode(dc), TRANSPARENT) << message;
  }
  ::DeleteDC(dc);
  dialog.DestroyWindow();
}

TEST_F(DialogBase, EveryChildGetsTheSharedDialogFont) {
  CDlgBaseWnd dialog(kPlainDialog, nullptr);
  ASSERT_TRUE(dialog.Create(kPlainDialog, nullptr));
  for (int id : {10, IDOK, IDCANCEL}) {
    const LRESULT font = ::SendMessageW(::GetDlgItem(dialog.m_hWnd, id), WM_GETFONT, 0, 0);
    EXPECT_EQ(reinterpret_cast<HFONT>(font), GetSharedDialogFont()) << id;
  }
  dialog.DestroyWindow();
}

TEST_F(DialogBase, TheDialogIconIsLoadedOnceAndOutlivesEveryDialog) {
  HICON first = nullptr;
  for (int round = 0; round < 3; ++round) {
    CDlgBaseWnd dialog(kPlainDialog, nullptr);
    ASSERT_TRUE(dialog.Create(kPlainDialog, nullptr));
    if (first == nullptr) first = GetSharedDialogIcon();
    EXPECT_EQ(GetSharedDialogIcon(), first);
    dialog.DestroyWindow();
  }
  ASSERT_NE(first, nullptr);
  ICONINFO info{};
  EXPECT_TRUE(::GetIconInfo(first, &info));
  if (info.hbmColor) ::DeleteObject(info.hbmColor);
  if (info.hbmMask) ::DeleteObject(info.hbmMask);
}

TEST_F(DialogBase, TooltipsAreMadeOnlyWhenSwitchedOn) {
  for (BOOL on : {FALSE, TRUE}) {
    g_bShowTooltips = on;
    CDlgBaseWnd dialog(kPlainDialog, nullptr);
    ASSERT_TRUE(dialog.Create(kPlainDialog, nullptr));
    EXPECT_EQ(dialog.GetToolTip().GetSafeHwnd() != nullptr, on != FALSE);
    EXPECT_EQ(dialog.GetToolTip().GetParams().m_bVislManagerTheme, on);
    dialog.DestroyWindow();
  }
  g_bShowTooltips = FALSE;
}

TEST_F(DialogBase, AMissingTemplateMakesNoDialog) {
  constexpr UINT kMissing = 4999;
  CDlgBaseWnd modal(kMissing, nullptr);
  EXPECT_EQ(modal.DoModal(), -1);
  CDlgBaseWnd modeless(kMissing, nullptr);
  EXPECT_FALSE(modeless.Create(kMissing, nullptr));
  EXPECT_EQ(modeless.GetSafeHwnd(), nullptr);
}

}  // namespace
}  // namespace zx::test
