// HTTP requests: HttpOpenRequest, HttpSendRequest and InternetReadFile.
#include <algorithm>
#include <cctype>

#include "connectedstate.h"
#include "errhandlingapi.h"
#include "hostroutes.h"
#include "zx/proxysettings.h"
#include "inetobjects.h"
#include "wininet.h"
#include "zx/percentescape.h"
#include "zx/utf8text.h"

using namespace zx::inet;

namespace {

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

// The HTTP request a handle names; an FTP file is the wrong kind.
std::shared_ptr<Request> HttpRequest(HINTERNET handle) {
  auto request = LookupAs<Request>(handle, Kind::Request);
  if (request && request->connection->ftp()) {
    SetLastError(ERROR_INTERNET_INCORRECT_HANDLE_TYPE);
    return nullptr;
  }
  return request;
}

bool SameText(const std::string& a, const char* b) {
  const std::string_view other(b);
  return a.size() == other.size() &&
         std::equal(a.begin(), a.end(), other.begin(),
                    [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

// The path and query as sent: bytes that may not stand in a request line are %-escaped.
std::string EscapedObject(const std::string& object) {
  const auto keep = [](unsigned char c) {
    return c > 0x20 && c < 0x7F && c != '"' && c != '<' && c != '>' && c != '\\';
  };
  return (object.empty() || object.front() != '/' ? "/" : "") + PercentEscaped(object, keep);
}

// "Name: value" lines of a CRLF-separated header text; nullopt when a line is not a header.
std::optional<std::vector<std::string>> HeaderLines(LPCWSTR headers, DWORD length) {
  std::vector<std::string> lines;
  if (!headers) return lines;
  const std::u16string_view view = length == static_cast<DWORD>(-1)
                                       ? std::u16string_view(headers)
                                       : std::u16string_view(headers, length);
  const auto text = ToUtf8(view);
  if (!text) return std::nullopt;
  std::size_t start = 0;
  while (start < text->size()) {
    std::size_t end = text->find('\n', start);
    if (end == std::string::npos) end = text->size();
    std::string line = text->substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    start = end + 1;
    if (line.empty()) continue;
    const std::size_t colon = line.find(':');
    if (colon == 0 || colon == std::string::npos || line.find('\r') != std::string::npos)
      return std::nullopt;
    lines.push_back(std::move(line));
  }
  return lines;
}

std::string Narrow(const std::u16string& text) { return ToUtf8(text).value_or(std::string()); }

TransferSettings SettingsFor(const Request& request, std::vector<std::string> extraHeaders, std::string body) {
  const Connection& connection = *request.connection;
  const Session& session = *connection.session;
  const Options options = request.options();
  const bool secure = (request.flags & INTERNET_FLAG_SECURE) != 0;
  const INTERNET_PORT port = connection.port != INTERNET_INVALID_PORT_NUMBER
                                 ? connection.port
                                 : (secure ? INTERNET_DEFAULT_HTTPS_PORT : INTERNET_DEFAULT_HTTP_PORT);
  const bool ipv6 = connection.server.find(':') != std::string::npos;

  TransferSettings settings;
  settings.url = std::string(secure ? "https://" : "http://") + (ipv6 ? "[" : "") + connection.server +
             (ipv6 ? "]" : "") + ":" + std::to_string(port) + request.object;
  settings.verb = request.verb;
  settings.headers = request.headers;
  settings.headers.insert(settings.headers.end(), extraHeaders.begin(), extraHeaders.end());
  settings.body = std::move(body);
  settings.http10 = request.http10;
  settings.followRedirects = !(request.flags & INTERNET_FLAG_NO_AUTO_REDIRECT) &&
                         (request.verb == "GET" || request.verb == "HEAD");
  settings.proxy = ProxyForScheme(session.proxyList, secure);
  // Through a proxy the proxy finds the host; the machine's routes serve direct connections.
  settings.connectTo = settings.proxy.empty() ? HostRoute(connection.server) : std::string();
  settings.agent = session.agent;
  settings.userName = Narrow(options.Text(INTERNET_OPTION_USERNAME));
  settings.password = Narrow(options.Text(INTERNET_OPTION_PASSWORD));
  settings.proxyUserName = Narrow(options.Text(INTERNET_OPTION_PROXY_USERNAME));
  settings.proxyPassword = Narrow(options.Text(INTERNET_OPTION_PROXY_PASSWORD));
  settings.verifyHostName = !(request.flags & INTERNET_FLAG_IGNORE_CERT_CN_INVALID);
  settings.connectTimeoutMs = options.Number(INTERNET_OPTION_CONNECT_TIMEOUT);
  settings.receiveTimeoutMs = options.Number(INTERNET_OPTION_RECEIVE_TIMEOUT);
  return settings;
}

}  // namespace

HINTERNET HttpOpenRequestW(HINTERNET connection, LPCWSTR verb, LPCWSTR objectName,
                           LPCWSTR version, LPCWSTR referrer, LPCWSTR* acceptTypes, DWORD flags,
                           DWORD_PTR context) {
  auto owner = LookupAs<Connection>(connection, Kind::Connection);
  if (!owner) return nullptr;
  if (owner->ftp()) {
    SetLastError(ERROR_INTERNET_INCORRECT_HANDLE_TYPE);
    return nullptr;
  }
  const auto verbText = ToUtf8(verb && *verb ? verb : u"GET");
  const auto object = ToUtf8(objectName ? objectName : u"/");
  const auto versionText = ToUtf8(version ? version : u"");
  const auto referrerText = ToUtf8(referrer ? referrer : u"");
  if (!verbText || !object || !versionText || !referrerText ||
      referrerText->find_first_of("\r\n") != std::string::npos ||
      std::any_of(verbText->begin(), verbText->end(),
                  [](unsigned char c) { return !std::isalpha(c) && c != '-' && c != '_'; })) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  std::vector<std::string> headers;
  if (!referrerText->empty()) headers.push_back("Referer: " + *referrerText);
  std::string accept;
  for (LPCWSTR* type = acceptTypes; type && *type; ++type) {
    const auto text = ToUtf8(*type);
    if (!text || text->find_first_of("\r\n") != std::string::npos) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return nullptr;
    }
    accept += (accept.empty() ? "" : ", ") + *text;
  }
  if (!accept.empty()) headers.push_back("Accept: " + accept);
  return Register(std::make_shared<Request>(owner, *verbText, EscapedObject(*object),
                                            SameText(*versionText, "HTTP/1.0"), std::move(headers),
                                            flags, context));
}

BOOL HttpSendRequestW(HINTERNET request, LPCWSTR headers, DWORD headersLength, LPVOID optional,
                      DWORD optionalLength) {
  auto target = HttpRequest(request);
  if (!target) return FALSE;
  if (IsOffline()) return Fail(ERROR_INTERNET_DISCONNECTED);
  if (!optional && optionalLength > 0) return Fail(ERROR_INVALID_PARAMETER);
  const auto extra = HeaderLines(headers, headersLength);
  if (!extra) return Fail(ERROR_INVALID_PARAMETER);
  std::string body(static_cast<const char*>(optional), optional ? optionalLength : 0);

  std::lock_guard<std::mutex> busy(target->busy);
  const TransferSettings settings = SettingsFor(*target, *extra, std::move(body));
  target->ReportStatus(INTERNET_STATUS_RESOLVING_NAME, target->connection->server);
  const StatusSink sink = [&](DWORD status, const std::string& info) { target->ReportStatus(status, info); };
  DWORD error = target->transfer.Send(settings, target->closedFlag(), sink);
  if (error != 0 && target->closed()) error = ERROR_INTERNET_OPERATION_CANCELLED;
  return error == 0 ? TRUE : Fail(error);
}

BOOL InternetReadFile(HINTERNET file, LPVOID buffer, DWORD bytesToRead, LPDWORD bytesRead) {
  if (!bytesRead || (!buffer && bytesToRead > 0)) return Fail(ERROR_INVALID_PARAMETER);
  *bytesRead = 0;
  auto target = LookupAs<Request>(file, Kind::Request);
  if (!target) return FALSE;
  std::lock_guard<std::mutex> busy(target->busy);
  DWORD error = target->transfer.Read(buffer, bytesToRead, bytesRead, target->closedFlag(),
                                      target->options().Number(INTERNET_OPTION_RECEIVE_TIMEOUT));
  if (error != 0 && target->closed()) error = ERROR_INTERNET_OPERATION_CANCELLED;
  return error == 0 ? TRUE : Fail(error);
}
