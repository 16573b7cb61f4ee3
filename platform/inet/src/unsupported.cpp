// What WinINet offers and this machine cannot: the error dialog (nobody sits in front of the
// screen).
#include "wininet.h"

DWORD InternetErrorDlg(HWND /*parent*/, HINTERNET /*request*/, DWORD /*error*/, DWORD /*flags*/,
                       LPVOID* /*data*/) {
  return ERROR_CANCELLED;
}
