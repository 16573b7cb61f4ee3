// CDialog: OnInitDialog on the attached object, OnOK and OnCancel through the message map,
// overridden handlers, modal results, modeless dialogs, and PreTranslateMessage seeing the
// modal loop's messages before the dialog keys act.
#include <gtest/gtest.h>

#include <vector>

#include "afxdlg.h"
#include "dialog_template.h"
#include "user_testing.h"
#include "zx/modal.h"

namespace zx::test {
namespace {

TemplateWriter SettingsTemplate() {
  TemplateWriter writer(WS_POPUP | WS_CAPTION, 0, 0, 120, 60, u"Settings");
  writer.Item(300, RecorderClass(), u"", WS_TABSTOP, 5, 5, 60, 12)
      .Item(IDOK, RecorderClass(), u"OK", WS_TABSTOP, 60, 40, 50, 14);
  return writer;
}

class CSettingsDialog : public CDialog {
 public:
  std::vector<const char*> calls;
  HWND initHandle = nullptr;

 protected:
  BOOL OnInitDialog() override {
    calls.push_back("init");
    initHandle = m_hWnd;
    SetDlgItemTextW(m_hWnd, 300, u"ready");
    return CDialog::OnInitDialog();
  }
  void OnCancel() override {
    calls.push_back("cancel");
    EndDialog(77);
  }
  afx_msg void OnApply() {
    calls.push_back("apply");
    EndDialog(300);
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSettingsDialog, CDialog)
  ON_COMMAND(300, &CSettingsDialog::OnApply)
END_MESSAGE_MAP()

class AfxDialogs : public UserTest {
 protected:
  void TearDown() override {
    user::SetIdleHook(nullptr);
    UserTest::TearDown();
  }
  // Posts the command once the modal loop first waits.
  static void PostCommandWhenIdle(int id) {
    user::SetIdleHook([id] {
      PostMessageW(GetActiveWindow(), WM_COMMAND, MAKELONG(id, BN_CLICKED), 0);
      user::SetIdleHook(nullptr);
    });
  }
};

TEST_F(AfxDialogs, DoModalRunsOnInitDialogOnTheAttachedObjectAndOkEndsIt) {
  const TemplateWriter layout = SettingsTemplate();
  CSettingsDialog dialog;
  ASSERT_TRUE(dialog.InitModalIndirect(layout.Get()));
  std::u16string itemText;
  user::SetIdleHook([&] {
    const HWND window = GetActiveWindow();
    WCHAR text[16] = {};
    GetDlgItemTextW(window, 300, text, 16);
    itemText = text;
    PostMessageW(window, WM_KEYDOWN, VK_RETURN, 1);
    user::SetIdleHook(nullptr);
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(itemText, u"ready");
  ASSERT_EQ(dialog.calls.size(), 1u);
  EXPECT_STREQ(dialog.calls[0], "init");
  EXPECT_NE(dialog.initHandle, nullptr);
  EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);  // detached when the window went
}

TEST_F(AfxDialogs, OverriddenCancelAndMapEntriesOfTheDerivedClassAnswer) {
  const TemplateWriter layout = SettingsTemplate();
  CSettingsDialog cancelled;
  cancelled.InitModalIndirect(layout.Get());
  PostCommandWhenIdle(IDCANCEL);
  EXPECT_EQ(cancelled.DoModal(), 77);
  EXPECT_STREQ(cancelled.calls.back(), "cancel");

  CSettingsDialog applied;
  applied.InitModalIndirect(layout.Get());
  PostCommandWhenIdle(300);
  EXPECT_EQ(applied.DoModal(), 300);
  EXPECT_STREQ(applied.calls.back(), "apply");
}

TEST_F(AfxDialogs, ModelessDialogIsFoundFromItsHandle) {
  const TemplateWriter layout = SettingsTemplate();
  CSettingsDialog dialog;
  ASSERT_TRUE(dialog.CreateIndirect(layout.Get()));
  ASSERT_NE(dialog.GetSafeHwnd(), nullptr);
  EXPECT_EQ(CWnd::FromHandlePermanent(dialog.GetSafeHwnd()), &dialog);
  dialog.DestroyWindow();
  EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
}

// Swallows Escape and turns Enter into no key; records what it saw.
class CFilteringDialog : public CDialog {
 public:
  std::vector<WPARAM> keys;
  BOOL PreTranslateMessage(MSG* pMsg) override {
    if (pMsg->message != WM_KEYDOWN) return FALSE;
    keys.push_back(pMsg->wParam);
    if (pMsg->wParam == VK_ESCAPE) return TRUE;
    if (pMsg->wParam == VK_RETURN) pMsg->wParam = 0;
    return FALSE;
  }
};

TEST_F(AfxDialogs, TheModalLoopOffersEachMessageToPreTranslateMessageFirst) {
  const TemplateWriter layout = SettingsTemplate();
  CFilteringDialog dialog;
  dialog.InitModalIndirect(layout.Get());
  int idle = 0;
  user::SetIdleHook([&] {
    const HWND window = GetActiveWindow();
    if (idle++ == 0) {
      PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 1);  // swallowed: no IDCANCEL
      PostMessageW(window, WM_KEYDOWN, VK_RETURN, 1);  // no key: no IDOK
    } else {
      PostMessageW(window, WM_COMMAND, MAKELONG(IDCANCEL, BN_CLICKED), 0);
      user::SetIdleHook(nullptr);
    }
  });
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(dialog.keys, (std::vector<WPARAM>{VK_ESCAPE, VK_RETURN}));
}

LRESULT CALLBACK HandleEveryOther(int code, WPARAM, LPARAM lParam) {
  static int calls = 0;
  return code == MSGF_DIALOGBOX && lParam && (calls++ % 2) == 0;
}

TEST_F(AfxDialogs, MessageFiltersAnswerForTheirThreadUntilUnhooked) {
  MSG msg{};
  EXPECT_FALSE(CallMsgFilterW(&msg, MSGF_DIALOGBOX));
  const HHOOK hook = SetWindowsHookExW(WH_MSGFILTER, HandleEveryOther, nullptr, 0);
  ASSERT_NE(hook, nullptr);
  EXPECT_TRUE(CallMsgFilterW(&msg, MSGF_DIALOGBOX));
  EXPECT_FALSE(CallMsgFilterW(&msg, MSGF_DIALOGBOX));
  EXPECT_FALSE(CallMsgFilterW(nullptr, MSGF_DIALOGBOX));
  EXPECT_TRUE(UnhookWindowsHookEx(hook));
  EXPECT_FALSE(CallMsgFilterW(&msg, MSGF_DIALOGBOX));
}

TEST_F(AfxDialogs, AMissingTemplateFailsDoModal) {
  CDialog dialog(4242);
  EXPECT_EQ(dialog.DoModal(), -1);
  EXPECT_FALSE(dialog.Create(4242));
}

}  // namespace
}  // namespace zx::test
