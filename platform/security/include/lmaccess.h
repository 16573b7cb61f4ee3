// The network-management call the system makes about domains. The machine belongs to no
// domain, so no domain controller is ever found.
#pragma once
#include "wintypes.h"

using NET_API_STATUS = DWORD;
#define NERR_DCNotFound 2453u

// Answers NERR_DCNotFound with *buffer null (a buffer it gave would be freed with
// NetApiBufferFree of lm.h).
NET_API_STATUS NetGetDCName(LPCWSTR serverName, LPCWSTR domainName, LPBYTE* buffer);
