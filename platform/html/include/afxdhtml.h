// CDHtmlDialog: the class library's dialog that shows an HTML page from the resources in a
// browser control filling the dialog. The page comes from the HTML resource (RT_HTML) found by
// AfxFindResourceHandle (the resource module, then the program's own) when OnInitDialog
// runs; OnDocumentComplete follows once the dialog is running (posted, so it comes after
// OnInitDialog and the caller's own start). Events of
// the page's elements reach the handlers of the DHTML event map: DHTML_EVENT_ONCLICK (and the
// other named forms) match the element whose id, or else name, is given, and the elements
// inside it (events bubble); DHTML_EVENT_TAG matches the element the event starts on by its
// tag; DHTML_EVENT_CLASS by its class attribute. Handlers take the matched element and
// answer S_OK, or S_FALSE to cancel the event. A class's map replaces its base's (maps do
// not chain). The browser calls the IDocHostUIHandler members ShowContextMenu (a right click
// on the page; anything but S_OK shows the browser's own menu) and GetDropTarget (once per
// loaded page). There is no script engine: see platform/html/README.md for what the page's
// scripts may hold.
#pragma once
#include "afxdlg.h"
#include "afxstr.h"
#include "atlcomcli.h"
#include "exdisp.h"
#include "mshtmhst.h"
#include "mshtml.h"
#include "shelldrop.h"
#include "winresource.h"

class CDHtmlDialog;
class COleControlSite;
namespace zx::html {
class Browser;
}

using DHEVTFUNCCONTROL = HRESULT (CDHtmlDialog::*)(IHTMLElement*);

enum DHtmlEventMapEntryType {
  DHTMLEVENTMAPENTRY_NAME,
  DHTMLEVENTMAPENTRY_CLASS,
  DHTMLEVENTMAPENTRY_TAG,
  DHTMLEVENTMAPENTRY_END
};

struct DHtmlEventMapEntry {
  DHtmlEventMapEntryType nType;
  DISPID dispId;
  LPCTSTR szName;  // element id or name, class or tag
  DHEVTFUNCCONTROL pfnEventFunc;
};

class CDHtmlDialog : public CDialog {
  DECLARE_DYNAMIC(CDHtmlDialog)

 public:
  CDHtmlDialog() = default;
  CDHtmlDialog(UINT nIDTemplate, UINT nHtmlResID = 0, CWnd* pParentWnd = nullptr);
  ~CDHtmlDialog() override;

  // Creates the browser over the dialog's client area and loads the page. A page the
  // resources lack gives an empty document (OnDocumentComplete still follows).
  BOOL OnInitDialog() override;
  // The page has loaded: pDisp is the browser, szUrl "res://<module file>/<id>".
  virtual void OnDocumentComplete(LPDISPATCH pDisp, LPCTSTR szUrl);
  virtual const DHtmlEventMapEntry* GetDHtmlEventMap();

  // The loaded document (E_NOINTERFACE and null before the page is loaded).
  HRESULT GetDHtmlDocument(IHTMLDocument2** pphtmlDoc);
  // The element with that id or name (E_NOINTERFACE and null when there is none).
  HRESULT GetElement(LPCTSTR szElementId, IHTMLElement** pphtmlElement);
  void SetHostFlags(DWORD dwFlags) { m_dwHostFlags = dwFlags; }

  // IDocHostUIHandler members the browser asks.
  virtual HRESULT ShowContextMenu(DWORD dwID, POINT* ppt, IUnknown* pcmdtReserved, IDispatch* pdispReserved);
  virtual HRESULT GetDropTarget(IDropTarget* pDropTarget, IDropTarget** ppDropTarget);
  // Ambient properties of the hosted control: none are supplied here (FALSE).
  virtual BOOL OnAmbientProperty(COleControlSite* pSite, DISPID dispid, VARIANT* pvar);

  void DragAcceptFiles(BOOL bAccept = TRUE) { ::DragAcceptFiles(m_hWnd, bAccept); }

  CComPtr<IWebBrowser2> m_pBrowserApp;
  CComPtr<IHTMLDocument2> m_spHtmlDoc;
  DWORD m_dwHostFlags = 0;
  CString m_strCurrentUrl;
  UINT m_nHtmlResID = 0;

 private:
  friend class zx::html::Browser;
  void DocumentLoaded();

  zx::html::Browser* m_browser = nullptr;  // owned through m_pBrowserApp

 protected:
  // The browser keeps filling the client area.
  afx_msg void OnSize(UINT nType, int cx, int cy);
  DECLARE_MESSAGE_MAP()
};

#define DECLARE_DHTML_EVENT_MAP() \
 protected:                       \
  const DHtmlEventMapEntry* GetDHtmlEventMap() override;

#define BEGIN_DHTML_EVENT_MAP(theClass)                        \
  const DHtmlEventMapEntry* theClass::GetDHtmlEventMap() {     \
    using ThisDHtmlClass [[maybe_unused]] = theClass;          \
    static const DHtmlEventMapEntry entries[] = {
#define ZX_DHTML_ENTRY(type, dispid, name, fn) \
  {type, dispid, name, static_cast<DHEVTFUNCCONTROL>(&ThisDHtmlClass::fn)},
#define DHTML_EVENT(dispid, elemName, fn) ZX_DHTML_ENTRY(DHTMLEVENTMAPENTRY_NAME, dispid, elemName, fn)
#define DHTML_EVENT_ONCLICK(elemName, fn) DHTML_EVENT(DISPID_HTMLELEMENTEVENTS_ONCLICK, elemName, fn)
#define DHTML_EVENT_ONSELECTSTART(elemName, fn) DHTML_EVENT(DISPID_HTMLELEMENTEVENTS_ONSELECTSTART, elemName, fn)
#define DHTML_EVENT_ONDRAGSTART(elemName, fn) DHTML_EVENT(DISPID_HTMLELEMENTEVENTS_ONDRAGSTART, elemName, fn)
#define DHTML_EVENT_ONCONTEXTMENU(elemName, fn) DHTML_EVENT(DISPID_HTMLELEMENTEVENTS_ONCONTEXTMENU, elemName, fn)
#define DHTML_EVENT_TAG(dispid, tagName, fn) ZX_DHTML_ENTRY(DHTMLEVENTMAPENTRY_TAG, dispid, tagName, fn)
#define DHTML_EVENT_CLASS(dispid, className, fn) ZX_DHTML_ENTRY(DHTMLEVENTMAPENTRY_CLASS, dispid, className, fn)
#define END_DHTML_EVENT_MAP()                      \
  {DHTMLEVENTMAPENTRY_END, 0, nullptr, nullptr}};  \
  return entries;                                  \
  }
