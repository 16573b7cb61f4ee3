// InternetSetOption / InternetQueryOption, the connected state and InternetGetConnectedState.
#include <atomic>

#include "connectedstate.h"
#include "errhandlingapi.h"
#include "hostroutes.h"
#include "inetobjects.h"
#include "wininet.h"

using namespace zx::inet;

namespace {

std::atomic<bool> g_offline{false};

bool IsNumberOption(DWORD option) {
  return option >= INTERNET_OPTION_CONNECT_TIMEOUT && option <= INTERNET_OPTION_DATA_RECEIVE_TIMEOUT;
}

bool IsTextOption(DWORD option) {
  return option == INTERNET_OPTION_USERNAME || option == INTERNET_OPTION_PASSWORD ||
         option == INTERNET_OPTION_PROXY_USERNAME || option == INTERNET_OPTION_PROXY_PASSWORD;
}

DWORD HandleTypeOf(const InternetObject& object) {
  switch (object.kind()) {
    case Kind::Session:
      return INTERNET_HANDLE_TYPE_INTERNET;
    case Kind::Connection:
      return static_cast<const Connection&>(object).ftp() ? INTERNET_HANDLE_TYPE_CONNECT_FTP
                                                          : INTERNET_HANDLE_TYPE_CONNECT_HTTP;
    case Kind::Find:
      return INTERNET_HANDLE_TYPE_FTP_FIND;
    case Kind::Request:
      break;
  }
  return static_cast<const Request&>(object).connection->ftp() ? INTERNET_HANDLE_TYPE_FTP_FILE
                                                                : INTERNET_HANDLE_TYPE_HTTP_REQUEST;
}

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

BOOL SetConnectedState(LPVOID buffer, DWORD bufferLength) {
  if (bufferLength < sizeof(INTERNET_CONNECTED_INFO)) return Fail(ERROR_INTERNET_BAD_OPTION_LENGTH);
  const auto* info = static_cast<const INTERNET_CONNECTED_INFO*>(buffer);
  if (info->dwConnectedState & INTERNET_STATE_CONNECTED)
    g_offline = false;
  else if (info->dwConnectedState & (INTERNET_STATE_DISCONNECTED | INTERNET_STATE_DISCONNECTED_BY_USER))
    g_offline = true;
  else
    return Fail(ERROR_INVALID_PARAMETER);
  return TRUE;
}

}  // namespace

namespace zx::inet {

bool IsOffline() { return g_offline.load(); }

}  // namespace zx::inet

BOOL InternetSetOptionW(HINTERNET handle, DWORD option, LPVOID buffer, DWORD bufferLength) {
  if (option == INTERNET_OPTION_SECURITY_SELECT_CLIENT_CERT) {
    auto object = handle ? Lookup(handle) : nullptr;
    if (!object) return handle ? FALSE : Fail(ERROR_INTERNET_INCORRECT_HANDLE_TYPE);
    return object->kind() == Kind::Request ? TRUE : Fail(ERROR_INTERNET_INCORRECT_HANDLE_TYPE);
  }
  if (!buffer) return Fail(ERROR_INVALID_PARAMETER);
  if (option == INTERNET_OPTION_CONNECTED_STATE)
    return handle ? Fail(ERROR_INTERNET_INCORRECT_HANDLE_TYPE) : SetConnectedState(buffer, bufferLength);
  if (IsNumberOption(option)) {
    if (bufferLength < sizeof(DWORD)) return Fail(ERROR_INTERNET_BAD_OPTION_LENGTH);
    const DWORD value = *static_cast<const DWORD*>(buffer);
    if (!handle) {
      SetProcessNumber(option, value);
      return TRUE;
    }
    auto object = Lookup(handle);
    if (!object) return FALSE;
    object->SetNumber(option, value);
    return TRUE;
  }
  if (IsTextOption(option)) {
    if (!handle) return Fail(ERROR_INTERNET_INCORRECT_HANDLE_TYPE);
    auto object = Lookup(handle);
    if (!object) return FALSE;
    // The length counts characters; the text ends at the first zero within it.
    const auto* text = static_cast<const WCHAR*>(buffer);
    DWORD length = 0;
    while (length < bufferLength && text[length] != 0) ++length;
    object->SetText(option, std::u16string(text, length));
    return TRUE;
  }
  if (option == INTERNET_OPTION_HANDLE_TYPE) return Fail(ERROR_INTERNET_OPTION_NOT_SETTABLE);
  return Fail(ERROR_INTERNET_INVALID_OPTION);
}

BOOL InternetQueryOptionW(HINTERNET handle, DWORD option, LPVOID buffer, LPDWORD bufferLength) {
  if (!bufferLength) return Fail(ERROR_INVALID_PARAMETER);
  DWORD value = 0;
  if (option == INTERNET_OPTION_HANDLE_TYPE) {
    auto object = Lookup(handle);
    if (!object) return FALSE;
    value = HandleTypeOf(*object);
  } else if (IsNumberOption(option)) {
    if (handle) {
      auto object = Lookup(handle);
      if (!object) return FALSE;
      value = object->options().Number(option);
    } else {
      value = ProcessOptions().Number(option);
    }
  } else if (option == INTERNET_OPTION_CONNECTED_STATE && !handle) {
    value = IsOffline() ? INTERNET_STATE_DISCONNECTED_BY_USER : INTERNET_STATE_CONNECTED;
  } else {
    return Fail(ERROR_INTERNET_INVALID_OPTION);
  }
  if (!buffer || *bufferLength < sizeof(DWORD)) {
    *bufferLength = sizeof(DWORD);
    return Fail(ERROR_INSUFFICIENT_BUFFER);
  }
  *static_cast<DWORD*>(buffer) = value;
  *bufferLength = sizeof(DWORD);
  return TRUE;
}

BOOL InternetGetConnectedState(LPDWORD flags, DWORD /*reserved*/) {
  const DWORD connection = MachineConnection();
  DWORD state = INTERNET_CONNECTION_CONFIGURED | connection;
  if (IsOffline()) state |= INTERNET_CONNECTION_OFFLINE;
  if (flags) *flags = state;
  return connection != 0 && !IsOffline();
}
