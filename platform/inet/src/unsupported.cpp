// What WinINet offers and this machine cannot: FTP, the extended server answer and the error
// dialog (nobody sits in front of the screen).
#include "errhandlingapi.h"
#include "inetobjects.h"
#include "wininet.h"

using namespace zx::inet;

namespace {

HINTERNET NotSupported(HINTERNET connection) {
  if (Lookup(connection)) SetLastError(ERROR_NOT_SUPPORTED);
  return nullptr;
}

}  // namespace

HINTERNET FtpOpenFileW(HINTERNET connection, LPCWSTR /*fileName*/, DWORD /*access*/, DWORD /*flags*/,
                       DWORD_PTR /*context*/) {
  return NotSupported(connection);
}

HINTERNET FtpFindFirstFileW(HINTERNET connection, LPCWSTR /*searchFile*/, WIN32_FIND_DATAW* /*findData*/,
                            DWORD /*flags*/, DWORD_PTR /*context*/) {
  return NotSupported(connection);
}

BOOL InternetGetLastResponseInfoW(LPDWORD error, LPWSTR buffer, LPDWORD bufferLength) {
  if (!error || !bufferLength) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *error = 0;
  if (buffer && *bufferLength > 0) buffer[0] = 0;
  *bufferLength = 0;
  return TRUE;
}

DWORD InternetErrorDlg(HWND /*parent*/, HINTERNET /*request*/, DWORD /*error*/, DWORD /*flags*/,
                       LPVOID* /*data*/) {
  return ERROR_CANCELLED;
}
