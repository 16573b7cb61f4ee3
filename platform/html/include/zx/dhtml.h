// What the browser of an HTML dialog (CDHtmlDialog, afxdhtml.h) does for a person, as calls.
// The browser window answers the mouse itself (left button down: onselectstart, up: onclick,
// right button up: oncontextmenu and the context menu) on the element whose text is under
// it; these calls fire element events by id, give the box of an element's text for mouse
// input, and read the browser's state back for checks.
#pragma once
#include <string>

#include "mshtml.h"
#include "winuser.h"

namespace zx::html {

// Fires `event` ("onclick", "ondblclick", "onselectstart", "ondragstart", "oncontextmenu")
// on the element of the dialog's page whose id, or else name, is `element`, through the
// dialog's DHTML event map. Answers S_OK when the event goes on, S_FALSE when a handler
// cancelled it, E_INVALIDARG for a window that is no HTML dialog with a loaded page, an
// unknown event or element.
HRESULT FireElementEvent(HWND dialog, LPCWSTR element, LPCWSTR event);

// The browser of an HTML dialog as its host left it.
struct BrowserRecord {
  VARIANT_BOOL registerAsDropTarget = VARIANT_TRUE;
  VARIANT_BOOL registerAsBrowser = VARIANT_TRUE;
  DWORD hostFlags = 0;           // the dialog's flags when the page was shown
  int dropTargetQueries = 0;     // GetDropTarget calls
  int dropTargetsGiven = 0;      // ... that supplied a target
  int browserMenus = 0;          // right clicks the host let the browser answer with its menu
  int cancelledEvents = 0;       // events a handler answered S_FALSE
  int documentsCompleted = 0;    // OnDocumentComplete calls
};
// FALSE when the window is no HTML dialog with a browser.
BOOL GetBrowserRecord(HWND dialog, BrowserRecord* record);

// The text of the page's element with that id or name, as the page now holds it.
BOOL GetElementText(HWND dialog, LPCWSTR element, std::u16string* text);
// The box around the element's text in the browser window's client coordinates (FALSE
// when the element shows no text or the window is no HTML dialog).
BOOL GetElementBox(HWND dialog, LPCWSTR element, RECT* box);
// The HTML the dialog draws for its page now.
BOOL GetDisplayHtml(HWND dialog, std::u16string* html);

// The browser's own window inside the dialog (class "Internet Explorer_Server"), or null.
HWND BrowserWindow(HWND dialog);

}  // namespace zx::html
