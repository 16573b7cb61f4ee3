// The calls of zx/dhtml.h: element events fired by id, element boxes, and the browser's state
// read back.
#include "dhtml_objects.h"

namespace zx::html {

DISPID EventId(LPCWSTR event) {
  static const std::pair<std::u16string_view, DISPID> kEvents[] = {
      {u"onclick", DISPID_HTMLELEMENTEVENTS_ONCLICK},
      {u"ondblclick", DISPID_HTMLELEMENTEVENTS_ONDBLCLICK},
      {u"onselectstart", DISPID_HTMLELEMENTEVENTS_ONSELECTSTART},
      {u"ondragstart", DISPID_HTMLELEMENTEVENTS_ONDRAGSTART},
      {u"oncontextmenu", DISPID_HTMLELEMENTEVENTS_ONCONTEXTMENU}};
  for (const auto& [name, id] : kEvents)
    if (event && name == event) return id;
  return DISPID_UNKNOWN;
}

namespace {

// The browser of a dialog whose page has loaded.
Browser* LoadedBrowser(HWND dialog) {
  Browser* browser = Browser::OfDialog(dialog);
  return browser && browser->Record().documentsCompleted > 0 ? browser : nullptr;
}

}  // namespace

HRESULT FireElementEvent(HWND dialog, LPCWSTR element, LPCWSTR event) {
  Browser* browser = LoadedBrowser(dialog);
  const DISPID id = EventId(event);
  Node* node = browser && element ? browser->State().page.Find(element) : nullptr;
  if (!node || id == DISPID_UNKNOWN) return E_INVALIDARG;
  return browser->Fire(*node, id);
}

BOOL GetBrowserRecord(HWND dialog, BrowserRecord* record) {
  Browser* browser = Browser::OfDialog(dialog);
  if (!browser || !record) return FALSE;
  *record = browser->Record();
  return TRUE;
}

BOOL GetElementText(HWND dialog, LPCWSTR element, std::u16string* text) {
  Browser* browser = Browser::OfDialog(dialog);
  Node* node = browser && element ? browser->State().page.Find(element) : nullptr;
  if (!node || !text) return FALSE;
  *text = node->InnerText();
  return TRUE;
}

BOOL GetElementBox(HWND dialog, LPCWSTR element, RECT* box) {
  Browser* browser = Browser::OfDialog(dialog);
  Node* node = browser && element && browser->View() ? browser->State().page.Find(element) : nullptr;
  if (!node || !box) return FALSE;
  return ElementBox(browser->View(), *browser, *node, box);
}

BOOL GetDisplayHtml(HWND dialog, std::u16string* html) {
  Browser* browser = Browser::OfDialog(dialog);
  if (!browser || !html) return FALSE;
  *html = DisplayHtml(browser->State().page.Root());  // as laid out, without the marks
  return TRUE;
}

HWND BrowserWindow(HWND dialog) {
  Browser* browser = Browser::OfDialog(dialog);
  return browser ? browser->View() : nullptr;
}

}  // namespace zx::html
