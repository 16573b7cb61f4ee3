// CChildHtmlDialog: the key filter, the event map that cancels selection, dragging and the
// context menu outside edit fields, the OK and Cancel elements, and refused drops.
#include "ChildHtmlDialog.h"

#include <debugapi.h>
#include <shelldrop.h>
#include <wininput.h>

#include "CTransparentCheckRadio.h"

IMPLEMENT_DYNCREATE(CChildHtmlDialog, CDHtmlDialog)

BEGIN_MESSAGE_MAP(CChildHtmlDialog, CDHtmlDialog)
  ON_MESSAGE(WM_DROPFILES, &CChildHtmlDialog::OnDropFiles)
  ON_WM_KEYDOWN()
  ON_WM_SYSKEYDOWN()
  ON_WM_CTLCOLOR()
  ON_WM_ERASEBKGND()
  ON_COMMAND(IDOK, &CChildHtmlDialog::OnOK)
  ON_COMMAND(IDCANCEL, &CChildHtmlDialog::OnCancel)
END_MESSAGE_MAP()

namespace {

// Every tag whose elements refuse selection, dragging and the context menu.
constexpr LPCTSTR kTags[] = {
    _T("a"),        _T("abbr"),   _T("acronym"),  _T("address"),  _T("applet"),   _T("area"),     _T("b"),
    _T("base"),     _T("basefont"), _T("bdo"),    _T("big"),      _T("blockquote"), _T("body"),   _T("br"),
    _T("button"),   _T("caption"), _T("center"),  _T("cite"),     _T("code"),     _T("col"),      _T("colgroup"),
    _T("dd"),       _T("del"),    _T("dir"),      _T("div"),      _T("dfn"),      _T("dl"),       _T("dt"),
    _T("em"),       _T("fieldset"), _T("font"),   _T("form"),     _T("frame"),    _T("frameset"), _T("h1"),
    _T("h2"),       _T("h3"),     _T("h4"),       _T("head"),     _T("hr"),       _T("html"),     _T("i"),
    _T("iframe"),   _T("img"),    _T("input"),    _T("ins"),      _T("isindex"),  _T("kbd"),      _T("label"),
    _T("legend"),   _T("li"),     _T("link"),     _T("map"),      _T("menu"),     _T("meta"),     _T("noframes"),
    _T("noscript"), _T("object"), _T("ol"),       _T("optgroup"), _T("option"),   _T("p"),        _T("param"),
    _T("pre"),      _T("q"),      _T("s"),        _T("samp"),     _T("script"),   _T("select"),   _T("small"),
    _T("span"),     _T("strike"), _T("strong"),   _T("style"),    _T("sub"),      _T("sup"),      _T("table"),
    _T("tbody"),    _T("td"),     _T("textarea"), _T("tfoot"),    _T("th"),       _T("thead"),    _T("title"),
    _T("tr"),       _T("tt"),     _T("u"),        _T("ul"),       _T("var"),      _T("xmp"),
};
static_assert(sizeof(kTags) / sizeof(kTags[0]) == 90);

bool Held(int virtualKey) { return (::GetAsyncKeyState(virtualKey) & 0x8000) != 0; }
bool AnyHeld(std::initializer_list<int> keys) {
  for (int key : keys)
    if (Held(key)) return true;
  return false;
}
bool Down(int virtualKey) { return ::GetKeyState(virtualKey) < 0; }

bool SameEntry(const DHtmlEventMapEntry& a, const DHtmlEventMapEntry& b) {
  return a.nType == b.nType && a.dispId == b.dispId && a.szName && b.szName && CString(a.szName) == b.szName;
}

// Traces the event with the element's tag; the event goes on (S_OK) only in a text-edit
// element.
HRESULT AllowInTextEdit(IHTMLElement* element, LPCTSTR trace) {
  if (element == nullptr) return S_FALSE;
  BSTR tag = nullptr;
  if (SUCCEEDED(element->get_tagName(&tag))) {
    CString line;
    line.Format(trace, tag ? tag : _T(""));
    ::OutputDebugStringW(line);
  }
  ::SysFreeString(tag);
  VARIANT_BOOL textEdit = VARIANT_FALSE;
  return SUCCEEDED(element->get_isTextEdit(&textEdit)) && textEdit == VARIANT_TRUE ? S_OK : S_FALSE;
}

}  // namespace

