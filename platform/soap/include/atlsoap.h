// The class library's SOAP client runtime: SOAP 1.1 document/literal calls over HTTP POST,
// through the WinINet layer (wininet.h). Two transports, as the class library has them: a
// socket client (HTTP/1.1, direct or through a named proxy) and a WinINet client (HTTP/1.0,
// WinINet's own proxy configuration unless a proxy is named). A generated proxy class derives
// from one of them (updateservice.h, miscservice.h).
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "oleauto.h"
#include "wintypes.h"

namespace zx::soap {
struct OperationDescription;
class ResponseStream;
struct PartValue;
}  // namespace zx::soap

// Why the last call failed.
enum SOAPCLIENT_ERROR {
  SOAPCLIENT_SUCCESS = 0,
  SOAPCLIENT_INITIALIZE_ERROR,  // no session, or the URL does not split
  SOAPCLIENT_OUTOFMEMORY,
  SOAPCLIENT_GENERATE_ERROR,    // a request part holds text XML cannot carry
  SOAPCLIENT_CONNECT_ERROR,     // the server cannot be reached
  SOAPCLIENT_SEND_ERROR,        // the exchange broke off or timed out before the answer came
  SOAPCLIENT_SERVER_ERROR,      // an HTTP status other than 200, without a SOAP fault
  SOAPCLIENT_SOAPFAULT,         // the server answered with a SOAP fault (GetFault)
  SOAPCLIENT_READ_ERROR,        // the answer was cut, timed out or too large
  SOAPCLIENT_PARSE_ERROR,       // the answer is not the expected envelope
};

// A value of a base64Binary part.
struct ATLSOAP_BLOB {
  unsigned long size;
  unsigned char* data;
};

// A SOAP fault as the server sent it (texts of faultcode, faultstring, faultactor, detail).
struct CSoapFault {
  std::u16string m_strFaultCode;
  std::u16string m_strFaultString;
  std::u16string m_strFaultActor;
  std::u16string m_strDetail;
  void Clear() { *this = CSoapFault(); }
};

// What both transports share: the service address, the time-out, the outcome of the last call,
// and the call itself.
class CSoapClientBase {
 public:
  explicit CSoapClientBase(LPCWSTR url);
  virtual ~CSoapClientBase() = default;

  HRESULT SetUrl(LPCWSTR url);
  LPCWSTR GetUrl() const { return url_.c_str(); }
  // Milliseconds, on the layer's clock, for the whole exchange from connecting to the last
  // byte of the answer; 0 keeps the WinINet defaults (a minute to connect, half a minute for
  // each wait for the answer).
  void SetTimeout(DWORD timeoutMs) { timeoutMs_ = timeoutMs; }
  DWORD GetTimeout() const { return timeoutMs_; }

  SOAPCLIENT_ERROR GetClientError() const { return error_; }
  // The HTTP status of the last answer (0 when none came).
  int GetStatusCode() const { return statusCode_; }
  const CSoapFault& GetFault() const { return fault_; }
  // Forgets the outcome of the last call.
  void Cleanup();

  // One call: sends the parts, and on success stores the result part in *result (a new BSTR,
  // null when the service answered nil or left it out). S_OK or E_FAIL; *result is set only on
  // success.
  HRESULT CallOperation(std::string_view serviceNamespace, const zx::soap::OperationDescription& operation,
                        const zx::soap::PartValue* parts, std::size_t partCount, BSTR* result);

 protected:
  // How the transport reaches the server.
  virtual DWORD AccessType() const = 0;  // INTERNET_OPEN_TYPE_*
  virtual std::u16string ProxyName() const = 0;
  virtual bool UsesHttp10() const = 0;

 private:
  HRESULT Failed(SOAPCLIENT_ERROR error);
  // Posts the envelope and reads the whole answer into a stream made for it once the server
  // answered (the result part names the result's element); SOAPCLIENT_SUCCESS or why not.
  SOAPCLIENT_ERROR Post(const std::string& soapAction, const std::string& envelope, std::string_view resultPart,
                        std::optional<zx::soap::ResponseStream>& answer);

  std::u16string url_;
  DWORD timeoutMs_ = 0;
  SOAPCLIENT_ERROR error_ = SOAPCLIENT_SUCCESS;
  int statusCode_ = 0;
  CSoapFault fault_;
};

// The socket client: HTTP/1.1, straight to the server unless a proxy is set.
class CSoapSocketClient : public CSoapClientBase {
 public:
  explicit CSoapSocketClient(LPCWSTR url) : CSoapClientBase(url) {}
  // A proxy host and port; a null host takes the proxy from the current user's Internet
  // Settings ("ProxyServer": its "http=" entry or its plain entry, port 80 when it names none),
  // and goes direct when that names none.
  void SetProxy(LPCWSTR proxy = nullptr, short port = 80);

 protected:
  DWORD AccessType() const override;
  std::u16string ProxyName() const override { return proxy_; }
  bool UsesHttp10() const override { return false; }

 private:
  std::u16string proxy_;  // "host:port", or empty for a direct connection
};
template <class = void>
using CSoapSocketClientT = CSoapSocketClient;

// The WinINet client: HTTP/1.0, through WinINet's own proxy configuration unless a proxy is
// named.
class CSoapWininetClient : public CSoapClientBase {
 public:
  explicit CSoapWininetClient(LPCWSTR url) : CSoapClientBase(url) {}
  // A null proxy clears the name: WinINet's configuration applies again. The bypass list is
  // not used.
  void SetProxy(LPCWSTR proxy = nullptr, LPCWSTR bypass = nullptr);

 protected:
  DWORD AccessType() const override;
  std::u16string ProxyName() const override { return proxy_; }
  bool UsesHttp10() const override { return true; }

 private:
  std::u16string proxy_;
};
