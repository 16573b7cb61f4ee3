// CWebPage: calls a named script function of a loaded HTML document with text arguments,
// keeping the last error text ("JSCall Error:\n" and what went wrong) instead of showing it.
#pragma once
#include <afxstr.h>
#include <atlcomcli.h>
#include <mshtml.h>

#include <vector>

#include "HelperApi.h"

class ZXHELPER_API CWebPage {
 public:
  CWebPage() = default;
  virtual ~CWebPage();
  CWebPage(const CWebPage&) = delete;
  CWebPage& operator=(const CWebPage&) = delete;

  // Holds a counted reference to the document; false (and the error "NULL pointer") for none.
  bool AttachDocument(IHTMLDocument2* pDocument);
  // Calls the page's function with one or three text arguments, in their order; the
  // function's answer goes to pResult when one is given.
  bool CallScriptFunction(LPCTSTR lpszFunction, LPCTSTR lpszArgument, VARIANT* pResult);
  bool CallScriptFunction(LPCTSTR lpszFunction, LPCTSTR lpszFirst, LPCTSTR lpszSecond, LPCTSTR lpszThird,
                          VARIANT* pResult);
  // Calls the page's function with any number of text arguments, in their order.
  bool CallJScript(LPCTSTR lpszFunction, const std::vector<CString>& arguments, VARIANT* pResult);
  // The system's text of the code, or "FormatMessage Native Error" when it has none.
  static CString GetSystemErrorText(HRESULT hrError);
  const CString& GetLastErrorText() const { return m_strError; }

 protected:
  bool Call(LPCTSTR lpszFunction, const LPCTSTR* arguments, UINT nCount, VARIANT* pResult);
  void SetError(const CString& message);

  CComPtr<IHTMLDocument2> m_spDocument;
  CString m_strError;
};