CChildHtmlDialog::CChildHtmlDialog() = default;

CChildHtmlDialog::CChildHtmlDialog(UINT nIDTemplate, UINT nHtmlResID, CWnd* pParentWnd)
    : CDHtmlDialog(nIDTemplate, nHtmlResID, pParentWnd) {}

CChildHtmlDialog::~CChildHtmlDialog() = default;

const DHtmlEventMapEntry* CChildHtmlDialog::GetDHtmlEventMap() { return BaseEventMap(); }

const DHtmlEventMapEntry* CChildHtmlDialog::BaseEventMap() {
  static const std::vector<DHtmlEventMapEntry> entries = [] {
    using Handler = DHEVTFUNCCONTROL;
    std::vector<DHtmlEventMapEntry> map;
    map.push_back({DHTMLEVENTMAPENTRY_NAME, DISPID_HTMLELEMENTEVENTS_ONCLICK, _T("ButtonOK"),
                   static_cast<Handler>(&CChildHtmlDialog::OnButtonOK)});
    map.push_back({DHTMLEVENTMAPENTRY_NAME, DISPID_HTMLELEMENTEVENTS_ONCLICK, _T("ButtonCancel"),
                   static_cast<Handler>(&CChildHtmlDialog::OnButtonCancel)});
    const std::pair<DISPID, Handler> events[] = {
        {DISPID_HTMLELEMENTEVENTS_ONSELECTSTART, static_cast<Handler>(&CChildHtmlDialog::OnHtmlSelectStart)},
        {DISPID_HTMLELEMENTEVENTS_ONDRAGSTART, static_cast<Handler>(&CChildHtmlDialog::OnHtmlDragStart)},
        {DISPID_HTMLELEMENTEVENTS_ONCONTEXTMENU, static_cast<Handler>(&CChildHtmlDialog::OnHtmlContextMenu)},
    };
    for (const auto& [event, handler] : events)
      for (LPCTSTR tag : kTags) map.push_back({DHTMLEVENTMAPENTRY_TAG, event, tag, handler});
    map.push_back({DHTMLEVENTMAPENTRY_END, 0, nullptr, nullptr});
    return map;
  }();
  return entries.data();
}

std::vector<DHtmlEventMapEntry> CChildHtmlDialog::CombineEventMaps(const DHtmlEventMapEntry* own) {
  std::vector<DHtmlEventMapEntry> map;
  for (const DHtmlEventMapEntry* e = own; e && e->nType != DHTMLEVENTMAPENTRY_END; ++e) map.push_back(*e);
  const std::size_t ownCount = map.size();
  for (const DHtmlEventMapEntry* e = BaseEventMap(); e->nType != DHTMLEVENTMAPENTRY_END; ++e) {
    bool repeated = false;
    for (std::size_t i = 0; i < ownCount && !repeated; ++i) repeated = SameEntry(map[i], *e);
    if (!repeated) map.push_back(*e);
  }
  map.push_back({DHTMLEVENTMAPENTRY_END, 0, nullptr, nullptr});
  return map;
}

BOOL CChildHtmlDialog::OnInitDialog() {
  CDHtmlDialog::OnInitDialog();
  if (GetSafeHwnd() == nullptr) return FALSE;  // its page was not found
  SetHostFlags(kHostFlags);
  RefuseDrops();
  return TRUE;
}

