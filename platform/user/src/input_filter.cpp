// The message filter of User Interface Privilege Isolation: every message passes between
// processes of one user here, so admitting or removing a message only checks the request.
#include "errhandlingapi.h"
#include "wininput.h"

BOOL ChangeWindowMessageFilter(UINT message, DWORD flag) {
  if ((flag != MSGFLT_ADD && flag != MSGFLT_REMOVE) || message == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return TRUE;
}
