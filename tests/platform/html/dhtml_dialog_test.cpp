// HTML dialogs from the test program's own resources: the page loaded from the current
// resource module or the program's own (none: no dialog), the document reached once loaded, script functions called through the
// document's script object, element events through the DHTML event map, and what the host
// did to the browser.
#include <gtest/gtest.h>

#include <vector>

#include "afxdhtml.h"
#include "machine_fixture.h"
#include "qhtm.h"
#include "snapshot_compare.h"
#include "winbase.h"
#include "zx/dhtml.h"
#include "zx/modal.h"
#include "zx/windowpaint.h"

namespace {

constexpr UINT kPaneTemplate = 1268;
constexpr UINT kPanePage = 1404;
constexpr UINT kInfoTemplate = 5366;
constexpr UINT kInfoPage = 5375;

// A script call as the system's pages make it: the function's id by name, the texts as BSTR
// arguments stored last first, invoked as a method.
HRESULT CallScript(IHTMLDocument2* document, const std::u16string& name, const std::vector<std::u16string>& texts,
                   VARIANT* result = nullptr) {
  if (!document) return E_POINTER;
  CComPtr<IDispatch> script;
  HRESULT hr = document->get_Script(&script);
  if (FAILED(hr)) return hr;
  std::u16string copy = name;
  LPOLESTR names[] = {copy.data()};
  DISPID id = 0;
  hr = script->GetIDsOfNames(IID_NULL, names, 1, 0x0800, &id);
  if (FAILED(hr)) return hr;
  std::vector<VARIANT> arguments(texts.size());
  for (std::size_t i = 0; i < texts.size(); ++i) {
    VARIANT& v = arguments[texts.size() - 1 - i];
    VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocString(texts[i].c_str());
  }
  DISPPARAMS params{arguments.data(), nullptr, static_cast<UINT>(arguments.size()), 0};
  VARIANT answer;
  VariantInit(&answer);
  EXCEPINFO exception{};
  UINT argumentError = 0xFFFFFFFF;
  hr = script->Invoke(id, IID_NULL, 0x0800, DISPATCH_METHOD, &params, &answer, &exception, &argumentError);
  for (VARIANT& v : arguments) VariantClear(&v);
  if (SUCCEEDED(hr) && result) VariantCopy(result, &answer);
  VariantClear(&answer);
  return hr;
}

std::u16string SystemText(HRESULT hr) {
  WCHAR text[256] = {};
  const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                      static_cast<DWORD>(hr), LANG_SYSTEM_DEFAULT, text, 256, nullptr);
  return std::u16string(text, length);
}

// The shared HTML dialog's behaviour: flags 13, no drops, no browser registration, no
// context menu; buttons by name, selection only in edit fields.
class PaneDialog : public CDHtmlDialog {
 public:
  PaneDialog() : CDHtmlDialog(kPaneTemplate, kPanePage, nullptr) {}

  BOOL OnInitDialog() override {
    CDHtmlDialog::OnInitDialog();
    documentAtStart = m_spHtmlDoc != nullptr;
    SetHostFlags(DOCHOSTUIFLAG_DIALOG | DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_SCROLL_NO);
    m_pBrowserApp->put_RegisterAsDropTarget(VARIANT_FALSE);
    DragAcceptFiles(FALSE);
    m_pBrowserApp->put_RegisterAsBrowser(VARIANT_FALSE);
    return TRUE;
  }
  void OnDocumentComplete(LPDISPATCH dispatch, LPCTSTR url) override {
    CDHtmlDialog::OnDocumentComplete(dispatch, url);
    ++completions;
    completedUrl = url;
    browserGiven = dispatch == static_cast<IDispatch*>(m_pBrowserApp);
    setTextResult = CallScript(m_spHtmlDoc, u"SetText", {u"Driver", u"Outdated", u"42"});
  }
  HRESULT ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) override {
    ++menusAsked;
    return S_OK;
  }

  HRESULT OnButtonOK(IHTMLElement* element) { return Note(u"ok", element); }
  HRESULT OnButtonCancel(IHTMLElement* element) { return Note(u"cancel", element); }
  HRESULT OnStrongClass(IHTMLElement* element) { return Note(u"class", element); }
  HRESULT OnRefuseUnlessEdit(IHTMLElement* element) {
    BSTR tag = nullptr;
    if (SUCCEEDED(element->get_tagName(&tag))) tags.emplace_back(tag);
    SysFreeString(tag);
    VARIANT_BOOL edit = VARIANT_FALSE;
    return SUCCEEDED(element->get_isTextEdit(&edit)) && edit == VARIANT_TRUE ? S_OK : S_FALSE;
  }

  int completions = 0;
  int menusAsked = 0;
  bool documentAtStart = true;
  bool browserGiven = false;
  std::u16string completedUrl;
  HRESULT setTextResult = E_FAIL;
  std::vector<std::u16string> clicks;  // handler, then the id of the element it was given
  std::vector<std::u16string> tags;

 private:
  HRESULT Note(const std::u16string& what, IHTMLElement* element) {
    BSTR id = nullptr;
    element->get_id(&id);
    clicks.push_back(what + u":" + (id ? id : u""));
    SysFreeString(id);
    return S_OK;
  }

  DECLARE_DHTML_EVENT_MAP()
};