void CChildHtmlDialog::RefuseDrops() {
  if (m_pBrowserApp) m_pBrowserApp->put_RegisterAsDropTarget(VARIANT_FALSE);
  DragAcceptFiles(FALSE);
  if (m_pBrowserApp) {
    m_pBrowserApp->put_RegisterAsDropTarget(VARIANT_FALSE);
    m_pBrowserApp->put_RegisterAsBrowser(VARIANT_FALSE);
  }
}

BOOL CChildHtmlDialog::PreTranslateMessage(MSG* pMsg) {
  if ((pMsg->message == WM_SYSKEYDOWN || pMsg->message == WM_SYSKEYUP) && pMsg->wParam == VK_F4) {
    pMsg->wParam = 0;  // Alt+F4 closes nothing
    return CDHtmlDialog::PreTranslateMessage(pMsg);
  }
  if (pMsg->message != WM_KEYDOWN) return CDHtmlDialog::PreTranslateMessage(pMsg);
  switch (pMsg->wParam) {
    case VK_RETURN:
    case VK_ESCAPE:
    case VK_F4:
    case VK_SPACE:
      pMsg->wParam = 0;  // reaches the page, but as no key
      break;
    default:
      break;
  }
  if (AnyHeld({VK_F5, VK_F4})) return TRUE;
  if (Down(VK_CONTROL)) {
    if (AnyHeld({'O', 'P', 'N', 'A', '5', VK_NUMPAD5, 'F'})) return TRUE;
  } else if (Down(VK_LMENU) || Down(VK_RMENU)) {
    if (AnyHeld({'O', 'P', 'G', 'H', VK_F4})) return TRUE;
  }
  return CDHtmlDialog::PreTranslateMessage(pMsg);
}

HRESULT CChildHtmlDialog::ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) { return S_OK; }

HRESULT CChildHtmlDialog::GetDropTarget(IDropTarget*, IDropTarget** ppDropTarget) {
  if (ppDropTarget) *ppDropTarget = nullptr;
  return S_OK;
}

void CChildHtmlDialog::OnOK() {
  if (Held(VK_RETURN)) return;
  CDHtmlDialog::OnOK();
}

void CChildHtmlDialog::OnCancel() {
  if (Held(VK_ESCAPE)) return;
  CDHtmlDialog::OnCancel();
}

HRESULT CChildHtmlDialog::OnButtonOK(IHTMLElement*) {
  if (!Held(VK_ESCAPE)) OnOK();
  return S_OK;
}

HRESULT CChildHtmlDialog::OnButtonCancel(IHTMLElement*) {
  if (!Held(VK_ESCAPE)) OnCancel();
  return S_OK;
}

HRESULT CChildHtmlDialog::OnHtmlSelectStart(IHTMLElement* pElement) {
  return AllowInTextEdit(pElement, _T("OnHtmlSelectStart <%s>\r\n"));
}

HRESULT CChildHtmlDialog::OnHtmlDragStart(IHTMLElement* pElement) {
  return AllowInTextEdit(pElement, _T("OnHtmlDragStart <%s>\r\n"));
}

HRESULT CChildHtmlDialog::OnHtmlContextMenu(IHTMLElement* pElement) {
  return AllowInTextEdit(pElement, _T("OnHtmlContextMenu <%s>\r\n"));
}

LRESULT CChildHtmlDialog::OnDropFiles(WPARAM wParam, LPARAM) {
  RefuseDrops();
  ::DragFinish(reinterpret_cast<HDROP>(wParam));  // the files are ignored, the drop released
  return 0;
}

void CChildHtmlDialog::OnKeyDown(UINT, UINT, UINT) {}

void CChildHtmlDialog::OnSysKeyDown(UINT, UINT, UINT) {}

HBRUSH CChildHtmlDialog::OnCtlColor(CDC*, CWnd*, UINT) { return CTransparentCheckRadio::WhiteBrush(); }

BOOL CChildHtmlDialog::OnEraseBkgnd(CDC*) { return FALSE; }
