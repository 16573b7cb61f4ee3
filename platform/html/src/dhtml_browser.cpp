// The browser of an HTML dialog: its automation interface, telling the host that the page
// has loaded, right clicks, and element events through the host's DHTML event map.
#include "dhtml_objects.h"

namespace zx::html {
namespace {

bool SameNoCase(std::u16string_view a, LPCTSTR b) {
  std::size_t i = 0;
  for (; i < a.size() && b[i]; ++i) {
    auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return i == a.size() && !b[i];
}

bool HasClass(const Node& node, LPCTSTR name) {
  const std::u16string* classes = node.Attribute(u"class");
  if (!classes) return false;
  const std::u16string wanted(name);
  std::size_t start = 0;
  while (start <= classes->size()) {
    std::size_t end = classes->find(u' ', start);
    if (end == std::u16string::npos) end = classes->size();
    if (classes->compare(start, end - start, wanted) == 0) return true;
    start = end + 1;
  }
  return false;
}

bool Named(const Node& node, LPCTSTR name) {
  const std::u16string* id = node.Attribute(u"id");
  const std::u16string* nameAttribute = node.Attribute(u"name");
  return (id && *id == name) || (nameAttribute && *nameAttribute == name);
}

}  // namespace

Browser::Browser(CDHtmlDialog* host, const std::u16string& html, HINSTANCE module, const std::u16string& url)
    : host_(host), state_(std::make_shared<PageState>(html, module)) {
  state_->url = url;
  document_.Attach(NewDocument(state_));
  state_->fire = [this](Node& node, const char16_t* event) {
    if (const DISPID id = EventId(event); id != DISPID_UNKNOWN) Fire(node, id);
  };
  state_->view = CreateView(host->GetSafeHwnd(), this);
}

Browser::~Browser() {
  state_->fire = nullptr;
  if (state_->view) {
    SetWindowLongPtrW(state_->view, GWLP_USERDATA, 0);
    DestroyWindow(state_->view);
  }
}

HRESULT Browser::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (iid != IID_IUnknown && iid != IID_IDispatch && iid != IID_IWebBrowser2) return E_NOINTERFACE;
  *object = static_cast<IWebBrowser2*>(this);
  Up();
  return S_OK;
}

HRESULT Browser::get_Document(IDispatch** document) {
  if (!document) return E_POINTER;
  return document_->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(document));
}

HRESULT Browser::get_LocationURL(BSTR* url) { return com::CopyToBstr(state_->url, url); }

HRESULT Browser::get_RegisterAsBrowser(VARIANT_BOOL* value) {
  if (!value) return E_POINTER;
  *value = record_.registerAsBrowser;
  return S_OK;
}

HRESULT Browser::put_RegisterAsBrowser(VARIANT_BOOL value) {
  record_.registerAsBrowser = value ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

HRESULT Browser::get_RegisterAsDropTarget(VARIANT_BOOL* value) {
  if (!value) return E_POINTER;
  *value = record_.registerAsDropTarget;
  return S_OK;
}

HRESULT Browser::put_RegisterAsDropTarget(VARIANT_BOOL value) {
  record_.registerAsDropTarget = value ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

Browser* Browser::OfDialog(HWND dialog) {
  auto* host = dynamic_cast<CDHtmlDialog*>(CWnd::FromHandlePermanent(dialog));
  return host ? host->m_browser : nullptr;
}

void Browser::Detach() { host_ = nullptr; }

void Browser::Complete() {
  if (!host_) return;
  CComPtr<Browser> self(this);  // the host may let go of the browser in its handler
  record_.hostFlags = host_->m_dwHostFlags;
  IDropTarget* target = nullptr;
  ++record_.dropTargetQueries;
  if (SUCCEEDED(host_->GetDropTarget(nullptr, &target)) && target) ++record_.dropTargetsGiven;
  ++record_.documentsCompleted;
  host_->DocumentLoaded();
}

void Browser::Mouse(UINT message, Node* element, POINT client) {
  CComPtr<Browser> self(this);
  if (message == WM_LBUTTONDOWN) {
    if (element) Fire(*element, DISPID_HTMLELEMENTEVENTS_ONSELECTSTART);
    return;
  }
  if (message == WM_LBUTTONUP) {
    if (element) Fire(*element, DISPID_HTMLELEMENTEVENTS_ONCLICK);
    return;
  }
  if (element && Fire(*element, DISPID_HTMLELEMENTEVENTS_ONCONTEXTMENU) == S_FALSE) return;
  POINT screen = client;
  if (state_->view) ClientToScreen(state_->view, &screen);
  if (host_ && host_->ShowContextMenu(CONTEXT_MENU_DEFAULT, &screen, nullptr, nullptr) != S_OK) ++record_.browserMenus;
}

HRESULT Browser::CallHandler(const DHtmlEventMapEntry& entry, Node& element) {
  CComPtr<IHTMLElement> object;
  object.Attach(NewElement(state_, &element));
  return (host_->*entry.pfnEventFunc)(object);
}

// The source element's tag and class entries, then the named entries of it and of every
// element around it, in map order; a handler's S_FALSE cancels the event, and a dialog
// that went away during a handler ends the walk.
HRESULT Browser::Fire(Node& source, DISPID event) {
  CComPtr<Browser> self(this);
  CComPtr<IHTMLElement> held;  // a handler that replaces the page's text keeps the source alive
  held.Attach(NewElement(state_, &source));
  const DHtmlEventMapEntry* map = host_ ? host_->GetDHtmlEventMap() : nullptr;
  bool cancelled = false;
  for (const DHtmlEventMapEntry* e = map; e && host_ && e->nType != DHTMLEVENTMAPENTRY_END; ++e) {
    if (e->dispId != event || !e->szName || !e->pfnEventFunc) continue;
    Node* target = nullptr;
    if (e->nType == DHTMLEVENTMAPENTRY_TAG && SameNoCase(source.tag, e->szName)) target = &source;
    if (e->nType == DHTMLEVENTMAPENTRY_CLASS && HasClass(source, e->szName)) target = &source;
    if (e->nType == DHTMLEVENTMAPENTRY_NAME)
      for (Node* n = &source; n && n->parent && !target; n = n->parent)
        if (Named(*n, e->szName)) target = n;
    if (target && CallHandler(*e, *target) == S_FALSE) cancelled = true;
  }
  if (cancelled) ++record_.cancelledEvents;
  return cancelled ? S_FALSE : S_OK;
}

}  // namespace zx::html
