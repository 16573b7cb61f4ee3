// The HTML dialog bases: browser keys that never act, selection, dragging and the context
// menu refused outside edit fields, refused drops, the OK and Cancel elements, the child pane
// giving its texts to the page, the joined event maps and the script calls of CWebPage.
#include <string>

#include "ChildHtmlDialog.h"
#include "DlgBaseWnd.h"
#include "Dlg_ChildHtm.h"
#include "HalvoranApp.h"
#include "WebPage.h"
#include "dialogs_testing.h"
#include "zx/dhtml.h"
#include "zx/input.h"

namespace zx::test {
namespace {

constexpr UINT kHtmlTemplate = 4103;
constexpr UINT kHtmlPage = 4104;

class TestHtmlDialog : public CChildHtmlDialog {
 public:
  TestHtmlDialog() : CChildHtmlDialog(kHtmlTemplate, kHtmlPage, nullptr) {}
};

class HtmlDialog : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    // The test page lies in the program's own resources.
    AfxSetResourceHandle(AfxGetInstanceHandle());
  }
  // A modeless dialog with its page loaded.
  void Open(CChildHtmlDialog& dialog, UINT nTemplate, CWnd* parent = nullptr) {
    ASSERT_TRUE(dialog.Create(nTemplate, parent));
    dialog.SetWindowPos(nullptr, 20, 20, 390, 230, SWP_NOZORDER);
    dialog.ShowWindow(SW_SHOW);
    Pump();
  }
  // A left click on the element's text, as a person would.
  static void ClickElement(HWND dialog, LPCWSTR element, UINT down = WM_LBUTTONDOWN) {
    RECT box{};
    ASSERT_TRUE(html::GetElementBox(dialog, element, &box));
    POINT at{(box.left + box.right) / 2, (box.top + box.bottom) / 2};
    ::ClientToScreen(html::BrowserWindow(dialog), &at);
    user::InjectMouse(at, WM_MOUSEMOVE);
    user::InjectMouse(at, down);
    user::InjectMouse(at, down == WM_LBUTTONDOWN ? WM_LBUTTONUP : WM_RBUTTONUP);
  }
  static html::BrowserRecord Record(HWND dialog) {
    html::BrowserRecord record;
    EXPECT_TRUE(html::GetBrowserRecord(dialog, &record));
    return record;
  }
};

TEST_F(HtmlDialog, TheBrowserTakesNoDropsAndIsNoBrowser) {
  TestHtmlDialog dialog;
  Open(dialog, kHtmlTemplate);
  const html::BrowserRecord record = Record(dialog.m_hWnd);
  EXPECT_EQ(record.hostFlags, 13u);
  EXPECT_EQ(record.registerAsDropTarget, VARIANT_FALSE);
  EXPECT_EQ(record.registerAsBrowser, VARIANT_FALSE);
  EXPECT_EQ(record.dropTargetQueries, 1);
  EXPECT_EQ(record.dropTargetsGiven, 0);
  EXPECT_EQ(record.documentsCompleted, 1);
  EXPECT_FALSE(dialog.GetExStyle() & WS_EX_ACCEPTFILES);
  // A drop that arrives anyway is ignored and the dialog goes on.
  EXPECT_EQ(dialog.SendMessage(WM_DROPFILES, 0, 0), 0);
  EXPECT_TRUE(dialog.IsWindowVisible());
  dialog.DestroyWindow();
}

struct EventRow {
  const char16_t* element;
  const char16_t* event;
  HRESULT result;
};

TEST_F(HtmlDialog, SelectionDragAndContextMenuWorkOnlyInEditFields) {
  const EventRow table[] = {
      {u"para", u"onselectstart", S_FALSE}, {u"para", u"ondragstart", S_FALSE},
      {u"para", u"oncontextmenu", S_FALSE}, {u"notes", u"onselectstart", S_OK},
      {u"notes", u"ondragstart", S_OK},     {u"notes", u"oncontextmenu", S_OK},
      {u"ButtonOK", u"ondragstart", S_FALSE},
  };
  TestHtmlDialog dialog;
  Open(dialog, kHtmlTemplate);
  for (const EventRow& row : table)
    EXPECT_EQ(html::FireElementEvent(dialog.m_hWnd, row.element, row.event), row.result)
        << std::string(row.element, row.element + std::char_traits<char16_t>::length(row.element));
  dialog.DestroyWindow();
}

TEST_F(HtmlDialog, MouseOnPageTextSelectsNothingAndShowsNoMenu) {
  TestHtmlDialog dialog;
  Open(dialog, kHtmlTemplate);
  ClickElement(dialog.m_hWnd, u"para");
  Pump();
  EXPECT_EQ(Record(dialog.m_hWnd).cancelledEvents, 1) << "selection start refused";
  ClickElement(dialog.m_hWnd, u"para", WM_RBUTTONDOWN);
  Pump();
  EXPECT_EQ(Record(dialog.m_hWnd).cancelledEvents, 2) << "context menu refused";
  ClickElement(dialog.m_hWnd, u"notes");
  ClickElement(dialog.m_hWnd, u"notes", WM_RBUTTONDOWN);
  Pump();
  const html::BrowserRecord record = Record(dialog.m_hWnd);
  EXPECT_EQ(record.cancelledEvents, 2) << "the edit field selects and gets its menu";
  EXPECT_EQ(record.browserMenus, 0);
  dialog.DestroyWindow();
}

