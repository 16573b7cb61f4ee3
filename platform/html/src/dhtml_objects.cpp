// The page's elements, its document and its script object as COM objects, and the interface
// ids of the HTML dialog's interfaces.
#include <algorithm>

#include "dhtml_objects.h"
#include "winuser.h"

const IID IID_NULL = {0x00000000, 0x0000, 0x0000, {0, 0, 0, 0, 0, 0, 0, 0}};
const IID IID_IDispatch = {0x00020400, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID IID_IHTMLElement = {0x3050F1FF, 0x98B5, 0x11CF, {0xBB, 0x82, 0x00, 0xAA, 0x00, 0xBD, 0xCE, 0x0B}};
const IID IID_IHTMLDocument = {0x626FC520, 0xA41E, 0x11CF, {0xA7, 0x31, 0x00, 0xA0, 0xC9, 0x08, 0x26, 0x37}};
const IID IID_IHTMLDocument2 = {0x332C4425, 0x26CB, 0x11D0, {0xB4, 0x83, 0x00, 0xC0, 0x4F, 0xD9, 0x01, 0x19}};
const IID IID_IHTMLDocument3 = {0x3050F485, 0x98B5, 0x11CF, {0xBB, 0x82, 0x00, 0xAA, 0x00, 0xBD, 0xCE, 0x0B}};
const IID IID_IWebBrowser2 = {0xD30C1661, 0xCDAF, 0x11D0, {0x8A, 0x3E, 0x00, 0xC0, 0x4F, 0xC9, 0xE2, 0x6E}};

namespace zx::html {

void PageState::Changed() {
  layout.reset();
  shown.clear();
  if (view) InvalidateRect(view, nullptr, TRUE);
}

const PageLayout& PageState::Layout(int width) {
  if (!layout || layout->Width() != width || layoutGeneration != page.Generation()) {
    shown.clear();
    layoutGeneration = page.Generation();
    BaseStyle base;
    base.pictures = pictures;
    layout = std::make_unique<PageLayout>(Utf8Of(DisplayHtml(page.Root(), &shown)), base, width);
  }
  return *layout;
}

namespace {

using com::TextOf;

class Element final : public IHTMLElement, Counted<Element> {
 public:
  Element(std::shared_ptr<PageState> state, Node* node) : state_(std::move(state)), node_(node) { ++node_->handles; }

  HRESULT QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (iid != IID_IUnknown && iid != IID_IDispatch && iid != IID_IHTMLElement) return E_NOINTERFACE;
    *object = static_cast<IHTMLElement*>(this);
    Up();
    return S_OK;
  }
  ULONG AddRef() override { return Up(); }
  ULONG Release() override { return Down(); }
  ZX_DHTML_NO_NAMES

  HRESULT get_tagName(BSTR* out) override {
    std::u16string upper = node_->tag;
    for (char16_t& c : upper)
      if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 32);
    return com::CopyToBstr(upper, out);
  }
  HRESULT get_id(BSTR* out) override { return GiveAttribute(u"id", out); }
  HRESULT get_className(BSTR* out) override { return GiveAttribute(u"class", out); }
  HRESULT get_parentElement(IHTMLElement** out) override {
    if (!out) return E_POINTER;
    *out = NewElement(state_, node_->parent);
    return S_OK;
  }
  HRESULT get_innerText(BSTR* out) override { return com::CopyToBstr(node_->InnerText(), out); }
  HRESULT put_innerText(BSTR text) override {
    state_->page.SetText(*node_, TextOf(text));
    state_->Changed();
    return S_OK;
  }
  HRESULT get_innerHTML(BSTR* out) override { return com::CopyToBstr(InnerHtml(*node_), out); }
  HRESULT put_innerHTML(BSTR html) override {
    state_->page.SetHtml(*node_, TextOf(html));
    state_->Changed();
    return S_OK;
  }
  HRESULT get_isTextEdit(VARIANT_BOOL* out) override {
    if (!out) return E_POINTER;
    const std::u16string* type = node_->Attribute(u"type");
    const bool textInput = node_->tag == u"input" && (!type || *type == u"text" || *type == u"password");
    *out = textInput || node_->tag == u"textarea" ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
  }
  HRESULT getAttribute(BSTR name, LONG, VARIANT* value) override {
    if (!name || !value) return E_INVALIDARG;
    VariantInit(value);
    std::u16string lower = TextOf(name);
    for (char16_t& c : lower)
      if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
    const std::u16string* found = node_->Attribute(lower);
    if (!found) {
      value->vt = VT_NULL;
      return S_OK;
    }
    value->vt = VT_BSTR;
    return com::CopyToBstr(*found, &value->bstrVal);
  }

  Node* node() const { return node_; }

 private:
  ~Element() { --node_->handles; }
  HRESULT GiveAttribute(std::u16string_view name, BSTR* out) const {
    const std::u16string* value = node_->Attribute(name);
    return com::CopyToBstr(value ? *value : std::u16string(), out);
  }

  std::shared_ptr<PageState> state_;
  Node* node_;
  friend class Counted<Element>;
};

// The script object: the page's script functions by name, called as methods.
class Script final : public IDispatch, Counted<Script> {
 public:
  explicit Script(std::shared_ptr<PageState> state) : state_(std::move(state)) {}

  HRESULT QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (iid != IID_IUnknown && iid != IID_IDispatch) return E_NOINTERFACE;
    *object = static_cast<IDispatch*>(this);
    Up();
    return S_OK;
  }
  ULONG AddRef() override { return Up(); }
  ULONG Release() override { return Down(); }
  HRESULT GetTypeInfoCount(UINT* count) override {
    if (!count) return E_INVALIDARG;
    *count = 0;
    return S_OK;
  }
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (info) *info = nullptr;
    return E_NOTIMPL;
  }

  // names[0] is a global function of the page's scripts (ids from 1, names compared exactly
  // as the script language does); the script object has no ids for parameter names.
  HRESULT GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    if (count == 0) return S_OK;
    if (!names || !ids) return E_INVALIDARG;
    std::fill(ids, ids + count, DISPID_UNKNOWN);
    const int id = names[0] ? state_->scripts.FunctionId(names[0]) : 0;
    if (id == 0) return DISP_E_UNKNOWNNAME;
    ids[0] = id;
    return count > 1 ? DISP_E_UNKNOWNNAME : S_OK;
  }

  // Arguments come last first in rgvarg: texts, numbers, truth values, empty and null.
  HRESULT Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                 EXCEPINFO*, UINT* argumentError) override {
    if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    if (!(flags & DISPATCH_METHOD) || !state_->scripts.Known(id)) return DISP_E_MEMBERNOTFOUND;
    if (!params || (params->cArgs && !params->rgvarg)) return E_INVALIDARG;
    if (params->cNamedArgs) return DISP_E_NONAMEDARGS;
    std::vector<ScriptValue> arguments;
    for (UINT k = 0; k < params->cArgs; ++k) {
      const UINT slot = params->cArgs - 1 - k;
      ScriptValue value;
      if (!AsValue(params->rgvarg[slot], &value)) {
        if (argumentError) *argumentError = slot;
        return DISP_E_TYPEMISMATCH;
      }
      arguments.push_back(std::move(value));
    }
    state_->scripts.Call(id, arguments);
    state_->Changed();
    if (result) VariantInit(result);
    return S_OK;
  }

 private:
  ~Script() = default;

  static bool AsValue(const VARIANT& v, ScriptValue* value) {
    using Kind = ScriptValue::Kind;
    switch (v.vt) {
      case VT_BSTR: *value = {Kind::Text, TextOf(v.bstrVal)}; return true;
      case VT_I4: case VT_INT: value->kind = Kind::Number; value->number = v.lVal; return true;
      case VT_I2: value->kind = Kind::Number; value->number = v.iVal; return true;
      case VT_UI4: case VT_UINT: value->kind = Kind::Number; value->number = v.ulVal; return true;
      case VT_BOOL: value->kind = Kind::Truth; value->truth = v.boolVal != VARIANT_FALSE; return true;
      case VT_EMPTY: value->kind = Kind::Undefined; return true;
      case VT_NULL: value->kind = Kind::Null; return true;
      default: return false;
    }
  }

  std::shared_ptr<PageState> state_;
  friend class Counted<Script>;
};

