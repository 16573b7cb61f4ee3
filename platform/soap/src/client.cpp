// The SOAP client base and its two transports: one call is one HTTP POST through WinINet.
#include <optional>
#include <string>
#include <utility>

#include "errhandlingapi.h"
#include "wininet.h"
#include "zx/clock.h"
#include "zx/httptarget.h"
#include "zx/internethandle.h"
#include "zx/proxysettings.h"
#include "zx/soapwire.h"
#include "zx/utf8text.h"

using zx::inet::InternetHandle;

namespace {

constexpr LPCWSTR kAgent = u"zx-soap-client/1.0";
constexpr DWORD kReadBlock = 16 * 1024;
// An answer larger than this is refused rather than held in memory: 1 GiB, some five times the
// scan answer of a workstation against 80,000 entries (four digits a character of its text),
// and still a size this program can hold beside the text deciphered from it.
constexpr std::size_t kMaxAnswerBytes = std::size_t{1} << 30;

SOAPCLIENT_ERROR ErrorOfSend(DWORD error) {
  switch (error) {
    case ERROR_INTERNET_NAME_NOT_RESOLVED:
    case ERROR_INTERNET_CANNOT_CONNECT:
    case ERROR_INTERNET_DISCONNECTED:
      return SOAPCLIENT_CONNECT_ERROR;
    default:
      return SOAPCLIENT_SEND_ERROR;
  }
}

std::u16string Wide(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

}  // namespace

CSoapClientBase::CSoapClientBase(LPCWSTR url) : url_(url ? url : u"") {}

HRESULT CSoapClientBase::SetUrl(LPCWSTR url) {
  if (!url) return E_INVALIDARG;
  url_ = url;
  return S_OK;
}

void CSoapClientBase::Cleanup() {
  error_ = SOAPCLIENT_SUCCESS;
  statusCode_ = 0;
  fault_.Clear();
}

HRESULT CSoapClientBase::Failed(SOAPCLIENT_ERROR error) {
  error_ = error;
  return E_FAIL;
}

SOAPCLIENT_ERROR CSoapClientBase::Post(const std::string& soapAction, const std::string& envelope,
                                       std::string_view resultPart, std::optional<zx::soap::ResponseStream>& answer) {
  zx::inet::HttpTarget target;
  if (!zx::inet::SplitHttpUrl(url_.c_str(), target)) return SOAPCLIENT_INITIALIZE_ERROR;
  const std::u16string proxy = ProxyName();
  InternetHandle session(InternetOpenW(kAgent, AccessType(), proxy.empty() ? nullptr : proxy.c_str(),
                                       nullptr, 0));
  if (!session) return SOAPCLIENT_INITIALIZE_ERROR;
  InternetHandle connection(InternetConnectW(session.get(), target.host.c_str(), target.port, nullptr,
                                             nullptr, INTERNET_SERVICE_HTTP, 0, 0));
  if (!connection) return SOAPCLIENT_INITIALIZE_ERROR;
  const DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_KEEP_CONNECTION |
                      (target.secure ? INTERNET_FLAG_SECURE : 0);
  InternetHandle request(HttpOpenRequestW(connection.get(), u"POST", target.object.c_str(),
                                          UsesHttp10() ? u"HTTP/1.0" : nullptr, nullptr, nullptr, flags, 0));
  if (!request) return SOAPCLIENT_INITIALIZE_ERROR;
  // The time-out bounds the whole exchange: each wait gets what is left of it.
  const std::uint64_t start = zx::CurrentClock().MonotonicMs();
  auto allow = [&](std::initializer_list<DWORD> options) {
    if (timeoutMs_ == 0) return true;
    const std::uint64_t spent = zx::CurrentClock().MonotonicMs() - start;
    if (spent >= timeoutMs_) return false;
    DWORD left = static_cast<DWORD>(timeoutMs_ - spent);
    for (DWORD option : options) InternetSetOptionW(request.get(), option, &left, sizeof(left));
    return true;
  };
  allow({INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT});

  const std::u16string headers = u"Content-Type: text/xml; charset=utf-8\r\nSOAPAction: \"" +
                                 Wide(soapAction) + u"\"\r\n";
  if (!HttpSendRequestW(request.get(), headers.c_str(), static_cast<DWORD>(headers.size()),
                        const_cast<char*>(envelope.data()), static_cast<DWORD>(envelope.size())))
    return ErrorOfSend(GetLastError());
  DWORD status = 0;
  DWORD size = sizeof(status);
  if (!HttpQueryInfoW(request.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr))
    return SOAPCLIENT_READ_ERROR;
  statusCode_ = static_cast<int>(status);

  // The answer is read block by block into its stream, told its length when it is announced
  // so that what it keeps takes its room at once.
  DWORD announced = 0;
  size = sizeof(announced);
  if (!HttpQueryInfoW(request.get(), HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &announced, &size, nullptr))
    announced = 0;
  if (announced > kMaxAnswerBytes) return SOAPCLIENT_READ_ERROR;
  answer.emplace(resultPart, std::size_t{announced});
  char block[kReadBlock];
  for (;;) {
    DWORD got = 0;
    if (!allow({INTERNET_OPTION_RECEIVE_TIMEOUT}) || !InternetReadFile(request.get(), block, kReadBlock, &got))
      return SOAPCLIENT_READ_ERROR;
    if (got == 0) return SOAPCLIENT_SUCCESS;
    answer->Take(std::string_view(block, got));
    if (answer->Received() > kMaxAnswerBytes) return SOAPCLIENT_READ_ERROR;
  }
}

HRESULT CSoapClientBase::CallOperation(std::string_view serviceNamespace,
                                       const zx::soap::OperationDescription& operation,
                                       const zx::soap::PartValue* parts, std::size_t partCount,
                                       BSTR* result) {
  Cleanup();
  if (!result || (!parts && partCount > 0)) return E_POINTER;
  const auto envelope = zx::soap::WriteRequest(serviceNamespace, operation, {parts, partCount});
  if (!envelope) return Failed(SOAPCLIENT_GENERATE_ERROR);
  std::optional<zx::soap::ResponseStream> answer;
  const SOAPCLIENT_ERROR error =
      Post(std::string(serviceNamespace) + operation.name, *envelope, operation.resultPart, answer);
  if (error != SOAPCLIENT_SUCCESS) {
    if (answer) answer->Abandon();
    return Failed(error);
  }

  zx::soap::Response response = answer->Finish(serviceNamespace, operation);
  if (response.kind == zx::soap::Response::Fault) {
    fault_ = response.fault;
    return Failed(SOAPCLIENT_SOAPFAULT);
  }
  if (statusCode_ != HTTP_STATUS_OK) return Failed(SOAPCLIENT_SERVER_ERROR);
  if (response.kind != zx::soap::Response::Result) return Failed(SOAPCLIENT_PARSE_ERROR);
  *result = response.result.Release();
  return S_OK;
}

void CSoapSocketClient::SetProxy(LPCWSTR proxy, short port) {
  if (proxy) {
    proxy_ = *proxy ? std::u16string(proxy) + u":" + Wide(std::to_string(static_cast<unsigned short>(port)))
                    : std::u16string();
    return;
  }
  const bool secure = GetUrl()[0] != 0 && std::u16string(GetUrl()).rfind(u"https:", 0) == 0;
  const std::string entry = zx::inet::ProxyForScheme(zx::inet::UserProxyServer(), secure);
  const auto wide = zx::inet::FromUtf8(entry).value_or(std::u16string());
  const bool hasPort = wide.find(u':', wide.rfind(u']') == std::u16string::npos ? 0 : wide.rfind(u']')) !=
                       std::u16string::npos;
  proxy_ = wide.empty() || hasPort ? wide : wide + u":80";
}

DWORD CSoapSocketClient::AccessType() const {
  return proxy_.empty() ? INTERNET_OPEN_TYPE_DIRECT : INTERNET_OPEN_TYPE_PROXY;
}

void CSoapWininetClient::SetProxy(LPCWSTR proxy, LPCWSTR /*bypass*/) { proxy_ = proxy ? proxy : u""; }

DWORD CSoapWininetClient::AccessType() const {
  return proxy_.empty() ? INTERNET_OPEN_TYPE_PRECONFIG : INTERNET_OPEN_TYPE_PROXY;
}
