// Single attempts of the update and misc services through their client proxies.
#include "WebServiceAttempts.h"

#include <afx.h>
#include <miscservice.h>
#include <objbase.h>
#include <updateservice.h>

namespace {

constexpr DWORD kUpdateServiceTimeoutMs = 120000;

// COM for the calling thread, as the proxies' runtime expects it; a thread already in the
// other model, or too late to change, still goes on.
bool EnterCom() {
  const HRESULT result = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  return SUCCEEDED(result) || result == RPC_E_CHANGED_MODE || result == RPC_E_TOO_LATE;
}

// A system-string copy of a text (null stays null), freed when it goes.
class SystemString {
 public:
  explicit SystemString(LPCWSTR text) : text_(SysAllocString(text)) {}
  ~SystemString() { SysFreeString(text_); }
  SystemString(const SystemString&) = delete;
  SystemString& operator=(const SystemString&) = delete;
  operator BSTR() const { return text_; }

 private:
  BSTR text_;
};

// The misc service's second address, put together here rather than kept as one text.
CString AlternativeMiscServiceUrl() {
  CString url = _T("http://");
  url += _T("update2.");
  url += _T("zephrin-tunevo.example");
  url += _T("/miscservice/miscservice.asmx");
  return url;
}

template <class TClient>
bool CallUpdateService(LPCWSTR address, LPCWSTR input, bool useProxy, UpdateOperation operation,
                       bool inputEnciphered, bool outputEnciphered, BSTR* result) {
  UpdateService::CUpdateServiceT<TClient> service;
  if (address && *address) service.SetUrl(address);
  if (useProxy) service.SetProxy();
  service.SetTimeout(kUpdateServiceTimeoutMs);
  const SystemString text(input);
  HRESULT answer = E_FAIL;
  switch (operation) {
    case UpdateOperation::UpdateInfo:
      answer = service.GetUpdateInfo(text, result);
      break;
    case UpdateOperation::UpdateInfoWithEncryptOptions:
      answer = service.GetUpdateInfoWithEncryptOptions(text, inputEnciphered, outputEnciphered, result);
      break;
    case UpdateOperation::DownloadInformation:
      answer = service.GetDownloadInformationWithEncryptOptions(text, inputEnciphered, outputEnciphered, result);
      break;
  }
  service.Cleanup();
  return SUCCEEDED(answer);
}

// The misc proxy, at the address the attempt asks for and through the proxy it asks for.
class MiscClient : public MiscService::CMiscService {
 public:
  MiscClient(bool useProxy, bool alternativeAddress) {
    if (alternativeAddress) SetUrl(AlternativeMiscServiceUrl());
    if (useProxy) SetProxy();
  }
  ~MiscClient() override { Cleanup(); }
};

}  // namespace

bool UpdateServiceAttempt(LPCWSTR address, LPCWSTR input, bool useProxy, bool overWinInet,
                          UpdateOperation operation, bool inputEnciphered, bool outputEnciphered,
                          BSTR* result) {
  if (!EnterCom()) return false;
  return overWinInet ? CallUpdateService<CSoapWininetClient>(address, input, useProxy, operation,
                                                             inputEnciphered, outputEnciphered, result)
                     : CallUpdateService<CSoapSocketClientT<>>(address, input, useProxy, operation,
                                                               inputEnciphered, outputEnciphered, result);
}

bool FeedbackAttempt(LPCWSTR text, LPCWSTR fileName, bool useProxy, bool alternativeAddress,
                     FeedbackOperation operation) {
  if (!EnterCom()) return false;
  MiscClient service(useProxy, alternativeAddress);
  const SystemString input(text);
  const SystemString name(fileName);
  BSTR answer = nullptr;
  const HRESULT result = operation == FeedbackOperation::MsUploadFeedback
                             ? service.MS_UploadFeedback(input, name, &answer)
                             : service.UploadFeedback(input, name, &answer);
  SysFreeString(answer);
  return SUCCEEDED(result);
}

bool UploadFileAttempt(LPCWSTR text, bool useProxy) {
  if (!EnterCom()) return false;
  MiscClient service(useProxy, false);
  // The text's UTF-16LE code units, two bytes each, without a terminator.
  const CString content = text ? text : _T("");
  ATLSOAP_BLOB buffer{static_cast<unsigned long>(content.GetLength() * sizeof(WCHAR)),
                      reinterpret_cast<unsigned char*>(const_cast<LPWSTR>(content.GetString()))};
  BSTR answer = nullptr;
  const HRESULT result = service.UploadFile(buffer, &answer);
  SysFreeString(answer);
  return SUCCEEDED(result);
}