class Document final : public IHTMLDocument2, public IHTMLDocument3, Counted<Document> {
 public:
  explicit Document(std::shared_ptr<PageState> state) : state_(std::move(state)) {}

  HRESULT QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IHTMLDocument || iid == IID_IHTMLDocument2)
      *object = static_cast<IHTMLDocument2*>(this);
    else if (iid == IID_IHTMLDocument3)
      *object = static_cast<IHTMLDocument3*>(this);
    else
      return E_NOINTERFACE;
    Up();
    return S_OK;
  }
  ULONG AddRef() override { return Up(); }
  ULONG Release() override { return Down(); }
  ZX_DHTML_NO_NAMES

  HRESULT get_Script(IDispatch** script) override {
    if (!script) return E_POINTER;
    *script = new Script(state_);
    return S_OK;
  }
  HRESULT get_title(BSTR* out) override {
    const Node* title = First(state_->page.Root(), u"title");
    return com::CopyToBstr(title ? title->InnerText() : std::u16string(), out);
  }
  HRESULT get_body(IHTMLElement** out) override {
    if (!out) return E_POINTER;
    *out = NewElement(state_, First(state_->page.Root(), u"body"));
    return S_OK;
  }
  HRESULT get_URL(BSTR* out) override { return com::CopyToBstr(state_->url, out); }
  HRESULT getElementById(BSTR id, IHTMLElement** out) override {
    if (!out) return E_POINTER;
    *out = NewElement(state_, state_->page.Find(TextOf(id)));
    return S_OK;
  }

 private:
  ~Document() = default;
  static Node* First(Node& node, std::u16string_view tag) {
    if (node.tag == tag) return &node;
    for (const auto& child : node.children)
      if (Node* found = First(*child, tag)) return found;
    return nullptr;
  }

  std::shared_ptr<PageState> state_;
  friend class Counted<Document>;
};

}  // namespace

IHTMLElement* NewElement(const std::shared_ptr<PageState>& state, Node* node) {
  if (!node || node->IsText() || node->tag == u"#document") return nullptr;  // elements out of the page too
  return new Element(state, node);
}

Node* NodeOf(IHTMLElement* element) {
  auto* ours = dynamic_cast<Element*>(element);
  return ours ? ours->node() : nullptr;
}

IHTMLDocument2* NewDocument(const std::shared_ptr<PageState>& state) { return new Document(state); }

}  // namespace zx::html