BEGIN_DHTML_EVENT_MAP(PaneDialog)
  DHTML_EVENT_ONCLICK(u"ButtonOK", OnButtonOK)
  DHTML_EVENT_ONCLICK(u"ButtonCancel", OnButtonCancel)
  DHTML_EVENT_CLASS(DISPID_HTMLELEMENTEVENTS_ONCLICK, u"strong", OnStrongClass)
  DHTML_EVENT_TAG(DISPID_HTMLELEMENTEVENTS_ONSELECTSTART, u"p", OnRefuseUnlessEdit)
  DHTML_EVENT_TAG(DISPID_HTMLELEMENTEVENTS_ONSELECTSTART, u"input", OnRefuseUnlessEdit)
  DHTML_EVENT_TAG(DISPID_HTMLELEMENTEVENTS_ONSELECTSTART, u"textarea", OnRefuseUnlessEdit)
  DHTML_EVENT_TAG(DISPID_HTMLELEMENTEVENTS_ONDRAGSTART, u"H1", OnRefuseUnlessEdit)
  DHTML_EVENT_TAG(DISPID_HTMLELEMENTEVENTS_ONCONTEXTMENU, u"textarea", OnRefuseUnlessEdit)
  DHTML_EVENT_TAG(DISPID_HTMLELEMENTEVENTS_ONCONTEXTMENU, u"p", OnRefuseUnlessEdit)
END_DHTML_EVENT_MAP()

class DhtmlDialog : public zx::test::MachineTest {
 protected:
  void TearDown() override {
    if (pane.GetSafeHwnd()) pane.DestroyWindow();
  }
  // Creates the pane and runs its messages until the page has loaded.
  void Open() {
    ASSERT_TRUE(pane.Create(kPaneTemplate, nullptr));
    Pump();
    ASSERT_EQ(pane.completions, 1);
  }
  static void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }
  std::u16string Text(const char16_t* id) const {
    std::u16string text;
    EXPECT_TRUE(zx::html::GetElementText(pane.GetSafeHwnd(), id, &text)) << "no element";
    return text;
  }

  PaneDialog pane;
};

TEST_F(DhtmlDialog, PageLoadsFromTheResourceModuleAndCompletesAfterStart) {
  ASSERT_TRUE(pane.Create(kPaneTemplate, nullptr));
  EXPECT_FALSE(pane.documentAtStart);
  EXPECT_EQ(pane.completions, 0);  // not yet: the page completes once messages run
  Pump();
  EXPECT_EQ(pane.completions, 1);
  EXPECT_TRUE(pane.browserGiven);
  const std::u16string url = pane.completedUrl;
  EXPECT_EQ(url.rfind(u"res://", 0), 0u);
  EXPECT_EQ(url.substr(url.size() - 5), u"/1404");
  EXPECT_EQ(std::u16string(static_cast<LPCTSTR>(pane.m_strCurrentUrl)), url);
  CComPtr<IHTMLDocument2> document;
  ASSERT_EQ(pane.GetDHtmlDocument(&document), S_OK);
  BSTR title = nullptr;
  ASSERT_EQ(document->get_title(&title), S_OK);
  EXPECT_EQ(std::u16string(title), u"Pane");
  SysFreeString(title);
}

TEST_F(DhtmlDialog, ScriptCallFillsTextsInArgumentOrder) {
  Open();
  EXPECT_EQ(pane.setTextResult, S_OK);
  EXPECT_EQ(Text(u"first"), u"Driver");
  EXPECT_EQ(Text(u"second"), u"Outdated");
  EXPECT_EQ(Text(u"number"), u"42");
  std::u16string shown;
  ASSERT_TRUE(zx::html::GetDisplayHtml(pane.GetSafeHwnd(), &shown));
  EXPECT_NE(shown.find(u"<h1 id=\"first\">Driver</h1>"), std::u16string::npos);
  EXPECT_NE(shown.find(u"Outdated"), std::u16string::npos);
}

