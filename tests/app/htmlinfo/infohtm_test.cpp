// The driver-age levels dialog: its size and place, the level texts given to its page, the two
// closing elements that also end the dialog that opened it, the keys that close nothing, a
// page without the text function, a page found nowhere, and its picture. The resource handle is
// the resource library's, as the program's application object sets it: the dialog and its page
// are found in the program's own resources.
#include <string>

#include "Dlg_INFO_HTM.h"
#include "HalvoranApp.h"
#include "dialogs_testing.h"
#include "zx/dhtml.h"
#include "zx/input.h"

namespace zx::test {
namespace {

constexpr UINT kPageWithoutText = 4301;
constexpr UINT kMissingPage = 4399;

// The dialog that opens the levels dialog from its own message loop and is ended by it.
class LevelsOpener : public CDialog {
 public:
  LevelsOpener(CWnd* main, UINT page) : CDialog(CDlg_INFO_HTM::kTemplateId, nullptr), main_(main), page_(page) {}
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    PostMessage(WM_APP);
    return TRUE;
  }
  afx_msg LRESULT OnOpen(WPARAM, LPARAM) {
    CDlg_INFO_HTM levels(this, main_);
    if (page_) levels.m_nHtmlResID = page_;
    levelsHwnd = &levels;
    levelsResult = levels.DoModal();
    levelsHwnd = nullptr;
    levelsEnded = true;
    return 0;
  }
  CDlg_INFO_HTM* levelsHwnd = nullptr;
  INT_PTR levelsResult = -1;
  bool levelsEnded = false;

 private:
  CWnd* main_;
  UINT page_;
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(LevelsOpener, CDialog)
  ON_MESSAGE(WM_APP, &LevelsOpener::OnOpen)
END_MESSAGE_MAP()

class InfoHtm : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    const HMODULE library = GetResourceModule();
    ASSERT_NE(library, nullptr);
    AfxSetResourceHandle(library);
    ASSERT_TRUE(main_.Create(CDlg_INFO_HTM::kTemplateId, nullptr));
    main_.SetWindowPos(nullptr, 100, 40, 772, 583, SWP_NOZORDER);
    main_.ShowWindow(SW_SHOW);
  }
  void TearDown() override {
    main_.DestroyWindow();
    DialogTest::TearDown();
  }
  static void ClickElement(HWND dialog, const char16_t* element) {
    RECT box{};
    ASSERT_TRUE(html::GetElementBox(dialog, element, &box));
    POINT at{(box.left + box.right) / 2, (box.top + box.bottom) / 2};
    ::ClientToScreen(html::BrowserWindow(dialog), &at);
    ClickAt(at);
  }
  static bool Loaded(const CDlg_INFO_HTM* levels) {
    return levels && ::IsWindow(levels->m_hWnd) && html::BrowserWindow(levels->m_hWnd) &&
           levels->m_spHtmlDoc != nullptr;
  }
  static std::u16string Text(HWND dialog, const char16_t* element) {
    std::u16string text;
    EXPECT_TRUE(html::GetElementText(dialog, element, &text));
    return text;
  }

  CDialog main_;
};

TEST_F(InfoHtm, ThePageShowsTheLevelTextsCentredOnTheMainWindow) {
  const std::pair<const char16_t*, const char16_t*> elements[] = {
      {u"title", u"How old is a driver?"},
      {u"intro", u"Keep every device working at its best."},
      {u"levels", u"Driver age levels"},
      {u"old", u"Old"},
      {u"oldText", u"A newer driver came out lately."},
      {u"veryOld", u"Very old"},
      {u"veryOldText", u"An update is required."},
      {u"ancient", u"Ancient"},
      {u"ancientText", u"Update at once."},
      {u"criteria", u"What sets the level"},
      {u"first", u"The installed driver's date."},
      {u"second", u"The newest driver's date."},
      {u"third", u"<b>Not</b> markup & 100% text."},
  };
  ASSERT_EQ(CDlg_INFO_HTM::LevelTexts().size(), std::size(elements));
  LevelsOpener opener(&main_, 0);
  WhileModal({
      [&] {
        if (!Loaded(opener.levelsHwnd)) return false;
        const HWND levels = opener.levelsHwnd->m_hWnd;
        for (const auto& [element, text] : elements) EXPECT_EQ(Text(levels, element), text);
        EXPECT_TRUE(opener.levelsHwnd->GetWebPage().GetLastErrorText().IsEmpty());
        RECT mainRect{}, rect{};
        ::GetWindowRect(main_.m_hWnd, &mainRect);
        ::GetWindowRect(levels, &rect);
        EXPECT_EQ(rect.right - rect.left, 584);
        EXPECT_EQ(rect.bottom - rect.top, 478);
        EXPECT_EQ(rect.left, 100 + (772 - 584) / 2);
        EXPECT_EQ(rect.top, 40 + (583 - 478) / 2);
        ExpectWindowMatches(levels, "infohtm.png");
        ClickElement(levels, u"ButtonCancel");
        return true;
      },
  });
  EXPECT_EQ(opener.DoModal(), IDOK) << "closing the levels ends the dialog that opened them";
  ExpectAllStepsRan();
  EXPECT_EQ(opener.levelsResult, IDOK);
}