struct KeyRow {
  std::initializer_list<int> held;
  UINT message;
  WPARAM key;
  BOOL swallowed;
  WPARAM keyAfter;
};

TEST_F(HtmlDialog, BrowserShortcutsNeverReachThePage) {
  const KeyRow table[] = {
      {{VK_CONTROL, 'N'}, WM_KEYDOWN, 'N', TRUE, 'N'},
      {{VK_CONTROL, 'P'}, WM_KEYDOWN, 'P', TRUE, 'P'},
      {{VK_CONTROL, 'O'}, WM_KEYDOWN, 'O', TRUE, 'O'},
      {{VK_CONTROL, 'A'}, WM_KEYDOWN, 'A', TRUE, 'A'},
      {{VK_CONTROL, '5'}, WM_KEYDOWN, '5', TRUE, '5'},
      {{VK_CONTROL, VK_NUMPAD5}, WM_KEYDOWN, VK_NUMPAD5, TRUE, VK_NUMPAD5},
      {{VK_CONTROL, 'F'}, WM_KEYDOWN, 'F', TRUE, 'F'},
      {{VK_F5}, WM_KEYDOWN, VK_F5, TRUE, VK_F5},
      {{VK_LMENU, 'G'}, WM_KEYDOWN, 'G', TRUE, 'G'},
      {{VK_RMENU, 'H'}, WM_KEYDOWN, 'H', TRUE, 'H'},
      {{VK_LMENU, 'O'}, WM_KEYDOWN, 'O', TRUE, 'O'},
      {{VK_LMENU, VK_F4}, WM_SYSKEYDOWN, VK_F4, FALSE, 0},
      {{VK_LMENU, VK_F4}, WM_SYSKEYUP, VK_F4, FALSE, 0},
      // Keys the page may have, Enter, Escape and Space as no key.
      {{VK_RETURN}, WM_KEYDOWN, VK_RETURN, FALSE, 0},
      {{VK_ESCAPE}, WM_KEYDOWN, VK_ESCAPE, FALSE, 0},
      {{VK_SPACE}, WM_KEYDOWN, VK_SPACE, FALSE, 0},
      {{'N'}, WM_KEYDOWN, 'N', FALSE, 'N'},
      {{VK_CONTROL, 'B'}, WM_KEYDOWN, 'B', FALSE, 'B'},
      {{VK_LMENU, 'X'}, WM_KEYDOWN, 'X', FALSE, 'X'},
  };
  TestHtmlDialog dialog;
  Open(dialog, kHtmlTemplate);
  for (const KeyRow& row : table) {
    user::ResetInput();
    for (int key : row.held) Key(key, true);
    Pump();  // the thread's own key state follows the keys it has taken
    MSG msg{html::BrowserWindow(dialog.m_hWnd), row.message, row.key, 0, 0, {}};
    EXPECT_EQ(dialog.PreTranslateMessage(&msg), row.swallowed) << row.key;
    EXPECT_EQ(msg.wParam, row.keyAfter) << row.key;
  }
  user::ResetInput();
  dialog.DestroyWindow();
}

TEST_F(HtmlDialog, EnterAndEscapeCloseNothingTheButtonElementsDo) {
  TestHtmlDialog dialog;
  WhileModal({
      [&] {
        if (!html::BrowserWindow(dialog.m_hWnd)) return false;
        Tap(VK_RETURN);
        Tap(VK_ESCAPE);
        return true;
      },
      [&] {
        // OK while Escape is held closes nothing.
        Key(VK_ESCAPE, true);
        ClickElement(dialog.m_hWnd, u"ButtonOK");
        return true;
      },
      [&] {
        Key(VK_ESCAPE, false);
        EXPECT_TRUE(::IsWindow(dialog.m_hWnd));
        ClickElement(dialog.m_hWnd, u"ButtonCancel");
        return true;
      },
  });
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  ExpectAllStepsRan();

  TestHtmlDialog second;
  WhileModal({[&] {
    if (!html::BrowserWindow(second.m_hWnd)) return false;
    ClickElement(second.m_hWnd, u"ButtonOK");
    return true;
  }});
  EXPECT_EQ(second.DoModal(), IDOK);
  ExpectAllStepsRan();
}

struct PaneRow {
  const char16_t* first;
  const char16_t* second;
  int number;
  const char16_t* shown;
};

