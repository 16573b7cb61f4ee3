// The name of the user the process runs as (GetUserNameW): the account name of the process
// token's user, as LookupAccountSidW answers it.
#pragma once
#include "wintypes.h"

// *size: the buffer's size in characters; answered: the characters written with the
// terminator, or with ERROR_INSUFFICIENT_BUFFER (FALSE) the size needed.
BOOL GetUserNameW(LPWSTR buffer, LPDWORD size);
