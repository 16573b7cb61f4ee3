// CWebPage: script calls by name through the document's script object.
#include "WebPage.h"

#include <vector>

#include <heapapi.h>
#include <oaidl.h>
#include <winbase.h>
#include <winnls.h>

CWebPage::~CWebPage() = default;

void CWebPage::SetError(const CString& message) { m_strError = CString(_T("JSCall Error:\n")) + message; }

bool CWebPage::AttachDocument(IHTMLDocument2* pDocument) {
  if (pDocument == nullptr) {
    SetError(_T("NULL pointer"));
    return false;
  }
  if (pDocument != m_spDocument) m_spDocument = pDocument;
  return true;
}

CString CWebPage::GetSystemErrorText(HRESULT hrError) {
  LPWSTR buffer = nullptr;
  const DWORD length = ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM, nullptr,
                                        static_cast<DWORD>(hrError), LANG_SYSTEM_DEFAULT,
                                        reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
  CString text = length && buffer ? CString(buffer, static_cast<int>(length)) : CString(_T("FormatMessage Native Error"));
  if (buffer) ::LocalFree(buffer);
  return text;
}

bool CWebPage::CallScriptFunction(LPCTSTR lpszFunction, LPCTSTR lpszArgument, VARIANT* pResult) {
  const LPCTSTR arguments[] = {lpszArgument};
  return Call(lpszFunction, arguments, 1, pResult);
}

bool CWebPage::CallScriptFunction(LPCTSTR lpszFunction, LPCTSTR lpszFirst, LPCTSTR lpszSecond, LPCTSTR lpszThird,
                                  VARIANT* pResult) {
  const LPCTSTR arguments[] = {lpszFirst, lpszSecond, lpszThird};
  return Call(lpszFunction, arguments, 3, pResult);
}

bool CWebPage::CallJScript(LPCTSTR lpszFunction, const std::vector<CString>& arguments, VARIANT* pResult) {
  std::vector<LPCTSTR> texts;
  texts.reserve(arguments.size());
  for (const CString& argument : arguments) texts.push_back(argument);
  return Call(lpszFunction, texts.data(), static_cast<UINT>(texts.size()), pResult);
}

bool CWebPage::Call(LPCTSTR lpszFunction, const LPCTSTR* arguments, UINT nCount, VARIANT* pResult) {
  CComPtr<IDispatch> script;
  if (!m_spDocument || FAILED(m_spDocument->get_Script(&script)) || !script) {
    SetError(_T("Cannot GetScript"));
    return false;
  }
  BSTR name = ::SysAllocString(lpszFunction ? lpszFunction : _T(""));
  DISPID id = DISPID_UNKNOWN;
  HRESULT hr = script->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_SYSTEM_DEFAULT, &id);
  ::SysFreeString(name);
  if (FAILED(hr)) {
    SetError(GetSystemErrorText(hr));
    return false;
  }
  // The script receives the arguments in their order: they are stored last first.
  std::vector<VARIANT> values(nCount);
  for (UINT i = 0; i < nCount; ++i) {
    VARIANT& value = values[nCount - 1 - i];
    ::VariantInit(&value);
    value.vt = VT_BSTR;
    value.bstrVal = ::SysAllocString(arguments[i] ? arguments[i] : _T(""));
  }
  DISPPARAMS params{values.data(), nullptr, nCount, 0};
  VARIANT answer;
  ::VariantInit(&answer);
  EXCEPINFO exception{};
  UINT argumentError = 0xFFFFFFFFu;
  hr = script->Invoke(id, IID_NULL, LOCALE_SYSTEM_DEFAULT, DISPATCH_METHOD, &params, &answer, &exception,
                      &argumentError);
  for (VARIANT& value : values) ::VariantClear(&value);
  ::SysFreeString(exception.bstrSource);
  ::SysFreeString(exception.bstrDescription);
  ::SysFreeString(exception.bstrHelpFile);
  if (FAILED(hr)) {
    ::VariantClear(&answer);
    SetError(GetSystemErrorText(hr));
    return false;
  }
  if (pResult) {
    hr = ::VariantCopy(pResult, &answer);
    if (FAILED(hr)) SetError(GetSystemErrorText(hr));
  }
  ::VariantClear(&answer);
  return SUCCEEDED(hr);
}