TEST_F(HtmlDialog, ThePaneHandsItsTextsToThePageFromTheResourceLibrary) {
  const PaneRow table[] = {
      {u"Your drivers", u"are current", 12, u"12"},
      {u"", u"<b>not bold</b>", -7, u"-7"},
  };
  // The class library's resources are the resource library's, as in the programs.
  AfxSetResourceHandle(GetResourceModule());
  CDlgBaseWnd host(4101, nullptr);
  ASSERT_TRUE(host.Create(4101, nullptr));
  host.SetWindowPos(nullptr, 0, 0, 480, 260, SWP_NOZORDER);
  host.ShowWindow(SW_SHOW);
  for (const PaneRow& row : table) {
    const HINSTANCE before = AfxGetResourceHandle();
    CDlg_ChildHtm pane(&host);
    pane.m_strFirst = row.first;
    pane.m_strSecond = row.second;
    pane.m_nNumber = row.number;
    Open(pane, CDlg_ChildHtm::kTemplateId, &host);
    EXPECT_EQ(AfxGetResourceHandle(), before);
    std::u16string text;
    ASSERT_TRUE(html::GetElementText(pane.m_hWnd, u"first", &text));
    EXPECT_EQ(text, row.first);
    ASSERT_TRUE(html::GetElementText(pane.m_hWnd, u"second", &text));
    EXPECT_EQ(text, row.second);
    ASSERT_TRUE(html::GetElementText(pane.m_hWnd, u"number", &text));
    EXPECT_EQ(text, row.shown);
    EXPECT_TRUE(pane.GetWebPage().GetLastErrorText().IsEmpty());
    if (row.number == 12) ExpectWindowMatches(pane.m_hWnd, "childhtm.png");
    pane.DestroyWindow();
  }
  host.DestroyWindow();
}

TEST_F(HtmlDialog, ThePanesMapIsTheBasesWithItsButtonsOnce) {
  CDlg_ChildHtm pane;
  const DHtmlEventMapEntry* map = static_cast<CDHtmlDialog&>(pane).GetDHtmlEventMap();
  int entries = 0, buttons = 0;
  for (const DHtmlEventMapEntry* e = map; e->nType != DHTMLEVENTMAPENTRY_END; ++e, ++entries)
    buttons += e->nType == DHTMLEVENTMAPENTRY_NAME;
  EXPECT_EQ(entries, 272);
  EXPECT_EQ(buttons, 2);
  EXPECT_EQ(CString(map[0].szName), u"ButtonOK");
  EXPECT_EQ(map[0].dispId, DISPID_HTMLELEMENTEVENTS_ONCLICK);

  // An entry of the derived map's own comes first; the base's all follow.
  const DHtmlEventMapEntry own[] = {{DHTMLEVENTMAPENTRY_NAME, DISPID_HTMLELEMENTEVENTS_ONCLICK, u"ButtonHelp", nullptr},
                                    {DHTMLEVENTMAPENTRY_END, 0, nullptr, nullptr}};
  const std::vector<DHtmlEventMapEntry> joined = CChildHtmlDialog::CombineEventMaps(own);
  ASSERT_EQ(joined.size(), 274u);
  EXPECT_EQ(CString(joined[0].szName), u"ButtonHelp");
  EXPECT_EQ(CString(joined[1].szName), u"ButtonOK");
  EXPECT_EQ(joined.back().nType, DHTMLEVENTMAPENTRY_END);
}

TEST_F(HtmlDialog, ScriptCallsFailWithTheirErrorText) {
  CWebPage page;
  EXPECT_FALSE(page.CallScriptFunction(u"SetText", u"a", nullptr));
  EXPECT_EQ(page.GetLastErrorText(), u"JSCall Error:\nCannot GetScript");
  EXPECT_FALSE(page.AttachDocument(nullptr));
  EXPECT_EQ(page.GetLastErrorText(), u"JSCall Error:\nNULL pointer");

  TestHtmlDialog dialog;
  Open(dialog, kHtmlTemplate);
  ASSERT_TRUE(page.AttachDocument(dialog.m_spHtmlDoc));
  EXPECT_TRUE(page.AttachDocument(dialog.m_spHtmlDoc));
  EXPECT_FALSE(page.CallScriptFunction(u"settext", u"a", nullptr)) << "names match with case";
  EXPECT_EQ(page.GetLastErrorText(), CString(u"JSCall Error:\n") + CWebPage::GetSystemErrorText(DISP_E_UNKNOWNNAME));
  EXPECT_NE(CWebPage::GetSystemErrorText(DISP_E_UNKNOWNNAME), u"FormatMessage Native Error");
  EXPECT_EQ(CWebPage::GetSystemErrorText(static_cast<HRESULT>(0x2FFFFFFF)), u"FormatMessage Native Error");

  VARIANT result;
  ::VariantInit(&result);
  EXPECT_TRUE(page.CallScriptFunction(u"SetText", u"Three drivers & one", &result));
  EXPECT_EQ(result.vt, VT_EMPTY);
  std::u16string text;
  ASSERT_TRUE(html::GetElementText(dialog.m_hWnd, u"para", &text));
  EXPECT_EQ(text, u"Three drivers & one");
  dialog.DestroyWindow();
}

}  // namespace
}  // namespace zx::test
