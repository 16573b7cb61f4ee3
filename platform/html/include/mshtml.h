// The HTML document object model as HTML dialogs use it: elements (IHTMLElement), the
// document (IHTMLDocument, IHTMLDocument2, IHTMLDocument3) and the event ids of elements.
// Only the members the system calls are declared; the objects come from the dialog's page.
#pragma once
#include "oaidl.h"

// Event ids of elements, as the DHTML event maps name them.
#define DISPID_HTMLELEMENTEVENTS_ONCLICK (-600)
#define DISPID_HTMLELEMENTEVENTS_ONDBLCLICK (-601)
#define DISPID_HTMLELEMENTEVENTS_ONDRAGSTART (static_cast<DISPID>(0x8001000Bu))
#define DISPID_HTMLELEMENTEVENTS_ONSELECTSTART (static_cast<DISPID>(0x8001000Cu))
#define DISPID_HTMLELEMENTEVENTS_ONCONTEXTMENU 1023

extern const IID IID_IHTMLElement;    // {3050F1FF-98B5-11CF-BB82-00AA00BDCE0B}
extern const IID IID_IHTMLDocument;   // {626FC520-A41E-11CF-A731-00A0C9082637}
extern const IID IID_IHTMLDocument2;  // {332C4425-26CB-11D0-B483-00C04FD90119}
extern const IID IID_IHTMLDocument3;  // {3050F485-98B5-11CF-BB82-00AA00BDCE0B}

// An element of the page. Strings come back as new BSTRs the caller frees; tag names are in
// upper case, as the browser gives them.
struct IHTMLElement : IDispatch {
  virtual HRESULT get_tagName(BSTR* tagName) = 0;
  virtual HRESULT get_id(BSTR* id) = 0;
  virtual HRESULT get_className(BSTR* className) = 0;
  virtual HRESULT get_parentElement(IHTMLElement** parent) = 0;
  virtual HRESULT get_innerText(BSTR* text) = 0;
  virtual HRESULT put_innerText(BSTR text) = 0;
  virtual HRESULT get_innerHTML(BSTR* html) = 0;
  virtual HRESULT put_innerHTML(BSTR html) = 0;
  // VARIANT_TRUE for elements that take typed text (input, textarea).
  virtual HRESULT get_isTextEdit(VARIANT_BOOL* isTextEdit) = 0;
  virtual HRESULT getAttribute(BSTR name, LONG flags, VARIANT* value) = 0;

 protected:
  ~IHTMLElement() = default;
};

// The document: its script object (an IDispatch whose names are the page's script
// functions).
struct IHTMLDocument : IDispatch {
  virtual HRESULT get_Script(IDispatch** script) = 0;

 protected:
  ~IHTMLDocument() = default;
};

struct IHTMLDocument2 : IHTMLDocument {
  virtual HRESULT get_title(BSTR* title) = 0;
  virtual HRESULT get_body(IHTMLElement** body) = 0;
  virtual HRESULT get_URL(BSTR* url) = 0;

 protected:
  ~IHTMLDocument2() = default;
};

struct IHTMLDocument3 : IDispatch {
  // The first element with that id (or else that name); S_OK with null when there is none.
  virtual HRESULT getElementById(BSTR id, IHTMLElement** element) = 0;

 protected:
  ~IHTMLDocument3() = default;
};