TEST_F(InfoHtm, KeysCloseAndReloadNothingOnlyTheTwoElementsClose) {
  struct Row {
    const char16_t* element;
    INT_PTR result;
  };
  const Row table[] = {{u"btnclose", IDCANCEL}, {u"ButtonCancel", IDOK}};
  for (const Row& row : table) {
    LevelsOpener opener(&main_, 0);
    WhileModal({
        [&] {
          if (!Loaded(opener.levelsHwnd)) return false;
          for (int key : {VK_ESCAPE, VK_RETURN, VK_SPACE, VK_F5}) Tap(key);
          Key(VK_MENU, true);
          Tap(VK_F4);
          Key(VK_MENU, false);
          return true;
        },
        [&] {
          EXPECT_TRUE(::IsWindow(opener.levelsHwnd->m_hWnd));
          html::BrowserRecord record;
          EXPECT_TRUE(html::GetBrowserRecord(opener.levelsHwnd->m_hWnd, &record));
          EXPECT_EQ(record.documentsCompleted, 1) << "F5 reloads nothing";
          ClickElement(opener.levelsHwnd->m_hWnd, row.element);
          return true;
        },
    });
    EXPECT_EQ(opener.DoModal(), IDOK);
    ExpectAllStepsRan();
    EXPECT_EQ(opener.levelsResult, row.result);
  }
}

TEST_F(InfoHtm, KeyMessagesAreTurnedIntoNoKey) {
  struct Row {
    UINT message;
    WPARAM key;
    WPARAM keyAfter;
  };
  const Row table[] = {
      {WM_KEYDOWN, VK_RETURN, 0},   {WM_KEYDOWN, VK_ESCAPE, 0},   {WM_KEYDOWN, VK_F4, 0},
      {WM_KEYDOWN, VK_SPACE, 0},    {WM_KEYDOWN, VK_F5, 0},       {WM_KEYDOWN, 'A', 'A'},
      {WM_SYSKEYDOWN, VK_F4, 0},    {WM_SYSKEYUP, VK_F4, 0},      {WM_SYSKEYDOWN, VK_SPACE, VK_SPACE},
      {WM_KEYUP, VK_ESCAPE, VK_ESCAPE}, {WM_CHAR, VK_SPACE, VK_SPACE},
  };
  CDlg_INFO_HTM levels(&main_, &main_);
  ASSERT_TRUE(levels.Create(CDlg_INFO_HTM::kTemplateId, &main_));
  Pump();
  for (const Row& row : table) {
    MSG msg{html::BrowserWindow(levels.m_hWnd), row.message, row.key, 0, 0, {}};
    EXPECT_FALSE(levels.PreTranslateMessage(&msg)) << row.message << " " << row.key;
    EXPECT_EQ(msg.wParam, row.keyAfter) << row.message << " " << row.key;
  }
  levels.DestroyWindow();
}

TEST_F(InfoHtm, APageWithoutTheTextFunctionKeepsItsTextsAndStillCloses) {
  const std::pair<const char16_t*, INT_PTR> table[] = {{u"ButtonCancel", IDOK}, {u"btnclose", IDCANCEL}};
  for (const auto& [element, result] : table) {
    LevelsOpener opener(&main_, kPageWithoutText);
    WhileModal({
        [&] {
          if (!Loaded(opener.levelsHwnd)) return false;
          EXPECT_EQ(Text(opener.levelsHwnd->m_hWnd, u"title"), u"Built-in title");
          EXPECT_EQ(opener.levelsHwnd->GetWebPage().GetLastErrorText(),
                    CString(u"JSCall Error:\n") + CWebPage::GetSystemErrorText(DISP_E_UNKNOWNNAME));
          ClickElement(opener.levelsHwnd->m_hWnd, element);
          return true;
        },
    });
    EXPECT_EQ(opener.DoModal(), IDOK);
    ExpectAllStepsRan();
    EXPECT_EQ(opener.levelsResult, result);
  }
}

// Without its page the dialog would show nothing that closes it: it does not open.
TEST_F(InfoHtm, APageFoundNowhereOpensNoDialog) {
  LevelsOpener opener(&main_, kMissingPage);
  WhileModal({
      [&] {
        if (!opener.levelsEnded) return false;
        ::EndDialog(opener.m_hWnd, IDCANCEL);
        return true;
      },
  });
  EXPECT_EQ(opener.DoModal(), IDCANCEL);
  ExpectAllStepsRan();
  EXPECT_EQ(opener.levelsResult, -1);
}

}  // namespace
}  // namespace zx::test
