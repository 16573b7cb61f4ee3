// Sessions and connections (HTTP, and FTP through ftp.cpp): InternetOpen, InternetConnect,
// InternetCloseHandle and the status callback.
#include "errhandlingapi.h"
#include "hostroutes.h"
#include "zx/proxysettings.h"
#include "ftp.h"
#include "inetobjects.h"
#include "wininet.h"
#include "zx/utf8text.h"

using namespace zx::inet;

namespace {

// UTF-8 form of an optional wide text (null reads as empty); nullopt when it is not valid text.
std::optional<std::string> Narrow(LPCWSTR text) {
  return text ? ToUtf8(text) : std::optional<std::string>(std::string());
}

}  // namespace

HINTERNET InternetOpenW(LPCWSTR agent, DWORD accessType, LPCWSTR proxy, LPCWSTR /*proxyBypass*/,
                        DWORD flags) {
  if (flags & INTERNET_FLAG_ASYNC) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return nullptr;
  }
  const auto agentText = Narrow(agent);
  const auto proxyText = Narrow(proxy);
  if (!agentText || !proxyText) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  std::string proxyList;
  switch (accessType) {
    case INTERNET_OPEN_TYPE_PRECONFIG:
      proxyList = PreconfiguredProxyList();
      break;
    case INTERNET_OPEN_TYPE_DIRECT:
      break;
    case INTERNET_OPEN_TYPE_PROXY:
      if (proxyText->empty()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
      }
      proxyList = *proxyText;
      break;
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return nullptr;
  }
  return Register(std::make_shared<Session>(*agentText, accessType, proxyList));
}

HINTERNET InternetConnectW(HINTERNET session, LPCWSTR serverName, INTERNET_PORT serverPort,
                           LPCWSTR userName, LPCWSTR password, DWORD service, DWORD /*flags*/,
                           DWORD_PTR context) {
  auto owner = LookupAs<Session>(session, Kind::Session);
  if (!owner) return nullptr;
  if (service == INTERNET_SERVICE_GOPHER) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return nullptr;
  }
  const auto server = Narrow(serverName);
  if ((service != INTERNET_SERVICE_HTTP && service != INTERNET_SERVICE_FTP) || !server || server->empty() ||
      server->find_first_of(" /\\?#@") != std::string::npos) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (service == INTERNET_SERVICE_FTP)
    return ConnectFtp(owner, *server, serverPort, userName ? userName : u"", password ? password : u"", context);
  return Register(std::make_shared<Connection>(owner, INTERNET_SERVICE_HTTP, *server, serverPort,
                                               userName ? userName : u"", password ? password : u"",
                                               context));
}

BOOL InternetCloseHandle(HINTERNET handle) {
  auto object = Lookup(handle);
  if (!object) return FALSE;
  object->Close();
  return TRUE;
}

INTERNET_STATUS_CALLBACK InternetSetStatusCallbackW(HINTERNET handle,
                                                    INTERNET_STATUS_CALLBACK callback) {
  auto object = Lookup(handle);
  return object ? object->SwapCallback(callback) : INTERNET_INVALID_STATUS_CALLBACK;
}

INTERNET_STATUS_CALLBACK InternetSetStatusCallback(HINTERNET handle,
                                                   INTERNET_STATUS_CALLBACK callback) {
  return InternetSetStatusCallbackW(handle, callback);
}