TEST_F(DhtmlDialog, MissingFunctionIsAnUnknownNameWithTheSystemText) {
  Open();
  EXPECT_EQ(CallScript(pane.m_spHtmlDoc, u"settext", {u"x"}), DISP_E_UNKNOWNNAME);  // names are exact
  EXPECT_EQ(CallScript(pane.m_spHtmlDoc, u"NoSuchFunction", {}), DISP_E_UNKNOWNNAME);
  EXPECT_EQ(SystemText(DISP_E_UNKNOWNNAME), u"Unknown name.\r\n");
  EXPECT_EQ(Text(u"first"), u"Driver");  // unchanged
}

TEST_F(DhtmlDialog, ScriptObjectAnswersLikeAutomation) {
  Open();
  CComPtr<IDispatch> script;
  ASSERT_EQ(pane.m_spHtmlDoc->get_Script(&script), S_OK);
  std::u16string function = u"SetText", parameter = u"second", unknown = u"nope";
  LPOLESTR names[] = {function.data(), parameter.data(), unknown.data()};
  DISPID ids[3] = {};
  EXPECT_EQ(script->GetIDsOfNames(IID_NULL, names, 3, 0x0800, ids), DISP_E_UNKNOWNNAME);
  EXPECT_EQ(ids[0], 1);
  EXPECT_EQ(ids[1], DISPID_UNKNOWN);  // parameters have no ids
  EXPECT_EQ(ids[2], DISPID_UNKNOWN);
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  EXPECT_EQ(script->Invoke(99, IID_NULL, 0x0800, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr),
            DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(script->Invoke(1, IID_NULL, 0x0800, DISPATCH_PROPERTYGET, &none, nullptr, nullptr, nullptr),
            DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(script->Invoke(1, IID_NULL, 0x0800, DISPATCH_METHOD, nullptr, nullptr, nullptr, nullptr), E_INVALIDARG);
  // A value that is no text, number or truth value: its place in rgvarg is reported.
  VARIANT args[2];
  VariantInit(&args[0]);
  VariantInit(&args[1]);
  args[0].vt = VT_R8;
  args[1].vt = VT_I4;
  args[1].lVal = -7;
  DISPPARAMS two{args, nullptr, 2, 0};
  UINT bad = 0xFFFFFFFF;
  EXPECT_EQ(script->Invoke(1, IID_NULL, 0x0800, DISPATCH_METHOD, &two, nullptr, nullptr, &bad), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(bad, 0u);
  args[0].vt = VT_BOOL;
  args[0].boolVal = VARIANT_TRUE;
  VARIANT result;
  VariantInit(&result);
  result.vt = VT_I4;
  EXPECT_EQ(script->Invoke(1, IID_NULL, 0x0800, DISPATCH_METHOD, &two, &result, nullptr, nullptr), S_OK);
  EXPECT_EQ(result.vt, VT_EMPTY);
  EXPECT_EQ(Text(u"first"), u"-7");
  EXPECT_EQ(Text(u"second"), u"true");
  EXPECT_EQ(Text(u"number"), u"undefined");
}

TEST_F(DhtmlDialog, ClicksReachNamedHandlersAndBubbleFromInside) {
  Open();
  const HWND dialog = pane.GetSafeHwnd();
  EXPECT_EQ(zx::html::FireElementEvent(dialog, u"ButtonOK", u"onclick"), S_OK);
  EXPECT_EQ(zx::html::FireElementEvent(dialog, u"okLabel", u"onclick"), S_OK);
  EXPECT_EQ(zx::html::FireElementEvent(dialog, u"ButtonCancel", u"onclick"), S_OK);
  EXPECT_EQ(zx::html::FireElementEvent(dialog, u"anchor", u"onclick"), S_OK);
  EXPECT_EQ(zx::html::FireElementEvent(dialog, u"first", u"onclick"), S_OK);
  EXPECT_EQ(pane.clicks, (std::vector<std::u16string>{u"ok:ButtonOK", u"ok:ButtonOK", u"cancel:", u"class:anchor"}));
}

TEST_F(DhtmlDialog, TagEventsAreRefusedOutsideEditFields) {
  Open();
  const HWND dialog = pane.GetSafeHwnd();
  EXPECT_EQ(zx::html::FireElementEvent(dialog, u"second", u"onselectstart"), S_FALSE);
  EXPECT_EQ(zx::html::FireElementEvent(dialog, u"field", u"onselectstart"), S_OK);
  EXPECT_EQ(zx::html::FireElementEvent(dialog, u"notes", u"onselectstart"), S_OK);
  EXPECT_EQ(zx::html::FireElementEvent(dialog, u"first", u"ondragstart"), S_FALSE);  // tags match in any case
  EXPECT_EQ(zx::html::FireElementEvent(dialog, u"notes", u"oncontextmenu"), S_OK);
  EXPECT_EQ(zx::html::FireElementEvent(dialog, u"number", u"onselectstart"), S_OK);  // no div entry
  EXPECT_EQ(pane.tags, (std::vector<std::u16string>{u"P", u"INPUT", u"TEXTAREA", u"H1", u"TEXTAREA"}));
  zx::html::BrowserRecord record;
  ASSERT_TRUE(zx::html::GetBrowserRecord(dialog, &record));
  EXPECT_EQ(record.cancelledEvents, 2);
}

TEST_F(DhtmlDialog, BadEventCallsAreRefused) {
  ASSERT_TRUE(pane.Create(kPaneTemplate, nullptr));
  const HWND dialog = pane.GetSafeHwnd();
  EXPECT_EQ(zx::html::FireElementEvent(dialog, u"ButtonOK", u"onclick"), E_INVALIDARG);  // not loaded yet
  Pump();
  EXPECT_EQ(zx::html::FireElementEvent(dialog, u"nothing", u"onclick"), E_INVALIDARG);
  EXPECT_EQ(zx::html::FireElementEvent(dialog, u"ButtonOK", u"onhover"), E_INVALIDARG);
  EXPECT_EQ(zx::html::FireElementEvent(dialog, nullptr, u"onclick"), E_INVALIDARG);
  EXPECT_EQ(zx::html::FireElementEvent(nullptr, u"ButtonOK", u"onclick"), E_INVALIDARG);
  EXPECT_EQ(zx::html::FireElementEvent(zx::html::BrowserWindow(dialog), u"ButtonOK", u"onclick"), E_INVALIDARG);
  EXPECT_TRUE(pane.clicks.empty());
}

TEST_F(DhtmlDialog, HostFlagsDropsAndRegistrationAreRecorded) {
  Open();
  const HWND dialog = pane.GetSafeHwnd();
  zx::html::BrowserRecord record;
  ASSERT_TRUE(zx::html::GetBrowserRecord(dialog, &record));
  EXPECT_EQ(record.hostFlags, 13u);
  EXPECT_EQ(record.registerAsDropTarget, VARIANT_FALSE);
  EXPECT_EQ(record.registerAsBrowser, VARIANT_FALSE);
  EXPECT_EQ(record.dropTargetQueries, 1);
  EXPECT_EQ(record.dropTargetsGiven, 0);
  EXPECT_EQ(record.documentsCompleted, 1);
  EXPECT_EQ(GetWindowLongW(dialog, GWL_EXSTYLE) & WS_EX_ACCEPTFILES, 0);
  VARIANT_BOOL value = VARIANT_TRUE;
  ASSERT_EQ(pane.m_pBrowserApp->get_RegisterAsDropTarget(&value), S_OK);
  EXPECT_EQ(value, VARIANT_FALSE);
}

LPARAM CentreOf(const RECT& box) { return MAKELPARAM((box.left + box.right) / 2, (box.top + box.bottom) / 2); }

TEST_F(DhtmlDialog, MouseClickOnAnElementsTextReachesItsHandler) {
  Open();
  const HWND dialog = pane.GetSafeHwnd();
  const HWND view = zx::html::BrowserWindow(dialog);
  RECT label{}, heading{};
  ASSERT_TRUE(zx::html::GetElementBox(dialog, u"okLabel", &label));
  ASSERT_TRUE(zx::html::GetElementBox(dialog, u"first", &heading));
  EXPECT_GT(label.right - label.left, 5);
  EXPECT_GT(label.top, heading.bottom - 1);  // the button lies below the heading
  SendMessageW(view, WM_LBUTTONUP, 0, CentreOf(label));
  SendMessageW(view, WM_LBUTTONUP, 0, CentreOf(heading));
  SendMessageW(view, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));  // the margin: no element
  EXPECT_EQ(pane.clicks, (std::vector<std::u16string>{u"ok:ButtonOK"}));
  RECT none{};
  EXPECT_FALSE(zx::html::GetElementBox(dialog, u"absent", &none));
}

TEST_F(DhtmlDialog, MouseSelectionAndContextMenuOnPlainTextAreRefused) {
  Open();
  const HWND dialog = pane.GetSafeHwnd();
  const HWND view = zx::html::BrowserWindow(dialog);
  RECT second{}, notes{};
  ASSERT_TRUE(zx::html::GetElementBox(dialog, u"second", &second));
  ASSERT_TRUE(zx::html::GetElementBox(dialog, u"notes", &notes));
  SendMessageW(view, WM_LBUTTONDOWN, 0, CentreOf(second));  // selection start: cancelled
  SendMessageW(view, WM_RBUTTONUP, 0, CentreOf(second));    // context menu: cancelled, host not asked
  EXPECT_EQ(pane.menusAsked, 0);
  SendMessageW(view, WM_RBUTTONUP, 0, CentreOf(notes));     // an edit field: the host is asked
  EXPECT_EQ(pane.menusAsked, 1);
  zx::html::BrowserRecord record;
  ASSERT_TRUE(zx::html::GetBrowserRecord(dialog, &record));
  EXPECT_EQ(record.cancelledEvents, 2);
  EXPECT_EQ(record.browserMenus, 0);  // the host answered S_OK: no menu of the browser's
  EXPECT_EQ(pane.tags, (std::vector<std::u16string>{u"P", u"P", u"TEXTAREA"}));
}

TEST_F(DhtmlDialog, ElementsAnswerTheirTagIdAndEditState) {
  Open();
  CComPtr<IHTMLElement> field;
  ASSERT_EQ(pane.GetElement(u"field", &field), S_OK);
  BSTR text = nullptr;
  ASSERT_EQ(field->get_tagName(&text), S_OK);
  EXPECT_EQ(std::u16string(text), u"INPUT");
  SysFreeString(text);
  VARIANT_BOOL edit = VARIANT_FALSE;
  ASSERT_EQ(field->get_isTextEdit(&edit), S_OK);
  EXPECT_EQ(edit, VARIANT_TRUE);
  VARIANT value;
  std::u16string name = u"VALUE";
  BSTR attribute = SysAllocString(name.c_str());
  ASSERT_EQ(field->getAttribute(attribute, 0, &value), S_OK);
  SysFreeString(attribute);
  ASSERT_EQ(value.vt, VT_BSTR);
  EXPECT_EQ(std::u16string(value.bstrVal), u"typed");
  VariantClear(&value);

  CComPtr<IHTMLElement> missing;
  EXPECT_EQ(pane.GetElement(u"absent", &missing), E_NOINTERFACE);
  EXPECT_EQ(missing.p, nullptr);

  CComPtr<IHTMLElement> second;
  ASSERT_EQ(pane.GetElement(u"second", &second), S_OK);
  ASSERT_EQ(second->get_isTextEdit(&edit), S_OK);
  EXPECT_EQ(edit, VARIANT_FALSE);
  BSTR replacement = SysAllocString(u"Replaced");
  ASSERT_EQ(second->put_innerText(replacement), S_OK);
  SysFreeString(replacement);
  EXPECT_EQ(Text(u"second"), u"Replaced");
  CComPtr<IHTMLElement> parent;
  ASSERT_EQ(second->get_parentElement(&parent), S_OK);
  ASSERT_EQ(parent->get_tagName(&text), S_OK);
  EXPECT_EQ(std::u16string(text), u"BODY");
  SysFreeString(text);
}

TEST_F(DhtmlDialog, DocumentHandsOutItsInterfaces) {
  Open();
  CComPtr<IHTMLDocument> plain;
  EXPECT_EQ(pane.m_spHtmlDoc.QueryInterface(IID_IHTMLDocument, &plain), S_OK);
  CComPtr<IWebBrowser2> browser;
  EXPECT_EQ(pane.m_spHtmlDoc.QueryInterface(IID_IWebBrowser2, &browser), E_NOINTERFACE);
  CComPtr<IDispatch> fromBrowser;
  ASSERT_EQ(pane.m_pBrowserApp->get_Document(&fromBrowser), S_OK);
  CComPtr<IHTMLDocument2> same;
  ASSERT_EQ(fromBrowser.QueryInterface(IID_IHTMLDocument2, &same), S_OK);
  EXPECT_EQ(same.p, pane.m_spHtmlDoc.p);
}

TEST_F(DhtmlDialog, ObjectsOutliveTheDialog) {
  Open();
  CComPtr<IHTMLDocument2> document = pane.m_spHtmlDoc;
  CComPtr<IWebBrowser2> browser = pane.m_pBrowserApp;
  pane.DestroyWindow();
  EXPECT_EQ(CallScript(document, u"SetText", {u"a", u"b", u"c"}), S_OK);
  BSTR url = nullptr;
  EXPECT_EQ(browser->get_LocationURL(&url), S_OK);
  SysFreeString(url);
}

TEST_F(DhtmlDialog, BrowserFillsTheDialogWhenItIsResized) {
  Open();
  const HWND view = zx::html::BrowserWindow(pane.GetSafeHwnd());
  ASSERT_NE(view, nullptr);
  pane.MoveWindow(0, 0, 584, 478);
  RECT client, browser;
  pane.GetClientRect(&client);
  ::GetClientRect(view, &browser);
  EXPECT_EQ(browser.right, client.right);
  EXPECT_EQ(browser.bottom, client.bottom);
}

// Dark pixels in the top band of the browser window, once painted.
int InkInTopBand(HWND view) {
  RedrawWindow(view, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  HDC dc = GetDC(view);
  int ink = 0;
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 300; ++x)
      if (GetRValue(GetPixel(dc, x, y)) < 128) ++ink;
  ReleaseDC(view, dc);
  return ink;
}

TEST_F(DhtmlDialog, PageIsDrawnAndRedrawnAfterAScriptCall) {
  Open();
  const HWND view = zx::html::BrowserWindow(pane.GetSafeHwnd());
  const int withHeading = InkInTopBand(view);
  EXPECT_GT(withHeading, 50);
  ASSERT_EQ(CallScript(pane.m_spHtmlDoc, u"SetText", {u"WWWWWWWWWWWWWWWWWW", u"", u""}), S_OK);
  Pump();
  EXPECT_GT(InkInTopBand(view), withHeading * 2);
}

// A dialog with the base host's answers that calls "SetText" once its page has loaded.
class PlainDialog : public CDHtmlDialog {
 public:
  explicit PlainDialog(UINT page) : CDHtmlDialog(kPaneTemplate, page, nullptr) {}
  void OnDocumentComplete(LPDISPATCH dispatch, LPCTSTR url) override {
    CDHtmlDialog::OnDocumentComplete(dispatch, url);
    result = CallScript(m_spHtmlDoc, u"SetText", {});
  }
  HRESULT result = E_FAIL;
};

// A page the resources lack opens no dialog: it would show nothing that closes it. With its
// page, the base host lets the browser show its own menu.
TEST_F(DhtmlDialog, AMissingPageOpensNoDialogAndTheBaseHostLetsTheBrowserMenuShow) {
  PlainDialog missing(9999);
  EXPECT_FALSE(missing.Create(kPaneTemplate, nullptr));
  EXPECT_EQ(missing.GetSafeHwnd(), nullptr);
  PlainDialog dialog(kPanePage);
  ASSERT_TRUE(dialog.Create(kPaneTemplate, nullptr));
  Pump();
  SendMessageW(zx::html::BrowserWindow(dialog.GetSafeHwnd()), WM_RBUTTONUP, 0, MAKELPARAM(20, 20));
  zx::html::BrowserRecord record;
  ASSERT_TRUE(zx::html::GetBrowserRecord(dialog.GetSafeHwnd(), &record));
  EXPECT_EQ(record.browserMenus, 1);
  dialog.DestroyWindow();
}

// The page comes from the resource module current while OnInitDialog runs, else from the
// program's own resources.
class ElsewhereDialog : public PlainDialog {
 public:
  ElsewhereDialog() : PlainDialog(kPanePage) {}
  BOOL OnInitDialog() override {
    const HINSTANCE previous = AfxGetResourceHandle();
    AfxSetResourceHandle(reinterpret_cast<HINSTANCE>(static_cast<ULONG_PTR>(0x5A5A0000)));  // no such module
    const BOOL result = CDHtmlDialog::OnInitDialog();
    AfxSetResourceHandle(previous);
    return result;
  }
};

TEST_F(DhtmlDialog, PageComesFromTheResourceModuleElseTheProgramsOwn) {
  ElsewhereDialog dialog;
  ASSERT_TRUE(dialog.Create(kPaneTemplate, nullptr));
  Pump();
  EXPECT_EQ(dialog.result, S_OK);  // the pane's page, with SetText, was read from the program
  std::u16string shown;
  ASSERT_TRUE(zx::html::GetDisplayHtml(dialog.GetSafeHwnd(), &shown));
  EXPECT_NE(shown, u"<html><head></head><body></body></html>");  // not an empty document
  dialog.DestroyWindow();
}

// The information dialog: thirteen texts, and its buttons end it.
class InfoDialog : public CDHtmlDialog {
 public:
  InfoDialog() : CDHtmlDialog(kInfoTemplate, kInfoPage, nullptr) {}
  void OnDocumentComplete(LPDISPATCH dispatch, LPCTSTR url) override {
    CDHtmlDialog::OnDocumentComplete(dispatch, url);
    std::vector<std::u16string> texts;
    for (int i = 1; i <= 13; ++i) texts.push_back(u"level " + std::u16string(1, static_cast<char16_t>(u'a' + i)));
    result = CallScript(m_spHtmlDoc, u"settext", texts);
    loaded = true;
  }
  HRESULT OnClose(IHTMLElement*) {
    EndDialog(IDCANCEL);
    return S_OK;
  }
  HRESULT result = E_FAIL;
  bool loaded = false;
  DECLARE_DHTML_EVENT_MAP()
};

BEGIN_DHTML_EVENT_MAP(InfoDialog)
  DHTML_EVENT_ONCLICK(u"btnclose", OnClose)
END_DHTML_EVENT_MAP()

TEST_F(DhtmlDialog, ModalInformationDialogFillsThirteenTextsAndClosesByItsButton) {
  InfoDialog dialog;
  std::u16string first, last;
  zx::user::SetIdleHook([&] {
    if (!dialog.loaded || !dialog.GetSafeHwnd()) return;
    zx::html::GetElementText(dialog.GetSafeHwnd(), u"t1", &first);
    zx::html::GetElementText(dialog.GetSafeHwnd(), u"t13", &last);
    zx::html::FireElementEvent(dialog.GetSafeHwnd(), u"btnclose", u"onclick");
  });
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(dialog.result, S_OK);
  EXPECT_EQ(first, u"level b");
  EXPECT_EQ(last, u"level n");
  // The same object shown again loads a fresh page.
  dialog.loaded = false;
  dialog.result = E_FAIL;
  first.clear();
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  zx::user::SetIdleHook(nullptr);
  EXPECT_EQ(dialog.result, S_OK);
  EXPECT_EQ(first, u"level b");
}

}  // namespace

// A page as a browser shows it: a style sheet with classes, colours and margins, a table,
// and a script that builds its texts in a loop; a script's click reaches the event map.
class StyledDialog : public CDHtmlDialog {
 public:
  StyledDialog() : CDHtmlDialog(kPaneTemplate, 1600, nullptr) {}
  HRESULT OnBanner(IHTMLElement*) {
    ++bannerClicks;
    if (!replaceBody) return S_OK;
    CComPtr<IHTMLElement> body;
    m_spHtmlDoc->get_body(&body);
    BSTR html = SysAllocString(u"<p>replaced</p>");
    body->put_innerHTML(html);  // the clicked element leaves the page in the middle of the event
    SysFreeString(html);
    return S_OK;
  }
  HRESULT OnBannerClass(IHTMLElement* element) {
    BSTR id = nullptr;
    element->get_id(&id);
    classClickOn = id ? id : u"";
    SysFreeString(id);
    return S_OK;
  }
  int bannerClicks = 0;
  bool replaceBody = false;
  std::u16string classClickOn;
  DECLARE_DHTML_EVENT_MAP()
};

BEGIN_DHTML_EVENT_MAP(StyledDialog)
  DHTML_EVENT_ONCLICK(u"banner", OnBanner)
  DHTML_EVENT_CLASS(DISPID_HTMLELEMENTEVENTS_ONCLICK, u"banner", OnBannerClass)
END_DHTML_EVENT_MAP()

int PixelsOf(HWND view, COLORREF colour) {
  RedrawWindow(view, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  RECT client;
  GetClientRect(view, &client);
  HDC dc = GetDC(view);
  int n = 0;
  for (int y = 0; y < client.bottom; ++y)
    for (int x = 0; x < client.right; ++x) n += GetPixel(dc, x, y) == colour;
  ReleaseDC(view, dc);
  return n;
}

TEST_F(DhtmlDialog, StyledPageWithATableAndAScriptIsDrawnAsABrowserDoes) {
  StyledDialog dialog;
  ASSERT_TRUE(dialog.Create(kPaneTemplate, nullptr));
  Pump();
  const HWND window = dialog.GetSafeHwnd();
  std::u16string list, total;
  ASSERT_TRUE(zx::html::GetElementText(window, u"list", &list));
  ASSERT_TRUE(zx::html::GetElementText(window, u"total", &total));
  EXPECT_EQ(list, u"item 1, item 2, item 3, item 4, item 5");
  EXPECT_EQ(total, u"15");
  const HWND view = zx::html::BrowserWindow(window);
  EXPECT_GT(PixelsOf(view, RGB(0x1E, 0x6F, 0xB8)), 2000);  // the banner's background, as wide as the page
  EXPECT_GT(PixelsOf(view, RGB(0xE0, 0xE0, 0xE0)), 200);   // the table's heading cells
  EXPECT_GT(PixelsOf(view, RGB(0x80, 0x80, 0x80)), 100);   // the cells' borders
  EXPECT_EQ(PixelsOf(view, RGB(0x2E, 0xA0, 0x44)), 16 * 16);  // the picture from the resources
  RECT banner{};
  ASSERT_TRUE(zx::html::GetElementBox(window, u"banner", &banner));
  EXPECT_GE(banner.left, 12 + 10);  // the body's margin and the banner's padding
  zx::test::TempFolder temp;
  const std::string drawn = temp.path() + "/styled.png";
  ASSERT_TRUE(zx::user::SaveWindowPng(view, drawn));
  zx::test::ExpectSameAsReference(drawn, std::string(ZX_UI_SNAPSHOTS) + "/styled.png", "styled");
  // A script's click goes through the event map; a handler that takes the clicked element
  // out of the page leaves it whole for the handlers after it.
  EXPECT_EQ(CallScript(dialog.m_spHtmlDoc, u"press", {}), S_OK);
  EXPECT_EQ(dialog.bannerClicks, 1);
  EXPECT_EQ(dialog.classClickOn, u"banner");
  dialog.replaceBody = true;
  EXPECT_EQ(zx::html::FireElementEvent(window, u"banner", u"onclick"), S_OK);
  EXPECT_EQ(dialog.bannerClicks, 2);
  std::u16string body;
  ASSERT_TRUE(zx::html::GetDisplayHtml(window, &body));
  EXPECT_NE(body.find(u"<p>replaced</p>"), std::u16string::npos);
  dialog.DestroyWindow();
}

// The text control takes pictures from the module it is given, by number or address.
TEST(QhtmPictures, ComeFromTheCallersModule) {
  struct Row {
    const char16_t* html;
    bool withModule;
    int greenPixels;
  } rows[] = {
      {u"<img src=\"1700\">", true, 16 * 16},
      {u"<img src=\"#1700\">", true, 16 * 16},
      {u"<img src=\"res://dhtml_tests/#1700\" width=8 height=8>", true, 8 * 8},
      {u"<img src=\"9999\">", true, 0},
      {u"<img src=\"1700\">", false, 0},
  };
  for (const Row& row : rows) {
    HDC dc = CreateCompatibleDC(nullptr);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 40, -30, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP surface = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ old = SelectObject(dc, surface);
    const RECT box{0, 0, 40, 30};
    ASSERT_TRUE(QHTM_RenderHTMLRect(dc, row.html, row.withModule ? GetModuleHandleW(nullptr) : nullptr,
                                    QHTM_SOURCE_TEXT, &box));
    int green = 0;
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 40; ++x) green += GetPixel(dc, x, y) == RGB(0x2E, 0xA0, 0x44);
    EXPECT_EQ(green, row.greenPixels) << std::string(row.html, row.html + std::char_traits<char16_t>::length(row.html));
    SelectObject(dc, old);
    DeleteObject(surface);
    DeleteDC(dc);
  }
}

// A click on a table cell of the styled page reaches the cell's handler through the layout.
class CellDialog : public CDHtmlDialog {
 public:
  CellDialog() : CDHtmlDialog(kPaneTemplate, 1600, nullptr) {}
  HRESULT OnCell(IHTMLElement* element) {
    BSTR text = nullptr;
    element->get_innerText(&text);
    cells.emplace_back(text ? text : u"");
    SysFreeString(text);
    return S_OK;
  }
  std::vector<std::u16string> cells;
  DECLARE_DHTML_EVENT_MAP()
};

BEGIN_DHTML_EVENT_MAP(CellDialog)
  DHTML_EVENT_TAG(DISPID_HTMLELEMENTEVENTS_ONCLICK, u"TD", OnCell)
END_DHTML_EVENT_MAP()

TEST_F(DhtmlDialog, ClicksOnTableCellsReachTheirHandler) {
  CellDialog dialog;
  ASSERT_TRUE(dialog.Create(kPaneTemplate, nullptr));
  Pump();
  const HWND view = zx::html::BrowserWindow(dialog.GetSafeHwnd());
  RECT banner{}, list{};
  ASSERT_TRUE(zx::html::GetElementBox(dialog.GetSafeHwnd(), u"banner", &banner));
  ASSERT_TRUE(zx::html::GetElementBox(dialog.GetSafeHwnd(), u"list", &list));
  // The table lies between the banner and the list: its rows, heading first, then Network, Sound.
  const int rows = list.top - banner.bottom;
  for (int y = banner.bottom; y < banner.bottom + rows; y += 4)
    SendMessageW(view, WM_LBUTTONUP, 0, MAKELPARAM(banner.left + 10, y));
  std::vector<std::u16string> seen;
  for (const auto& cell : dialog.cells)
    if (seen.empty() || seen.back() != cell) seen.push_back(cell);
  EXPECT_EQ(seen, (std::vector<std::u16string>{u"Network", u"Sound"}));
  dialog.DestroyWindow();
}
