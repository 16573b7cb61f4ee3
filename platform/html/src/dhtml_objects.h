// The COM objects behind an HTML dialog's page: the shared page state, its elements, the
// document, the script object and the browser, which also keeps the browser window and the
// record that zx/dhtml.h reads.
#pragma once
#include <algorithm>
#include <atomic>
#include <functional>
#include <memory>

#include "afxdhtml.h"
#include "dhtml_page.h"
#include "dhtml_script.h"
#include "litepage.h"
#include "zx/com.h"
#include "zx/dhtml.h"

namespace zx::html {

// What the page's objects share: the tree, the script engine, the layout last drawn, and
// the window to repaint when a script or a caller changes the tree.
struct PageState {
  PageState(const std::u16string& html, HINSTANCE module)
      : page(html), pictures(module), scripts(page, [this](Node& node, const char16_t* event) {
          if (fire) fire(node, event);
        }) {}
  // The tree changed: the layout is made again and the window repainted.
  void Changed();
  // The page laid out for that width, and the nodes its marked elements show (made again
  // whenever the tree changed, also in the middle of a script).
  const PageLayout& Layout(int width);
  const Node* Shown(std::size_t mark) const { return mark < shown.size() ? shown[mark] : nullptr; }

  Page page;
  HINSTANCE pictures;  // the module the page came from, whose resources give its pictures
  ScriptEngine scripts;
  std::function<void(Node&, const char16_t*)> fire;  // an element event the scripts raise
  std::u16string url;
  HWND view = nullptr;
  std::unique_ptr<PageLayout> layout;
  unsigned layoutGeneration = 0;  // the page's generation the layout shows
  std::vector<const Node*> shown;
};

// IDispatch of objects that expose no names of their own.
#define ZX_DHTML_NO_NAMES                                                                          \
  HRESULT GetTypeInfoCount(UINT* count) override {                                                    \
    if (!count) return E_INVALIDARG;                                                                  \
    *count = 0;                                                                                       \
    return S_OK;                                                                                      \
  }                                                                                                   \
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo** info) override {                                        \
    if (info) *info = nullptr;                                                                        \
    return E_NOTIMPL;                                                                                 \
  }                                                                                                   \
  HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT count, LCID, DISPID* ids) override {                  \
    if (!ids) return E_INVALIDARG;                                                                    \
    std::fill(ids, ids + count, DISPID_UNKNOWN);                                                      \
    return DISP_E_UNKNOWNNAME;                                                                        \
  }                                                                                                   \
  HRESULT Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {     \
    return DISP_E_MEMBERNOTFOUND;                                                                     \
  }

// Reference counting shared by the objects: created with one reference.
template <class Derived>
class Counted {
 protected:
  ULONG Up() { return ++refs_; }
  ULONG Down() {
    const ULONG left = --refs_;
    if (left == 0) delete static_cast<Derived*>(this);
    return left;
  }

 private:
  std::atomic<ULONG> refs_{1};
};


// IHTMLElement over one element of the page (null for a text node or the document).
IHTMLElement* NewElement(const std::shared_ptr<PageState>& state, Node* node);
// The node an element object of this page stands for, or null for another object.
Node* NodeOf(IHTMLElement* element);
// The document object (one reference).
IHTMLDocument2* NewDocument(const std::shared_ptr<PageState>& state);

// The browser: the page, the window showing it and what its host did to it.
class Browser final : public IWebBrowser2, Counted<Browser> {
 public:
  Browser(CDHtmlDialog* host, const std::u16string& html, HINSTANCE module, const std::u16string& url);

  HRESULT QueryInterface(REFIID iid, void** object) override;
  ULONG AddRef() override { return Up(); }
  ULONG Release() override { return Down(); }
  ZX_DHTML_NO_NAMES
  HRESULT get_Document(IDispatch** document) override;
  HRESULT get_LocationURL(BSTR* url) override;
  HRESULT get_RegisterAsBrowser(VARIANT_BOOL* value) override;
  HRESULT put_RegisterAsBrowser(VARIANT_BOOL value) override;
  HRESULT get_RegisterAsDropTarget(VARIANT_BOOL* value) override;
  HRESULT put_RegisterAsDropTarget(VARIANT_BOOL value) override;

  // The browser of a dialog window, or null.
  static Browser* OfDialog(HWND dialog);
  // The dialog is going: the browser no longer calls it.
  void Detach();
  // The page has loaded (posted from the dialog's start): tells the host.
  void Complete();
  // A mouse button on the page over `element` (null: no element's text) at a client point:
  // the left button down starts a selection (onselectstart), up clicks (onclick); the right
  // button up asks for the context menu (oncontextmenu, then the host's ShowContextMenu
  // unless the event was cancelled).
  void Mouse(UINT message, Node* element, POINT client);
  HRESULT Fire(Node& source, DISPID event);

  HWND View() const { return state_->view; }
  void ViewGone() { state_->view = nullptr; }
  PageState& State() { return *state_; }
  IHTMLDocument2* Document() const { return document_; }
  BrowserRecord& Record() { return record_; }

 private:
  ~Browser();
  HRESULT CallHandler(const DHtmlEventMapEntry& entry, Node& element);

  CDHtmlDialog* host_;
  std::shared_ptr<PageState> state_;
  CComPtr<IHTMLDocument2> document_;
  BrowserRecord record_;
  friend class Counted<Browser>;
};

// Creates the browser window over the dialog's client area (class "Internet Explorer_Server").
HWND CreateView(HWND dialog, Browser* browser);
// The box around the element's text in the browser window (FALSE: none of it is shown).
BOOL ElementBox(HWND view, Browser& browser, const Node& element, RECT* box);
// The event of a name ("onclick", ...), or DISPID_UNKNOWN.
DISPID EventId(LPCWSTR event);
// The message that tells the browser window the page is loaded.
constexpr UINT kDocumentLoaded = WM_USER + 0x100;

}  // namespace zx::html
